#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// Converting image rows into texture pixels of a texture pixel-format code
// (g_textureFormat): 0 palette indices, 1-5 16-bit layouts, 6 three bytes
// blue, green, red, 7 four bytes blue, green, red and a byte left alone.
//
// Row order: the first stored row of the file becomes row 0 of the texture
// (its top row, v = 0).

// The colour table of a palettised source for one format code.
struct TEXTUREPALETTE {
  // Code 0: the surface palette, red, green, blue, flags (0x80 for entries
  // beyond the source's colours); kept with the texture for its card copy.
  uint8_t entries[256][4] = {};
  // Codes 1-7: the texture pixel of each index (0 beyond the source's colours).
  uint32_t values[256] = {};
};

// colours: count entries of 4 bytes blue, green, red, unused (count <= 256).
void BuildTexturePalette(const uint8_t* colours, int count, int code, TEXTUREPALETTE* palette);

// The code-0 surface palette of the table: 0x00RRGGBB entries.
std::array<uint32_t, 256> SurfacePalette(const TEXTUREPALETTE& palette);

// Source rows as they lie in the file.
struct SOURCEROWS {
  const uint8_t* rows = nullptr;
  int width = 0;
  int height = 0;
  size_t stride = 0;  // bytes from one stored row to the next
  int bitCount = 8;   // 8 (with a palette) or 24
};

// Writes the rows into dest, pitch bytes apart. False for a 24-bit source on
// code 0, an 8-bit source without a palette, or an unknown code.
bool WriteTextureRows(const SOURCEROWS& source, const TEXTUREPALETTE* palette, int code, uint8_t* dest, int pitch);
