#pragma once
#include <cstdint>
#include <string>

// Windows, window classes, the thread's message queue and the mouse cursor.
//
// Input and window events of the system arrive as Windows-style messages with
// the numeric meanings the engine's handling relies on: virtual-key codes in
// wparam for keys (platform/keys.h), x and y packed as two 16-bit halves of
// lparam for the mouse, WM_CHAR for typed text, focus, activation and close.
// A message is handled by the window procedure of its window's class.
// Tests post messages into the same queue the system's events go to.
namespace plat {

using WindowHandle = uint32_t;  // 0 = none
using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;
using WindowProc = LResult (*)(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);

constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_INPUTLANGCHANGEREQUEST = 0x0050;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;

// Mouse-message wparam flags.
constexpr WParam MK_LBUTTON = 0x01;
constexpr WParam MK_RBUTTON = 0x02;
constexpr WParam MK_SHIFT = 0x04;
constexpr WParam MK_CONTROL = 0x08;

// Key-message lparam bits besides the repeat count (bits 0-15) and scan code (16-23).
constexpr LParam kKeyAltDown = 1 << 29;
constexpr LParam kKeyWasDown = 1 << 30;  // a repeat of a held key
constexpr LParam kKeyReleased = LParam{1} << 31;

// Class styles.
constexpr uint32_t CS_VREDRAW = 0x01;
constexpr uint32_t CS_HREDRAW = 0x02;
constexpr uint32_t CS_DBLCLKS = 0x08;  // the second press of a double click arrives as *DBLCLK
constexpr uint32_t CS_OWNDC = 0x20;

// Window styles: a popup has no frame; a window with WS_THICKFRAME can be resized.
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000u;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;
constexpr uint32_t WS_THICKFRAME = 0x00040000u;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000u;

inline LParam MakePointParam(int x, int y) {
  return static_cast<LParam>((static_cast<uint32_t>(x) & 0xFFFFu) | ((static_cast<uint32_t>(y) & 0xFFFFu) << 16));
}

struct WindowClass {
  std::string name;
  uint32_t style = 0;
  WindowProc proc = nullptr;
  uint32_t background = 0;  // 0x00BBGGRR
};

// Starts the window system for a program: true when a display, or the
// driver named in SDL_VIDEODRIVER (such as "dummy" for runs without one),
// is ready; false with the reason in why. Windows made without it exist
// only in memory.
bool StartVideo(std::string* why);

bool RegisterWindowClass(const WindowClass& windowClass);
bool UnregisterWindowClass(const std::string& name);

// Creates a hidden window of a registered class; its procedure gets WM_CREATE
// before this returns. 0 when the class is unknown or the window cannot be made.
WindowHandle CreateWindow(const std::string& className, const std::string& title, uint32_t style, int x, int y,
                          int width, int height);
// Sends WM_DESTROY, then removes the window; later messages for it are dropped.
bool DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);
void ShowWindow(WindowHandle window, bool show);
// Client position and size.
void SetWindowPos(WindowHandle window, int x, int y, int width, int height);
std::string GetWindowTitle(WindowHandle window);
int WindowCount();

// The window system draws frame and caption outside the client area, so a
// window's outer size is its client size.
struct FrameMetrics {
  int frameWidth = 0;
  int frameHeight = 0;
  int captionHeight = 0;
};
FrameMetrics GetFrameMetrics();

// Default handling: WM_CLOSE destroys the window; everything else answers 0.
LResult DefWindowProc(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
// A message number of our own for a name, the same for the same name (0xC000 and up).
uint32_t RegisterWindowMessage(const std::string& name);

struct Message {
  WindowHandle window = 0;
  uint32_t message = 0;
  WParam wparam = 0;
  LParam lparam = 0;
};

void PostMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
void PostQuitMessage(int exitCode);
// Takes the first waiting message, after turning the system's pending events
// into messages; false when none waits.
bool PeekMessage(Message& out);
// A key press of Backspace, Tab, Enter or Esc also queues its WM_CHAR (8, 9,
// 13, 27) to be taken next; other characters come from typed text.
void TranslateMessage(const Message& message);
// Calls the procedure of the message's window; 0 for a window that is gone.
LResult DispatchMessage(const Message& message);
LResult SendMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
// Drops every waiting message.
void ClearMessageQueue();

// Mouse capture: the captured window keeps getting the mouse outside its area.
void SetCapture(WindowHandle window);
void ReleaseCapture();
WindowHandle GetCapture();
// Moves the pointer to a client point of the window.
void SetCursorPos(WindowHandle window, int x, int y);

enum class SystemCursor { Arrow = 1, Wait = 2, Cross = 3 };
using CursorHandle = int;  // 0 = no cursor
CursorHandle LoadSystemCursor(SystemCursor kind);
// Selects the pointer shape; 0 shows none.
void SetCursor(CursorHandle cursor);
CursorHandle GetCursor();
// The display counter: +1 or -1, answering the new count; the pointer shows while it is >= 0.
int ShowCursor(bool show);

}  // namespace plat
