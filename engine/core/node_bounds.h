#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct NODEDESC;

// Node bounds: a box with its centre and the squared half of its largest
// extent. The world-box corners are numbered
//   0 (max x, max y, min z)  1 (min x, max y, min z)  2 (min x, max y, max z)
//   3 (max x, max y, max z)  4 (max x, min y, min z)  5 (min x, min y, min z)
//   6 (min x, min y, max z)  7 (max x, min y, max z)
// with the edges and faces below; a face's outward normal is
// TriangleNormal(c3, c0, c1).
constexpr int kBoxEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 7}, {7, 6},
                                  {6, 5}, {5, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
constexpr int kBoxFaces[6][4] = {{0, 1, 2, 3}, {3, 7, 4, 0}, {4, 7, 6, 5}, {5, 6, 2, 1}, {0, 4, 5, 1}, {3, 2, 6, 7}};

// Recomputes a mesh's per-frame boxes and bounds as EndNode does.
void UpdateMeshBounds(HOBJECT node);
// min x, max x, min y, max y, min z, max z, each times its axis scale.
void GetNodeBoundingBox(HOBJECT node, float out[6]);
// Composed without the view; each output optional; corners holds eight.
void GetNodeWorldBox(HOBJECT node, VECTOR3* centre, VECTOR3* corners, VECTOR3* scale);
void GetNodeWorldBox(const NODEDESC* node, VECTOR3* centre, VECTOR3* corners, VECTOR3* scale);

// The bounds EndNode gives a node of its kind.
void ComputeNodeBounds(NODEDESC* node);
// Squared radius from the largest extent of the bounds box.
void UpdateBoundsRadius(NODEDESC* node);
