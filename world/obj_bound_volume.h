#pragma once
#include <vector>

#include "world/collision_boxes.h"

// A collision volume of the walker, a character or an object: a centre, a
// radius and a height.
// MINIMAL: volumes are not built from nodes; they stay empty and far apart.
class ObjBoundVolume {
 public:
  void Build() {}
  void Follow() {}
  void RebuildBoxes() {}
  float GetGapTo(const ObjBoundVolume&) const { return 1e30f; }

  float centre[3] = {0, 0, 0};
  float radius = 0;
  float height = 0;
  std::vector<ORIENTEDBOX> boxes;  // one per node
};
