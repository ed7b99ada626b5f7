#pragma once
#include <vector>

#include "game/util/tick_timer.h"

class CMenuAgency;

// An element of the in-game overlay.
// MINIMAL: no drawing; elements only keep what the game sets on them.
class CGMBase {
 public:
  virtual ~CGMBase();
  // Does nothing in the base.
  virtual void Notify(int, int, int, int) {}
  // Joins the overlay root; 0 when already attached or the root is null.
  int Attach(CMenuAgency* root);
  void Detach();

  CMenuAgency* root = nullptr;
};

// The overlay cursor: seven shapes, a position and a shown flag.
// MINIMAL: the shape sprites and their animation are still missing.
class CGMMouse : public CGMBase {
 public:
  static constexpr int kShapeCount = 7;

  void SetShape(int value) { shape = value; }
  void SetPosition(int px, int py) {
    x = px;
    y = py;
  }
  void Show(int on) { shown = on; }

  int shape = 0;
  int x = 0;
  int y = 0;
  int shown = 0;
  CTickTimer tickTimer;
};

// The overlay root: it ticks its elements on its own timer and takes key input.
// MINIMAL: it keeps its elements and timer only; ticking runs nothing and
// keys are not taken.
class CMenuAgency {
 public:
  // The number of ticks that fell due (0 to 4).
  int Tick();
  // 1 when the key was taken.
  int OnKey(int key, int down);

  std::vector<CGMBase*> elements;
  CTickTimer tickTimer;
};

extern CMenuAgency g_menuAgency;
