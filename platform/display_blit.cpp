// Keyed, stretched and mirrored copies between memory surfaces.
#include <algorithm>
#include <cstring>

#include "platform/display.h"

namespace plat {
namespace {

uint32_t LoadPixel(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return value;
}

}  // namespace

SurfaceResult Surface::BltWithEffects(const Rect& dest, const Surface& source, const Rect& sourceRect,
                                      BltEffects effects) {
  if (lost_ || source.lost_) return SurfaceResult::SurfaceLost;
  int bytes = (format_.bitsPerPixel + 7) / 8;
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
  if (bytes != (source.format_.bitsPerPixel + 7) / 8 || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
    return SurfaceResult::Failed;
  bool keyed = effects.sourceKey && source.hasColorKey_;
  ++changes_;
  int left = std::max(dest.left, 0), right = std::min(dest.right, width_);
  int top = std::max(dest.top, 0), bottom = std::min(dest.bottom, height_);
  for (int y = top; y < bottom; ++y) {
    int sy = sourceRect.top + static_cast<int>(static_cast<int64_t>(y - dest.top) * sh / dh);
    if (sy < 0 || sy >= source.height_) continue;
    uint8_t* row = pixels_.data() + static_cast<size_t>(y) * pitch_;
    const uint8_t* sourceRow = source.pixels_.data() + static_cast<size_t>(sy) * source.pitch_;
    for (int x = left; x < right; ++x) {
      int step = static_cast<int>(static_cast<int64_t>(x - dest.left) * sw / dw);
      int sx = effects.mirrorLeftRight ? sourceRect.right - 1 - step : sourceRect.left + step;
      if (sx < 0 || sx >= source.width_) continue;
      const uint8_t* from = sourceRow + static_cast<size_t>(sx) * bytes;
      if (keyed && LoadPixel(from, bytes) == source.colorKey_) continue;
      std::memcpy(row + static_cast<size_t>(x) * bytes, from, bytes);
    }
  }
  return SurfaceResult::Ok;
}

SurfaceResult Surface::BltFastKeyed(int x, int y, const Surface& source, const Rect& sourceRect) {
  Rect dest{x, y, x + sourceRect.right - sourceRect.left, y + sourceRect.bottom - sourceRect.top};
  return BltWithEffects(dest, source, sourceRect, {.sourceKey = true});
}

}  // namespace plat
