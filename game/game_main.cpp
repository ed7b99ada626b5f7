#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/entry.h"
#include "engine/core/frame_timers.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/viewport_render.h"
#include "engine/media/screen.h"

namespace {

// Draws and presents once per loop pass; presenting is paced to the display.
void PresentFrame(int) {
  RenderViewport(0, 1, 1);
  FlipScreen();
}

}  // namespace

// MINIMAL: the game core's start-up (single instance, renderer choice, data folders, the game object) is not built yet.
int GameMain(int, char**) {
  char title[52];
  std::snprintf(title, sizeof title, "%s %s", "Tarnwick", "Vf 1.02");
  const char* windowed = std::getenv("TARNWICK_WINDOWED");
  int fullscreen = windowed && std::strcmp(windowed, "1") == 0 ? 0 : 1;
  if (OpenEngine(fullscreen, title, 640, 480, 16)) {
    SetFrameTimer(1, 30.0f, PresentFrame, 0);
    RunMainLoop(1);
  }
  return 0;
}
