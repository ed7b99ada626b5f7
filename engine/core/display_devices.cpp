// Choosing the display device and render path, and the DirectX and processor checks.
#include <cstring>
#include <string>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/math3d.h"
#include "platform/cpu.h"
#include "platform/display.h"
#include "platform/time.h"

int g_useDirect3D = 1;
int g_selectedDisplayDevice = -1;
DISPLAYDEVICEDESC g_displayDevices[kMaxDisplayDevices];
int g_displayDeviceCount = 0;
int g_hasSse = 0;
int g_hasSse2 = 0;
int g_depthBufferBits = 0;
int g_textureStageCount = 1;
int g_mipFilter = 0;

namespace {

// Names longer than their fields are cut.
template <size_t N>
void CopyName(char (&field)[N], const std::string& text) {
  std::strncpy(field, text.c_str(), N - 1);
  field[N - 1] = 0;
}

}  // namespace

void ListDisplayDevices() {
  g_displayDeviceCount = 0;
  std::vector<plat::DisplayDeviceInfo> devices = plat::EnumerateDisplayDevices();
  for (int i = 0; i < static_cast<int>(devices.size()) && g_displayDeviceCount < kMaxDisplayDevices; ++i) {
    std::unique_ptr<plat::DisplayDevice> device = plat::DisplayDevice::Open(i);
    if (!device) continue;
    DISPLAYDEVICEDESC& entry = g_displayDevices[g_displayDeviceCount++];
    entry = DISPLAYDEVICEDESC{};
    entry.platformIndex = i;
    CopyName(entry.driverName, devices[i].driverName);
    CopyName(entry.description, devices[i].description);
    entry.has3D = device->Has3D() ? 1 : 0;
    entry.valid = 1;
  }
}

int DetectHardware3D(int* count) {
  ListDisplayDevices();
  if (count) *count = g_displayDeviceCount;
  for (int i = 0; i < g_displayDeviceCount; ++i)
    if (g_displayDevices[i].has3D) return 1;
  return 0;
}

void SetRenderMode(int mode) {
  if (!g_engineOpen) g_useDirect3D = mode ? 1 : 0;
}

void SelectDisplayDevice(int index) { g_selectedDisplayDevice = index; }

void GetDirectXVersion(int* version, int* platform) {
  const plat::DisplayEnvironment& display = plat::GetDisplayEnvironment();
  if (version) *version = display.directXVersion;
  if (platform) *platform = display.platformId;
}

int CheckDirectX() {
  int version = 0, platform = 0;
  GetDirectXVersion(&version, &platform);
  if (version < 0x0600) {
    ShowFatalMessage("This Application needs DirectX 6.0 or higher");
    return 0;
  }
  g_hasSse = plat::CpuVendor() == "GenuineIntel" && plat::CpuHasSse() ? 1 : 0;
  g_hasSse2 = plat::CpuHasSse2() ? 1 : 0;
  g_timerFrequency = static_cast<uint32_t>(plat::QueryFrequency());
  // Start each run at a different place of the random sequence.
  uint32_t draws = static_cast<uint32_t>(plat::QueryCounter()) % 40;
  for (uint32_t i = 0; i < draws; ++i) RandomInRange(0, 10, 11);
  return 1;
}
