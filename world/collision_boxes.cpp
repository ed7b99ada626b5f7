#include "world/collision_boxes.h"

// MINIMAL: no contact is found, so the new position stays as it is.
bool TestCylinderHitsBox(VECTOR3*, const ORIENTEDBOX&) { return false; }
