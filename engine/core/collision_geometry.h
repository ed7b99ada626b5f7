#pragma once
#include <vector>

#include "engine/core/math3d.h"

// The pure geometry of the contact tests, on world-space boxes and
// triangles. Box corners, edges and faces are those of GetNodeWorldBox
// (engine/core/node_bounds.h).

// A node's bounding sphere: its world box centre and the largest distance
// from it to a corner.
struct COLLISIONSPHERE {
  VECTOR3 centre;
  float radius;
};

COLLISIONSPHERE MakeBoxSphere(const VECTOR3* centre, const VECTOR3 corners[8]);
// The pre-test of every contact test: true when the spheres cannot touch.
bool SpheresApart(const COLLISIONSPHERE& a, const COLLISIONSPHERE& b);

// A mesh triangle in world space with what the tests need of it.
struct WORLDTRIANGLE {
  VECTOR3 p, q, r;
  VECTOR3 centroid;  // (p + q + r) * 0.3333
  float radius;      // largest distance from the centroid to a corner
  VECTOR3 normal;    // TriangleNormal(p, q, r)
  float offset;      // -(normal . p)
  int primitive;     // index in the mesh's primitive list, lines counted
};

WORLDTRIANGLE MakeWorldTriangle(const VECTOR3* p, const VECTOR3* q, const VECTOR3* r, int primitive);

// Box against box; the box of the larger sphere (on a tie b) is the big one.
bool BoxesTouch(const VECTOR3 a[8], const COLLISIONSPHERE& sphereA, const VECTOR3 b[8], const COLLISIONSPHERE& sphereB);
// The primitive index of the first triangle that an edge of the box passes
// through, or -1.
int FindBoxTriangleContact(const VECTOR3 box[8], const COLLISIONSPHERE& sphere,
                           const std::vector<WORLDTRIANGLE>& triangles);
// Triangle sets against each other; on contact the two primitive indices.
bool FindTriangleContact(const std::vector<WORLDTRIANGLE>& a, const std::vector<WORLDTRIANGLE>& b, int* primitiveA,
                         int* primitiveB);
