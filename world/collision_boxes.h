#pragma once
#include "engine/core/math3d.h"

// An oriented box of a collision volume: a centre, three unit axes and the
// half extents along them.
struct ORIENTEDBOX {
  VECTOR3 centre{0, 0, 0};
  VECTOR3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  float half[3] = {0, 0, 0};
};

// positions: the new position (corrected on a hit), the previous position
// and (radius, height, unused) of a vertical cylinder moving between them.
// MINIMAL: the moving-cylinder test is not built; nothing is ever touched.
bool TestCylinderHitsBox(VECTOR3 positions[3], const ORIENTEDBOX& box);
