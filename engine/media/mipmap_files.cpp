#include "engine/media/mipmap_files.h"

#include <memory>

#include "engine/core/device_setup.h"
#include "engine/core/engine_state.h"
#include "engine/core/pixel_format.h"
#include "engine/media/file_search.h"
#include "engine/media/image_headers.h"
#include "engine/media/packages.h"
#include "engine/media/path_text.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_files.h"
#include "engine/media/texture_pixels.h"
#include "engine/media/texture_source.h"
#include "engine/media/texture_table.h"
#include "platform/debug_output.h"
#include "platform/device3d.h"

namespace {

bool WriteLevel(plat::Surface* level, const SOURCEROWS& rows, const TEXTUREPALETTE* palette) {
  if (!level) return false;
  const plat::SurfaceDesc desc = level->Describe();
  if (desc.width != rows.width || desc.height != rows.height) return false;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (level->Lock(&pixels, &pitch) != plat::SurfaceResult::Ok) return false;
  bool ok = WriteTextureRows(rows, palette, g_textureFormat, pixels, pitch);
  level->Unlock();
  return ok;
}

}  // namespace

int ReadMipmapImage(const std::vector<uint8_t>& file, size_t entryOffset, const std::string& extension, TEXTUREDESC* t,
                    int firstLevel, int levelCount) {
  if (!t) return 0;
  const bool setEntry = MatchText(extension.c_str(), ".qst", 1) != 0;
  if (setEntry ? !HasQbmMagic(file, entryOffset) : !MatchText(extension.c_str(), ".qbm", 1)) return 0;
  IMAGELAYOUT first;
  std::vector<QBMLEVEL> levels;
  if (ReadQbmHeader(file, entryOffset, &first, &levels) != HeaderResult::Ok) return 0;
  if (first.bitCount == 24 && g_textureFormat == 0) return 0;

  const int available = static_cast<int>(levels.size());
  if (firstLevel < 0) firstLevel = 0;
  if (firstLevel >= available) firstLevel = available - 1;
  if (levelCount <= 0 || firstLevel + levelCount > available) levelCount = available - firstLevel;
  const int width = first.width >> firstLevel;
  const int height = first.height >> firstLevel;
  if (width < 1 || height < 1) {
    ReportCorruptImage("QBM level smaller than a pixel");
    return 0;
  }

  auto surface = levelCount == 1 ? CreateTextureSurface(width, height, 0, 0, 0)
                                 : CreateMipmapSurface(width, height, 0, 0, 0, levelCount);
  if (!surface || surface->LevelCount() < levelCount) return 0;
  TEXTUREPALETTE palette;
  if (first.paletteSize)
    BuildTexturePalette(file.data() + first.paletteOffset, first.paletteSize, g_textureFormat, &palette);
  const int pixelBytes = first.bitCount / 8;
  for (int i = 0; i < levelCount; ++i) {
    const QBMLEVEL& level = levels[firstLevel + i];
    SOURCEROWS rows;
    rows.width = width >> i;
    rows.height = height >> i;
    rows.bitCount = first.bitCount;
    rows.stride = static_cast<size_t>(rows.width) * pixelBytes;
    const uint64_t needed = static_cast<uint64_t>(rows.stride) * rows.height;
    const uint64_t at = uint64_t{entryOffset} + level.offset;
    if (rows.width < 1 || rows.height < 1 || level.size < needed || at > file.size() || needed > file.size() - at) {
      ReportCorruptImage("QBM level beyond the file");
      return 0;
    }
    rows.rows = file.data() + at;
    if (!WriteLevel(surface->Level(i), rows, first.paletteSize ? &palette : nullptr)) return 0;
  }
  if (g_textureFormat == 0) surface->SetPalette(SurfacePalette(palette));
  t->width = width;
  t->height = height;
  t->paletteSize = first.paletteSize;
  t->mipLevels = levelCount == 1 ? 0 : levelCount;
  t->surface = std::move(surface);
  return levelCount;
}

TEXTUREDESC* LoadMipmapTexture(const char* name, int firstLevel, int levelCount, int keyFlag, int keyRed, int keyGreen,
                               int keyBlue) {
  if (!g_engineOpen || !name || !g_useDirect3D) return nullptr;
  std::string base;
  SplitPath(name, nullptr, nullptr, &base, nullptr);
  if (TEXTUREDESC* shared = FindTexture(base.c_str())) {
    ++shared->refCount;
    return shared;
  }
  auto t = std::make_unique<TEXTUREDESC>();
  t->keyIndex = keyFlag ? 1 : -1;
  if (keyFlag) {
    t->keyRed = static_cast<uint8_t>(keyRed);
    t->keyGreen = static_cast<uint8_t>(keyGreen);
    t->keyBlue = static_cast<uint8_t>(keyBlue);
  }
  int read = 0;
  std::string extension;
  const int entry = FindPackageEntry(&g_texturePackage, name, &extension, ASSET_MIPMAP_TEXTURE);
  std::vector<uint8_t> bytes;
  if (entry >= 0 && ReadPackageEntry(&g_texturePackage, entry, bytes))
    read = ReadMipmapImage(bytes, 0, extension, t.get(), firstLevel, levelCount);
  if (!read) {
    std::string path;
    size_t offset = 0;
    if (FindMipmapTextureFile(path, name) && OpenTextureFile(path, &bytes, &offset))
      read = ReadMipmapImage(bytes, offset, FileExtension(path), t.get(), firstLevel, levelCount);
  }
  if (!read) return nullptr;
  return EnterFileTexture(std::move(t), base);
}
