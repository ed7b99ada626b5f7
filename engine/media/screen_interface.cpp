// The interface buffer: the off-screen picture of the engine widget layer.
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/surface_retry.h"
#include "engine/core/world.h"
#include "engine/media/draw2d.h"
#include "engine/media/screen.h"
#include "platform/display.h"
#include "platform/threads.h"

namespace {

bool CreateInterfaceBuffer(GAMEWORLD& world) {
  if (!world.displayDevice) return false;
  world.interfaceBuffer = world.displayDevice->CreateSurface(world.width, world.height, false);
  if (!world.interfaceBuffer) return false;
  world.interfaceColorKey =
      static_cast<uint16_t>(MapRGB(world.interfaceKeyRed, world.interfaceKeyGreen, world.interfaceKeyBlue));
  world.interfaceBuffer->SetColorKey(world.interfaceColorKey);
  return true;
}

}  // namespace

int LockInterfaceBuffer() {
  GAMEWORLD* world = g_gameWorld;
  if (!g_engineOpen || !world) return 0;
  plat::DisplayLock lock;
  if (!world->interfaceBuffer && !CreateInterfaceBuffer(*world)) {
    ShowErrorMessage("Can't create interface buffer for game world (W03)");
    return 0;
  }
  plat::Surface& buffer = *world->interfaceBuffer;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  plat::SurfaceResult result = RetryWhileStillDrawing([&] { return buffer.Lock(&pixels, &pitch); });
  if (result != plat::SurfaceResult::Ok || !pixels) {
    buffer.Unlock();
    ShowErrorMessage("Can't lock interface buffer for game world (UI01)");
    return 0;
  }
  plat::SurfaceDesc desc = buffer.Describe();
  SetDrawTarget(pixels, pitch, desc.format.bitsPerPixel, desc.width, desc.height);
  return 1;
}

void UnlockInterfaceBuffer() {
  GAMEWORLD* world = g_gameWorld;
  if (!g_engineOpen || !world || !world->interfaceBuffer) return;
  plat::DisplayLock lock;
  world->interfaceBuffer->Unlock();
  ClearDrawTarget();
}

void FillInterfaceRect(int x, int y, int width, int height, int red, int green, int blue) {
  if (!LockInterfaceBuffer()) return;
  FillRect(x, y, width, height, MapRGB(red, green, blue));
  UnlockInterfaceBuffer();
}
