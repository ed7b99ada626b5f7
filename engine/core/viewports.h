#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/handles.h"

namespace plat {
class Surface;
class Viewport3D;
}  // namespace plat

struct IMAGEDESC;
struct NODEDESC;

// Viewports: rectangles of the screen the scene is rendered into through a
// camera node. The first one, made by the device set-up over the whole
// screen, is the default viewport that handle 0 names; it is never destroyed
// by DestroyViewport. Each viewport owns a device part: a 3D-device viewport
// on the Direct3D path, a 16-bit depth buffer of its own size on the software
// path.

struct VIEWPORTBACKGROUND {
  int xOffset = 0;  // relative to the viewport
  int yOffset = 0;
  IMAGEDESC* image = nullptr;
  int surfaceReady = 0;
  int stretch = 0;
  std::shared_ptr<plat::Surface> surface;
};

constexpr int kViewportBackgrounds = 12;

struct VIEWPORTDESC {
  int index = 0;
  int x = 0;  // on the software path with line doubling, y and height are stored halved
  int y = 0;
  int width = 0;
  int height = 0;
  NODEDESC* camera = nullptr;
  float backgroundColor[3] = {0, 0, 0};
  // 0x00RRGGBB on the Direct3D path, a screen pixel on the software path.
  uint32_t clearColor = 0;
  std::unique_ptr<plat::Viewport3D> deviceViewport;
  std::vector<uint16_t> depthBuffer;
  std::array<VIEWPORTBACKGROUND, kViewportBackgrounds> backgrounds;
  ~VIEWPORTDESC();
};

// Handle or 0. A full pool ends the engine with "No more viewport available. (VP01)".
HOBJECT CreateViewport(int x, int y, int width, int height);
void SetViewportRect(HOBJECT viewport, int x, int y, int width, int height);
void DestroyViewport(HOBJECT viewport);
// The camera becomes the node of that handle (none when it does not resolve).
void SetViewportCamera(HOBJECT viewport, HOBJECT cameraNode);

// Device parts.
int CreateDeviceViewport(VIEWPORTDESC* viewport, int x, int y, int width, int height);
bool SetDeviceViewportRect(VIEWPORTDESC* viewport, int x, int y, int width, int height);
int CreateSoftViewport(VIEWPORTDESC* viewport, int x, int y, int width, int height);
void ResizeSoftViewport(VIEWPORTDESC* viewport, int x, int y, int width, int height);
// Colour components 0..1.
void SetViewportClearColor(VIEWPORTDESC* viewport, float red, float green, float blue);
void ReleaseViewportDevice(VIEWPORTDESC* viewport);
// Direct3D path: clears the viewport's rectangle of the back buffer and/or
// the depth buffer, then draws the filled background slots.
void ClearViewport(VIEWPORTDESC* viewport, int clearColor, int clearDepth);
void DrawViewportBackground(VIEWPORTDESC* viewport, int slot);
// Fills a rectangle of the back buffer with colour 0.
void FillScreenRect(int x, int y, int width, int height);

// Frees the world's default viewport (the world record is going away).
void DestroyDefaultViewport();
