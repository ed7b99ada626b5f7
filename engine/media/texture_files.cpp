#include "engine/media/texture_files.h"

#include <memory>

#include "engine/core/device_setup.h"
#include "engine/core/engine_state.h"
#include "engine/core/pixel_format.h"
#include "engine/media/file_search.h"
#include "engine/media/image_headers.h"
#include "engine/media/packages.h"
#include "engine/media/path_text.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_pixels.h"
#include "engine/media/texture_sets.h"
#include "engine/media/texture_source.h"
#include "engine/media/texture_table.h"
#include "platform/debug_output.h"
#include "platform/device3d.h"
#include "platform/files.h"

namespace {

// Locks the top level of a texture surface for the life of the object.
struct LockedLevel {
  plat::Surface* surface;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  explicit LockedLevel(plat::Surface* s) : surface(s) {
    if (!surface || surface->Lock(&pixels, &pitch) != plat::SurfaceResult::Ok) pixels = nullptr;
  }
  ~LockedLevel() {
    if (pixels) surface->Unlock();
  }
};

// Software path steps 1 to 4: shade levels, the index map that folds colours
// the display shows alike onto one index, the key index, the mapped pixels.
int FillSoftTexture(const std::vector<uint8_t>& file, const IMAGELAYOUT& l, TEXTUREDESC* t) {
  if (l.bitCount != 8 || l.paletteSize == 0) return 0;
  t->width = l.width;
  t->height = l.height;
  t->paletteSize = l.paletteSize;
  SetSoftTextureShifts(t);
  uint8_t rgb[256 * 3] = {};
  for (int i = 0; i < l.paletteSize; ++i) {
    const uint8_t* c = file.data() + l.paletteOffset + 4 * i;
    rgb[3 * i] = c[2];
    rgb[3 * i + 1] = c[1];
    rgb[3 * i + 2] = c[0];
  }
  BuildShadeTable(rgb, &t->shadeTable);
  auto full = [&](int i) { return t->shadeTable[16 * i + 15]; };
  uint8_t map[256];
  for (int i = 0; i < 256; ++i) {
    map[i] = static_cast<uint8_t>(i);
    for (int j = 0; j < i; ++j) {
      if (full(j) == full(i)) {
        map[i] = static_cast<uint8_t>(j);
        break;
      }
    }
  }
  if (t->keyIndex != -1) {
    // A key colour that no palette colour shows leaves every index opaque.
    const uint32_t key = PackScreenPixel(t->keyRed, t->keyGreen, t->keyBlue);
    t->keyIndex = -1;
    for (int i = 0; i < l.paletteSize; ++i) {
      if (full(i) == key) {
        t->keyIndex = i;
        break;
      }
    }
  }
  t->pixels.resize(static_cast<size_t>(l.width) * l.height);
  for (int y = 0; y < l.height; ++y) {
    const uint8_t* in = file.data() + l.rowsOffset + l.rowStride * y;
    uint8_t* out = t->pixels.data() + static_cast<size_t>(l.width) * y;
    for (int x = 0; x < l.width; ++x) out[x] = map[in[x]];
  }
  return 1;
}

int ReadSoftTexture(const std::vector<uint8_t>& file, size_t entryOffset, const std::string& extension,
                    TEXTUREDESC* t) {
  IMAGELAYOUT l;
  if (ReadTextureSource(file, entryOffset, extension, false, &l) != HeaderResult::Ok) return 0;
  return FillSoftTexture(file, l, t);
}

TEXTUREDESC* NewFileTexture(int keyFlag, int keyRed, int keyGreen, int keyBlue) {
  auto* t = new TEXTUREDESC;
  t->keyIndex = keyFlag ? 1 : -1;
  if (keyFlag) {
    t->keyRed = static_cast<uint8_t>(keyRed);
    t->keyGreen = static_cast<uint8_t>(keyGreen);
    t->keyBlue = static_cast<uint8_t>(keyBlue);
  }
  return t;
}

}  // namespace

