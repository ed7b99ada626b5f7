#include "platform/raster/triangle_setup.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace plat::raster {
namespace {

constexpr int64_t kSub = 16;        // sub-pixel steps per pixel
constexpr float kMaxCoord = 1.0e6f;  // pixels; far beyond any guard band

struct Point {
  int64_t x, y;  // 1/16 pixel
};

int64_t Snap(float v) {
  v = v > -kMaxCoord ? v : -kMaxCoord;
  v = v < kMaxCoord ? v : kMaxCoord;
  return static_cast<int64_t>(std::floor(v * static_cast<float>(kSub) + 0.5f));
}

int64_t FloorDiv(int64_t a, int64_t d) {  // d > 0
  const int64_t q = a / d;
  return (a % d != 0 && a < 0) ? q - 1 : q;
}

int64_t CeilDiv(int64_t a, int64_t d) { return -FloorDiv(-a, d); }

// First row whose pixel centre lies at or below y (in 1/16 pixel).
int64_t FirstRow(int64_t y) { return CeilDiv(y - kSub / 2, kSub); }

// Walks one edge downwards. For each row it yields the first column whose
// pixel centre lies at or to the right of the edge: a left edge's first
// pixel and a right edge's first pixel past the span, which puts centres on
// a shared edge into exactly one of the two triangles.
class Edge {
 public:
  Edge(const Point& a, const Point& b, int64_t row) {
    const int64_t dx = b.x - a.x, dy = b.y - a.y;  // dy > 0
    denom_ = kSub * dy;
    // x = ceil(n / denom) with n = (row centre - a.y) * dx + (a.x - half) * dy;
    // kept as floor((n - 1) / denom) + 1 with its remainder.
    const int64_t n = (row * kSub + kSub / 2 - a.y) * dx + (a.x - kSub / 2) * dy;
    const int64_t q = FloorDiv(n - 1, denom_);
    x_ = q + 1;
    rem_ = n - 1 - q * denom_;
    const int64_t step = kSub * dx;
    stepX_ = FloorDiv(step, denom_);
    stepRem_ = step - stepX_ * denom_;
  }
  int64_t X() const { return x_; }
  void Next() {
    x_ += stepX_;
    rem_ += stepRem_;
    if (rem_ >= denom_) {
      rem_ -= denom_;
      ++x_;
    }
  }

 private:
  int64_t x_, rem_, stepX_, stepRem_, denom_;
};

struct Gradients {
  float origin[kAttrCount];  // values at the reference corner
  float dx[kAttrCount];
  float dy[kAttrCount];
  float refX, refY;
};

bool UseLinearFilter(const PixelPipeline& p, const ScreenVertex* v[3], float area) {
  if (p.minLinear == p.magLinear) return p.minLinear;
  float u[3], t[3];
  for (int i = 0; i < 3; ++i) {
    const float rhw = p.perspectiveTexture ? v[i]->attr[kAttrRhw] : 1.0f;
    u[i] = v[i]->attr[kAttrU] / rhw;
    t[i] = v[i]->attr[kAttrV] / rhw;
  }
  const float texels = std::fabs((u[1] - u[0]) * (t[2] - t[0]) - (u[2] - u[0]) * (t[1] - t[0])) *
                       static_cast<float>(p.texture.width) * static_cast<float>(p.texture.height);
  return texels > std::fabs(area) ? p.minLinear : p.magLinear;
}

void DrawRows(const PixelPipeline& p, SpanFn span, const Gradients& g, Edge* left, Edge* right, int64_t rowBegin,
              int64_t rowEnd) {
  float start[kAttrCount];
  for (int64_t row = rowBegin; row < rowEnd; ++row, left->Next(), right->Next()) {
    const int64_t x0 = left->X() > p.clipLeft ? left->X() : p.clipLeft;
    const int64_t x1 = right->X() < p.clipRight ? right->X() : p.clipRight;
    if (x0 >= x1) continue;
    const float cx = static_cast<float>(x0) + 0.5f - g.refX;
    const float cy = static_cast<float>(row) + 0.5f - g.refY;
    for (int k = 0; k < kAttrCount; ++k) start[k] = g.origin[k] + g.dy[k] * cy + g.dx[k] * cx;
    span(p, static_cast<int>(x0), static_cast<int>(row), static_cast<int>(x1 - x0), start, g.dx);
  }
}

}  // namespace

