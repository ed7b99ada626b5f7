#pragma once
#include "engine/core/math3d.h"

// Oriented boxes of collision volumes and the ray, segment and moving-
// cylinder tests against them.

// A centre, three unit axes and the half extents along them (a degenerate
// edge leaves its axis and half extent 0).
struct ORIENTEDBOX {
  VECTOR3 centre{0, 0, 0};
  VECTOR3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  float half[3] = {0, 0, 0};
};

// A plane n . p + d = 0.
struct PLANEDESC {
  VECTOR3 normal{0, 0, 0};
  float d = 0;
};

// From a node's world-box centre and its eight corners (GetNodeWorldBox
// numbering): the axes run along the edges 0-1, 0-4 and 0-3.
ORIENTEDBOX BuildOrientedBox(const VECTOR3& centre, const VECTOR3 corners[8]);

// Slab test. A hit gives the entry distance, or the exit distance when the
// origin lies inside. An axis the ray runs parallel to misses unless the
// origin lies within that slab.
bool IntersectRayBox(const VECTOR3& origin, const VECTOR3& direction, const ORIENTEDBOX& box, float* t);

// The ray parameter where it meets the plane; parallel: FLT_MAX off the
// plane, 0 on it.
float IntersectRayPlane(const VECTOR3& origin, const VECTOR3& direction, const PLANEDESC& plane);

// The fraction of from..to where the segment enters the box, or leaves it
// when from lies inside; false when it does neither within the segment (and
// for a segment of length 0).
bool IntersectSegmentObb(const VECTOR3& from, const VECTOR3& to, const ORIENTEDBOX& box, float* fraction);

// positions: the new position (corrected on a hit), the previous position
// and (radius, height, unused) of a vertical cylinder moving between them.
// A touch moves the new position out to the side of the box it came from.
bool TestCylinderHitsBox(VECTOR3 positions[3], const ORIENTEDBOX& box);

// The small vector steps the collision code is written in.
inline VECTOR3 AddVectors(const VECTOR3& a, const VECTOR3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline VECTOR3 ScaledVector(const VECTOR3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }
inline void SubtractInPlace(VECTOR3* a, const VECTOR3& b) {
  a->x -= b.x;
  a->y -= b.y;
  a->z -= b.z;
}
inline void ScaleInPlace(VECTOR3* v, float s) {
  v->x *= s;
  v->y *= s;
  v->z *= s;
}
inline VECTOR3 VectorBetween(const VECTOR3& from, const VECTOR3& to) {
  return {to.x - from.x, to.y - from.y, to.z - from.z};
}
inline float Dot(const VECTOR3& a, const VECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
