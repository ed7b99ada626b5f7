#include "engine/media/image_headers.h"

#include <string>

#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/gdi2d.h"

namespace {

constexpr size_t kQbiHeaderSize = 16;
constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;
constexpr size_t kQbmHeaderSize = 28;
constexpr size_t kPaletteBytes = 1024;

char Upper(uint8_t c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); }

bool ValidSides(uint32_t width, uint32_t height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide;
}

// True when [offset, offset + bytes) lies inside the file.
bool Inside(const std::vector<uint8_t>& file, uint64_t offset, uint64_t bytes) {
  return offset <= file.size() && bytes <= file.size() - offset;
}

bool RowsInside(const std::vector<uint8_t>& file, const IMAGELAYOUT& l) {
  uint64_t last = static_cast<uint64_t>(l.rowStride) * (l.height - 1);
  uint64_t rowBytes = static_cast<uint64_t>(l.width) * (l.bitCount / 8);
  return Inside(file, l.paletteOffset, 4ull * l.paletteSize) && Inside(file, l.rowsOffset, last + rowBytes);
}

HeaderResult Checked(const std::vector<uint8_t>& file, const IMAGELAYOUT& layout, const char* what) {
  if (RowsInside(file, layout)) return HeaderResult::Ok;
  ReportCorruptImage(what);
  return HeaderResult::Corrupt;
}

}  // namespace

void ReportCorruptImage(const char* what) { plat::DebugOutput(std::string("Corrupt image file: ") + what); }

HeaderResult ReadQbiHeader(const std::vector<uint8_t>& file, size_t start, bool checkMagic, IMAGELAYOUT* layout) {
  plat::ByteReader r(file);
  if (!r.Seek(start) || !r.CanRead(kQbiHeaderSize)) {
    ReportCorruptImage("QBI header cut short");
    return HeaderResult::Corrupt;
  }
  uint8_t magic[4];
  r.Bytes(magic, sizeof magic);
  bool known = Upper(magic[0]) == 'Q' && Upper(magic[1]) == 'B' && (Upper(magic[2]) == 'I' || Upper(magic[2]) == 'T') &&
               magic[3] == 0;
  if (checkMagic && !known) return HeaderResult::Foreign;
  uint32_t width = r.U32();
  uint32_t height = r.U32();
  uint32_t bits = r.U32();
  if (bits != 8 && bits != 24) return HeaderResult::Foreign;
  if (!ValidSides(width, height)) {
    ReportCorruptImage("QBI size out of range");
    return HeaderResult::Corrupt;
  }
  IMAGELAYOUT l;
  l.width = static_cast<int>(width);
  l.height = static_cast<int>(height);
  l.bitCount = static_cast<int>(bits);
  l.paletteSize = bits == 8 ? 256 : 0;
  l.paletteOffset = start + kQbiHeaderSize;
  l.rowsOffset = l.paletteOffset + (bits == 8 ? kPaletteBytes : 0);
  l.rowStride = static_cast<size_t>(width) * (bits / 8);
  *layout = l;
  return Checked(file, l, "QBI rows beyond the file");
}

