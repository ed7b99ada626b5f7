#include "engine/media/draw2d.h"

#include <algorithm>

#include "engine/core/images.h"
#include "engine/core/pixel_format.h"
#include "engine/core/world.h"
#include "engine/media/draw2d_target.h"

DRAWTARGET g_drawTarget;
int g_penX = 0;
int g_penY = 0;

void SetDrawTarget(void* pixels, int pitch, int bitsPerPixel, int width, int height) {
  g_drawTarget = {static_cast<uint8_t*>(pixels), pitch, bitsPerPixel, width, height};
}

void ClearDrawTarget() { g_drawTarget = DRAWTARGET{}; }

void FillTargetRun(int x0, int x1, int y, uint32_t color) {
  uint8_t* row = g_drawTarget.pixels + static_cast<ptrdiff_t>(y) * g_drawTarget.pitch;
  if (g_drawTarget.bitsPerPixel == 32) {
    uint32_t* p = reinterpret_cast<uint32_t*>(row) + x0;
    std::fill(p, p + (x1 - x0 + 1), color);
  } else {
    uint16_t* p = reinterpret_cast<uint16_t*>(row) + x0;
    std::fill(p, p + (x1 - x0 + 1), static_cast<uint16_t>(color));
  }
}

void FillRect(int x, int y, int width, int height, uint32_t color) {
  g_penX = x + width - 1;
  g_penY = y + height - 1;
  if (!g_drawTarget.pixels) return;
  int left = std::max(x, 0), top = std::max(y, 0);
  int right = std::min(x + width - 1, g_drawTarget.width - 1);
  int bottom = std::min(y + height - 1, g_drawTarget.height - 1);
  if (left > right) return;
  for (int row = top; row <= bottom; ++row) FillTargetRun(left, right, row, color);
}

void PutPixel(int x, int y, uint32_t color) {
  if (g_drawTarget.pixels && InsideDrawTarget(x, y)) StoreTargetPixel(x, y, color);
}

void DrawHLine(int x0, int x1, int y, uint32_t color) {
  if (!g_drawTarget.pixels || y < 0 || y >= g_drawTarget.height) return;
  if (x0 > x1) std::swap(x0, x1);
  if (x1 < 0 || x0 >= g_drawTarget.width) return;
  FillTargetRun(std::max(x0, 0), std::min(x1, g_drawTarget.width - 1), y, color);
}

void DrawVLine(int x, int y0, int y1, uint32_t color) {
  if (!g_drawTarget.pixels || x < 0 || x >= g_drawTarget.width) return;
  if (y0 > y1) std::swap(y0, y1);
  if (y1 < 0 || y0 >= g_drawTarget.height) return;
  y0 = std::max(y0, 0);
  y1 = std::min(y1, g_drawTarget.height - 1);
  for (int y = y0; y < y1; ++y) StoreTargetPixel(x, y, color);
}

void DrawGlyphBits(const uint16_t* rows, int x, int y, int width, int height, uint32_t color) {
  if (!g_drawTarget.pixels || !rows) return;
  width = std::min(width, 16);
  for (int i = 0; i < height; ++i)
    for (int j = 0; j < width; ++j)
      if ((rows[i] >> (15 - j)) & 1 && InsideDrawTarget(x + j, y - i)) StoreTargetPixel(x + j, y - i, color);
}

namespace {

// The world's interface key colour in the screen's 16-bit layout.
uint16_t InterfaceKeyPixel() {
  uint32_t r = g_gameWorld->interfaceKeyRed, g = g_gameWorld->interfaceKeyGreen, b = g_gameWorld->interfaceKeyBlue;
  switch (g_screenPixelFormat) {
    case 1: return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    case 2: return static_cast<uint16_t>((b >> 3) << 11 | (g >> 2) << 5 | (r >> 3));
    case 3: return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
    case 5: return static_cast<uint16_t>((r >> 4) << 8 | (g >> 4) << 4 | (b >> 4) | 0xF000);
    default: return static_cast<uint16_t>((r >> 3) | (g >> 3) << 5 | (b >> 3) << 10);
  }
}

}  // namespace

void BlitKeyed(int x, int y, const IMAGEDESC* image) {
  if (!g_drawTarget.pixels || g_drawTarget.bitsPerPixel != 16 || !image || !g_gameWorld) return;
  size_t needed = static_cast<size_t>(std::max(image->width, 0)) * std::max(image->height, 0) * 2;
  if (image->bitsPerPixel != 16 || image->pixels.size() < needed) return;
  uint16_t key = InterfaceKeyPixel();
  const uint16_t* source = reinterpret_cast<const uint16_t*>(image->pixels.data());
  for (int i = 0; i < image->height; ++i) {
    int row = y + i;
    if (row < 0 || row >= g_drawTarget.height) continue;
    for (int j = 0; j < image->width; ++j) {
      uint16_t pixel = source[static_cast<size_t>(i) * image->width + j];
      if (pixel != key && InsideDrawTarget(x + j, row)) StoreTargetPixel(x + j, row, pixel);
    }
  }
}
