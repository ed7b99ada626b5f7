// Cohen-Sutherland clipping of one outline segment to the follow view, in
// integer map pixels, reporting the outside regions the walk along the
// view's border needs.
#include <cstdint>
#include <cstdlib>

#include "world/automap.h"

namespace {

constexpr int kInside = -999;
constexpr int kLeft = 1, kRight = 2, kBelow = 4, kAbove = 8;

// Regions clockwise from the top-left, by region code.
int RegionOfCode(int code) {
  switch (code) {
    case kAbove | kLeft: return 0;
    case kAbove: return 1;
    case kAbove | kRight: return 2;
    case kRight: return 3;
    case kBelow | kRight: return 4;
    case kBelow: return 5;
    case kBelow | kLeft: return 6;
    case kLeft: return 7;
    default: return kInside;
  }
}

// The coordinate along the other axis where the segment from (a0, b0) to
// (a1, b1) meets the line a = side; false when it runs parallel to it.
bool Cross(int a0, int b0, int a1, int b1, int side, bool rounded, int* b) {
  if (a1 == a0) return false;
  int64_t q = static_cast<int64_t>(side - a0) * (b1 - b0) / (a1 - a0);
  *b = rounded ? static_cast<int>(static_cast<double>(q) + b0 + 0.5) : static_cast<int>(q + b0);
  return true;
}

}  // namespace

int CAutomap::RegionCode(int x, int y) const {
  int code = y < clipTop_ ? kAbove : (y > clipBottom_ ? kBelow : 0);
  if (x < clipLeft_) code |= kLeft;
  else if (x > clipRight_) code |= kRight;
  return code;
}

int CAutomap::ClipSegment(int& x0, int& y0, int& x1, int& y1, int* startRegion, int* endRegion) {
  int r[2] = {kInside, kInside};
  auto report = [&](int result) {
    if (startRegion) *startRegion = r[0];
    if (endRegion) *endRegion = r[1];
    return result;
  };
  const int code[2] = {RegionCode(x0, y0), RegionCode(x1, y1)};
  if (code[0] == 0 && code[1] == 0) return report(2);
  const int px[2] = {x0, x1}, py[2] = {y0, y1};
  int nx[2] = {x0, x1}, ny[2] = {y0, y1};
  for (int i = 0; i < 2; ++i) {
    if (code[i] == 0) continue;
    const int o = 1 - i;
    r[i] = RegionOfCode(code[i]);
    // The start point's coordinates are rounded, the end point's only on a corner.
    const bool corner = (code[i] & (kLeft | kRight)) && (code[i] & (kAbove | kBelow));
    const bool rounded = i == 0 || corner;
    const int sideX = (code[i] & kLeft) ? clipLeft_ : clipRight_;
    const int sideY = (code[i] & kAbove) ? clipTop_ : clipBottom_;
    bool crossed;
    if (corner || (code[i] & (kAbove | kBelow))) {
      crossed = Cross(py[i], px[i], py[o], px[o], sideY, rounded, &nx[i]);
      ny[i] = sideY;
      if (crossed && corner && (nx[i] < clipLeft_ || nx[i] > clipRight_)) {
        crossed = Cross(px[i], py[i], px[o], py[o], sideX, rounded, &ny[i]);
        nx[i] = sideX;
      }
    } else {
      crossed = Cross(px[i], py[i], px[o], py[o], sideX, rounded, &ny[i]);
      nx[i] = sideX;
    }
    if (!crossed) {
      r[o] = RegionOfCode(code[o]);
      return report(r[0] != r[1] ? -1 : -2);
    }
  }
  const bool moved[2] = {code[0] != 0, code[1] != 0};
  if (moved[0] && moved[1] && r[0] == r[1]) return report(-2);
  if (RegionCode(nx[0], ny[0]) || RegionCode(nx[1], ny[1])) return report(-1);
  if (nx[0] == nx[1] && ny[0] == ny[1]) {
    if (!moved[0]) {
      r[0] = r[1];
      return report(-3);
    }
    if (!moved[1]) {
      r[1] = r[0];
      return report(-3);
    }
  }
  if (!moved[0]) {
    r[0] = r[1];
    return report(-4);
  }
  if (!moved[1]) {
    r[1] = r[0];
    return report(-5);
  }
  const int apart = std::abs(r[0] - r[1]);
  if (apart == 1 || apart == 7) return report(-1);
  x0 = nx[0];
  y0 = ny[0];
  x1 = nx[1];
  y1 = ny[1];
  return report(1);
}
