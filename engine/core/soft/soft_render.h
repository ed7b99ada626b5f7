#pragma once
#include "engine/core/math3d.h"

struct NODEDESC;
struct VIEWPORTDESC;

// The engine's own rasteriser: the software path's frame of RenderViewport,
// and the box test both paths share.

void RenderSoftViewport(VIEWPORTDESC* viewport, int clearColour, int clearDepth);
// The node's bounds box (minimum and maximum per axis) through a
// model-view-projection matrix: 0 outside, 1 crossing, 2 inside.
int CullNodeBox(const NODEDESC* node, const MATRIX44* matrix);
