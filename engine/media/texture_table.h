#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {
class Texture3D;
}

// The engine's texture table: every texture the engine draws with, shared by
// base name and counted by its holders.
//
// On the Direct3D path a texture is a system-memory texture with a card copy
// that the renderer uploads when the texture is first drawn and evicts when
// it idles (engine/core/device_textures.h). On the software path it is 8-bit
// colour indices with a shade table of 256 colours by 16 brightness levels.

constexpr int kTextureTableSize = 1024;
constexpr int kTextureNameSize = 24;  // terminator included
constexpr int kMaxTextureAge = 256;

struct TEXTUREDESC {
  int slot = 0;
  int refCount = 0;
  char name[kTextureNameSize] = {};  // base name; empty for textures made from raw pixels
  int width = 0;
  int height = 0;
  int paletteSize = 0;  // 256 for a palettised source
  // -1: no colour key. Otherwise keyed: the file loaders of the Direct3D
  // path store 1, the software path the palette index of the key colour.
  int keyIndex = -1;
  uint8_t keyRed = 0;
  uint8_t keyGreen = 0;
  uint8_t keyBlue = 0;
  int age = 0;  // frames since last drawn, up to 256
  // Direct3D path: the system-memory texture (with its palette for the
  // palettised texture format) and the card copy, null while not uploaded.
  std::shared_ptr<plat::Texture3D> surface;
  std::shared_ptr<plat::Texture3D> cardSurface;
  // Software path.
  int uShift = 0;
  int vShift = 0;
  int widthLog2 = 0;
  std::vector<uint16_t> shadeTable;  // 256 x 16 display pixels, 16 levels per colour
  std::vector<uint8_t> pixels;       // width x height colour indices, row after row
  int mipLevels = 0;                 // 0 for a plain surface
  int renderTarget = 0;
  // Materials chain their texture frames through this link.
  TEXTUREDESC* next = nullptr;
};

extern TEXTUREDESC* g_textureTable[kTextureTableSize];
// Slots ever used, 0..1024; bounds every walk over the table.
extern int g_textureCount;

// Takes the lowest free slot below the count, else the slot at the count;
// gives the record its slot and reference count 1. -1 when the table is full.
int EnterTexture(TEXTUREDESC* texture);
// Copies a base name into the record, cut to 23 characters.
void SetTextureName(TEXTUREDESC* texture, const char* name);
// The first texture in slot order with a non-empty name equal to name,
// ignoring the case of ASCII letters; null for none (or a name of 128
// characters or more).
TEXTUREDESC* FindTexture(const char* name);
// Drops one reference; the last frees the record with its device objects
// and empties its slot. Null or a count already at 0 does nothing.
void ReleaseTexture(TEXTUREDESC* texture);
// One more rendered frame for every texture, up to 256.
void AgeTextures();
// Frees whatever the table still holds and empties it (engine open).
void ResetTextureTable();
