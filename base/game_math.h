#pragma once
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// The game side's geometry helpers beside the engine's math library.
// Quaternions here are four floats {x, y, z, w} (MatrixToQuaternion writes
// its own order); a 3 x 3 matrix is nine floats row by row.

// A vertical prism over four x-y corners: corner 0 has the largest y,
// corner 1 the largest x, corner 2 the smallest y, corner 3 the smallest x.
struct QUADVOLUME {
  float corner[4][2];
  float zMin;
  float zMax;
};
static_assert(sizeof(QUADVOLUME) == 40, "a quad volume is ten floats");

struct POLYGONDESC {
  std::vector<VECTOR3> points;
};

struct POLYGONSETDESC {
  std::vector<POLYGONDESC> polygons;
};

// Spherical interpolation by the shorter way; a null from is the identity.
// Nearly equal ends are interpolated linearly.
void QuaternionSlerp(const float* from, const float* to, float t, float* out);
// The same without the linear shortcut; ends whose angle has a sine below
// 1e-6 (equal or opposite) give q0.
void InterpolateQuaternion(const float* q0, const float* q1, float t, float* out);
// q must be unit length.
void QuaternionToMatrix(float* out, const float* q);
// Writes {-w, x, y, z}.
void MatrixToQuaternion(const float* m, float* out);
// angle in radians; the axis is used as given (not normalised).
void AxisAngleToQuaternion(float angle, float x, float y, float z, float* out);
// out = a b; out may be a or b.
void MultiplyMatrix9(float* out, const float* a, const float* b);
// out = a b as affine transforms.
void ConcatMatrix34(const MATRIX34* a, const MATRIX34* b, MATRIX34* out);

float GetPointDistance(const VECTOR3* p, const VECTOR3* q);
// (b - a) x (c - a), not normalised.
void GetTriangleNormal(VECTOR3* out, const VECTOR3* a, const VECTOR3* b, const VECTOR3* c);
// 1 when u . v > 0.
int IsSameDirection(const VECTOR3* u, const VECTOR3* v);
// The angle between two vectors in radians: 0 for a vector of no length, pi
// for opposite ones. 0 (nothing written) when a vector is missing, else 1.
int GetAngleBetweenVectors(const VECTOR3* a, const VECTOR3* b, double* out);

// 1 when the point lies strictly inside the prism.
int IsPointInQuadVolume(const VECTOR3* point, const QUADVOLUME* quad);
// 1 when the segment crosses one of the four side faces of the axis-aligned
// box (top and bottom are not tested) strictly inside its ends (0.0001 to
// 0.9999 of its length).
int IntersectSegmentBox(const VECTOR3* start, const VECTOR3* end, const VECTOR3* halfExtents, const VECTOR3* centre);
// Crossing-number test in x and y.
int IsPointInPolygon(const POLYGONDESC* polygon, const VECTOR3* point);
// Without parity: inside any polygon. With it: inside an odd number of them,
// so that inner polygons are holes.
int IsPointInPolygonSet(const POLYGONSETDESC* set, const VECTOR3* point, int parity);

// A hidden mesh node showing the volume as two crossed diagonal planes with
// per-vertex colour ((0, 1, 1) when colour is null).
HOBJECT CreateQuadVolumeModel(const QUADVOLUME* quad, const float* colour);
// Appends the closed outlines of the mesh's boundary (from a temporary
// terrain of it) to the set; each outline's points are its edges' starts.
void BuildOutlinePolygons(HOBJECT meshNode, POLYGONSETDESC* set);

// A message box with an empty caption.
void ShowMessage(const char* text);
int IsEmptyString(const char* text);
std::string GetCurrentDir();
