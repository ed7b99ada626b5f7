#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The headers of the engine's image formats, read field by field. Each reader
// checks that the colour table and every row the header promises lie inside
// the bytes it was given, so that the pixel code after it never needs to.

// Where an image's colour table and rows lie in its file.
struct IMAGELAYOUT {
  int width = 0;
  int height = 0;       // rows; positive
  int bitCount = 0;     // 8 or 24
  int paletteSize = 0;  // colour-table entries (4 bytes each); 0 for 24 bits
  size_t paletteOffset = 0;
  size_t rowsOffset = 0;  // first stored row
  size_t rowStride = 0;   // bytes from one stored row to the next
};

// Sides beyond this are refused by every reader.
constexpr int kMaxImageSide = 16384;

enum class HeaderResult { Ok, Foreign, Corrupt };

// A QBI image at start: magic "QBI" or "QBT" with a zero byte, compared without
// case (checked only with checkMagic); width, height, bits 8 or 24; 8 bits: 256
// colours; unpadded rows.
HeaderResult ReadQbiHeader(const std::vector<uint8_t>& file, size_t start, bool checkMagic, IMAGELAYOUT* layout);

// A Windows bitmap at start as the texture readers take it: "BM", 8 bits with
// its colour table right after the info header (colours used, 256 when 0) or
// 24 bits, uncompressed, stored bottom row first; the rows at the file
// header's offset-to-bits, each padded to 4 bytes.
HeaderResult ReadBmpHeader(const std::vector<uint8_t>& file, size_t start, IMAGELAYOUT* layout);

// The 3-byte magic of a QBM mip-mapped bitmap.
bool HasQbmMagic(const std::vector<uint8_t>& file, size_t start);

// A QBM at start: the level table (offsets from start, byte sizes) and the first
// level's layout (rows right after the header and its 256-colour palette).
struct QBMLEVEL {
  uint32_t offset = 0;
  uint32_t size = 0;
};
HeaderResult ReadQbmHeader(const std::vector<uint8_t>& file, size_t start, IMAGELAYOUT* first,
                           std::vector<QBMLEVEL>* levels);

// Reports a damaged image file on the debugger output.
void ReportCorruptImage(const char* what);
