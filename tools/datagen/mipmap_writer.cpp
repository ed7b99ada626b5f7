#include "tools/datagen/mipmap_writer.h"

#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_writer.h"

namespace datagen {

bool WriteMipmap(const MipmapDesc& mipmap, plat::ByteWriter& out, std::string& error) {
  if (mipmap.levels.empty()) {
    error = "a mip-mapped bitmap needs at least one level";
    return false;
  }
  for (size_t k = 0; k < mipmap.levels.size(); ++k) {
    if (k >= 32 ||
        !CheckPixelRows(mipmap.width >> k, mipmap.height >> k, mipmap.bitCount, mipmap.levels[k].size(), error)) {
      error = "level " + std::to_string(k) + ": " + (k >= 32 ? "too many levels" : error);
      return false;
    }
  }
  bool paletted = mipmap.bitCount == 8;
  if (mipmap.palette.size() > 256 || (!paletted && !mipmap.palette.empty())) {
    error = "a palette belongs to 8-bit bitmaps and holds at most 256 colours";
    return false;
  }
  const uint32_t levelCount = static_cast<uint32_t>(mipmap.levels.size());
  const uint32_t afterFileHeader = static_cast<uint32_t>(kBitmapInfoHeaderSize + (paletted ? kPaletteBytes : 0));
  const uint32_t firstSize = static_cast<uint32_t>(mipmap.levels[0].size());

  out.Bytes("QBM", 3);
  out.Zeros(17);
  out.U32(levelCount);
  out.U32(paletted ? 1 : 0);
  uint32_t offset = kMipmapHeaderSize + 8 * levelCount + kBitmapFileHeaderSize + afterFileHeader;
  for (const auto& level : mipmap.levels) {
    out.U32(offset);
    out.U32(static_cast<uint32_t>(level.size()));
    offset += static_cast<uint32_t>(level.size());
  }
  out.Bytes("BM", 2);
  out.U32(static_cast<uint32_t>(kBitmapFileHeaderSize) + afterFileHeader + firstSize);
  out.U16(0);
  out.U16(0);
  out.U32(static_cast<uint32_t>(kBitmapFileHeaderSize) + afterFileHeader);
  WriteBitmapInfoHeader(mipmap.width, mipmap.height, mipmap.bitCount, firstSize, paletted ? 256 : 0, out);
  if (paletted) WritePalette(mipmap.palette, 256, out);
  for (const auto& level : mipmap.levels) out.Bytes(level.data(), level.size());
  return true;
}

}  // namespace datagen
