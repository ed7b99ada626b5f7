#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// Pixel rows and palettes shared by the image writers.
//
// Row order, for every image format: rows are given, and stored, in file
// order. The formats call the first stored row the bottom row; the texture
// readers put it at texture row 0 (v = 0, the surface's top row), while the
// sprite readers build bottom-up bitmaps, so there it is the sprite's bottom.
// Every texture fixture and texture coordinate relies on this.
namespace datagen {

struct PaletteColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// width x height x bits / 8 bytes expected; sides of 1 to 16384 pixels.
bool CheckPixelRows(uint64_t width, uint64_t height, uint32_t bitsPerPixel, size_t byteCount, std::string& error);
// Entries of 4 bytes: blue, green, red, 0; entries past the palette are black.
void WritePalette(const std::vector<PaletteColour>& palette, size_t entries, plat::ByteWriter& out);

}  // namespace datagen
