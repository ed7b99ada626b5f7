#pragma once
#include <vector>

#include "tests/engine/spatial_fixture.h"

namespace worldtest {

// A closed box mesh from lo to hi, faces wound outward.
inline HOBJECT MakeBlock(VECTOR3 lo, VECTOR3 hi) {
  std::vector<VECTOR3> p;
  for (int i = 0; i < 8; ++i)
    p.push_back({(i == 1 || i == 2 || i == 5 || i == 6) ? hi.x : lo.x,
                 (i == 2 || i == 3 || i == 6 || i == 7) ? hi.y : lo.y, i >= 4 ? hi.z : lo.z});
  return enginetest::MakeMesh(p, {{0, 3, 2},
                                  {0, 2, 1},
                                  {4, 5, 6},
                                  {4, 6, 7},
                                  {0, 1, 5},
                                  {0, 5, 4},
                                  {3, 7, 6},
                                  {3, 6, 2},
                                  {0, 4, 7},
                                  {0, 7, 3},
                                  {1, 2, 6},
                                  {1, 6, 5}});
}

}  // namespace worldtest
