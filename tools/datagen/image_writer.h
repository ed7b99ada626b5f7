#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/image_rows.h"

// QBI image (".qbi", ".qbt"), little-endian:
//   magic "QBI" or "QBT" and a zero byte; uint32 width, height, bits (8 or 24);
//   8 bits: 256 palette entries blue, green, red, 0;
//   height rows of width x bits / 8 bytes, unpadded, 24-bit pixels blue, green, red.
// Rows in file order: the first stored row is texture row 0 for the texture
// readers and the bottom row for the sprite readers (see image_rows.h).
// Texture-set entries need the magic "QBT"; the software renderer reads only
// 8-bit images.
namespace datagen {

enum class ImageMagic { Qbi, Qbt };

struct ImageDesc {
  ImageMagic magic = ImageMagic::Qbt;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bitsPerPixel = 8;
  std::vector<PaletteColour> palette;  // 8 bits: up to 256 colours
  std::vector<uint8_t> pixels;         // indices, or blue, green, red per pixel
};

constexpr size_t kImageHeaderSize = 16;
constexpr size_t kPaletteBytes = 1024;

bool WriteImage(const ImageDesc& image, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
