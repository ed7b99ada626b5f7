#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

// Timed player input for tests, written as text: one line per moment of
// play, fed into the platform's input layer as the system would deliver it.
//
//   # comment
//   <frames> <event>[; <event>...]
//
// <frames> is how many passes of play run before the line's events (0: in
// the same pass as the line before). Events:
//   down K | up K | key K    key K pressed, released, or pressed then
//                            released one pass later; K is a virtual-key
//                            code (decimal or 0x..) or one letter/digit
//   move X Y                 the mouse moves to (X, Y) in the window (its
//                            motion counted from the last point the script named)
//   ldown X Y | lup X Y      left button; rdown/rup the right one
//   lclick X Y | rclick X Y  press, then release one pass later
//   close                    the window's close button
//   check NAME               hands NAME to the test's checkpoint callback
namespace testsupport {

struct InputEvent {
  enum Kind { KeyDown, KeyUp, MouseMove, ButtonDown, ButtonUp, Close, Checkpoint };
  Kind kind = KeyDown;
  int code = 0;  // virtual key, or mouse button 1 left / 3 right
  int x = 0;
  int y = 0;
  std::string name;  // a checkpoint's name
};

struct InputLine {
  int lineNumber = 0;
  int waitFrames = 0;
  // Events of one pass; a key or click adds a second pass holding its release.
  std::vector<std::vector<InputEvent>> passes;
};

// Fills lines from the script; on a malformed line answers false with the
// line number and the reason in error.
bool ParseInputScript(const std::string& text, std::vector<InputLine>* lines, std::string* error);

// Where the script last put the pointer: a move reports its motion from there,
// as the system does, so that mouse look sees it even after a refused warp.
struct PointerPosition {
  int x = 0;
  int y = 0;
};

// Queues one event for the window through the platform's simulated input.
void DeliverInputEvent(plat::WindowHandle window, const InputEvent& event, PointerPosition* pointer);

// Plays the lines: runPass plays one pass of the game (advancing the test
// clock); checkpoint gets each "check" name when its pass comes. Answers the
// number of passes played.
int PlayInputScript(plat::WindowHandle window, const std::vector<InputLine>& lines,
                    const std::function<void()>& runPass, const std::function<void(const std::string&)>& checkpoint);

}  // namespace testsupport
