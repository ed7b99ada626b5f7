// The display half of the device set-up, shared by both render paths.
#include <algorithm>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/pixel_format.h"
#include "engine/core/world.h"
#include "platform/display.h"

namespace {

constexpr int kMaxListedModes = 40;

// Normal cooperative level, the desktop as primary surface and an off-screen
// back buffer of the world's size.
bool CreateWindowedBuffers(GAMEWORLD* world, bool softwarePath) {
  plat::DisplayDevice& display = *world->displayDevice;
  if (!display.SetCooperativeLevel(world->window, false)) return false;
  world->primary = display.CreatePrimarySurface(nullptr);
  if (!world->primary) return false;
  world->backBuffer = display.CreateSurface(world->width, world->height, !softwarePath);
  return world->backBuffer != nullptr;
}

bool ModeListed(const std::vector<plat::DisplayMode>& modes, const plat::DisplayMode& wanted) {
  return std::any_of(modes.begin(), modes.end(), [&](const plat::DisplayMode& m) {
    return m.width == wanted.width && m.height == wanted.height && m.bitsPerPixel == wanted.bitsPerPixel;
  });
}

}  // namespace

int SetUpDisplayBuffers(GAMEWORLD* world, int platformIndex, bool softwarePath) {
  world->displayDevice = plat::DisplayDevice::Open(platformIndex);
  if (!world->displayDevice) {
    ShowErrorMessage("Fail to query DirectDraw4 object");
    return 0;
  }
  plat::DisplayDevice& display = *world->displayDevice;
  if (!g_fullscreen) {
    plat::DisplayMode desktop = display.DesktopMode();
    if (desktop.bitsPerPixel < 16) {
      ShowErrorMessage("No more to support 8-bit color depth in Qarvel System");
      return 0;
    }
    g_screenDepth = desktop.bitsPerPixel;
    if (!CreateWindowedBuffers(world, softwarePath)) {
      // The window cannot share the desktop: take the whole screen instead.
      world->backBuffer.reset();
      world->primary.reset();
      g_fullscreen = 1;
    }
  }
  if (g_fullscreen) {
    if (g_screenDepth < 16) g_screenDepth = 16;
    std::vector<plat::DisplayMode> modes = display.ListModes();
    if (modes.size() > kMaxListedModes) modes.resize(kMaxListedModes);
    plat::DisplayMode mode{world->width, world->height, g_screenDepth};
    if (!ModeListed(modes, mode)) {
      // The rasteriser writes 16-bit pixels only; an 8-bit screen is no fallback for it.
      if (softwarePath) {
        ShowErrorMessage("Fail to set display mode");
        return 0;
      }
      mode = {640, 480, 16};
    }
    world->width = g_screenWidth = mode.width;
    world->height = g_screenHeight = mode.height;
    g_screenDepth = mode.bitsPerPixel;
    if (!display.SetCooperativeLevel(world->window, true)) {
      ShowErrorMessage("Fail to set fullscreen mode");
      return 0;
    }
    if (!display.SetDisplayMode(mode)) {
      ShowErrorMessage("Fail to set display mode");
      return 0;
    }
    world->primary = display.CreatePrimarySurface(&world->backBuffer);
    if (!world->primary || !world->backBuffer) {
      ShowErrorMessage("Fail to create frame buffers");
      return 0;
    }
  }
  plat::SurfaceDesc back = world->backBuffer->Describe();
  world->backBufferInVideoMemory = back.videoMemory ? 1 : 0;
  SetScreenPixelFormat(back.format);
  world->primary->Fill(nullptr, 0);
  world->backBuffer->Fill(nullptr, 0);
  return 1;
}