HeaderResult ReadBmpHeader(const std::vector<uint8_t>& file, size_t start, IMAGELAYOUT* layout) {
  plat::ByteReader r(file);
  if (!r.Seek(start) || !r.CanRead(kBmpFileHeaderSize + kBmpInfoHeaderSize)) {
    ReportCorruptImage("bitmap header cut short");
    return HeaderResult::Corrupt;
  }
  if (r.U8() != 'B' || r.U8() != 'M') return HeaderResult::Foreign;
  r.Skip(8);  // file size, two reserved words
  uint32_t bitsOffset = r.U32();
  uint32_t infoSize = r.U32();
  int32_t width = r.I32();
  int32_t height = r.I32();
  r.Skip(2);  // planes
  uint16_t bitCount = r.U16();
  uint32_t compression = r.U32();
  r.Skip(12);  // image size, resolution
  uint32_t coloursUsed = r.U32();
  if ((bitCount != 8 && bitCount != 24) || compression != 0) return HeaderResult::Foreign;
  if (infoSize < kBmpInfoHeaderSize || width < 1 || height < 1 ||
      !ValidSides(static_cast<uint32_t>(width), static_cast<uint32_t>(height)) ||
      (bitCount == 8 && coloursUsed > 256)) {
    ReportCorruptImage("bitmap header out of range");
    return HeaderResult::Corrupt;
  }
  IMAGELAYOUT l;
  l.width = width;
  l.height = height;
  l.bitCount = bitCount;
  l.paletteSize = bitCount == 8 ? (coloursUsed ? static_cast<int>(coloursUsed) : 256) : 0;
  l.paletteOffset = start + kBmpFileHeaderSize + infoSize;
  l.rowsOffset = start + static_cast<size_t>(bitsOffset);
  l.rowStride = static_cast<size_t>(plat::DibRowBytes(width, bitCount));
  if (bitsOffset < kBmpFileHeaderSize + uint64_t{infoSize} + 4ull * l.paletteSize) {
    ReportCorruptImage("bitmap rows overlap its headers");
    return HeaderResult::Corrupt;
  }
  *layout = l;
  return Checked(file, l, "bitmap rows beyond the file");
}

bool HasQbmMagic(const std::vector<uint8_t>& file, size_t start) {
  return Inside(file, start, 3) && file[start] == 'Q' && file[start + 1] == 'B' && file[start + 2] == 'M';
}

HeaderResult ReadQbmHeader(const std::vector<uint8_t>& file, size_t start, IMAGELAYOUT* first,
                           std::vector<QBMLEVEL>* levels) {
  plat::ByteReader r(file);
  if (!r.Seek(start + 20) || !r.CanRead(kQbmHeaderSize - 20)) {
    ReportCorruptImage("QBM header cut short");
    return HeaderResult::Corrupt;
  }
  uint32_t levelCount = r.U32();
  uint32_t paletteFlag = r.U32();
  if (levelCount == 0 || levelCount > 32 || !r.CanRead(8ull * levelCount)) {
    ReportCorruptImage("QBM level count out of range");
    return HeaderResult::Corrupt;
  }
  levels->assign(levelCount, QBMLEVEL{});
  for (QBMLEVEL& level : *levels) {
    level.offset = r.U32();
    level.size = r.U32();
  }
  const size_t fileHeader = r.Tell();
  if (!r.CanRead(kBmpFileHeaderSize + kBmpInfoHeaderSize)) {
    ReportCorruptImage("QBM bitmap header cut short");
    return HeaderResult::Corrupt;
  }
  r.Skip(10);
  uint32_t bitsOffset = r.U32();
  r.Skip(4);  // info header size
  int32_t width = r.I32();
  int32_t height = r.I32();
  r.Skip(2);
  uint16_t bitCount = r.U16();
  if (bitCount != 8 && bitCount != 24) return HeaderResult::Foreign;
  const bool paletted = bitCount == 8;
  const uint64_t headers = kBmpFileHeaderSize + kBmpInfoHeaderSize + (paletted ? kPaletteBytes : 0);
  if ((paletteFlag != 0) != paletted || width < 1 || height < 1 ||
      !ValidSides(static_cast<uint32_t>(width), static_cast<uint32_t>(height)) || bitsOffset < headers) {
    ReportCorruptImage("QBM header out of range");
    return HeaderResult::Corrupt;
  }
  IMAGELAYOUT l;
  l.width = width;
  l.height = height;
  l.bitCount = bitCount;
  l.paletteSize = paletted ? 256 : 0;
  l.rowsOffset = fileHeader + bitsOffset;
  l.paletteOffset = l.rowsOffset - (paletted ? kPaletteBytes : 0);
  l.rowStride = static_cast<size_t>(width) * (bitCount / 8);
  *first = l;
  return Checked(file, l, "QBM first level beyond the file");
}
