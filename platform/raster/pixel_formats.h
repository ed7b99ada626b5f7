#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/raster/raster_types.h"

// Conversions between the 16-bit layouts and 8-bit channels. Expansion
// replicates the top bits so that full scale stays full scale; packing
// truncates.
namespace plat::raster {

// 0xAARRGGBB; layouts without alpha give 0xFF.
inline uint32_t DecodePixel(PixelLayout layout, uint32_t c) {
  switch (layout) {
    case PixelLayout::Rgb565: {
      const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
      return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    }
    case PixelLayout::Rgb555: {
      const uint32_t r = (c >> 10) & 31, g = (c >> 5) & 31, b = c & 31;
      return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
    }
    case PixelLayout::Argb4444:
      return ((c >> 12) & 15) * 0x11000000u | ((c >> 8) & 15) * 0x110000u | ((c >> 4) & 15) * 0x1100u |
             (c & 15) * 0x11u;
  }
  return 0;
}

// A texture decoded once into the 0xAARRGGBB form the span routines read
// fastest. Each row has one more texel, a copy of its first, and one more
// row, a copy of the first, follows: the right and lower neighbours of any
// texel of a wrapping texture then lie one and ExpandedPitch places on.
inline int ExpandedPitch(const Texture& t) { return t.width + 1; }
inline size_t ExpandedSize(const Texture& t) {
  return static_cast<size_t>(t.width + 1) * static_cast<size_t>(t.height + 1);
}

// Row y of ExpandTexels: ExpandedPitch(t) values.
inline void ExpandRow(const Texture& t, int y, uint32_t* out) {
  const uint16_t* row = t.pixels + static_cast<size_t>(y) * static_cast<size_t>(t.pitchBytes / 2);
  for (int x = 0; x < t.width; ++x) out[x] = DecodePixel(t.layout, row[x]);
  out[t.width] = out[0];
}

// out holds ExpandedSize(t) values.
inline void ExpandTexels(const Texture& t, uint32_t* out) {
  const size_t pitch = static_cast<size_t>(ExpandedPitch(t));
  for (int y = 0; y < t.height; ++y) ExpandRow(t, y, out + static_cast<size_t>(y) * pitch);
  for (size_t x = 0; x < pitch; ++x) out[static_cast<size_t>(t.height) * pitch + x] = out[x];
}

// Channels 0..255, into a target layout (565 or 555).
inline uint16_t PackPixel(PixelLayout layout, uint32_t r, uint32_t g, uint32_t b) {
  if (layout == PixelLayout::Rgb565) return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
  return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
}

}  // namespace plat::raster