int ReadTextureImage(const std::vector<uint8_t>& file, size_t entryOffset, const std::string& extension,
                     TEXTUREDESC* t) {
  if (!t) return 0;
  IMAGELAYOUT l;
  if (ReadTextureSource(file, entryOffset, extension, true, &l) != HeaderResult::Ok) return 0;
  if (l.bitCount == 24 && g_textureFormat == 0) return 0;
  auto surface = CreateTextureSurface(l.width, l.height, 0, 0, 0);
  if (!surface) return 0;
  TEXTUREPALETTE palette;
  if (l.paletteSize) BuildTexturePalette(file.data() + l.paletteOffset, l.paletteSize, g_textureFormat, &palette);
  {
    LockedLevel locked(surface->Top().get());
    if (!locked.pixels) return 0;
    SOURCEROWS rows{file.data() + l.rowsOffset, l.width, l.height, l.rowStride, l.bitCount};
    if (!WriteTextureRows(rows, l.paletteSize ? &palette : nullptr, g_textureFormat, locked.pixels, locked.pitch))
      return 0;
  }
  if (g_textureFormat == 0) surface->SetPalette(SurfacePalette(palette));
  t->width = l.width;
  t->height = l.height;
  t->paletteSize = l.paletteSize;
  t->mipLevels = 0;
  t->surface = std::move(surface);
  return 1;
}

int LoadSoftTextureFile(const char* path, TEXTUREDESC* t) {
  std::vector<uint8_t> bytes;
  size_t offset = 0;
  if (!t || !path || !OpenTextureFile(path, &bytes, &offset)) return 0;
  return ReadSoftTexture(bytes, offset, FileExtension(path), t);
}

int LoadSoftTextureFromPackage(const std::vector<uint8_t>& entry, const std::string& extension, TEXTUREDESC* t) {
  return t ? ReadSoftTexture(entry, 0, extension, t) : 0;
}

bool OpenTextureFile(const std::string& path, std::vector<uint8_t>* bytes, size_t* entryOffset) {
  *entryOffset = 0;
  if (!MatchText(FileExtension(path).c_str(), ".qst", 1)) return plat::ReadWholeFile(path, *bytes);
  const size_t stem = FileStemStart(path);
  const size_t dot = path.rfind('.');
  std::string setBase;
  int number = 0;
  if (!SplitSetNumber(path.substr(stem, dot - stem), &setBase, &number)) return false;
  const std::string setPath = path.substr(0, stem) + setBase + path.substr(dot);
  return plat::ReadWholeFile(setPath, *bytes) && FindSetEntry(*bytes, number, entryOffset);
}

TEXTUREDESC* LoadTexture(const char* name, int keyFlag, int keyRed, int keyGreen, int keyBlue) {
  if (!g_engineOpen || !name) return nullptr;
  std::string base;
  SplitPath(name, nullptr, nullptr, &base, nullptr);
  if (TEXTUREDESC* shared = FindTexture(base.c_str())) {
    ++shared->refCount;
    return shared;
  }
  std::unique_ptr<TEXTUREDESC> t(NewFileTexture(keyFlag, keyRed, keyGreen, keyBlue));
  std::string extension;
  int entry = FindPackageEntry(&g_texturePackage, name, &extension, ASSET_TEXTURE);
  int read = 0;
  if (entry >= 0) {
    std::vector<uint8_t> bytes;
    if (ReadPackageEntry(&g_texturePackage, entry, bytes))
      read = g_useDirect3D ? ReadTextureImage(bytes, 0, extension, t.get())
                           : LoadSoftTextureFromPackage(bytes, extension, t.get());
  } else {
    std::string path;
    if (!FindTextureFile(path, name)) return nullptr;
    if (g_useDirect3D) {
      std::vector<uint8_t> bytes;
      size_t offset = 0;
      if (OpenTextureFile(path, &bytes, &offset)) read = ReadTextureImage(bytes, offset, FileExtension(path), t.get());
    } else {
      read = LoadSoftTextureFile(path.c_str(), t.get());
    }
  }
  if (!read) return nullptr;
  return EnterFileTexture(std::move(t), base);
}

TEXTUREDESC* EnterFileTexture(std::unique_ptr<TEXTUREDESC> texture, const std::string& base) {
  if (EnterTexture(texture.get()) < 0) {
    plat::DebugOutput("No more texture available.");
    return nullptr;
  }
  SetTextureName(texture.get(), base.c_str());
  return texture.release();
}
