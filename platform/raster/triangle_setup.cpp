#include "platform/raster/triangle_setup.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/raster/simd_lanes.h"

namespace plat::raster {
namespace {

constexpr int64_t kSub = 16;         // sub-pixel steps per pixel
constexpr float kMaxCoord = 1.0e6f;  // pixels; far beyond any guard band

struct Point {
  int64_t x, y;  // 1/16 pixel
};

int64_t Snap(float v) {
  v = v > -kMaxCoord ? v : -kMaxCoord;
  v = v < kMaxCoord ? v : kMaxCoord;
  const float scaled = v * static_cast<float>(kSub) + 0.5f;
  // floor without a library call (exact: the clamp keeps it below 2^24)
  const int64_t truncated = static_cast<int64_t>(scaled);
  return truncated - (static_cast<float>(truncated) > scaled);
}

int64_t FloorDiv(int64_t a, int64_t d) {  // d > 0
  // The 32-bit divide where it suffices: the same quotient, far cheaper.
  int64_t q, r;
  if (a == static_cast<int32_t>(a) && d == static_cast<int32_t>(d)) {
    const int32_t a32 = static_cast<int32_t>(a), d32 = static_cast<int32_t>(d);
    q = a32 / d32;
    r = a32 % d32;
  } else {
    q = a / d;
    r = a % d;
  }
  return (r != 0 && a < 0) ? q - 1 : q;
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
    rem_ += stepRem_;
    const int64_t carry = rem_ >= denom_;  // no branch to guess wrong
    rem_ -= denom_ & -carry;
    x_ += stepX_ + carry;
  }

 private:
  int64_t x_, rem_, stepX_, stepRem_, denom_;
};

static_assert(kAttrCount % 4 == 0 && kRowAttributes % 4 == 0);

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

// A triangle of a pipeline that passes over black texels whose every pixel
// reads only texels outside the ink of a clamped texture, with no fog
// colouring it: it would leave the target as it was. Texture positions and
// depths inside a triangle lie between those of its corners; the margins
// hold far more than the rounding of the spans' arithmetic.
bool LeavesTargetAlone(const PixelPipeline& p, const ScreenVertex* v[3]) {
  const TextureView& t = p.texture;
  if (!t.clamp) return false;
  float lowU = INFINITY, highU = -INFINITY, lowV = INFINITY, highV = -INFINITY, lowRhw = INFINITY;
  for (int i = 0; i < 3; ++i) {
    const float rhw = p.perspectiveTexture ? v[i]->attr[kAttrRhw] : 1.0f;
    const float u = v[i]->attr[kAttrU] / rhw * t.scaleU, w = v[i]->attr[kAttrV] / rhw * t.scaleV;
    lowU = std::fmin(lowU, u), highU = std::fmax(highU, u);
    lowV = std::fmin(lowV, w), highV = std::fmax(highV, w);
    lowRhw = std::fmin(lowRhw, v[i]->attr[kAttrRhw]);
  }
  if (!(std::isfinite(lowU) && std::isfinite(highU) && std::isfinite(lowV) && std::isfinite(highV))) return false;
  if (p.fog != PixelFog::None && (p.fogRed | p.fogGreen | p.fogBlue) != 0) {
    // Only where the fog has not begun: nearer than its start (or its end
    // without a ramp) at every pixel.
    if (p.fog != PixelFog::Linear || !(lowRhw > 0)) return false;
    const float clear = p.fogEnd > p.fogStart ? p.fogStart : p.fogEnd;
    if (!(1.0f / lowRhw < clear * 0.999f)) return false;
  }
  if (t.ink.left >= t.ink.right || t.ink.top >= t.ink.bottom) return true;
  // In 1/256 texels a bilinear footprint lies left of the ink below
  // left x 256 - 128, right of it from right x 256 + 128 on; a clamped edge
  // texel is outside only when the ink does not reach that edge.
  const auto margin = [](float a, float b) { return 64.0f + 1e-3f * std::fmax(std::fabs(a), std::fabs(b)); };
  const auto before = [&](float high, int edge) {
    return edge > 0 && high + margin(high, edge * 256.0f) < edge * 256.0f - 128.0f;
  };
  const auto after = [&](float low, int edge, int size) {
    return edge < size && low - margin(low, edge * 256.0f) > edge * 256.0f + 128.0f;
  };
  return before(highU, t.ink.left) || after(lowU, t.ink.right, t.width) || before(highV, t.ink.top) ||
         after(lowV, t.ink.bottom, t.height);
}

// The first `attributes` attributes at a row's first pixel centre, (cx, cy)
// from the reference corner: four at a time, each lane the same two
// products and sums.
void StartValues(const Gradients& g, float cx, float cy, int attributes, float* start) {
  const V4 x = Splat(cx), y = Splat(cy);
  for (int k = 0; k < attributes; k += 4)
    Store(start + k, Load(g.origin + k) + Load(g.dy + k) * y + Load(g.dx + k) * x);
}

// Rows this short are shaded in batches where the pipeline has a batch routine.
constexpr int64_t kShortRow = 16;

// Short rows of one triangle waiting to be shaded together.
class RowBatch {
 public:
  RowBatch(const PixelPipeline& p, const float* step) : p_(p), step_(step) {}
  RowBatch(const RowBatch&) = delete;
  RowBatch& operator=(const RowBatch&) = delete;
  ~RowBatch() { Flush(); }
  // Room for a row of `count` pixels; the caller fills it in.
  SpanRow& Add(int count) {
    if (pixels_ + count > kRowBatchPixels) Flush();
    pixels_ += count;
    return rows_[rowCount_++];
  }

