#pragma once
#include "engine/core/handles.h"

// A material of one colour: a 2 x 2 texture of it. 0 when it cannot be made.
HOBJECT MakeColorMaterial(int r, int g, int b);
// A screen quad of one colour at depth 0.01, drawn without fog. 0 when it
// cannot be made.
HOBJECT BuildColorQuad(float x, float y, float width, float height, int r, int g, int b);
