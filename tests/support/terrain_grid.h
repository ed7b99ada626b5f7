#pragma once
#include "engine/core/handles.h"

namespace testsupport {

// A flat mesh at height z of cells x cells squares of the given side, two
// triangles each, from (x0, y0); 0 while the engine is closed.
HOBJECT MakeGridMesh(float x0, float y0, float side, int cells, float z);

}  // namespace testsupport
