// The engine window with its device, and their tear-down.
#include <algorithm>
#include <cstring>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/render_resources.h"
#include "engine/core/surface_retry.h"
#include "engine/core/window_proc.h"
#include "engine/core/world.h"
#include "platform/system_text.h"

namespace {

plat::WindowHandle OpenWindow(GAMEWORLD* world, int x, int y) {
  plat::FrameMetrics frame = plat::GetFrameMetrics();
  int outerWidth = world->width + 2 * frame.frameWidth;
  int outerHeight = world->height + 2 * frame.frameHeight + frame.captionHeight;
  if (g_mainWindow && plat::IsWindow(g_mainWindow)) {
    // The engine was closed without destroying its window: use it again.
    if (!g_fullscreen) {
      plat::ShowWindow(g_mainWindow, false);
      plat::SetWindowPos(g_mainWindow, 0, 0, outerWidth, outerHeight);
    }
    return g_mainWindow;
  }
  g_windowBeingDestroyed = 0;
  if (g_fullscreen)
    return plat::CreateWindow(kEngineWindowClass, world->title, plat::WS_POPUP, 0, 0, world->width, world->height);
  uint32_t style = plat::WS_CAPTION | plat::WS_SYSMENU | plat::WS_THICKFRAME | plat::WS_MINIMIZEBOX |
                   plat::WS_MAXIMIZEBOX | plat::WS_CLIPCHILDREN | plat::WS_CLIPSIBLINGS;
  return plat::CreateWindow(kEngineWindowClass, world->title, style, x, y, outerWidth, outerHeight);
}

uint32_t ReadPixel(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{at[i]} << (8 * i);
  return value;
}

}  // namespace

GAMEWORLD* CreateGraphicsWindow(const char* title, int x, int y, int width, int height) {
  if (g_useDirect3D && !DetectHardware3D(nullptr)) g_useDirect3D = 0;
  if (!g_useDirect3D) {
    width = std::min(width, 640);
    height = std::min(height, 480);
  }
  GAMEWORLD* world = NewGameWorld(title, x, y, width, height);
  g_gameWorld = world;
  g_mainWindow = OpenWindow(world, x, y);
  world->window = g_mainWindow;
  if (!g_mainWindow) {
    ShowErrorMessage("Can't create a graphics window");
    delete world;
    g_gameWorld = nullptr;
    return nullptr;
  }
  plat::ShowWindow(g_mainWindow, true);
  int ready = g_useDirect3D ? InitDirect3DDevice(world) : InitSoftwareDevice(world);
  if (!g_useDirect3D) AllocateSoftWorkPools();
  if (!ready) {
    DestroyGameWorld(1);
    return nullptr;
  }
  return world;
}

void SetDefaultAmbientLight(GAMEWORLD* world) {
  world->ambientRed = world->ambientGreen = world->ambientBlue = 0.3f;
  world->softAmbient = 0.299f * 0.3f + 0.587f * 0.3f + 0.114f * 0.3f;
  if (world->device) world->device->SetLightState(plat::LightState::Ambient, 0x004C4C4C);
}

void ReleaseDevice(GAMEWORLD* world) {
  if (world->displayDevice && g_fullscreen) {
    world->displayDevice->RestoreDisplayMode();
    world->displayDevice->SetCooperativeLevel(world->window, false);
  }
  // Whatever either path built is released, whichever path runs now.
  for (DEVICELIGHTDESC*& light : world->deviceLights) {
    delete light;
    light = nullptr;
  }
  if (world->direct3D) ReleaseBackgroundMaterial();
  FreeEmitterBuffers();
  world->device.reset();
  world->depthBuffer.reset();
  world->direct3D.reset();
  FreeSoftWorkPools();
  FreeSoftDefaultMaterial();
  for (SOFTLIGHTDESC*& light : world->softLights) {
    delete light;
    light = nullptr;
  }
  world->interfaceBuffer.reset();
  world->backBuffer.reset();
  world->primary.reset();
  world->displayDevice.reset();
}

void DestroyGraphicsWindow(GAMEWORLD* world) {
  g_windowBeingDestroyed = 1;
  plat::DestroyWindow(world->window);
  if (g_mainWindow == world->window) g_mainWindow = 0;
  world->window = 0;
}

int64_t MatchColorKey(plat::Surface* surface, int64_t color) {
  if (!surface) return -1;
  int bytes = std::clamp((surface->Describe().format.bitsPerPixel + 7) / 8, 1, 4);
  uint8_t* pixels = nullptr;
  int pitch = 0;
  auto lock = [&] { return surface->Lock(&pixels, &pitch); };
  if (RetryWhileStillDrawing(lock) != plat::SurfaceResult::Ok) return -1;
  uint8_t old[4] = {};
  std::memcpy(old, pixels, bytes);
  surface->Unlock();
  if (color != -1) surface->WriteColor(0, 0, static_cast<uint32_t>(color));
  if (RetryWhileStillDrawing(lock) != plat::SurfaceResult::Ok) return -1;
  uint32_t value = ReadPixel(pixels, bytes);
  std::memcpy(pixels, old, bytes);
  surface->Unlock();
  surface->SetColorKey(value);
  return value;
}

void DrawDebugText(int x, int y, const char* text, int red, int green, int blue) {
  if (!text || !*text || !g_gameWorld || !g_gameWorld->backBuffer) return;
  uint32_t colorRef = static_cast<uint8_t>(red) | static_cast<uint8_t>(green) << 8 | static_cast<uint8_t>(blue) << 16;
  plat::DrawSystemText(*g_gameWorld->backBuffer, x, y, text, colorRef);
}
