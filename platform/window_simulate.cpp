#include "platform/window_simulate.h"

#include <SDL.h>

#include <cstring>

#include "platform/window_native.h"

namespace plat {
namespace {

Uint32 SdlId(WindowHandle window) {
  SDL_Window* sdl = native::SdlWindowOf(window);
  return sdl ? SDL_GetWindowID(sdl) : 0;
}

}  // namespace

void SimulateKey(WindowHandle window, int scancode, bool down, bool repeat, bool alt) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = SdlId(window);
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
  SDL_PushEvent(&e);
}

void SimulateText(WindowHandle window, const std::string& utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = SdlId(window);
  std::strncpy(e.text.text, utf8.c_str(), sizeof e.text.text - 1);
  SDL_PushEvent(&e);
}

void SimulateMouseButton(WindowHandle window, int button, bool down, int clicks, int x, int y) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = SdlId(window);
  e.button.button = static_cast<Uint8>(button);
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = static_cast<Uint8>(clicks);
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

void SimulateMouseMotion(WindowHandle window, int x, int y, bool leftHeld, int relativeX, int relativeY) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SdlId(window);
  e.motion.state = leftHeld ? SDL_BUTTON_LMASK : 0;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.xrel = relativeX;
  e.motion.yrel = relativeY;
  SDL_PushEvent(&e);
}

void SimulateRefusedWarps(int refused) { native::SetWarpsRefused(refused); }

void SimulateWindowEvent(WindowHandle window, SimulatedWindowEvent event, int x, int y) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = SdlId(window);
  switch (event) {
    case SimulatedWindowEvent::FocusGained: e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED; break;
    case SimulatedWindowEvent::FocusLost: e.window.event = SDL_WINDOWEVENT_FOCUS_LOST; break;
    case SimulatedWindowEvent::Close: e.window.event = SDL_WINDOWEVENT_CLOSE; break;
    case SimulatedWindowEvent::Moved: e.window.event = SDL_WINDOWEVENT_MOVED; break;
  }
  e.window.data1 = x;
  e.window.data2 = y;
  SDL_PushEvent(&e);
}

}  // namespace plat
