#include "engine/media/texture_create.h"

#include <cmath>
#include <cstring>

#include "engine/core/device_setup.h"
#include "engine/core/device_textures.h"
#include "engine/core/engine_messages.h"
#include "engine/core/pixel_format.h"
#include "engine/core/world.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"

namespace {

constexpr int kMaxTextureSide = 4096;

bool ValidSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide;
}

std::shared_ptr<plat::Texture3D> MakeSurface(const plat::TextureParams& params, int keyFlag, uint32_t keyValue) {
  if (!g_gameWorld || !g_gameWorld->direct3D) return nullptr;
  auto texture = g_gameWorld->direct3D->CreateTexture(params);
  if (texture && keyFlag) texture->Top()->SetColorKey(keyValue);
  return texture;
}

TEXTUREDESC* NewRecord(int width, int height, int paletteSize, int keyFlag, int keyIndex, int keyRed, int keyGreen,
                       int keyBlue) {
  auto* t = new TEXTUREDESC;
  t->width = width;
  t->height = height;
  t->paletteSize = paletteSize;
  t->keyIndex = keyFlag ? keyIndex : -1;
  t->keyRed = static_cast<uint8_t>(keyRed);
  t->keyGreen = static_cast<uint8_t>(keyGreen);
  t->keyBlue = static_cast<uint8_t>(keyBlue);
  return t;
}

// Enters a finished record; a full table is fatal and frees it.
TEXTUREDESC* Enter(TEXTUREDESC* t) {
  if (EnterTexture(t) < 0) {
    ReleaseTextureDevice(t, 1, 1);
    delete t;
    ShowFatalMessage("No more texture available.");
    return nullptr;
  }
  return t;
}

struct Locked {
  plat::Surface* surface = nullptr;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  explicit Locked(plat::Surface* s) : surface(s) {
    if (surface->Lock(&pixels, &pitch) != plat::SurfaceResult::Ok) pixels = nullptr;
  }
  ~Locked() {
    if (pixels) surface->Unlock();
  }
  uint8_t* Row(int y) const { return pixels + static_cast<size_t>(y) * pitch; }
};

void Store(uint8_t* at, int bytes, uint32_t value) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

int NearestPaletteIndex(const plat::Palette& p, int red, int green, int blue) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    long dr = static_cast<long>((p[i] >> 16) & 0xFF) - red, dg = static_cast<long>((p[i] >> 8) & 0xFF) - green,
         db = static_cast<long>(p[i] & 0xFF) - blue;
    long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

// The surface value of the key colour, set as the surface's key: the
// nearest palette entry of a palettised texture, else what the surface
// makes of the colour.
int64_t MatchKey(plat::Texture3D& texture, int red, int green, int blue) {
  if (texture.Params().format.palettised) {
    uint32_t index = static_cast<uint32_t>(NearestPaletteIndex(texture.GetPalette(), red, green, blue));
    texture.Top()->SetColorKey(index);
    return index;
  }
  uint32_t colorRef = uint32_t(uint8_t(red)) | uint32_t(uint8_t(green)) << 8 | uint32_t(uint8_t(blue)) << 16;
  return MatchColorKey(texture.Top().get(), colorRef);
}

// Steps 5 to 7 shared by the raw-pixel creators: the card copy, evicting
// once when card memory is full, loaded from the system texture.
TEXTUREDESC* FinishDeviceTexture(TEXTUREDESC* t) {
  if (t->keyIndex != -1) {
    if (MatchKey(*t->surface, t->keyRed, t->keyGreen, t->keyBlue) < 0) {
      delete t;
      return nullptr;
    }
  }
  const plat::Surface& top = *t->surface->Top();
  auto card = CreateTextureSurface(t->width, t->height, 1, top.HasColorKey(), top.ColorKey());
  if (!card) {
    FreeTextureMemory(t->width, t->height, nullptr);
    card = CreateTextureSurface(t->width, t->height, 1, top.HasColorKey(), top.ColorKey());
  }
  if (!card || !card->Load(*t->surface)) {
    delete t;
    return nullptr;
  }
  t->cardSurface = std::move(card);
  return Enter(t);
}

int PaletteRed(const uint8_t* palette, int i) { return palette[i * 3]; }
int PaletteGreen(const uint8_t* palette, int i) { return palette[i * 3 + 1]; }
int PaletteBlue(const uint8_t* palette, int i) { return palette[i * 3 + 2]; }

int RoundedLog2(double value) { return static_cast<int>(std::lround(std::log2(value))); }

}  // namespace

plat::PixelFormat TexturePixelFormat() {
  switch (g_textureFormat) {
    case 1: return plat::Rgb565Format();
    case 2: return {16, 0x001F, 0x07E0, 0xF800, 0, false};
    case 3: return plat::Rgb555Format();
    case 4: return {16, 0x001F, 0x03E0, 0x7C00, 0, false};
    case 5: return {16, 0x0F00, 0x00F0, 0x000F, 0xF000, false};
    case 6: return {24, 0xFF0000, 0x00FF00, 0x0000FF, 0, false};
    case 7: return {32, 0xFF0000, 0x00FF00, 0x0000FF, 0, false};
    default: return plat::Palette8Format();
  }
}

