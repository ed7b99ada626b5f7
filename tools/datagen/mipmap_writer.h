#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/image_rows.h"

// QBM mip-mapped bitmap (".qbm"), little-endian:
//   0: "QBM"; 3: 17 zero bytes; 20: uint32 level count; 24: uint32 palette flag
//   (1 for 8 bits, 0 for 24); 28: per level uint32 offset of its rows from the
//   file start and uint32 their byte size;
//   then a Windows bitmap file header of the first level whose offset field is
//   14 + 40 (+ 1024 with a palette): the readers take that many bytes after it;
//   a 40-byte info header (first level's width, height, bit count);
//   8 bits: 256 palette entries blue, green, red, 0;
//   the levels' rows, the first level right after the palette. Level k is
//   (width >> k) x (height >> k), unpadded.
// Rows in file order: texture row 0 first (see image_rows.h).
namespace datagen {

struct MipmapDesc {
  uint32_t width = 0;  // of the first level
  uint32_t height = 0;
  uint32_t bitCount = 8;
  std::vector<PaletteColour> palette;        // 8 bits: up to 256 colours
  std::vector<std::vector<uint8_t>> levels;  // level k: indices or blue, green, red
};

constexpr size_t kMipmapHeaderSize = 28;

bool WriteMipmap(const MipmapDesc& mipmap, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