 private:
  void Flush() {
    if (rowCount_) p_.linearRows(p_, rows_, rowCount_, step_);
    rowCount_ = pixels_ = 0;
  }
  const PixelPipeline& p_;
  const float* step_;
  int rowCount_ = 0;
  int pixels_ = 0;
  SpanRow rows_[kRowBatchPixels];
};

void DrawRows(const PixelPipeline& p, SpanFn span, RowBatch* batch, const Gradients& g, Edge* left, Edge* right,
              int64_t rowBegin, int64_t rowEnd) {
  float single[kAttrCount];
  for (int64_t row = rowBegin; row < rowEnd; ++row, left->Next(), right->Next()) {
    const int64_t x0 = left->X() > p.clipLeft ? left->X() : p.clipLeft;
    const int64_t x1 = right->X() < p.clipRight ? right->X() : p.clipRight;
    if (x0 >= x1) continue;
    const float cx = static_cast<float>(x0) + 0.5f - g.refX;
    const float cy = static_cast<float>(row) + 0.5f - g.refY;
    const int count = static_cast<int>(x1 - x0);
    SpanRow* queued = batch && count <= kShortRow ? &batch->Add(count) : nullptr;
    float* start = queued ? queued->start : single;
    StartValues(g, cx, cy, queued ? kRowAttributes : kAttrCount, start);
    if (queued) {
      queued->x = static_cast<int>(x0);
      queued->y = static_cast<int>(row);
      queued->count = count;
    } else {
      span(p, static_cast<int>(x0), static_cast<int>(row), count, start, g.dx);
    }
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
  if (p.skipBlack && LeavesTargetAlone(p, v)) return;

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
  // Four attributes at a time, each lane the same arithmetic.
  const V4 invs = Splat(inv), dx1s = Splat(dx1), dy1s = Splat(dy1), dx2s = Splat(dx2), dy2s = Splat(dy2);
  for (int k = 0; k < kAttrCount; k += 4) {
    const V4 a0 = Load(a.attr + k), da1 = Load(b.attr + k) - a0, da2 = Load(c.attr + k) - a0;
    Store(g.origin + k, a0);
    Store(g.dx + k, (da1 * dy2s - da2 * dy1s) * invs);
    Store(g.dy + k, (da2 * dx1s - da1 * dx2s) * invs);
  }
  if (flatColor) {
    for (int k = kAttrR; k < kAttrFog; ++k) {
      g.origin[k] = flatColor[k - kAttrR];
      g.dx[k] = g.dy[k] = 0.0f;
    }
  }
  const bool linear = p.textured && UseLinearFilter(p, v, areaF);
  const SpanFn span = linear ? p.linearSpan : p.pointSpan;
  RowBatch rows(p, g.dx);
  RowBatch* batch = linear && p.linearRows ? &rows : nullptr;

  // The long edge runs top to bottom; it is on the left when the middle
  // corner lies to its right.
  const int64_t side = (mid.x - top.x) * (bottom.y - top.y) - (bottom.x - top.x) * (mid.y - top.y);
  const bool longLeft = side > 0;
  Edge longEdge(top, bottom, rowBegin);
  if (rowBegin < rowMid) {
    Edge shortEdge(top, mid, rowBegin);
    const int64_t end = rowMid < rowEnd ? rowMid : rowEnd;
    if (longLeft) DrawRows(p, span, batch, g, &longEdge, &shortEdge, rowBegin, end);
    else DrawRows(p, span, batch, g, &shortEdge, &longEdge, rowBegin, end);
  }
  const int64_t lowerBegin = rowMid > rowBegin ? rowMid : rowBegin;
  if (lowerBegin < rowEnd) {
    // The long edge has been walked down to lowerBegin: exact integers, so
    // where a fresh one would start.
    Edge shortEdge(mid, bottom, lowerBegin);
    if (longLeft) DrawRows(p, span, batch, g, &longEdge, &shortEdge, lowerBegin, rowEnd);
    else DrawRows(p, span, batch, g, &shortEdge, &longEdge, lowerBegin, rowEnd);
  }
}

}  // namespace plat::raster