uint32_t PackTexturePixel(int red, int green, int blue) {
  uint32_t r = static_cast<uint8_t>(red), g = static_cast<uint8_t>(green), b = static_cast<uint8_t>(blue);
  switch (g_textureFormat) {
    case 1:
    case 2: return (r >> 3) << g_redShift | (g >> 2) << g_greenShift | (b >> 3) << g_blueShift;
    case 3:
    case 4: return (r >> 3) << g_redShift | (g >> 3) << g_greenShift | (b >> 3) << g_blueShift;
    case 5: return (r >> 4) << g_redShift | (g >> 4) << g_greenShift | (b >> 4) << g_blueShift | 15u << g_alphaShift;
    case 6: return r << g_redShift | g << g_greenShift | b << g_blueShift;
    case 7: return b << 16 | g << 8 | r;
    default: return 0xFFFFFFFFu;
  }
}

uint32_t TextureKeyValue(const TEXTUREDESC* t) {
  if (g_textureFormat == 0 && t->surface)
    return static_cast<uint32_t>(NearestPaletteIndex(t->surface->GetPalette(), t->keyRed, t->keyGreen, t->keyBlue));
  return PackTexturePixel(t->keyRed, t->keyGreen, t->keyBlue);
}

std::shared_ptr<plat::Texture3D> CreateTextureSurface(int width, int height, int inVideoMemory, int keyFlag,
                                                      uint32_t keyValue) {
  return MakeSurface({width, height, TexturePixelFormat(), inVideoMemory != 0, 1, false}, keyFlag, keyValue);
}

std::shared_ptr<plat::Texture3D> CreateMipmapSurface(int width, int height, int inVideoMemory, int keyFlag,
                                                     uint32_t keyValue, int levels) {
  return MakeSurface({width, height, TexturePixelFormat(), inVideoMemory != 0, levels, false}, keyFlag, keyValue);
}

std::shared_ptr<plat::Texture3D> CreateTargetSurface(int width, int height, int inVideoMemory, int keyFlag,
                                                     uint32_t keyValue) {
  auto texture = MakeSurface({width, height, TexturePixelFormat(), inVideoMemory != 0, 1, true}, keyFlag, keyValue);
  if (!texture || !inVideoMemory) return texture;
  int bits = g_depthBufferBits > 0 ? g_depthBufferBits : 16;
  auto depth =
      g_gameWorld->displayDevice ? g_gameWorld->displayDevice->CreateDepthSurface(width, height, bits, true) : nullptr;
  if (!depth || !texture->Top()->AttachDepth(depth)) return nullptr;
  return texture;
}

TEXTUREDESC* CreateTexture8(const uint8_t* pixels, const uint8_t* palette, int width, int height, int keyFlag,
                            int keyIndex, int keyRed, int keyGreen, int keyBlue) {
  if (!pixels || !palette || !ValidSize(width, height)) return nullptr;
  TEXTUREDESC* t = NewRecord(width, height, 256, keyFlag, keyIndex, keyRed, keyGreen, keyBlue);
  t->surface = CreateTextureSurface(width, height, 0, 0, 0);
  if (!t->surface) {
    delete t;
    return nullptr;
  }
  const plat::PixelFormat format = t->surface->Params().format;
  const int bytes = (format.bitsPerPixel + 7) / 8;
  {
    Locked locked(t->surface->Top().get());
    if (!locked.pixels) {
      delete t;
      return nullptr;
    }
    if (g_textureFormat == 0) {
      for (int y = 0; y < height; ++y) std::memcpy(locked.Row(y), pixels + static_cast<size_t>(y) * width, width);
    } else {
      uint32_t table[256];
      for (int i = 0; i < 256; ++i) {
        uint32_t r = PaletteRed(palette, i), g = PaletteGreen(palette, i), b = PaletteBlue(palette, i);
        switch (g_textureFormat) {
          case 5: table[i] = (r >> 4) << 8 | (g >> 4) << 4 | b >> 4; break;
          case 6:
          case 7: table[i] = r << 16 | g << 8 | b; break;
          default: table[i] = PackTexturePixel(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
        }
      }
      for (int y = 0; y < height; ++y) {
        uint8_t* row = locked.Row(y);
        const uint8_t* source = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) Store(row + x * bytes, bytes, table[source[x]]);
      }
    }
  }
  if (g_textureFormat == 0) {
    plat::Palette entries{};
    for (int i = 0; i < 256; ++i)
      entries[i] = uint32_t(PaletteRed(palette, i)) << 16 | uint32_t(PaletteGreen(palette, i)) << 8 |
                   uint32_t(PaletteBlue(palette, i));
    t->surface->SetPalette(entries);
  }
  return FinishDeviceTexture(t);
}

