#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Screen-space queries through a viewport's camera: the mesh or triangle
// under a screen point, whether a point lies on a billboard, and where a
// world point lands on the screen. Viewport 0 is the default viewport. Every
// call answers 0 while the engine is closed, without a world, for a viewport
// that does not resolve, or when the viewport has no camera with its data.
// On the software path with line doubling, screen y is in full-height rows.
//
// Candidates: the first count handles of the array (the search ends early at
// a handle that does not resolve), or the whole render list when the array
// is null. Only meshes that are not pre-transformed and not level-of-detail
// members count, and only when their visibility (for a group owner: that of
// the group's node now shown) differs from skipVisibility.

// The last candidate in candidate order whose world box lies under the point
// (no depth order).
int PickNode(HOBJECT viewport, const HOBJECT* candidates, int count, int skipVisibility, int sx, int sy, HOBJECT* node);
// The nearest triangle facing the camera under the point, beyond the near
// plane: its node, world point, primitive index and normal (the view-space
// normal turned back to the world, not made unit length). Outputs optional.
int PickNodeTriangle(HOBJECT viewport, const HOBJECT* candidates, int count, int skipVisibility, int sx, int sy,
                     HOBJECT* node, VECTOR3* point, int* primitive, VECTOR3* normal);
// Whether the point lies strictly inside the billboard's projected rectangle.
int HitTestBillboard(HOBJECT viewport, HOBJECT billboard, int sx, int sy);
// Mode 1: camera-window coordinates, y up (0 outside the window or the depth
// range); mode 2: viewport pixels from its top-left corner, y down (0 outside
// the viewport, no depth check). With wantDepth out->z gets the depth (0 at
// the near plane, 1 at the far one). 0 for a point behind the camera.
int ProjectToScreen(HOBJECT viewport, const VECTOR3* point, VECTOR3* out, int mode, int wantDepth);
// Copies a camera node's projection matrix; 0 when the node is no camera.
int GetCameraProjection(HOBJECT camera, MATRIX44* out);
