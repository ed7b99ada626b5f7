// SDL events become the messages the engine's window procedure handles.
#include <SDL.h>

#include "platform/big5.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "platform/window_native.h"

namespace plat::native {
namespace {

WParam MouseFlags(uint32_t buttons) {
  WParam flags = 0;
  if (buttons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
  if (mod & KMOD_CTRL) flags |= MK_CONTROL;
  return flags;
}

void TranslateKey(WindowHandle window, const SDL_KeyboardEvent& key) {
  uint32_t vk = VirtualKeyFromScancode(key.keysym.scancode);
  if (vk == 0) return;
  bool alt = (key.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU;
  // Alt, keys pressed with Alt and F10 are "system" keys.
  bool system = alt || vk == VK_F10;
  LParam lparam = 1 | (static_cast<LParam>(key.keysym.scancode & 0xFF) << 16);
  if (alt) lparam |= kKeyAltDown;
  if (key.type == SDL_KEYDOWN) {
    if (key.repeat) lparam |= kKeyWasDown;
    PostMessage(window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lparam);
  } else {
    PostMessage(window, system ? WM_SYSKEYUP : WM_KEYUP, vk, lparam | kKeyWasDown | kKeyReleased);
  }
}

// Typed text reaches the game as Big5 bytes, one WM_CHAR each, a two-byte
// character lead byte first. Control characters come from the key presses.
void TranslateText(WindowHandle window, const char* text) {
  if (SDL_GetModState() & (KMOD_CTRL | KMOD_ALT)) return;
  for (unsigned char byte : Utf8ToBig5(text))
    if (byte >= 0x20 && byte != 0x7F) PostMessage(window, WM_CHAR, byte, 1);
}

void TranslateButton(WindowHandle window, const SDL_MouseButtonEvent& button) {
  bool left = button.button == SDL_BUTTON_LEFT;
  if (!left && button.button != SDL_BUTTON_RIGHT) return;
  LParam point = MakePointParam(button.x, button.y);
  WParam flags = MouseFlags(SDL_GetMouseState(nullptr, nullptr));
  uint32_t message;
  if (button.type == SDL_MOUSEBUTTONUP) {
    message = left ? WM_LBUTTONUP : WM_RBUTTONUP;
  } else if (button.clicks % 2 == 0 && (ClassStyleOf(window) & CS_DBLCLKS)) {
    // The second press of a double click comes in its place.
    message = left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
  } else {
    message = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  }
  PostMessage(window, message, flags, point);
}

void TranslateWindowEvent(WindowHandle window, const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      PostMessage(window, WM_ACTIVATEAPP, 1, 0);
      PostMessage(window, WM_SETFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      PostMessage(window, WM_ACTIVATEAPP, 0, 0);
      PostMessage(window, WM_KILLFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_CLOSE: PostMessage(window, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_MOVED: PostMessage(window, WM_MOVE, 0, MakePointParam(event.data1, event.data2)); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      RepaintWindow(window);
      PostMessage(window, WM_SIZE, 0, MakePointParam(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_EXPOSED: RepaintWindow(window); break;
    default: break;
  }
}

}  // namespace

void TranslateSystemEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (WindowHandle w = WindowFromSdlId(e.key.windowID)) TranslateKey(w, e.key);
        break;
      case SDL_TEXTINPUT:
        if (WindowHandle w = WindowFromSdlId(e.text.windowID)) TranslateText(w, e.text.text);
        break;
      case SDL_MOUSEMOTION:
        if (WindowHandle w = WindowFromSdlId(e.motion.windowID)) {
          int x = e.motion.x, y = e.motion.y;
          TakeMotion(w, e.motion.xrel, e.motion.yrel, &x, &y);
          PostMouseMove(w, MouseFlags(e.motion.state), MakePointParam(x, y));
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (WindowHandle w = WindowFromSdlId(e.button.windowID)) TranslateButton(w, e.button);
        break;
      case SDL_WINDOWEVENT:
        if (WindowHandle w = WindowFromSdlId(e.window.windowID)) TranslateWindowEvent(w, e.window);
        break;
      case SDL_QUIT:
        // A termination request closes every window, as their close buttons would.
        for (WindowHandle w : AllWindows()) PostMessage(w, WM_CLOSE, 0, 0);
        break;
      default: break;
    }
  }
}

}  // namespace plat::native
