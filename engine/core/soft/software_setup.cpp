// The device set-up of the software rasteriser path.
#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/pools.h"
#include "engine/core/render_resources.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"

int InitSoftwareDevice(GAMEWORLD* world) {
  world->deviceLights.fill(nullptr);
  world->softLights.fill(nullptr);
  if (g_displayDeviceCount == 0) ListDisplayDevices();
  if (g_displayDeviceCount == 0) {
    ShowErrorMessage("None of graphics cards supports DirectX");
    return 0;
  }
  // The rasteriser keeps its own depth values, one buffer per viewport.
  world->depthBufferPresent = 1;
  if (!SetUpDisplayBuffers(world, 0, true)) {
    ReleaseDevice(world);
    return 0;
  }
  HOBJECT viewport = CreateViewport(0, 0, world->width, world->height);
  world->defaultViewport = LookupViewport(viewport);
  if (!viewport || !world->defaultViewport) {
    ShowErrorMessage("Fail to create default viewport");
    ReleaseDevice(world);
    return 0;
  }
  world->primary->Fill(nullptr, 0);
  world->backBuffer->Fill(nullptr, 0);
  CreateSoftDefaultMaterial();
  for (SOFTLIGHTDESC*& light : world->softLights) light = new SOFTLIGHTDESC;
  SetDefaultAmbientLight(world);
  return 1;
}
