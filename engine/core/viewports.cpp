#include "engine/core/viewports.h"

#include <algorithm>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/core/images.h"
#include "engine/core/pixel_format.h"
#include "engine/core/pools.h"
#include "engine/core/surface_retry.h"
#include "engine/core/world.h"
#include "platform/device3d.h"

VIEWPORTDESC::~VIEWPORTDESC() = default;

namespace {

int StoredForLineDoubling(int value) { return g_lineDoubling ? value / 2 : value; }

void AllocateSoftDepth(VIEWPORTDESC* v) {
  size_t entries = static_cast<size_t>(std::max(v->width, 0)) * static_cast<size_t>(std::max(v->height, 0));
  v->depthBuffer.assign(entries, 0);
}

void ForgetCameraAndImages(VIEWPORTDESC* v) {
  v->camera = nullptr;
  for (VIEWPORTBACKGROUND& b : v->backgrounds) b.image = nullptr;
}

uint8_t ColorByte(float component) { return static_cast<uint8_t>(std::clamp(component, 0.0f, 1.0f) * 255.0f); }

}  // namespace

HOBJECT CreateViewport(int x, int y, int width, int height) {
  if (!g_engineOpen) return 0;
  auto* viewport = new VIEWPORTDESC;
  viewport->x = x;
  viewport->y = y;
  viewport->width = width;
  viewport->height = height;
  int made = g_useDirect3D ? CreateDeviceViewport(viewport, x, y, width, height)
                           : CreateSoftViewport(viewport, x, y, width, height);
  if (!made) {
    delete viewport;
    return 0;
  }
  int slot = g_viewportPool.Allocate(viewport);
  if (slot < 0) {
    delete viewport;
    ShowFatalMessage("No more viewport available. (VP01)");
    return 0;
  }
  return MakeHandle(OBJTYPE_VIEWPORT, static_cast<uint32_t>(slot));
}

void SetViewportRect(HOBJECT handle, int x, int y, int width, int height) {
  if (!g_engineOpen) return;
  VIEWPORTDESC* viewport = LookupViewport(handle);
  if (!viewport) return;
  viewport->x = x;
  viewport->y = y;
  viewport->width = width;
  viewport->height = height;
  if (g_useDirect3D) SetDeviceViewportRect(viewport, x, y, width, height);
  else ResizeSoftViewport(viewport, x, y, width, height);
}

void DestroyViewport(HOBJECT handle) {
  if (!g_engineOpen || handle == 0) return;
  VIEWPORTDESC* viewport = LookupViewport(handle);
  if (!viewport || (g_gameWorld && viewport == g_gameWorld->defaultViewport)) return;
  ReleaseViewportDevice(viewport);
  ForgetCameraAndImages(viewport);
  g_viewportPool.Free(static_cast<uint32_t>(viewport->index));
  delete viewport;
}

void SetViewportCamera(HOBJECT handle, HOBJECT cameraNode) {
  if (!g_engineOpen) return;
  if (VIEWPORTDESC* viewport = LookupViewport(handle)) viewport->camera = LookupNode(cameraNode);
}

int CreateDeviceViewport(VIEWPORTDESC* viewport, int x, int y, int width, int height) {
  GAMEWORLD* world = g_gameWorld;
  if (!world || !world->direct3D || !world->device) return 0;
  viewport->deviceViewport = world->direct3D->CreateViewport();
  if (!viewport->deviceViewport) return 0;
  if (!world->device->AddViewport(viewport->deviceViewport.get())) {
    viewport->deviceViewport.reset();
    return 0;
  }
  SetDeviceViewportRect(viewport, x, y, width, height);
  std::fill(std::begin(viewport->backgroundColor), std::end(viewport->backgroundColor), 0.0f);
  SetViewportClearColor(viewport, 0, 0, 0);
  for (VIEWPORTBACKGROUND& b : viewport->backgrounds) b.surface.reset();
  viewport->depthBuffer.clear();
  return 1;
}

bool SetDeviceViewportRect(VIEWPORTDESC* viewport, int x, int y, int width, int height) {
  if (!viewport->deviceViewport) return false;
  plat::ViewportParams params;
  params.x = x;
  params.y = y;
  params.width = width;
  params.height = height;
  return viewport->deviceViewport->SetViewport(params);
}

int CreateSoftViewport(VIEWPORTDESC* viewport, int, int y, int width, int height) {
  // The rasteriser draws into a 640 x 480 screen at most, so no depth buffer
  // needs to be larger (and a wild size never turns into a huge allocation).
  width = std::min(width, 640);
  height = std::min(height, 480);
  viewport->width = width;
  viewport->height = StoredForLineDoubling(height);
  viewport->y = StoredForLineDoubling(y);
  AllocateSoftDepth(viewport);
  viewport->clearColor = PackScreenPixel(0, 0, 0);
  return 1;
}

