#include "engine/media/sprite_blend.h"

#include <algorithm>

#include "engine/core/pixel_format.h"
#include "engine/core/surface_retry.h"
#include "platform/display.h"

namespace {

struct Masks {
  uint32_t half;     // H
  uint32_t quarter;  // Q
  uint32_t redBlue;  // RB
  uint32_t green;    // G
};

Masks ScreenMasks() {
  if (g_screenPixelFormat == 1 || g_screenPixelFormat == 2) return {0x7BEF, 0x39E7, 0xF81F, 0x07E0};
  return {0x3DEF, 0x1CE7, 0x7C1F, 0x03E0};
}

enum class Kind { Half, Quarter, ThreeQuarters, General };

uint16_t BlendPixel(Kind kind, const Masks& m, uint32_t s, uint32_t d, uint32_t sw, uint32_t dw) {
  switch (kind) {
    case Kind::Half: return static_cast<uint16_t>(((s >> 1) & m.half) + ((d >> 1) & m.half));
    case Kind::Quarter: return static_cast<uint16_t>(d + ((s >> 2) & m.quarter) - ((d >> 2) & m.quarter));
    case Kind::ThreeQuarters: return static_cast<uint16_t>(s + ((d >> 2) & m.quarter) - ((s >> 2) & m.quarter));
    case Kind::General:
      return static_cast<uint16_t>(
          (((dw * (d & m.redBlue)) >> 4) & m.redBlue) + (((dw * (d & m.green)) >> 4) & m.green) +
          (((sw * (s & m.redBlue)) >> 4) & m.redBlue) + (((sw * (s & m.green)) >> 4) & m.green));
  }
  return static_cast<uint16_t>(d);
}

// Locks a surface, asking again while it is busy.
uint8_t* LockSurface(plat::Surface* surface, int* pitch) {
  uint8_t* pixels = nullptr;
  plat::SurfaceResult result = RetryWhileStillDrawing([&] { return surface->Lock(&pixels, pitch); });
  return result == plat::SurfaceResult::Ok ? pixels : nullptr;
}

}  // namespace

void BlendSpriteFrame(float alpha, int keyed, plat::Surface* destination, int x, int y, plat::Surface* source,
                      int sourceX, int sourceY, int width, int height) {
  if (!destination || !source || width <= 0 || height <= 0) return;
  plat::SurfaceDesc dd = destination->Describe(), sd = source->Describe();
  if (dd.format.bitsPerPixel != 16 || sd.format.bitsPerPixel != 16) return;
  int percent = static_cast<int>(alpha * 100);
  if (percent < 5) return;
  Kind kind = Kind::General;
  if (percent >= 46 && percent <= 54) kind = Kind::Half;
  else if (percent >= 21 && percent <= 29) kind = Kind::Quarter;
  else if (percent >= 71 && percent <= 79) kind = Kind::ThreeQuarters;
  uint32_t sourceWeight = static_cast<uint32_t>(std::clamp(static_cast<int>(alpha * 16), 0, 16));
  uint32_t destWeight = static_cast<uint32_t>(std::clamp(static_cast<int>((1 - alpha) * 16), 0, 16));

  // Clip the area to both surfaces.
  int left = std::max({0, -x, -sourceX});
  int top = std::max({0, -y, -sourceY});
  int right = std::min({width, dd.width - x, sd.width - sourceX});
  int bottom = std::min({height, dd.height - y, sd.height - sourceY});
  if (left >= right || top >= bottom) return;

  int destPitch = 0, sourcePitch = 0;
  uint8_t* destPixels = LockSurface(destination, &destPitch);
  uint8_t* sourcePixels = destPixels ? LockSurface(source, &sourcePitch) : nullptr;
  if (sourcePixels) {
    Masks masks = ScreenMasks();
    bool useKey = keyed && source->HasColorKey();
    uint16_t key = static_cast<uint16_t>(source->ColorKey());
    for (int row = top; row < bottom; ++row) {
      uint16_t* d = reinterpret_cast<uint16_t*>(destPixels + static_cast<ptrdiff_t>(y + row) * destPitch) + x;
      const uint16_t* s =
          reinterpret_cast<const uint16_t*>(sourcePixels + static_cast<ptrdiff_t>(sourceY + row) * sourcePitch) +
          sourceX;
      if (kind == Kind::General || !useKey) {
        for (int col = left; col < right; ++col) {
          if (useKey && s[col] == key) continue;
          d[col] = BlendPixel(kind, masks, s[col], d[col], sourceWeight, destWeight);
        }
        continue;
      }
      // Keyed fast blends go by pairs; an odd last column is a pair of its own.
      for (int col = left; col < right; col += 2) {
        int count = std::min(2, right - col);
        bool allKey = true;
        for (int k = 0; k < count; ++k) allKey = allKey && s[col + k] == key;
        if (allKey) continue;
        for (int k = 0; k < count; ++k) {
          uint16_t sp = s[col + k] == key ? d[col + k] : s[col + k];
          d[col + k] = BlendPixel(kind, masks, sp, d[col + k], sourceWeight, destWeight);
        }
      }
    }
    source->Unlock();
  }
  if (destPixels) destination->Unlock();
}
