#pragma once
#include "battle/kbs_state.h"

// The hero's turn, shared by both heroes.
// MINIMAL: the hero's commands, key combinations, targets, gauges and modes
// are not built: a turn only runs the orbit camera, ticks the fighters, lets
// the battle script decide and ends the battle on Escape.
class CMasterState : public CKBSState {
 public:
  int Update(CBattleSys* sys, int frames) override;
  int Input(CBattleSys* sys, int type, int a, int b) override;
};

// The first hero's turn.
class CMVekState : public CMasterState {
 public:
  static CMVekState* Instance();
};

// The second hero's turn.
class CMYsaState : public CMasterState {
 public:
  static CMYsaState* Instance();
};
