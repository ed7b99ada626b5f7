#include "tools/datagen/image_rows.h"

namespace datagen {

bool CheckPixelRows(uint64_t width, uint64_t height, uint32_t bitsPerPixel, size_t byteCount, std::string& error) {
  if (width == 0 || height == 0 || width > 16384 || height > 16384) {
    error = "image sides must be 1 to 16384 pixels";
    return false;
  }
  if (bitsPerPixel != 8 && bitsPerPixel != 24) {
    error = "images hold 8 or 24 bits per pixel";
    return false;
  }
  uint64_t expected = width * height * (bitsPerPixel / 8);
  if (byteCount != expected) {
    error = "pixel data holds " + std::to_string(byteCount) + " bytes, the rows need " + std::to_string(expected);
    return false;
  }
  return true;
}

void WritePalette(const std::vector<PaletteColour>& palette, size_t entries, plat::ByteWriter& out) {
  for (size_t i = 0; i < entries; ++i) {
    PaletteColour c = i < palette.size() ? palette[i] : PaletteColour{};
    out.U8(c.blue);
    out.U8(c.green);
    out.U8(c.red);
    out.U8(0);
  }
}

}  // namespace datagen
