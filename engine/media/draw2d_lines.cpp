// Clipped lines: region-code clipping, then integer Bresenham stepping.
#include <algorithm>
#include <cstdlib>

#include "engine/media/draw2d.h"
#include "engine/media/draw2d_target.h"

namespace {

enum : int { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

int RegionCode(int x, int y) {
  int code = 0;
  if (x < 0) code |= kLeft;
  if (x >= g_drawTarget.width) code |= kRight;
  if (y < 0) code |= kTop;
  if (y >= g_drawTarget.height) code |= kBottom;
  return code;
}

// Truncation toward zero, held inside the int range.
int Truncate(double v) { return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0)); }

// Moves the ends onto the target; false when nothing of the line is on it.
bool ClipLine(int& x0, int& y0, int& x1, int& y1) {
  int width = g_drawTarget.width, height = g_drawTarget.height;
  // Every round puts one end on the target's edge, so a few rounds settle any line.
  for (int round = 0; round < 8; ++round) {
    int c0 = RegionCode(x0, y0), c1 = RegionCode(x1, y1);
    if (c0 == 0 && c1 == 0) return true;
    if (c0 & c1) return false;
    if (c0 == 0) {
      std::swap(x0, x1);
      std::swap(y0, y1);
      std::swap(c0, c1);
    }
    if (x1 == x0 || y1 == y0) return false;  // an axis-parallel line outside the target
    double s = (static_cast<double>(y1) - y0) / (static_cast<double>(x1) - x0);
    double x = x0, y = y0;
    if (c0 & kLeft) {
      y = Truncate(y - s * x);
      x = 0;
    }
    if (c0 & kRight) {
      y = Truncate(y + s * (width - 1 - x));
      x = width - 1;
    }
    if (c0 & kTop) {
      x = Truncate(x - y / s);
      y = 0;
    }
    if (c0 & kBottom) {
      x = Truncate(x + (height - 1 - y) / s);
      y = height - 1;
    }
    x0 = static_cast<int>(x);
    y0 = static_cast<int>(y);
  }
  return false;
}

// Rows y0 to y1 inclusive of column x, clipped.
void DrawColumn(int x, int y0, int y1, uint32_t color) {
  if (x < 0 || x >= g_drawTarget.width) return;
  if (y0 > y1) std::swap(y0, y1);
  y0 = std::max(y0, 0);
  y1 = std::min(y1, g_drawTarget.height - 1);
  for (int y = y0; y <= y1; ++y) StoreTargetPixel(x, y, color);
}

}  // namespace

void DrawLine(int x0, int y0, int x1, int y1, uint32_t color) {
  if (!g_drawTarget.pixels) return;
  if (x0 == x1) {
    DrawColumn(x0, y0, y1, color);
    return;
  }
  if (y0 == y1) {
    DrawHLine(x0, x1, y0, color);
    return;
  }
  if (!ClipLine(x0, y0, x1, y1)) return;
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  int dx = x1 - x0, dy = y1 - y0;
  int step = dx > 0 ? 1 : -1;
  int adx = std::abs(dx);
  int x = x0, y = y0;
  StoreTargetPixel(x, y, color);
  if (dy < adx) {
    int error = 2 * dy - adx;
    for (int i = 0; i < adx; ++i) {
      x += step;
      bool advance = error >= 0;
      if (advance) y += 1;
      StoreTargetPixel(x, y, color);
      error += advance ? 2 * dy - 2 * adx : 2 * dy;
    }
  } else {
    int error = 2 * adx - dy;
    for (int i = 1; i <= dy; ++i) {
      bool advance = error >= 0;
      if (advance) x += step;
      StoreTargetPixel(x, y0 + i, color);
      error += advance ? 2 * adx - 2 * dy : 2 * adx;
    }
  }
}

void MoveTo(int x, int y) {
  g_penX = x;
  g_penY = y;
}

void LineTo(int x, int y, uint32_t color) {
  DrawLine(g_penX, g_penY, x, y, color);
  g_penX = x;
  g_penY = y;
}
