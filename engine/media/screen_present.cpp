// Presenting the finished frame.
#include "engine/core/back_buffer.h"
#include "engine/core/engine_state.h"
#include "engine/core/surface_recovery.h"
#include "engine/core/world.h"
#include "engine/media/screen.h"
#include "engine/media/sprite_blend.h"
#include "platform/display.h"
#include "platform/threads.h"

namespace {

// While the widget layer is on, its picture covers the frame inside the
// interface rectangle, with the interface buffer's key colour transparent.
void CompositeInterface(GAMEWORLD& world) {
  if (world.interfaceOff || !world.interfaceBuffer || !world.backBuffer) return;
  plat::Rect area{world.interfaceX, world.interfaceY, world.interfaceX + world.interfaceWidth,
                  world.interfaceY + world.interfaceHeight};
  if (area.right <= area.left || area.bottom <= area.top) return;
  if (world.interfaceBlendMode == 0 || world.interfaceAlpha >= 1.0f)
    world.backBuffer->BltFastKeyed(area.left, area.top, *world.interfaceBuffer, area);
  else
    BlendSpriteFrame(world.interfaceAlpha, 1, world.backBuffer.get(), area.left, area.top, world.interfaceBuffer.get(),
                     area.left, area.top, world.interfaceWidth, world.interfaceHeight);
}

}  // namespace

int FlipScreen() {
  GAMEWORLD* world = g_gameWorld;
  if (!g_engineOpen || !world) return 0;
  plat::DisplayLock lock;
  if (!world->primary || !world->backBuffer) return 1;
  CompositeInterface(*world);
  // The display may be busy; the tries are bounded all the same.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    if (g_fullscreen) g_lastDisplayResult = world->primary->Flip();
    else
      g_lastDisplayResult =
          world->primary->PresentFrom(*world->backBuffer, plat::Rect{0, 0, world->width, world->height});
    if (g_lastDisplayResult == plat::SurfaceResult::SurfaceLost) RestoreSurfaces();
    if (g_lastDisplayResult != plat::SurfaceResult::StillDrawing) break;
  }
  return 1;
}