namespace {

// Makes a device texture and fills it row by row; pixelAt(x, y) answers the
// value stored at that texel in the texture's own format.
template <class PixelAt>
TEXTUREDESC* FillDeviceTexture(int width, int height, int keyFlag, int keyIndex, int keyRed, int keyGreen, int keyBlue,
                               PixelAt pixelAt) {
  TEXTUREDESC* t = NewRecord(width, height, 0, keyFlag, keyIndex, keyRed, keyGreen, keyBlue);
  t->surface = CreateTextureSurface(width, height, 0, 0, 0);
  if (!t->surface) {
    delete t;
    return nullptr;
  }
  {
    Locked locked(t->surface->Top().get());
    if (!locked.pixels) {
      delete t;
      return nullptr;
    }
    int bytes = (t->surface->Params().format.bitsPerPixel + 7) / 8;
    for (int y = 0; y < height; ++y) {
      uint8_t* row = locked.Row(y);
      for (int x = 0; x < width; ++x) Store(row + x * bytes, bytes, pixelAt(x, y));
    }
  }
  return FinishDeviceTexture(t);
}

}  // namespace

TEXTUREDESC* CreateTexture16(const uint16_t* pixels, int width, int height, int keyFlag, int keyIndex, int keyRed,
                             int keyGreen, int keyBlue) {
  if (!pixels || !ValidSize(width, height) || g_textureFormat == 0) return nullptr;
  return FillDeviceTexture(width, height, keyFlag, keyIndex, keyRed, keyGreen, keyBlue,
                           [&](int x, int y) -> uint32_t { return pixels[static_cast<size_t>(y) * width + x]; });
}

TEXTUREDESC* CreateTexture24(const uint8_t* pixels, int width, int height, int keyFlag, int keyIndex, int keyRed,
                             int keyGreen, int keyBlue) {
  if (!pixels || !ValidSize(width, height) || g_textureFormat == 0) return nullptr;
  return FillDeviceTexture(width, height, keyFlag, keyIndex, keyRed, keyGreen, keyBlue, [&](int x, int y) {
    const uint8_t* source = pixels + (static_cast<size_t>(y) * width + x) * 3;
    uint32_t r = source[0], g = source[1], b = source[2];
    return g_textureFormat >= 6
               ? (r << 16 | g << 8 | b)
               : static_cast<uint32_t>(PackTexturePixel(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)));
  });
}

void BuildShadeTable(const uint8_t* palette, std::vector<uint16_t>* table) {
  table->assign(256 * 16, 0);
  for (int c = 0; c < 256; ++c)
    for (int k = 0; k < 16; ++k) {
      uint32_t r = static_cast<uint32_t>(PaletteRed(palette, c) * k / 15);
      uint32_t g = static_cast<uint32_t>(PaletteGreen(palette, c) * k / 15);
      uint32_t b = static_cast<uint32_t>(PaletteBlue(palette, c) * k / 15);
      uint32_t pixel;
      switch (g_screenPixelFormat) {
        case 1:
        case 2: pixel = (r >> 3) << g_redShift | (g >> 2) << g_greenShift | (b >> 3) << g_blueShift; break;
        case 5: pixel = (r >> 4) << g_redShift | (g >> 4) << g_greenShift | (b >> 4) << g_blueShift; break;
        default: pixel = (r >> 3) << g_redShift | (g >> 3) << g_greenShift | (b >> 3) << g_blueShift; break;
      }
      (*table)[c * 16 + k] = static_cast<uint16_t>(pixel);
    }
}

void SetSoftTextureShifts(TEXTUREDESC* t) {
  t->uShift = t->width < 256 ? 8 + RoundedLog2(256 / t->width) : 8;
  t->vShift = t->height < 256 ? 24 + RoundedLog2(256 / t->height) : 24;
  t->widthLog2 = RoundedLog2(t->width);
}

TEXTUREDESC* CreateSoftTexture(const uint8_t* pixels, const uint8_t* palette, int width, int height, int keyFlag,
                               int keyIndex, int keyRed, int keyGreen, int keyBlue) {
  if (!pixels || !palette || !ValidSize(width, height)) return nullptr;
  TEXTUREDESC* t = NewRecord(width, height, 256, keyFlag, keyIndex, keyRed, keyGreen, keyBlue);
  SetSoftTextureShifts(t);
  BuildShadeTable(palette, &t->shadeTable);
  if (keyFlag) {
    uint32_t key = PackScreenPixel(keyRed, keyGreen, keyBlue);
    for (int c = 0; c < 256; ++c)
      if (t->shadeTable[c * 16 + 15] == key) {
        t->keyIndex = c;
        break;
      }
  }
  t->pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
  return Enter(t);
}

TEXTUREDESC* CreateRenderTexture(int width, int height, int keyFlag, int keyRed, int keyGreen, int keyBlue) {
  if (!ValidSize(width, height)) return nullptr;
  TEXTUREDESC* t = NewRecord(width, height, 0, keyFlag, 1, keyRed, keyGreen, keyBlue);
  uint32_t key = keyFlag ? PackTexturePixel(keyRed, keyGreen, keyBlue) : 0;
  t->surface = CreateTextureSurface(width, height, 0, keyFlag, key);
  if (!t->surface) {
    delete t;
    return nullptr;
  }
  return t;
}
