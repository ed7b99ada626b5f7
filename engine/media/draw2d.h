#pragma once
#include <cstdint>

struct IMAGEDESC;

// Raster primitives over the surface locked for 2D drawing (the interface
// buffer, or the software rasteriser's frame). Colours are screen pixels
// (MapRGB). Every primitive clips to the target's size and does nothing
// without a target.

struct DRAWTARGET {
  uint8_t* pixels = nullptr;  // the first pixel; null: no target
  int pitch = 0;              // bytes per row
  int bitsPerPixel = 0;       // 16 or 32
  int width = 0;              // clip size
  int height = 0;
};

extern DRAWTARGET g_drawTarget;
// The pen of MoveTo, LineTo and FillRect.
extern int g_penX;
extern int g_penY;

void SetDrawTarget(void* pixels, int pitch, int bitsPerPixel, int width, int height);
void ClearDrawTarget();

// Fills the rectangle; the pen moves to its last pixel (x + width - 1, y + height - 1).
void FillRect(int x, int y, int width, int height, uint32_t color);
void MoveTo(int x, int y);
// A line from the pen to the point, both ends drawn; the pen moves to the point.
void LineTo(int x, int y, uint32_t color);
// A line including both end points.
void DrawLine(int x0, int y0, int x1, int y1, uint32_t color);
void PutPixel(int x, int y, uint32_t color);
// Columns x0 to x1 inclusive, in either order.
void DrawHLine(int x0, int x1, int y, uint32_t color);
// Rows from the smaller y up to, not including, the larger one.
void DrawVLine(int x, int y0, int y1, uint32_t color);
// points: count (x, y) pairs. The fill follows one left and one right chain
// from the top to the bottom point (exact for convex polygons), leaves out
// the bottom row and writes 16-bit targets only; two points draw a line in
// the fill colour. With the fill flag a polygon wholly off the target draws
// nothing at all, outline included.
void DrawPolygon(const int32_t* points, int count, uint32_t fillColor, int fill, uint32_t outlineColor, int outline);
// A 1-bit bitmap of up to 16 columns, one word per row, bit 15 leftmost; the
// first word is the bottom row at y and rows go upward.
void DrawGlyphBits(const uint16_t* rows, int x, int y, int width, int height, uint32_t color);
// Copies a 16-bit image to (x, y), leaving out pixels of the world's
// interface key colour; 16-bit targets only.
void BlitKeyed(int x, int y, const IMAGEDESC* image);