void ResizeSoftViewport(VIEWPORTDESC* viewport, int x, int y, int width, int height) {
  width = std::min(width, 640);
  height = std::min(height, 480);
  if (viewport->depthBuffer.empty()) {
    CreateSoftViewport(viewport, x, y, width, height);
    return;
  }
  viewport->width = width;
  viewport->height = StoredForLineDoubling(height);
  viewport->y = StoredForLineDoubling(y);
  AllocateSoftDepth(viewport);
}

void SetViewportClearColor(VIEWPORTDESC* viewport, float red, float green, float blue) {
  uint8_t r = ColorByte(red), g = ColorByte(green), b = ColorByte(blue);
  viewport->clearColor = g_useDirect3D ? (uint32_t{r} << 16 | uint32_t{g} << 8 | b) : PackScreenPixel(r, g, b);
}

void ReleaseViewportDevice(VIEWPORTDESC* viewport) {
  viewport->deviceViewport.reset();
  viewport->depthBuffer.clear();
  viewport->depthBuffer.shrink_to_fit();
  for (VIEWPORTBACKGROUND& b : viewport->backgrounds) b.surface.reset();
}

void ClearViewport(VIEWPORTDESC* viewport, int clearColor, int clearDepth) {
  if (!clearColor && !clearDepth) return;
  if (viewport->deviceViewport) {
    uint32_t flags = (clearColor ? plat::kClearTarget : 0) | (clearDepth ? plat::kClearZBuffer : 0);
    plat::Rect rect{viewport->x, viewport->y, viewport->x + viewport->width, viewport->y + viewport->height};
    viewport->deviceViewport->Clear(rect, flags, viewport->clearColor, 1.0f);
  }
  for (int slot = 0; slot < kViewportBackgrounds; ++slot) DrawViewportBackground(viewport, slot);
}

void DrawViewportBackground(VIEWPORTDESC* viewport, int slot) {
  if (slot < 0 || slot >= kViewportBackgrounds || !g_gameWorld || !g_gameWorld->backBuffer) return;
  VIEWPORTBACKGROUND& b = viewport->backgrounds[slot];
  if (!b.image || !b.surface) return;
  plat::Surface& back = *g_gameWorld->backBuffer;
  if (b.stretch) {
    plat::Rect source{b.xOffset, b.yOffset, b.xOffset + b.image->width, b.yOffset + b.image->height};
    plat::Rect dest{viewport->x, viewport->y, viewport->x + viewport->width, viewport->y + viewport->height};
    if (g_lineDoubling) {
      dest.top *= 2;
      dest.bottom *= 2;
    }
    RetryWhileStillDrawing([&] { return back.Blt(dest, *b.surface, source); });
    return;
  }
  // A negative offset cuts the image's left or top edge instead of moving it out of the viewport.
  int destX = viewport->x + std::max(b.xOffset, 0);
  int destY = viewport->y + std::max(b.yOffset, 0);
  int sourceX = b.xOffset < 0 ? -b.xOffset : 0;
  int sourceY = b.yOffset < 0 ? -b.yOffset : 0;
  int width = std::min(b.image->width - sourceX, viewport->x + viewport->width - destX);
  int height = std::min(b.image->height - sourceY, viewport->y + viewport->height - destY);
  if (width <= 0 || height <= 0) return;
  plat::Rect source{sourceX, sourceY, sourceX + width, sourceY + height};
  if (g_lineDoubling) {
    source.top *= 2;
    source.bottom *= 2;
  }
  RetryWhileStillDrawing([&] { return back.BltFast(destX, destY, *b.surface, source); });
}

void FillScreenRect(int x, int y, int width, int height) {
  if (!g_gameWorld || !g_gameWorld->backBuffer) return;
  plat::Surface& back = *g_gameWorld->backBuffer;
  plat::Rect rect{x, y, x + width, y + height};
  RetryWhileStillDrawing([&] { return back.Fill(&rect, 0); });
}

void DestroyDefaultViewport() {
  if (!g_gameWorld || !g_gameWorld->defaultViewport) return;
  VIEWPORTDESC* viewport = g_gameWorld->defaultViewport;
  ReleaseViewportDevice(viewport);
  ForgetCameraAndImages(viewport);
  if (g_viewportPool.slots[viewport->index] == viewport) g_viewportPool.Free(static_cast<uint32_t>(viewport->index));
  delete viewport;
  g_gameWorld->defaultViewport = nullptr;
}
