#include "engine/core/back_buffer.h"

#include "engine/core/engine_state.h"
#include "engine/core/surface_retry.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"

plat::SurfaceResult g_lastDisplayResult = plat::SurfaceResult::Ok;

void* LockBackBuffer(int* bitsPerPixel, int* pitch) {
  uint8_t* pixels = nullptr;
  int rowPitch = 0;
  if (g_engineOpen && g_gameWorld && g_gameWorld->backBuffer) {
    plat::Surface& back = *g_gameWorld->backBuffer;
    g_lastDisplayResult = RetryWhileStillDrawing([&] { return back.Lock(&pixels, &rowPitch); });
  }
  bool locked = pixels != nullptr && g_lastDisplayResult == plat::SurfaceResult::Ok;
  if (bitsPerPixel) *bitsPerPixel = locked ? g_screenDepth : 0;
  if (pitch) *pitch = locked ? rowPitch : 0;
  return locked ? pixels : nullptr;
}

void UnlockBackBuffer() {
  if (g_engineOpen && g_gameWorld && g_gameWorld->backBuffer) g_gameWorld->backBuffer->Unlock();
}

void ClearScreenRect(int x, int y, int width, int height) {
  if (g_engineOpen) FillScreenRect(x, y, width, height);
}
