#include "engine/media/image_files.h"

#include <cstdlib>
#include <cstring>

#include "engine/media/image_headers.h"
#include "platform/files.h"

namespace {

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;

void Report(int* width, int* height, const DIBSECTION& dib) {
  if (width) *width = dib.width;
  if (height) *height = dib.height;
}

}  // namespace

plat::Dib DIBSECTION::View() const {
  plat::Dib dib;
  dib.width = width;
  dib.height = height;
  dib.bitsPerPixel = bitCount;
  dib.bits = bits.data();
  dib.size = bits.size();
  dib.palette = colorTable.empty() ? nullptr : colorTable.data();
  dib.paletteCount = static_cast<int>(colorTable.size() / 4);
  return dib;
}

std::unique_ptr<DIBSECTION> ReadImageBitmap(const std::vector<uint8_t>& file, size_t entryOffset, int* width,
                                            int* height) {
  IMAGELAYOUT l;
  if (ReadQbiHeader(file, entryOffset, true, &l) != HeaderResult::Ok) return nullptr;
  auto dib = std::make_unique<DIBSECTION>();
  dib->width = l.width;
  dib->height = l.height;
  dib->bitCount = l.bitCount;
  const uint8_t* palette = file.data() + l.paletteOffset;
  dib->colorTable.assign(palette, palette + 4 * l.paletteSize);
  // The image's rows are unpadded while a DIB's are padded to 4 bytes: copy
  // them one by one, in file order, which keeps the first stored row at the
  // bottom of the bottom-up bitmap.
  const size_t dibRow = static_cast<size_t>(plat::DibRowBytes(l.width, l.bitCount));
  dib->bits.assign(dibRow * l.height, 0);
  for (int y = 0; y < l.height; ++y)
    std::memcpy(&dib->bits[dibRow * y], file.data() + l.rowsOffset + l.rowStride * y, l.rowStride);
  Report(width, height, *dib);
  return dib;
}

std::unique_ptr<DIBSECTION> ReadBitmapFile(const std::vector<uint8_t>& file, int* width, int* height) {
  plat::ByteReader r(file);
  if (!r.CanRead(kBmpFileHeaderSize + kBmpInfoHeaderSize)) return nullptr;
  if (r.U8() != 'B' || r.U8() != 'M') return nullptr;
  r.Skip(8);
  const uint32_t bitsOffset = r.U32();
  const uint32_t infoSize = r.U32();
  const int32_t w = r.I32();
  const int32_t h = r.I32();
  r.Skip(2);
  const uint16_t bitCount = r.U16();
  const uint32_t compression = r.U32();
  const uint32_t imageSize = r.U32();
  r.Skip(8);
  const uint32_t coloursUsed = r.U32();
  if (w <= 0 || w % 4 != 0 || (bitCount != 8 && bitCount != 24) || compression != 0) return nullptr;
  const int64_t rows = std::llabs(static_cast<int64_t>(h));
  if (w > kMaxImageSide || rows < 1 || rows > kMaxImageSide || infoSize < kBmpInfoHeaderSize ||
      (bitCount == 8 && coloursUsed > 256)) {
    ReportCorruptImage("bitmap header out of range");
    return nullptr;
  }
  const uint64_t colours = bitCount == 8 ? (coloursUsed ? coloursUsed : 256) : 0;
  const uint64_t tableOffset = kBmpFileHeaderSize + uint64_t{infoSize};
  // The image size when the header leaves it 0; with a width that is a
  // multiple of 4 it equals the padded rows a DIB needs.
  const uint64_t needed = static_cast<uint64_t>(rows) * plat::DibRowBytes(w, bitCount);
  const uint64_t stated = imageSize ? imageSize : needed;
  if (tableOffset + 4 * colours > bitsOffset || stated < needed || bitsOffset > file.size() ||
      needed > file.size() - bitsOffset) {
    ReportCorruptImage("bitmap tables or rows beyond the file");
    return nullptr;
  }
  auto dib = std::make_unique<DIBSECTION>();
  dib->width = w;
  dib->height = h;
  dib->bitCount = bitCount;
  dib->colorTable.assign(file.begin() + tableOffset, file.begin() + tableOffset + 4 * colours);
  dib->bits.assign(file.begin() + bitsOffset, file.begin() + bitsOffset + needed);
  Report(width, height, *dib);
  return dib;
}