void RasterizeTriangle(const PixelPipeline& p, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                       const float* flatColor) {
  const ScreenVertex* v[3] = {&a, &b, &c};
  Point pt[3];
  for (int i = 0; i < 3; ++i) pt[i] = {Snap(v[i]->x), Snap(v[i]->y)};
  const int64_t area = (pt[1].x - pt[0].x) * (pt[2].y - pt[0].y) - (pt[2].x - pt[0].x) * (pt[1].y - pt[0].y);
  if (area == 0) return;
  // Screen y grows downwards, so a positive area runs clockwise.
  if ((p.cull == CullMode::Clockwise && area > 0) || (p.cull == CullMode::CounterClockwise && area < 0)) return;

  // Order the corners top to bottom.
  int order[3] = {0, 1, 2};
  if (pt[order[1]].y < pt[order[0]].y) std::swap(order[0], order[1]);
  if (pt[order[2]].y < pt[order[1]].y) std::swap(order[1], order[2]);
  if (pt[order[1]].y < pt[order[0]].y) std::swap(order[0], order[1]);
  const Point& top = pt[order[0]];
  const Point& mid = pt[order[1]];
  const Point& bottom = pt[order[2]];
  const int64_t rowTop = FirstRow(top.y), rowMid = FirstRow(mid.y), rowBottom = FirstRow(bottom.y);
  const int64_t rowBegin = rowTop > p.clipTop ? rowTop : p.clipTop;
  const int64_t rowEnd = rowBottom < p.clipBottom ? rowBottom : p.clipBottom;
  if (rowBegin >= rowEnd) return;

  Gradients g;
  const float x0 = static_cast<float>(pt[0].x) / kSub, y0 = static_cast<float>(pt[0].y) / kSub;
  const float dx1 = static_cast<float>(pt[1].x - pt[0].x) / kSub, dy1 = static_cast<float>(pt[1].y - pt[0].y) / kSub;
  const float dx2 = static_cast<float>(pt[2].x - pt[0].x) / kSub, dy2 = static_cast<float>(pt[2].y - pt[0].y) / kSub;
  const float areaF = static_cast<float>(area) / (kSub * kSub);
  const float inv = 1.0f / areaF;
  g.refX = x0;
  g.refY = y0;
  for (int k = 0; k < kAttrCount; ++k) {
    const float a0 = a.attr[k], da1 = b.attr[k] - a0, da2 = c.attr[k] - a0;
    g.origin[k] = a0;
    g.dx[k] = (da1 * dy2 - da2 * dy1) * inv;
    g.dy[k] = (da2 * dx1 - da1 * dx2) * inv;
  }
  if (flatColor) {
    for (int k = kAttrR; k < kAttrFog; ++k) {
      g.origin[k] = flatColor[k - kAttrR];
      g.dx[k] = g.dy[k] = 0.0f;
    }
  }
  const SpanFn span = p.textured && UseLinearFilter(p, v, areaF) ? p.linearSpan : p.pointSpan;

  // The long edge runs top to bottom; it is on the left when the middle
  // corner lies to its right.
  const int64_t side = (mid.x - top.x) * (bottom.y - top.y) - (bottom.x - top.x) * (mid.y - top.y);
  const bool longLeft = side > 0;
  Edge longEdge(top, bottom, rowBegin);
  if (rowBegin < rowMid) {
    Edge shortEdge(top, mid, rowBegin);
    const int64_t end = rowMid < rowEnd ? rowMid : rowEnd;
    if (longLeft)
      DrawRows(p, span, g, &longEdge, &shortEdge, rowBegin, end);
    else
      DrawRows(p, span, g, &shortEdge, &longEdge, rowBegin, end);
  }
  const int64_t lowerBegin = rowMid > rowBegin ? rowMid : rowBegin;
  if (lowerBegin < rowEnd) {
    Edge shortEdge(mid, bottom, lowerBegin);
    Edge longLower(top, bottom, lowerBegin);
    if (longLeft)
      DrawRows(p, span, g, &longLower, &shortEdge, lowerBegin, rowEnd);
    else
      DrawRows(p, span, g, &shortEdge, &longLower, lowerBegin, rowEnd);
  }
}

}  // namespace plat::raster
