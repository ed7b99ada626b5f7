#pragma once
#include "engine/core/math3d.h"

// A non-player character of the scene.
// MINIMAL: only the position and the position hook exist; the creature, the
// routine and its poses are missing.
class CSceneNpc {
 public:
  // Called with the NPC's next position before it moves; -2 holds it.
  using PositionHook = int (*)(const VECTOR3* position);

  VECTOR3 position{0, 0, 0};
  PositionHook positionHook = nullptr;
};
