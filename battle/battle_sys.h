#pragma once
#include "engine/core/handles.h"

// MINIMAL: the battle system holds only the hero body's node here; its fighters, states, arena
// scene, input, shots and heads-up display are not built yet.
class CBattleSys {
 public:
  HOBJECT heroBodyNode = 0;
};
