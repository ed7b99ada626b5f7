#include "platform/raster/lines_points.h"

#include <cmath>

namespace plat::raster {
namespace {

const float kNoStep[kAttrCount] = {};

void ShadePixel(const PixelPipeline& p, int x, int y, const float* attr) {
  if (x < p.clipLeft || x >= p.clipRight || y < p.clipTop || y >= p.clipBottom) return;
  const SpanFn span = p.textured && p.magLinear ? p.linearSpan : p.pointSpan;
  span(p, x, y, 1, attr, kNoStep);
}

}  // namespace

void RasterizeLine(const PixelPipeline& p, const ScreenVertex& a, const ScreenVertex& b, const float* flatColor) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const bool xMajor = std::fabs(dx) >= std::fabs(dy);
  const float major0 = xMajor ? a.x : a.y, delta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
  const float minor0 = xMajor ? a.y : a.x;
  if (!(std::fabs(delta) > 1e-6f)) return;
  // Pixel centres c + .5 within [low, high] along the major axis, kept inside the scissor.
  const float low = std::fmin(major0, major0 + delta), high = std::fmax(major0, major0 + delta);
  const float clipLow = static_cast<float>(xMajor ? p.clipLeft : p.clipTop);
  const float clipHigh = static_cast<float>((xMajor ? p.clipRight : p.clipBottom) - 1);
  const float first = std::fmax(std::ceil(low - 0.5f), clipLow);
  const float last = std::fmin(std::floor(high - 0.5f), clipHigh);
  if (!(first <= last)) return;
  float attr[kAttrCount];
  for (int c = static_cast<int>(first); c <= static_cast<int>(last); ++c) {
    const float t = (static_cast<float>(c) + 0.5f - major0) / delta;
    for (int k = 0; k < kAttrCount; ++k) attr[k] = a.attr[k] + (b.attr[k] - a.attr[k]) * t;
    if (flatColor)
      for (int k = kAttrR; k < kAttrFog; ++k) attr[k] = flatColor[k - kAttrR];
    const float minor = std::floor(minor0 + minorDelta * t);
    if (!(minor >= -1.0f && minor <= 1.0e6f)) continue;
    const int m = static_cast<int>(minor);
    if (xMajor) ShadePixel(p, c, m, attr);
    else ShadePixel(p, m, c, attr);
  }
}

void RasterizePoint(const PixelPipeline& p, const ScreenVertex& v) {
  const float x = std::floor(v.x), y = std::floor(v.y);
  if (!(x >= static_cast<float>(p.clipLeft) && x < static_cast<float>(p.clipRight) &&
        y >= static_cast<float>(p.clipTop) && y < static_cast<float>(p.clipBottom)))
    return;
  ShadePixel(p, static_cast<int>(x), static_cast<int>(y), v.attr);
}

}  // namespace plat::raster
