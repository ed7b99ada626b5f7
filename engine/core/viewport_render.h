#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct NODEDESC;

// One frame of the whole scene into one viewport (handle 0: the default
// viewport): clear, camera, level of detail, lights, the render-list order
// (opaque nodes nearest first, then translucent ones farthest first),
// culling and the emitters. Nothing while the engine is closed.
void RenderViewport(HOBJECT viewport, int clearColour, int clearDepth);

// A camera's composed world matrix (its parent chain, enabled nodes only)
// and the view matrix, its inverse.
void ComputeCameraMatrices(const NODEDESC* camera, MATRIX44* world, MATRIX44* view);
// A node's model-view matrix: the composed local matrices times view,
// reusing the nearest ancestor already computed this frame and taking on an
// ancestor's dirty flag. Sets the node's worldValid flag.
void ComputeModelView(NODEDESC* node, const MATRIX44& view);
