#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display.h"

namespace plat {
class Texture3D;
}

struct TEXTUREDESC;

// Textures made from raw pixels, the texture surfaces every texture lives
// in, and the texture pixel packing.
//
// The creators answer a new record with reference count 1 and an empty name,
// entered in the texture table, or null. Pixels come row after row without
// padding, the first row becoming the texture's top row; palettes are 256
// triples red, green, blue. A full table is a fatal "No more texture
// available.".

// Direct3D path: 8-bit indices through the palette, in any texture format.
TEXTUREDESC* CreateTexture8(const uint8_t* pixels, const uint8_t* palette, int width, int height, int keyFlag,
                            int keyIndex, int keyRed, int keyGreen, int keyBlue);
// Direct3D path: 16-bit pixels already in the texture layout; null for the
// palettised texture format.
TEXTUREDESC* CreateTexture16(const uint16_t* pixels, int width, int height, int keyFlag, int keyIndex, int keyRed,
                             int keyGreen, int keyBlue);
// Direct3D path: 24-bit pixels red first; null for the palettised texture format.
TEXTUREDESC* CreateTexture24(const uint8_t* pixels, int width, int height, int keyFlag, int keyIndex, int keyRed,
                             int keyGreen, int keyBlue);
// Software path: 8-bit indices and their shade table.
TEXTUREDESC* CreateSoftTexture(const uint8_t* pixels, const uint8_t* palette, int width, int height, int keyFlag,
                               int keyIndex, int keyRed, int keyGreen, int keyBlue);
// A record holding only a system-memory texture; not entered in the table
// (the render-to-texture caller names it and enters it).
TEXTUREDESC* CreateRenderTexture(int width, int height, int keyFlag, int keyRed, int keyGreen, int keyBlue);

// Texture surfaces in the texture pixel format, in system memory or in the
// card's texture memory (null when it is full), with a source colour key
// when keyFlag is set.
std::shared_ptr<plat::Texture3D> CreateTextureSurface(int width, int height, int inVideoMemory, int keyFlag,
                                                      uint32_t keyValue);
std::shared_ptr<plat::Texture3D> CreateMipmapSurface(int width, int height, int inVideoMemory, int keyFlag,
                                                     uint32_t keyValue, int levels);
// Also a render target; in card memory with a depth surface of its own
// (null when that cannot be made or attached).
std::shared_ptr<plat::Texture3D> CreateTargetSurface(int width, int height, int inVideoMemory, int keyFlag,
                                                     uint32_t keyValue);

// The layout of texture format code g_textureFormat.
plat::PixelFormat TexturePixelFormat();
// A colour as a texture pixel for codes 1-7 (4-4-4-4 with alpha 15); all
// bits set for any other code.
uint32_t PackTexturePixel(int red, int green, int blue);
// The colour key of a texture's card copy: its key colour packed, or for
// the palettised format the index of the nearest colour of its palette.
uint32_t TextureKeyValue(const TEXTUREDESC* texture);
// The software path's shade table of a palette: colour c at level k is the
// display pixel of the colour x k / 15.
void BuildShadeTable(const uint8_t* palette, std::vector<uint16_t>* table);
// Software path: log2 and the two texel shifts of a texture's size.
void SetSoftTextureShifts(TEXTUREDESC* texture);
