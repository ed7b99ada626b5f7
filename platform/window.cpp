#include "platform/window.h"

#include <SDL.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <memory>

#include "platform/environment.h"
#include "platform/instance.h"
#include "platform/renderer_probe.h"
#include "platform/test_caps.h"
#include "platform/window_native.h"

namespace plat {
namespace {

// How far, in image pixels, scaling may move a warped pointer's own motion.
constexpr int kWarpRounding = 2;

struct WindowData {
  std::string className;
  std::string title;
  uint32_t style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool destroying = false;
  bool inDisplayMode = false;
  SDL_Window* sdl = nullptr;
  int titleClaim = -1;
  // Where a refused warp put the pointer, until the next motion takes it.
  bool pointerHeld = false;
  // A warp the system carried out, until its own motion event arrives.
  bool warpLanding = false;
  int heldX = 0, heldY = 0;
};

std::map<std::string, WindowClass> g_classes;
std::map<WindowHandle, std::unique_ptr<WindowData>> g_windows;
WindowHandle g_nextHandle = 1;
std::deque<Message> g_queue;
std::map<std::string, uint32_t> g_registeredMessages;
WindowHandle g_capture = 0;
CursorHandle g_cursor = 0;
int g_cursorCount = 0;
int g_warpsRefused = -1;  // -1: decided by the video driver
SDL_Cursor* g_sdlCursors[4] = {};

WindowData* Find(WindowHandle window) {
  auto it = g_windows.find(window);
  return it == g_windows.end() ? nullptr : it->second.get();
}

WindowProc ProcOf(WindowHandle window) {
  WindowData* w = Find(window);
  if (!w) return nullptr;
  auto it = g_classes.find(w->className);
  return it == g_classes.end() ? nullptr : it->second.proc;
}

bool VideoStarted() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

void ApplyCursor() {
  if (!VideoStarted()) return;
  bool shown = g_cursorCount >= 0 && g_cursor != 0;
  if (shown) {
    SDL_Cursor*& c = g_sdlCursors[g_cursor];
    if (!c) {
      static const SDL_SystemCursor kSdl[] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAIT,
                                              SDL_SYSTEM_CURSOR_CROSSHAIR};
      c = SDL_CreateSystemCursor(kSdl[g_cursor]);
    }
    if (c) SDL_SetCursor(c);
  }
  SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace

namespace native {

bool HeadlessDriver(const char* driver) {
  return driver == nullptr || SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0;
}

bool HeadlessVideo() {
  return HeadlessDriver(VideoStarted() ? SDL_GetCurrentVideoDriver() : SDL_getenv("SDL_VIDEODRIVER"));
}

bool EnsureVideo() {
  if (VideoStarted()) return true;
  StartRendererProbe();
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

bool WarpsRefused() {
  if (g_warpsRefused >= 0) return g_warpsRefused != 0;
  const char* driver = VideoStarted() ? SDL_GetCurrentVideoDriver() : nullptr;
  return driver && SDL_strcmp(driver, "wayland") == 0;
}

void SetWarpsRefused(int refused) { g_warpsRefused = refused; }

void TakeMotion(WindowHandle window, int relativeX, int relativeY, int* x, int* y) {
  WindowData* w = Find(window);
  if (!w) return;
  if (w->warpLanding) {
    // The warp's own motion comes back through the scaling to the window and
    // back, which may round it a pixel off; reported as a move, mouse look
    // would warp again and again without end.
    w->warpLanding = false;
    if (std::abs(*x - w->heldX) <= kWarpRounding && std::abs(*y - w->heldY) <= kWarpRounding) {
      *x = w->heldX;
      *y = w->heldY;
    }
  }
  if (!w->pointerHeld) return;
  w->pointerHeld = false;
  *x = w->heldX + relativeX;
  *y = w->heldY + relativeY;
}

SDL_Window* SdlWindowOf(WindowHandle window) {
  WindowData* w = Find(window);
  return w ? w->sdl : nullptr;
}

WindowHandle WindowFromSdlId(uint32_t id) {
  for (auto& [handle, w] : g_windows)
    if (w->sdl && SDL_GetWindowID(w->sdl) == id) return handle;
  return 0;
}

uint32_t ClassStyleOf(WindowHandle window) {
  WindowData* w = Find(window);
  if (!w) return 0;
  auto it = g_classes.find(w->className);
  return it == g_classes.end() ? 0 : it->second.style;
}

void DesktopSize(int* width, int* height) {
  SDL_DisplayMode mode;
  if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
    *width = mode.w;
    *height = mode.h;
  }
}

std::vector<WindowHandle> AllWindows() {
  std::vector<WindowHandle> all;
  for (auto& [handle, w] : g_windows) all.push_back(handle);
  return all;
}

void EnterDisplayMode(WindowHandle window, int width, int height) {
  WindowData* w = Find(window);
  if (!w) return;
  w->inDisplayMode = true;
  if (!w->sdl || HeadlessVideo()) return;
  if (WantsWindowed()) {
    SDL_SetWindowSize(w->sdl, width, height);
    SDL_SetWindowPosition(w->sdl, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    // Full screen is a request to the window manager; without one the
    // window would keep its size while SDL draws for the desktop's, a
    // cropped corner whose clicks land elsewhere. Covering the display
    // first gives the same window with a manager or without.
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(w->sdl), &bounds) == 0) {
      SDL_SetWindowBordered(w->sdl, SDL_FALSE);
      SDL_SetWindowPosition(w->sdl, bounds.x, bounds.y);
      SDL_SetWindowSize(w->sdl, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(w->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}

void LeaveDisplayMode(WindowHandle window) {
  WindowData* w = Find(window);
  if (!w || !w->inDisplayMode) return;
  w->inDisplayMode = false;
  if (!w->sdl || HeadlessVideo()) return;
  SDL_SetWindowFullscreen(w->sdl, 0);
  SDL_SetWindowBordered(w->sdl, (w->style & WS_POPUP) ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowSize(w->sdl, w->width > 0 ? w->width : 1, w->height > 0 ? w->height : 1);
}

}  // namespace native

bool StartVideo(std::string* why) {
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  if (!native::EnsureVideo()) {
    if (why) *why = SDL_GetError();
    return false;
  }
  // Left to itself, SDL falls back on a driver without a screen.
  const char* driver = SDL_GetCurrentVideoDriver();
  if ((chosen && *chosen) || !native::HeadlessDriver(driver)) return true;
  if (why) *why = std::string("no X11 or Wayland display found, only the \"") + driver + "\" driver started";
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return false;
}

bool RegisterWindowClass(const WindowClass& windowClass) {
  if (windowClass.name.empty() || !windowClass.proc || g_classes.count(windowClass.name)) return false;
  g_classes[windowClass.name] = windowClass;
  return true;
}

bool UnregisterWindowClass(const std::string& name) {
  for (auto& [handle, w] : g_windows)
    if (w->className == name) return false;
  return g_classes.erase(name) != 0;
}

WindowHandle CreateWindow(const std::string& className, const std::string& title, uint32_t style, int x, int y,
                          int width, int height) {
  auto cls = g_classes.find(className);
  if (cls == g_classes.end() || ShouldFail(FailPoint::CreateWindow)) return 0;
  auto data = std::make_unique<WindowData>();
  data->className = className;
  data->title = title;
  data->style = style;
  data->x = x;
  data->y = y;
  data->width = width;
  data->height = height;
  if (native::EnsureVideo()) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    // A framed window goes where the window system centres it, so its caption stays on screen.
    int sx = (style & WS_POPUP) ? x : int(SDL_WINDOWPOS_CENTERED);
    int sy = (style & WS_POPUP) ? y : int(SDL_WINDOWPOS_CENTERED);
    data->sdl = SDL_CreateWindow(title.c_str(), sx, sy, width > 0 ? width : 1, height > 0 ? height : 1, flags);
  }
  data->titleClaim = ClaimWindowTitle(title);
  WindowHandle handle = g_nextHandle++;
  g_windows[handle] = std::move(data);
  SendMessage(handle, WM_CREATE, 0, 0);
  return handle;
}

bool DestroyWindow(WindowHandle window) {
  WindowData* w = Find(window);
  if (!w || w->destroying) return false;
  w->destroying = true;
  SendMessage(window, WM_DESTROY, 0, 0);
  if (g_capture == window) ReleaseCapture();
  native::ReleasePresenter(window);
  w = Find(window);
  if (w->sdl) SDL_DestroyWindow(w->sdl);
  ReleaseWindowTitle(w->titleClaim, w->title);
  g_windows.erase(window);
  return true;
}

bool IsWindow(WindowHandle window) { return Find(window) != nullptr; }

void ShowWindow(WindowHandle window, bool show) {
  WindowData* w = Find(window);
  if (!w) return;
  if (w->sdl) {
    if (show) SDL_ShowWindow(w->sdl);
    else SDL_HideWindow(w->sdl);
  }
}

void SetWindowPos(WindowHandle window, int x, int y, int width, int height) {
  WindowData* w = Find(window);
  if (!w) return;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  if (w->sdl) {
    SDL_SetWindowSize(w->sdl, width > 0 ? width : 1, height > 0 ? height : 1);
    if (w->style & WS_POPUP) SDL_SetWindowPosition(w->sdl, x, y);
  }
}

std::string GetWindowTitle(WindowHandle window) {
  WindowData* w = Find(window);
  return w ? w->title : std::string();
}

int WindowCount() { return static_cast<int>(g_windows.size()); }

FrameMetrics GetFrameMetrics() { return {}; }

LResult DefWindowProc(WindowHandle window, uint32_t message, WParam, LParam) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

uint32_t RegisterWindowMessage(const std::string& name) {
  auto it = g_registeredMessages.find(name);
  if (it != g_registeredMessages.end()) return it->second;
  uint32_t id = 0xC000u + static_cast<uint32_t>(g_registeredMessages.size());
  g_registeredMessages[name] = id;
  return id;
}

// Moves of the pointer come as the position it has now, as the system
// makes them: a move still waiting behind no other message takes the new
// position instead of queuing a second one. Mouse look warps the pointer
// after each move it sees; queued one by one, the warps' own moves would
// look like new moves and feed each other for ever.
void native::PostMouseMove(WindowHandle window, WParam flags, LParam point) {
  if (!g_queue.empty()) {
    Message& last = g_queue.back();
    if (last.window == window && last.message == WM_MOUSEMOVE && last.wparam == flags) {
      last.lparam = point;
      return;
    }
  }
  g_queue.push_back({window, WM_MOUSEMOVE, flags, point});
}

void PostMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  g_queue.push_back({window, message, wparam, lparam});
}

void PostQuitMessage(int exitCode) { PostMessage(0, WM_QUIT, static_cast<WParam>(exitCode), 0); }

bool PeekMessage(Message& out) {
  if (VideoStarted()) native::TranslateSystemEvents();
  if (g_queue.empty()) return false;
  out = g_queue.front();
  g_queue.pop_front();
  return true;
}

void TranslateMessage(const Message& message) {
  if (message.message != WM_KEYDOWN) return;
  switch (message.wparam) {
    case 0x08:
    case 0x09:
    case 0x0D:
    case 0x1B:
      // Taken next, before anything queued after the key press.
      g_queue.push_front({message.window, WM_CHAR, message.wparam, message.lparam});
      break;
    default: break;
  }
}

LResult DispatchMessage(const Message& message) {
  return SendMessage(message.window, message.message, message.wparam, message.lparam);
}

LResult SendMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  WindowProc proc = ProcOf(window);
  return proc ? proc(window, message, wparam, lparam) : 0;
}

void ClearMessageQueue() {
  if (VideoStarted()) native::TranslateSystemEvents();
  g_queue.clear();
}

void SetCapture(WindowHandle window) {
  if (!Find(window)) return;
  g_capture = window;
  if (VideoStarted()) SDL_CaptureMouse(SDL_TRUE);
}

void ReleaseCapture() {
  if (!g_capture) return;
  g_capture = 0;
  if (VideoStarted()) SDL_CaptureMouse(SDL_FALSE);
}

WindowHandle GetCapture() { return g_capture; }

void SetCursorPos(WindowHandle window, int x, int y) {
  WindowData* w = Find(window);
  if (!w || !w->sdl) return;
  w->pointerHeld = native::WarpsRefused();
  w->warpLanding = !w->pointerHeld;
  w->heldX = x;
  w->heldY = y;
  int wx = x, wy = y;
  native::ImageToWindowPoint(window, x, y, &wx, &wy);
  SDL_WarpMouseInWindow(w->sdl, wx, wy);
}

CursorHandle LoadSystemCursor(SystemCursor kind) { return static_cast<CursorHandle>(kind); }

void SetCursor(CursorHandle cursor) {
  g_cursor = (cursor >= 0 && cursor <= 3) ? cursor : 0;
  ApplyCursor();
}

CursorHandle GetCursor() { return g_cursor; }

int ShowCursor(bool show) {
  g_cursorCount += show ? 1 : -1;
  ApplyCursor();
  return g_cursorCount;
}

}  // namespace plat
