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

// Leaves out source pixels equal to the key: every destination pixel is
// written, with its own value where the source is the key, which lets the
// compiler copy many pixels at a time.
void CopyKeyedRow16(uint8_t* to, const uint8_t* from, int count, uint16_t key) {
  for (int i = 0; i < count; ++i) {
    uint16_t source, dest;
    std::memcpy(&source, from + 2 * i, 2);
    std::memcpy(&dest, to + 2 * i, 2);
    dest = source == key ? dest : source;
    std::memcpy(to + 2 * i, &dest, 2);
  }
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
  if (dw == sw && dh == sh && !effects.mirrorLeftRight && &source != this) {
    // Unscaled from another surface: each row one run, clipped to the
    // source's columns once; the same pixels as the general loop below.
    const int shift = sourceRect.left - dest.left;
    left = std::max(left, -shift);
    right = std::min(right, source.width_ - shift);
    for (int y = top; y < bottom && left < right; ++y) {
      const int sy = sourceRect.top + (y - dest.top);
      if (sy < 0 || sy >= source.height_) continue;
      uint8_t* to = pixels_.data() + static_cast<size_t>(y) * pitch_ + static_cast<size_t>(left) * bytes;
      const uint8_t* from =
          source.pixels_.data() + static_cast<size_t>(sy) * source.pitch_ + static_cast<size_t>(left + shift) * bytes;
      const int count = right - left;
      if (!keyed) {
        std::memcpy(to, from, static_cast<size_t>(count) * bytes);
      } else if (bytes == 2 && source.colorKey_ <= 0xFFFF) {
        CopyKeyedRow16(to, from, count, static_cast<uint16_t>(source.colorKey_));
      } else {
        for (int i = 0; i < count; ++i, to += bytes, from += bytes)
          if (LoadPixel(from, bytes) != source.colorKey_) std::memcpy(to, from, bytes);
      }
    }
    return SurfaceResult::Ok;
  }
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
