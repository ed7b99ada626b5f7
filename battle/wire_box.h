#pragma once
#include "engine/core/handles.h"

// The wire box a fighter carries: a hidden white mesh of a box's eight
// corners and twelve edges under the body's node, refitted to the body's
// frame box as the body plays. Enemy gauges follow it.

// The box under parent, fitted to box; 0 when no node could be made.
HOBJECT CreateWireBox(HOBJECT parent, const float box[6]);
// box: min x, y, z then max x, y, z in the parent's frame.
void FitWireBox(HOBJECT node, const float box[6]);
