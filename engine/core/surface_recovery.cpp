#include "engine/core/surface_recovery.h"

#include "engine/core/world.h"
#include "platform/display.h"

// MINIMAL: device textures, viewport backgrounds and sprites are not built yet;
// only the primary surface, the back buffer and the depth buffer are restored.
void RestoreSurfaces() {
  GAMEWORLD* world = g_gameWorld;
  if (!world || !world->displayDevice || !world->primary || !world->primary->IsLost()) return;
  world->primary->Restore();
  if (world->backBuffer) world->backBuffer->Restore();
  if (world->depthBuffer) world->depthBuffer->Restore();
}
