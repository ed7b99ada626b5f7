#include "engine/media/screen.h"

#include <cstring>

#include "engine/core/back_buffer.h"
#include "engine/core/engine_state.h"
#include "engine/core/pixel_format.h"
#include "engine/core/surface_retry.h"
#include "engine/core/world.h"
#include "platform/threads.h"

uint32_t MapRGB(int red, int green, int blue) {
  if (!g_engineOpen) return 0;
  return PackScreenPixel(red, green, blue);
}

uint8_t* ReadScreenRect(std::vector<uint8_t>& buffer, int x, int y, int width, int height) {
  GAMEWORLD* world = g_gameWorld;
  if (!g_engineOpen || !world || !world->backBuffer || width < 1 || height < 1) return nullptr;
  plat::DisplayLock lock;
  plat::Surface& back = *world->backBuffer;
  plat::SurfaceDesc desc = back.Describe();
  if (x >= desc.width || y >= desc.height) return nullptr;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (x + width >= desc.width) width = desc.width - x;
  if (y + height >= desc.height) height = desc.height - y;
  int bytes = (desc.format.bitsPerPixel + 7) / 8;
  size_t rowBytes = static_cast<size_t>(width) * bytes;
  if (buffer.size() < rowBytes * height) buffer.resize(rowBytes * height);
  uint8_t* pixels = nullptr;
  int pitch = 0;
  g_lastDisplayResult = RetryWhileStillDrawing([&] { return back.Lock(&pixels, &pitch); });
  if (g_lastDisplayResult != plat::SurfaceResult::Ok || !pixels) return nullptr;
  for (int row = 0; row < height; ++row)
    std::memcpy(buffer.data() + row * rowBytes,
                pixels + static_cast<size_t>(y + row) * pitch + static_cast<size_t>(x) * bytes, rowBytes);
  back.Unlock();
  return buffer.data();
}

int CopyPixelRow(void* destination, const void* source, int byteCount) {
  if (byteCount > 0) std::memcpy(destination, source, static_cast<size_t>(byteCount));
  return byteCount;
}

void CopyPixelRowKeyed(uint16_t* destination, const uint16_t* source, int pixelCount, uint16_t key) {
  for (int i = 0; i < pixelCount; ++i)
    if (source[i] != key) destination[i] = source[i];
}
