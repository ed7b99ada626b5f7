#pragma once
#include "engine/core/math3d.h"

// The small matrix and vector routines of the effect code. Effect files and
// elements are Y-up with angles in radians; the engine is Z-up in degrees.
// 4 x 4 matrices are row-major with points as row vectors.
namespace effectmath {

void ZeroMatrix(MATRIX44* out);
void IdentityMatrix(MATRIX44* out);
// out = b x a.
void MatrixProduct(MATRIX44* out, const MATRIX44* a, const MATRIX44* b);
void TranslationMatrix(MATRIX44* out, float x, float y, float z);
void RotationX(MATRIX44* out, float radians);
void RotationY(MATRIX44* out, float radians);
void RotationZ(MATRIX44* out, float radians);
// axis 0 x, 1 y, 2 z; any other value gives the identity.
void RotationAbout(MATRIX44* out, int axis, float radians);
// (x, y, z, 1) x m, divided by the resulting w.
VECTOR3 TransformPoint(const VECTOR3& p, const MATRIX44& m);
void SwapYZ(VECTOR3* v);
inline VECTOR3 SwappedYZ(VECTOR3 v) { return {v.x, v.z, v.y}; }
// Axis code 1 gives 2 and 2 gives 1; others are unchanged.
int SwapAxisCode(int axis);
// The engine rotation (in Z-up coordinates) turning a onto b, all three taken
// in effect coordinates. Identity and 0 when they already agree; c is the
// axis when they are (nearly) opposite. 1 otherwise.
int RotationBetween(const VECTOR3& a, const VECTOR3& b, const VECTOR3& c, MATRIX44* out);
// The rotation of a quaternion (cos(angle / 2), sin(angle / 2) * axis).
void QuaternionRotation(float angle, const VECTOR3& axis, MATRIX34* out);
// The upper-left 3 x 3 of m with no translation, and back.
MATRIX34 Rotation34(const MATRIX44& m);
MATRIX44 Matrix44(const MATRIX34& m);

}  // namespace effectmath
