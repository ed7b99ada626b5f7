#include "engine/media/screen.h"

#include "engine/core/back_buffer.h"
#include "engine/core/engine_state.h"
#include "engine/core/world.h"
#include "platform/display.h"

// MINIMAL: frame presentation is not built yet; this shows the back buffer
// without the engine cursor and without restoring lost surfaces.
int FlipScreen() {
  GAMEWORLD* world = g_gameWorld;
  if (!g_engineOpen || !world || !world->primary || !world->backBuffer) return 0;
  if (g_fullscreen)
    g_lastDisplayResult = world->primary->Flip();
  else
    g_lastDisplayResult =
        world->primary->PresentFrom(*world->backBuffer, plat::Rect{0, 0, world->width, world->height});
  return 1;
}
