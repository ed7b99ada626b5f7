#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/image_rows.h"

// Windows bitmap (".bmp"), 8 bits with a colour table or 24 bits:
//   file header, 14 bytes: "BM", uint32 file size, two uint16 0, uint32 offset to the rows;
//   info header, 40 bytes: size 40, width, height (positive), planes 1, bit count,
//   compression 0, image size, 2835 x 2835 pixels per metre, colours used, 0;
//   colour table (8 bits): colours-used entries blue, green, red, 0;
//   the rows, bottom row first, each padded with zeros to a multiple of 4 bytes
//   as Windows stores them (the readers take the rows at the offset field).
// The sprite readers refuse widths that are not a multiple of 4, so a bitmap
// for sprites must have one; the texture readers take any width.
// Rows in file order: texture row 0 first for textures, the bottom row first
// for sprites (see image_rows.h).
namespace datagen {

struct BitmapDesc {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bitCount = 8;
  std::vector<PaletteColour> palette;  // 8 bits: 1 to 256 colours
  std::vector<uint8_t> pixels;         // unpadded rows: indices, or blue, green, red per pixel
  bool forSprites = false;             // then the width must be a multiple of 4
};

constexpr size_t kBitmapFileHeaderSize = 14;
constexpr size_t kBitmapInfoHeaderSize = 40;

bool WriteBitmap(const BitmapDesc& bitmap, plat::ByteWriter& out, std::string& error);

// The 40-byte info header, shared with the mip-mapped bitmap.
void WriteBitmapInfoHeader(uint32_t width, uint32_t height, uint32_t bitCount, uint32_t imageSize, uint32_t coloursUsed,
                           plat::ByteWriter& out);

}  // namespace datagen
