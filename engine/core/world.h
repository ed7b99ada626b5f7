#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "engine/core/render_list.h"
#include "platform/window.h"

namespace plat {
class DisplayDevice;
class Surface;
class Renderer3D;
class Device3D;
}  // namespace plat

struct KEYHOOKDESC;
struct MOUSEHOOKDESC;
struct JOYSTICKDESC;
struct DEVICELIGHTDESC;
struct SOFTLIGHTDESC;
struct NODEDESC;
struct VIEWPORTDESC;
struct WIDGETDESC;
struct SPRITEDESC;
struct LODGROUPDESC;
struct COMPOSITEDESC;

using MouseMoveHook = void (*)(int x, int y);
using CharHook = void (*)(int character);
using InputLanguageHook = void (*)();

constexpr int kMaxJoysticks = 8;
constexpr int kMaxLights = 64;

// The engine's one world record.
struct GAMEWORLD {
  char title[80] = {};
  std::array<KEYHOOKDESC*, 256> keyHooks{};
  MOUSEHOOKDESC* leftMouseHooks = nullptr;
  MOUSEHOOKDESC* rightMouseHooks = nullptr;
  int joystickCount = 0;
  std::array<JOYSTICKDESC*, kMaxJoysticks> joysticks{};
  int deviceLightCount = 0;  // lights in use in the current frame
  std::array<DEVICELIGHTDESC*, kMaxLights> deviceLights{};
  std::array<SOFTLIGHTDESC*, kMaxLights> softLights{};
  int x = 0;  // the client origin once the window has moved
  int y = 0;
  int width = 0;  // the back buffer's size
  int height = 0;
  std::unique_ptr<RENDERLISTDESC> renderList;
  // While set the widget layer takes no mouse input and the frame is shown
  // without the interface buffer. Nothing clears it.
  int interfaceOff = 1;
  WIDGETDESC* widgetFirst = nullptr;
  WIDGETDESC* widgetLast = nullptr;
  int interfaceX = 0;
  int interfaceY = 0;
  int interfaceWidth = 0;
  int interfaceHeight = 0;
  uint8_t widgetFaceRed = 180;
  uint8_t widgetFaceGreen = 180;
  uint8_t widgetFaceBlue = 180;
  int interfaceBlendMode = 0;
  float interfaceAlpha = 1.0f;
  VIEWPORTDESC* defaultViewport = nullptr;
  SPRITEDESC* spriteFirst = nullptr;
  SPRITEDESC* spriteLast = nullptr;
  LODGROUPDESC* lodFirst = nullptr;
  LODGROUPDESC* lodLast = nullptr;
  COMPOSITEDESC* compositeLodFirst = nullptr;
  COMPOSITEDESC* compositeLodLast = nullptr;
  plat::WindowHandle window = 0;
  std::unique_ptr<plat::DisplayDevice> displayDevice;
  std::shared_ptr<plat::Surface> primary;
  std::shared_ptr<plat::Surface> backBuffer;
  std::shared_ptr<plat::Surface> interfaceBuffer;
  uint16_t interfaceColorKey = 0;
  uint8_t interfaceKeyRed = 0;
  uint8_t interfaceKeyGreen = 0;
  uint8_t interfaceKeyBlue = 0;
  int backBufferInVideoMemory = 0;
  int hardware3D = 0;
  int fogEnabled = 0;
  int fogApplied = 0;
  float fogColor[3] = {0, 0, 0};
  float fogStart = 50;
  float fogEnd = 200;
  float fogDensity = 1.0f;
  int depthBufferPresent = 0;
  MouseMoveHook mouseMoveHook = nullptr;
  InputLanguageHook inputLanguageHook = nullptr;
  CharHook charHook = nullptr;
  float ambientRed = 0;
  float ambientGreen = 0;
  float ambientBlue = 0;
  int depthBufferInVideoMemory = 0;
  std::unique_ptr<plat::Renderer3D> direct3D;
  std::unique_ptr<plat::Device3D> device;
  std::shared_ptr<plat::Surface> depthBuffer;
  float softAmbient = 0;  // 0.299 r + 0.587 g + 0.114 b of the ambient light
  ~GAMEWORLD();
};

extern GAMEWORLD* g_gameWorld;

// Only while the engine is open and no world exists: the record, its window
// and its device; null after an error message.
GAMEWORLD* CreateGameWorld(const char* title, int x, int y, int width, int height);
// Allocates and fills the record (the title cut to 79 characters).
GAMEWORLD* NewGameWorld(const char* title, int x, int y, int width, int height);
// Frees the record with its default viewport and device; with destroyWindow
// also the window, which otherwise stays for the next OpenEngine.
void DestroyGameWorld(int destroyWindow);
