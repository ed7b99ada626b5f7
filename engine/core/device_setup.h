#pragma once
#include <cstdint>
#include <memory>

#include "engine/core/math3d.h"
#include "platform/device3d.h"

struct GAMEWORLD;
struct LIGHTDESC;

// The display device, the engine window and the 3D device: chosen before the
// engine opens, created while it opens, released when it closes.

// 1 = the 3D device path (initial), 0 = the engine's software rasteriser.
extern int g_useDirect3D;
// -1 automatic (initial), else an index of the display-device table.
extern int g_selectedDisplayDevice;

struct DISPLAYDEVICEDESC {
  int platformIndex = 0;  // the device in the platform's own list
  char driverName[32] = {};
  char description[64] = {};
  int has3D = 0;
  int valid = 0;
};

constexpr int kMaxDisplayDevices = 3;
extern DISPLAYDEVICEDESC g_displayDevices[kMaxDisplayDevices];
extern int g_displayDeviceCount;

// Results of the set-up kept for the rest of the engine.
extern int g_hasSse;
extern int g_hasSse2;
extern int g_depthBufferBits;
extern int g_textureStageCount;
extern int g_mipFilter;  // 0 none (no mip-mapped textures), 1 point, 2 linear

// One device light: lent to a light node for a frame.
struct DEVICELIGHTDESC {
  int inUse = 0;
  std::unique_ptr<plat::Light3D> light;
  plat::LightParams params;
};

// The software path's copy of a light node for one frame.
struct SOFTLIGHTDESC {
  const LIGHTDESC* light = nullptr;
  VECTOR3 position{0, 0, 0};
  VECTOR3 direction{0, 0, 1.0f};
};

// Answers nonzero when some listed display device has 3D hardware; count
// (optional) receives the number listed.
int DetectHardware3D(int* count);
// Refills the display-device table (at most 3 entries) from the system.
void ListDisplayDevices();
// Before OpenEngine only: 1 the 3D device path, 0 the software rasteriser.
void SetRenderMode(int mode);
// The display-device choice for the next OpenEngine: -1 automatic, else a table index.
void SelectDisplayDevice(int index);

// Needs DirectX 6 ("This Application needs DirectX 6.0 or higher" as a fatal
// message otherwise); probes the processor, reads the counter frequency and
// stirs the random generator. 1 on success.
int CheckDirectX();
void GetDirectXVersion(int* version, int* platform);

// The world record, the window and the device of the chosen path; null (the
// world gone) after an error message.
GAMEWORLD* CreateGraphicsWindow(const char* title, int x, int y, int width, int height);
// 1 on success; 0 after an error message, with everything built undone.
int InitDirect3DDevice(GAMEWORLD* world);
int InitSoftwareDevice(GAMEWORLD* world);
// The display buffers of both paths, in windowed or full-screen form, with
// the screen layout settled and the buffers cleared; 0 after an error message.
int SetUpDisplayBuffers(GAMEWORLD* world, int platformIndex, bool softwarePath);
// The ambient light every set-up starts with: 0.3 grey, on the device and for
// the software rasteriser.
void SetDefaultAmbientLight(GAMEWORLD* world);
// Gives the display back and releases every device object the world holds.
void ReleaseDevice(GAMEWORLD* world);
void DestroyGraphicsWindow(GAMEWORLD* world);

// Finds the surface's pixel value of a 0x00BBGGRR colour (-1: the pixel at
// (0, 0) as it is), makes it the surface's colour key and answers it; -1 when
// the surface cannot be locked.
int64_t MatchColorKey(plat::Surface* surface, int64_t color);
// Text in the system font on the back buffer, transparent background.
void DrawDebugText(int x, int y, const char* text, int red, int green, int blue);
