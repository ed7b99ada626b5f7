#include "engine/media/lightmap_files.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/core/device_setup.h"
#include "engine/core/engine_state.h"
#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/media/file_search.h"
#include "engine/media/image_headers.h"
#include "engine/media/path_text.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_pixels.h"
#include "engine/media/texture_table.h"
#include "platform/debug_output.h"
#include "platform/device3d.h"

namespace {

constexpr size_t kLightMapHeaderSize = 14;

char Upper(uint8_t c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); }

void EmptySet(LIGHTMAPSETDESC* set) {
  for (TEXTUREDESC* map : set->lightMaps) ReleaseTexture(map);
  set->lightMaps.clear();
  set->lightMapCount = 0;
}

}  // namespace

int ReadLightMapEntry(plat::ByteReader& file, TEXTUREDESC* t) {
  if (!t || g_textureFormat == 0) return 0;
  const uint32_t side = file.U32();
  if (file.Failed() || side < 1 || side > kMaxImageSide || !file.CanRead(uint64_t{side} * side * 3)) {
    ReportCorruptImage("light map beyond the file");
    return 0;
  }
  const int s = static_cast<int>(side);
  auto surface = CreateTextureSurface(s, s, 0, 0, 0);
  if (!surface) return 0;
  SOURCEROWS rows{file.Data() + file.Tell(), s, s, static_cast<size_t>(s) * 3, 24};
  uint8_t* pixels = nullptr;
  int pitch = 0;
  plat::Surface* top = surface->Top().get();
  if (top->Lock(&pixels, &pitch) != plat::SurfaceResult::Ok) return 0;
  const bool ok = WriteTextureRows(rows, nullptr, g_textureFormat, pixels, pitch);
  top->Unlock();
  if (!ok) return 0;
  file.Skip(rows.stride * s);
  t->width = s;
  t->height = s;
  t->surface = std::move(surface);
  return 1;
}

int LoadLightMap(const char* name, LIGHTMAPSETDESC* set) {
  if (!g_engineOpen || !name || !set || !g_useDirect3D) return 0;
  std::string file = name;
  std::string base, extension;
  SplitPath(file, nullptr, nullptr, &base, &extension);
  if (extension.empty()) file += ".QMP";
  std::string path;
  std::vector<uint8_t> bytes;
  if (!FindTextureFile(path, file.c_str()) || !plat::ReadWholeFile(path, bytes)) return 0;

  plat::ByteReader r(bytes);
  if (!r.CanRead(kLightMapHeaderSize)) return 0;
  uint8_t magic[4];
  r.Bytes(magic, sizeof magic);
  const uint8_t versionLow = r.U8();
  const uint8_t versionHigh = r.U8();
  const uint32_t count = r.U32();
  const uint32_t bits = r.U32();
  if (Upper(magic[0]) != 'Q' || Upper(magic[1]) != 'M' || Upper(magic[2]) != 'P' || magic[3] || versionLow != 1 ||
      versionHigh != 0 || bits != 8)
    return 0;
  // Every map takes at least its 4-byte side and one pixel.
  if (count > r.Remaining() / 7) {
    ReportCorruptImage("light-map count beyond the file");
    return 0;
  }
  EmptySet(set);
  for (uint32_t i = 0; i < count; ++i) {
    auto t = std::make_unique<TEXTUREDESC>();
    if (!ReadLightMapEntry(r, t.get())) {
      EmptySet(set);
      return 0;
    }
    if (EnterTexture(t.get()) < 0) {
      plat::DebugOutput("No more texture available when loading LightMap.");
      EmptySet(set);
      return 0;
    }
    SetTextureName(t.get(), base.c_str());
    set->lightMaps.push_back(t.release());
  }
  set->lightMapCount = static_cast<int>(count);
  return 1;
}
