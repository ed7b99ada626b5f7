#include "engine/core/world.h"

#include <cstring>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/input_hooks.h"
#include "engine/core/viewports.h"
#include "platform/device3d.h"
#include "platform/display.h"

GAMEWORLD* g_gameWorld = nullptr;

GAMEWORLD::~GAMEWORLD() = default;

GAMEWORLD* NewGameWorld(const char* title, int x, int y, int width, int height) {
  auto* world = new GAMEWORLD;
  // Titles longer than 79 characters are cut.
  std::strncpy(world->title, title ? title : "", sizeof world->title - 1);
  world->x = x;
  world->y = y;
  world->width = width;
  world->height = height;
  world->interfaceWidth = width;
  world->interfaceHeight = height;
  world->renderList = std::make_unique<RENDERLISTDESC>();
  return world;
}

GAMEWORLD* CreateGameWorld(const char* title, int x, int y, int width, int height) {
  if (!g_engineOpen || g_gameWorld) return nullptr;
  GAMEWORLD* world = CreateGraphicsWindow(title, x, y, width, height);
  if (!world) ShowErrorMessage("Can't create the game world (W01)");
  return world;
}

void DestroyGameWorld(int destroyWindow) {
  GAMEWORLD* world = g_gameWorld;
  if (!g_engineOpen || !world) return;
  FreeInputHooks();
  world->renderList.reset();
  DestroyDefaultViewport();
  ReleaseDevice(world);
  if (destroyWindow) DestroyGraphicsWindow(world);
  g_gameWorld = nullptr;
  delete world;
}
