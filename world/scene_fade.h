#pragma once
#include "engine/core/handles.h"

// A full-screen black quad that fades the view to black (direction 0) or
// from black to clear (direction non-zero) over a number of steps. A held
// plane never ends by itself: its owner replaces or removes it.
class CFadePlane {
 public:
  CFadePlane(int direction, int frames, int hold);
  ~CFadePlane();
  CFadePlane(const CFadePlane&) = delete;
  CFadePlane& operator=(const CFadePlane&) = delete;

  // One step per tick; 1 when an unheld fade has ended (the owner deletes it).
  int Step();
  // Still on its way: a held plane that ran out counts as done.
  bool IsFading() const { return framesLeft > 0; }

  int framesLeft;
  float alpha;
  float step;
  int direction;
  int hold;
  HOBJECT node = 0;
};
