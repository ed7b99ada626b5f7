#pragma once

class IBsCreature;

// The party leader's avatar in the field.
// MINIMAL: no avatar exists yet; it never moves (Step 0).
class CFieldWalker {
 public:
  // 1 when the walker moved.
  int Step(int, int) { return 0; }
  void SetAction(int value) { action = value; }
  void ShowCreature(int on) { creatureShown = on; }

  IBsCreature* creature = nullptr;
  int action = 2;  // 2 standing
  int idleCounter = 0;
  int idleAllowed = 1;
  int creatureShown = 1;
  int heroForm = 0;  // the leader hero's form
  float position[3] = {0, 0, 0};
  float direction[3] = {0, 1, 0};
};
