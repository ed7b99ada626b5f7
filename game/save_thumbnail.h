#pragma once
// The screen shot taken when the main menu opens, kept as 24-bit pixels of the
// thumbnail size and written next to a save slot as a Windows bitmap.
#include <cstdint>
#include <vector>

class CSaveThumbnail {
 public:
  CSaveThumbnail(int width, int height) : width(width), height(height) {}

  void Free() { pixels.clear(); }
  // Reads the screen region and shrinks it to the thumbnail; nothing is kept
  // when the screen cannot be read.
  void Capture(int x, int y, int regionWidth, int regionHeight);
  // The shrinking and conversion of Capture from 16-bit screen pixels of the
  // display's pixel-format code (1: 5-6-5, 3: 5-5-5; any other is black and
  // reported).
  void TakePixels(const uint16_t* screen, int screenWidth, int screenHeight, int formatCode);
  // 0 when written whole; -1 without pixels or when the file cannot be written.
  int WriteBmp(const char* path) const;

  std::vector<uint8_t> pixels;  // top row first, blue, green, red; empty until captured
  int width;
  int height;
};
