#include "engine/core/lifecycle.h"

#include "engine/core/composites.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "engine/core/images.h"
#include "engine/core/input_hooks.h"
#include "engine/core/joysticks.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/data_directories.h"
#include "engine/media/glyph_font.h"
#include "engine/media/movies.h"
#include "engine/media/packages.h"
#include "engine/media/sound.h"
#include "engine/media/sprites.h"
#include "engine/media/texture_table.h"
#include "engine/media/widgets.h"

namespace {

// Destroys every live object of a pool through its kind's destroy call,
// then resets the pool's mark.
template <typename Pool, typename Destroy>
void EmptyPool(Pool& pool, OBJECTTYPE type, Destroy destroy) {
  for (uint32_t slot = 0; slot < pool.mark; ++slot)
    if (pool.slots[slot]) destroy(MakeHandle(type, slot));
  pool.Reset();
}

}  // namespace

int OpenEngine(int fullscreen, const char* title, int width, int height, int bitsPerPixel) {
  if (g_quitRequested) return 0;
  if (g_engineOpen) return 1;
  g_screenDepth = bitsPerPixel;
  g_fullscreen = fullscreen;
  g_screenWidth = width;
  g_screenHeight = height;
  g_gameWorld = nullptr;
  ResetPools();
  ResetTextureTable();
  FillSideAxisTable();
  g_quitRequested = 0;
  g_engineOpen = 1;
  g_meshVertexStride = 8;
  SetReservedDirectory1(".");
  SetImageDirectory(".");
  SetModelDirectory(".");
  SetSoundDirectory(".");
  SetReservedDirectory2(".");
  SetTextureDirectory(".");
  SetSceneDirectory(".");
  SetCreatureDirectory(".");
  SetOverrideDirectory(".");
  SetReservedDirectory3(".");
  ResetPackages();
  int directX = CheckDirectX();
  ResetFrameTimers();
  if (directX) CreateGameWorld(title, 0, 0, width, height);
  if (!g_gameWorld) {
    g_engineOpen = 0;
    return 0;
  }
  InitSprites();
  g_soundOpened = InitSound();
  InitMovies();
  g_gameWorld->joysticks.fill(nullptr);
  g_gameWorld->joystickCount = 0;
  g_joysticksPresent = InitJoysticks();
  SetFrameTimer(7, 30.0f, nullptr, 1);
  g_gameWorld->lodFirst = g_gameWorld->lodLast = nullptr;
  g_gameWorld->compositeLodFirst = g_gameWorld->compositeLodLast = nullptr;
  SetCursorShape(0);
  return 1;
}

void CloseEngine(int requestQuit) {
  if (!g_engineOpen || !g_gameWorld) return;
  if (requestQuit) g_quitRequested = 1;
  ReleaseJoysticks();
  ReleaseGlyphFont();
  FreeInputHooks();
  ResetFrameTimers();
  EmptyPool(g_viewportPool, OBJTYPE_VIEWPORT, DestroyViewport);
  EmptyPool(g_widgetWindowPool, OBJTYPE_WINDOW, [](HOBJECT h) { DestroyWidgetWindow(h, 1); });
  EmptyPool(g_widgetPanelPool, OBJTYPE_PANEL, [](HOBJECT h) { DestroyWidgetPanel(h, 1); });
  EmptyPool(g_widgetPool, OBJTYPE_WIDGET, DestroyWidget);
  FreeLodGroupLists();
  EmptyPool(g_compositePool, OBJTYPE_COMPOSITE, DestroyComposite);
  EmptyPool(g_composite2Pool, OBJTYPE_COMPOSITE2, DestroyComposite2);
  EmptyPool(g_terrainPool, OBJTYPE_TERRAIN, [](HOBJECT h) { DestroyTerrain(h, 0); });
  DestroyNode(0);  // a node left under construction
  EmptyPool(g_nodePool, OBJTYPE_NODE, DestroyNode);
  EmptyPool(g_imagePool, OBJTYPE_IMAGE, DestroyImage);
  EmptyPool(g_materialPool, OBJTYPE_MATERIAL, DestroyMaterial);
  FreeAllSprites();
  if (g_soundOpened) CloseSound();
  g_soundOpened = 0;
  CloseAllPackages();
  DestroyGameWorld(requestQuit);
  g_gameWorld = nullptr;
  g_engineOpen = 0;
}
