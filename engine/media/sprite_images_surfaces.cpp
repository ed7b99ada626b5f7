// The sprite surface table.
#include "engine/core/surface_retry.h"
#include "engine/core/world.h"
#include "engine/media/sprite_images.h"

std::array<SPRITESURFACEENTRY, kSpriteSurfaceCount> g_spriteSurfaces;
int g_spriteSurfaceCount = 0;

int CreateSpriteSurface(int width, int height, int videoMemoryAllowed) {
  if (!g_gameWorld || !g_gameWorld->displayDevice) return -1;
  int index = 0;
  while (index < g_spriteSurfaceCount && g_spriteSurfaces[index].surface) ++index;
  if (index >= kSpriteSurfaceCount) return -1;
  plat::DisplayDevice& display = *g_gameWorld->displayDevice;
  std::shared_ptr<plat::Surface> surface = display.CreateSurface(width, height, videoMemoryAllowed != 0);
  if (!surface) return -1;
  if (index == g_spriteSurfaceCount) ++g_spriteSurfaceCount;
  SPRITESURFACEENTRY& entry = g_spriteSurfaces[index];
  entry.surface = surface;
  entry.references = 1;
  entry.copy = surface->Describe().videoMemory ? display.CreateSurface(width, height, false) : nullptr;
  return index;
}

std::shared_ptr<plat::Surface> CreateSystemSurface(int width, int height) {
  if (!g_gameWorld || !g_gameWorld->displayDevice) return nullptr;
  return g_gameWorld->displayDevice->CreateSurface(width, height, false);
}

void ReleaseSpriteSurface(int index) {
  if (index < 0 || index >= g_spriteSurfaceCount) return;
  SPRITESURFACEENTRY& entry = g_spriteSurfaces[index];
  if (!entry.surface || --entry.references > 0) return;
  entry = SPRITESURFACEENTRY{};
  if (index == g_spriteSurfaceCount - 1) --g_spriteSurfaceCount;
}

void RestoreSpriteSurfaces() {
  for (int i = 0; i < g_spriteSurfaceCount; ++i) {
    SPRITESURFACEENTRY& entry = g_spriteSurfaces[i];
    if (!entry.surface || !entry.copy || !entry.surface->IsLost()) continue;
    entry.surface->Restore();
    plat::SurfaceDesc desc = entry.copy->Describe();
    RetryWhileStillDrawing([&] {
      return entry.surface->BltFast(0, 0, *entry.copy, plat::Rect{0, 0, desc.width, desc.height});
    });
  }
}
