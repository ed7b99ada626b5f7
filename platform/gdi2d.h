#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// What the game asked of GDI on memory pixels: device-independent bitmaps
// copied onto surfaces, half-tone stretching of screen copies, and filled and
// outlined paths. Colours given to these calls are 0x00BBGGRR values.
namespace plat {

enum class PixelLayout { Rgb565, Rgb555, Bgr24, Xrgb8888 };

int BytesPerPixel(PixelLayout layout);
// The pixel of a 0x00BBGGRR colour; 16-bit layouts keep each channel's top bits.
uint32_t PixelOfColorRef(uint32_t colorRef, PixelLayout layout);

// Rows of pixels, top row first, `pitch` bytes apart.
struct PixelTarget {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
  PixelLayout layout = PixelLayout::Rgb565;
};
struct PixelSource {
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
  PixelLayout layout = PixelLayout::Bgr24;
};

// A device-independent bitmap as Windows keeps one: 8 bits with a colour
// table, or 24 bits blue, green, red; rows padded to 4 bytes; a positive
// height stores the bottom row first, a negative one the top row first.
struct Dib {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  const uint8_t* bits = nullptr;
  size_t size = 0;                   // bytes readable at bits
  const uint8_t* palette = nullptr;  // 4 bytes an entry: blue, green, red, unused
  int paletteCount = 0;
};

// Bytes of one stored row: the pixels rounded up to a whole 32-bit word.
int DibRowBytes(int width, int bitsPerPixel);

// Copies the bitmap onto the target with its top-left corner at (x, y),
// clipped, converted to the target's layout. Colour indices beyond the table
// give black. False, drawing nothing, for a bitmap or target that does not
// hold together (sizes of 0 or below, another bit count, too few bytes).
bool CopyDibToPixels(const Dib& dib, const PixelTarget& target, int x, int y);

// Half-tone stretch: every target pixel is the average of the source area it
// covers, each source pixel weighted by the part of it that lies inside.
// Source and target are Bgr24 or Xrgb8888 and stored in the same row order.
// False for any other layout or an empty or inconsistent view.
bool StretchHalftone(const PixelSource& source, const PixelTarget& target);

enum class FillRule { Alternate, Winding };

// A GDI path: figures of straight segments in integer pixel coordinates,
// where pixel (x, y) covers the square from (x, y) to (x + 1, y + 1).
class Path {
 public:
  // Starts a new figure at the point.
  void MoveTo(int x, int y);
  // A segment from the current point; the first one starts a figure at the
  // current point ((0, 0) before any move).
  void LineTo(int x, int y);
  void Clear();
  bool Empty() const { return figures_.empty(); }

  struct Point {
    int x;
    int y;
  };
  const std::vector<std::vector<Point>>& Figures() const { return figures_; }

 private:
  std::vector<std::vector<Point>> figures_;
  Point current_{0, 0};
  bool open_ = false;
};

// Fills the inside of the path, every figure closed from its last point back
// to its first: the pixels whose centres lie inside, by the rule; clipped.
void FillPath(const PixelTarget& target, const Path& path, FillRule rule, uint32_t colorRef);
// Outlines every figure with a one-pixel pen, each segment drawn from its
// start up to, not including, its end point; clipped.
void StrokePath(const PixelTarget& target, const Path& path, uint32_t colorRef);

}  // namespace plat
