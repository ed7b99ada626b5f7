#include "engine/media/texture_pixels.h"

#include <cstring>

#include "engine/media/texture_create.h"

namespace {

void Store(uint8_t* at, uint32_t value, int bytes) {
  for (int b = 0; b < bytes; ++b) at[b] = static_cast<uint8_t>(value >> (8 * b));
}

// Bytes per texture pixel of a code; 0 for an unknown code.
int PixelBytes(int code) {
  if (code == 0) return 1;
  if (code >= 1 && code <= 5) return 2;
  if (code == 6) return 3;
  if (code == 7) return 4;
  return 0;
}

uint32_t Bgr(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint32_t>(blue) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(red) << 16;
}

// The value a colour takes in the texture; codes 6 and 7 keep blue, green,
// red in memory order.
uint32_t TexturePixel(int code, uint8_t red, uint8_t green, uint8_t blue) {
  if (code == 6 || code == 7) return Bgr(red, green, blue);
  return static_cast<uint32_t>(PackTexturePixel(red, green, blue));
}

}  // namespace

void BuildTexturePalette(const uint8_t* colours, int count, int code, TEXTUREPALETTE* palette) {
  *palette = TEXTUREPALETTE();
  for (int i = 0; i < 256; ++i) {
    if (i >= count) {
      palette->entries[i][3] = 0x80;
      continue;
    }
    const uint8_t* c = colours + 4 * i;
    palette->entries[i][0] = c[2];
    palette->entries[i][1] = c[1];
    palette->entries[i][2] = c[0];
    if (code != 0) palette->values[i] = TexturePixel(code, c[2], c[1], c[0]);
  }
}

std::array<uint32_t, 256> SurfacePalette(const TEXTUREPALETTE& palette) {
  std::array<uint32_t, 256> entries{};
  for (int i = 0; i < 256; ++i)
    entries[i] = uint32_t{palette.entries[i][0]} << 16 | uint32_t{palette.entries[i][1]} << 8 | palette.entries[i][2];
  return entries;
}

bool WriteTextureRows(const SOURCEROWS& source, const TEXTUREPALETTE* palette, int code, uint8_t* dest, int pitch) {
  const int bytes = PixelBytes(code);
  if (bytes == 0 || (source.bitCount == 8 && !palette) || (source.bitCount == 24 && code == 0) ||
      (source.bitCount != 8 && source.bitCount != 24))
    return false;
  // The fourth byte of code 7 carries no colour and is left as the surface has it.
  const int colourBytes = code == 7 ? 3 : bytes;
  for (int y = 0; y < source.height; ++y) {
    const uint8_t* in = source.rows + source.stride * y;
    uint8_t* out = dest + static_cast<size_t>(pitch) * y;
    if (source.bitCount == 8) {
      if (code == 0) {
        std::memcpy(out, in, source.width);
        continue;
      }
      for (int x = 0; x < source.width; ++x) Store(out + bytes * x, palette->values[in[x]], colourBytes);
    } else {
      if (code == 6) {
        std::memcpy(out, in, 3 * static_cast<size_t>(source.width));
        continue;
      }
      for (int x = 0; x < source.width; ++x) {
        const uint8_t* p = in + 3 * x;
        Store(out + bytes * x, TexturePixel(code, p[2], p[1], p[0]), colourBytes);
      }
    }
  }
  return true;
}
