// The automap's loose images in "image": the panel's frame, the portal icon
// and the position icon's eight headings. Blue (0, 0, 255) is their key.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

enum Colour : uint8_t { kKey, kBronze, kDark, kYellow, kRed };
const std::vector<PaletteColour> kPalette = {{0, 0, 255}, {170, 120, 60}, {60, 40, 20}, {250, 220, 40}, {220, 40, 40}};

// colourAt(x, y) with y counted from the top; sprite bitmaps store the bottom row first.
bool WriteImage(const std::string& path, uint32_t width, uint32_t height,
                const std::function<uint8_t(int, int)>& colourAt, std::string& error) {
  BitmapDesc bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.palette = kPalette;
  bitmap.forSprites = true;
  for (int y = static_cast<int>(height) - 1; y >= 0; --y)
    for (int x = 0; x < static_cast<int>(width); ++x) bitmap.pixels.push_back(colourAt(x, y));
  plat::ByteWriter out;
  return WriteBitmap(bitmap, out, error) && WriteOutputFile(path, out.Bytes(), error);
}

// The frame around the map, whose pixel (0, 0) lies at (12, 11) in it.
uint8_t FramePixel(int x, int y) {
  const int left = 12, top = 11, side = 120;
  int outside = std::max(std::max(left - x, x - (left + side - 1)), std::max(top - y, y - (top + side - 1)));
  if (outside <= 0) return kKey;
  return outside <= 2 ? kDark : kBronze;
}

uint8_t PortalPixel(int x, int y) {
  float d = std::fabs(x - 5.5f) + std::fabs(y - 5.5f);
  return d <= 4.5f ? kYellow : (d <= 6 ? kDark : kKey);
}

// Cell k points k x 45 degrees counter-clockwise from +x; screen y grows down.
uint8_t PositionPixel(int x, int y) {
  const int cell = y / 16;
  const float angle = static_cast<float>(cell) * 0.785398f;
  const float dx = std::cos(angle), dy = -std::sin(angle);
  const float px = x - 7.5f, py = (y % 16) - 7.5f;
  const float along = px * dx + py * dy, across = px * -dy + py * dx;
  // A triangle with its tip 7 pixels ahead and a base 10 pixels wide 5 pixels behind.
  if (along < -5 || along > 7) return kKey;
  return std::fabs(across) <= (7 - along) * 5 / 12 ? kRed : kKey;
}

}  // namespace

bool WriteSampleAutomapImages(const std::string& root, std::string& error) {
  return WriteImage(root + "image/automap.bmp", 140, 140, FramePixel, error) &&
         WriteImage(root + "image/portal.bmp", 12, 12, PortalPixel, error) &&
         WriteImage(root + "image/mypos.bmp", 16, 128, PositionPixel, error);
}

}  // namespace datagen
