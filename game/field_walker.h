#pragma once
#include "engine/core/math3d.h"

class IBsCreature;

// The party leader's avatar in the field.
// MINIMAL: no avatar exists yet; it never moves (Step 0).
class CFieldWalker {
 public:
  // 1 when the walker moved.
  int Step(int, int) { return 0; }
  void SetAction(int value) { action = value; }
  void ShowCreature(int on) { creatureShown = on; }
  // MINIMAL: the kept position and facing stand in for the node's.
  void GetPosition(VECTOR3* pos, VECTOR3* dir) const {
    if (pos) *pos = {position[0], position[1], position[2]};
    if (dir) *dir = {direction[0], direction[1], direction[2]};
  }

  IBsCreature* creature = nullptr;
  int action = 2;  // 2 standing
  int idleCounter = 0;
  int idleAllowed = 1;
  int creatureShown = 1;
  int heroForm = 0;  // the leader hero's form
  float position[3] = {0, 0, 0};
  float direction[3] = {0, 1, 0};
};
