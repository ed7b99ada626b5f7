#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi2d.h"

// Image files read as device-independent bitmaps for the sprite layer.
//
// Row order: image files store their bottom row first and these bitmaps keep
// that order (a positive height), so the first stored row of a file is the
// bottom row of the sprite. The texture readers, by contrast, put the first
// stored row at texture row 0.
//
// Both readers take the bytes of a whole file or package entry and answer
// null for a wrong magic or bit count, a width the reader refuses, or a file
// too short for what its header promises.

// A DIB section: 8 bits with a colour table, or 24 bits blue, green, red; rows
// padded to 4 bytes (plat::DibRowBytes).
struct DIBSECTION {
  int width = 0;
  int height = 0;  // as stored: negative for a bitmap kept top row first
  int bitCount = 0;
  std::vector<uint8_t> colorTable;  // 4 bytes an entry: blue, green, red, unused
  std::vector<uint8_t> bits;

  // A view for plat::CopyDibToPixels; valid while the record lives.
  plat::Dib View() const;
};

// A QBI image (magic "QBI" or "QBT", 8 or 24 bits) starting at entryOffset of
// file: a ".qbi" file (offset 0) or an entry of a ".qsi" set.
std::unique_ptr<DIBSECTION> ReadImageBitmap(const std::vector<uint8_t>& file, size_t entryOffset, int* width,
                                            int* height);

// A Windows ".bmp" of 8 or 24 bits, uncompressed, whose width is a multiple
// of 4; its rows are taken at the file's offset-to-bits. Width and height are
// reported as stored.
std::unique_ptr<DIBSECTION> ReadBitmapFile(const std::vector<uint8_t>& file, int* width, int* height);
