#pragma once
#include <string>

#include "platform/window.h"

// Tests: input and window events as the system would deliver them for a
// window, queued where the real ones go, so they pass through the same
// translation into messages. Keys are SDL scancode numbers.
namespace plat {

enum class SimulatedWindowEvent { FocusGained, FocusLost, Close, Moved };

void SimulateKey(WindowHandle window, int scancode, bool down, bool repeat = false, bool alt = false);
void SimulateText(WindowHandle window, const std::string& utf8);
// button 1 left, 3 right; clicks counts a rapid series (2 for the second press of a double click).
void SimulateMouseButton(WindowHandle window, int button, bool down, int clicks, int x, int y);
// relativeX and relativeY: the motion since the last event, as the system reports it.
void SimulateMouseMotion(WindowHandle window, int x, int y, bool leftHeld = false, int relativeX = 0,
                         int relativeY = 0);
// 1: the window system refuses pointer warps (as Wayland does), 0: it allows
// them, -1: as the video driver does.
void SimulateRefusedWarps(int refused);
void SimulateWindowEvent(WindowHandle window, SimulatedWindowEvent event, int x = 0, int y = 0);

}  // namespace plat
