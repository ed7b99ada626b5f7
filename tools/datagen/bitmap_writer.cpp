#include "tools/datagen/bitmap_writer.h"

namespace datagen {

void WriteBitmapInfoHeader(uint32_t width, uint32_t height, uint32_t bitCount, uint32_t imageSize, uint32_t coloursUsed,
                           plat::ByteWriter& out) {
  out.U32(kBitmapInfoHeaderSize);
  out.I32(static_cast<int32_t>(width));
  out.I32(static_cast<int32_t>(height));
  out.U16(1);
  out.U16(static_cast<uint16_t>(bitCount));
  out.U32(0);
  out.U32(imageSize);
  out.I32(2835);
  out.I32(2835);
  out.U32(coloursUsed);
  out.U32(0);
}

bool WriteBitmap(const BitmapDesc& bitmap, plat::ByteWriter& out, std::string& error) {
  if (!CheckPixelRows(bitmap.width, bitmap.height, bitmap.bitCount, bitmap.pixels.size(), error)) return false;
  if (bitmap.bitCount == 8 && (bitmap.palette.empty() || bitmap.palette.size() > 256)) {
    error = "an 8-bit bitmap needs 1 to 256 colours";
    return false;
  }
  if (bitmap.bitCount == 24 && !bitmap.palette.empty()) {
    error = "a 24-bit bitmap has no colour table";
    return false;
  }
  if (bitmap.forSprites && bitmap.width % 4 != 0) {
    error = "sprite bitmaps need a width that is a multiple of 4";
    return false;
  }
  uint32_t colours = static_cast<uint32_t>(bitmap.palette.size());
  uint32_t rowsOffset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize + 4 * colours;
  const size_t rowBytes = bitmap.width * (bitmap.bitCount / 8);
  const size_t paddedRow = (rowBytes + 3) / 4 * 4;
  uint32_t imageSize = static_cast<uint32_t>(paddedRow * bitmap.height);
  out.Bytes("BM", 2);
  out.U32(rowsOffset + imageSize);
  out.U16(0);
  out.U16(0);
  out.U32(rowsOffset);
  WriteBitmapInfoHeader(bitmap.width, bitmap.height, bitmap.bitCount, imageSize, colours, out);
  WritePalette(bitmap.palette, colours, out);
  for (size_t y = 0; y < bitmap.height; ++y) {
    out.Bytes(bitmap.pixels.data() + y * rowBytes, rowBytes);
    out.Zeros(paddedRow - rowBytes);
  }
  return true;
}

}  // namespace datagen
