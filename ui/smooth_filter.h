#pragma once
#include <cstdint>

// The soft-edge filter of smoothed text over 16-bit pixel blocks in one of
// the display's layouts: 1 and 2 are 5-6-5, 3 and 4 are 5-5-5, 5 is 4-4-4-4
// (its top nibble written as 0). Other layouts are refused.

// A block of 16-bit pixels: the first pixel, the bytes from one row to the
// next, and the size.
struct PIXELBLOCK {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};

struct SMOOTHFILTERDESC {
  int formatCode = 0;
  // The string drawn hard-edged on the key colour; its size is the rectangle filtered.
  PIXELBLOCK source;
  // Receives the rectangle with its top-left corner at (x, y).
  PIXELBLOCK destination;
  int x = 0;
  int y = 0;
  // What lies under the text: a picture, whose pixel (0, 0) sits under the
  // destination's pixel (backgroundX, backgroundY), or, without one, one colour.
  const PIXELBLOCK* background = nullptr;
  int backgroundX = 0;
  int backgroundY = 0;
  uint16_t solidColour = 0;
  uint16_t key = 0;
  // Least covered share of a neighbourhood (0: any coverage).
  float threshold = 0.0f;
  // 3 x 3 weights row by row; null for 1 4 1 / 4 16 4 / 1 4 1.
  const int* kernel = nullptr;
};

constexpr int kSmoothBadFormat = -20;

// Every pixel of the rectangle becomes the weighted average of its 3 x 3
// neighbourhood inside the rectangle, key-coloured pixels counting as the
// background under them; a neighbourhood with no text pixel stays key
// colour, and so does a pixel whose place lies outside the background
// picture. 1; -1 for a rectangle at a negative place or past the
// destination; kSmoothBadFormat for a layout it cannot read.
int FilterSmoothText(const SMOOTHFILTERDESC& desc);

// A pixel's channels in the layout's own bit widths, and back; false for a
// layout it cannot read.
struct PIXELCHANNELS {
  int red = 0;
  int green = 0;
  int blue = 0;
};
bool UnpackPixel(int formatCode, uint16_t pixel, PIXELCHANNELS* out);
bool PackPixel(int formatCode, const PIXELCHANNELS& channels, uint16_t* out);
