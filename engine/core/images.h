#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"

// 2D images of the image pool: a chain of records, each with its pixels and
// a second pixel buffer. Viewport backgrounds and engine widgets show them;
// nothing in the game makes them.
struct IMAGEDESC {
  int index = 0;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 16;
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> secondPixels;
  IMAGEDESC* next = nullptr;
};

// Clears the image from every viewport background and widget that shows it,
// frees its whole chain and empties its slot.
void DestroyImage(HOBJECT image);
