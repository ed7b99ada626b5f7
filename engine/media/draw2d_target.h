#pragma once
// Internal to the 2D primitives: writing into the draw target.
#include <cstddef>
#include <cstring>

#include "engine/media/draw2d.h"

inline bool InsideDrawTarget(int x, int y) {
  return x >= 0 && y >= 0 && x < g_drawTarget.width && y < g_drawTarget.height;
}

// The pixel at (x, y), which the caller has checked to be inside.
inline void StoreTargetPixel(int x, int y, uint32_t color) {
  uint8_t* row = g_drawTarget.pixels + static_cast<ptrdiff_t>(y) * g_drawTarget.pitch;
  if (g_drawTarget.bitsPerPixel == 32) {
    uint32_t value = color;
    std::memcpy(row + static_cast<ptrdiff_t>(x) * 4, &value, 4);
  } else {
    uint16_t value = static_cast<uint16_t>(color);
    std::memcpy(row + static_cast<ptrdiff_t>(x) * 2, &value, 2);
  }
}

// Columns x0 to x1 inclusive of row y, all inside.
void FillTargetRun(int x0, int x1, int y, uint32_t color);
