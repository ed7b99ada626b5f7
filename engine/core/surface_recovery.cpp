#include "engine/core/surface_recovery.h"

#include <algorithm>
#include <cstring>

#include "engine/core/device_setup.h"
#include "engine/core/device_textures.h"
#include "engine/core/images.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/sprite_images.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"
#include "platform/display.h"

namespace {

// Card copies come back from the system-memory textures, so no file is read again.
void RestoreTextures() {
  for (int slot = 0; slot < g_textureCount; ++slot) {
    TEXTUREDESC* t = g_textureTable[slot];
    if (!t) continue;
    if (t->surface && t->cardSurface && t->cardSurface->Restore() == plat::SurfaceResult::Ok &&
        t->cardSurface->Load(*t->surface))
      continue;
    ReleaseTextureDevice(t, 1, 0);
    UploadTexture(t);
  }
}

void RestoreBackground(VIEWPORTBACKGROUND& b) {
  if (!b.image || !b.surfaceReady || !b.surface) return;
  b.surface->Restore();
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (b.surface->Lock(&pixels, &pitch) != plat::SurfaceResult::Ok) return;
  const IMAGEDESC& image = *b.image;
  size_t row = static_cast<size_t>(image.width) * (image.bitsPerPixel == 16 ? 2 : 4);
  plat::SurfaceDesc d = b.surface->Describe();
  row = std::min(row, static_cast<size_t>(pitch));
  for (int y = 0; y < std::min(image.height, d.height); ++y) {
    size_t from = static_cast<size_t>(y) * static_cast<size_t>(image.width) * (image.bitsPerPixel == 16 ? 2 : 4);
    if (from + row > image.pixels.size()) break;
    std::memcpy(pixels + static_cast<size_t>(y) * pitch, image.pixels.data() + from, row);
  }
  b.surface->Unlock();
}

}  // namespace

void RestoreSurfaces() {
  GAMEWORLD* world = g_gameWorld;
  if (!world || !world->displayDevice || !world->primary || !world->primary->IsLost()) return;
  world->primary->Restore();
  if (world->backBuffer) world->backBuffer->Restore();
  if (g_useDirect3D) {
    if (world->depthBuffer) world->depthBuffer->Restore();
    if (world->hardware3D) RestoreTextures();
  }
  for (uint32_t slot = 0; slot < g_viewportPool.mark; ++slot)
    if (VIEWPORTDESC* v = g_viewportPool.slots[slot])
      for (VIEWPORTBACKGROUND& b : v->backgrounds) RestoreBackground(b);
  RestoreSpriteSurfaces();
}
