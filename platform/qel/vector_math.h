#pragma once

// Vector and matrix routines of the support library. Vectors are three floats
// (x, y, z) in the Z-up world. Matrices are row-vector affine transforms:
// M12 is four rows of three floats (X axis, Y axis, Z axis, position); M16 is
// the same rows with a fourth column (0, 0, 0, 1), row-major. A product A * B
// applies A first. Angles are radians. Every output may be one of the inputs.
namespace qmz {

// v scaled to unit length; a vector shorter than 1e-6 becomes (0, 0, 0).
void NormalizeVector(float* v);
// Unit vector pointing from `from` towards `to`; (0, 0, 0) when they coincide.
void NormalizeVector(const float* from, const float* to, float* out);
// Distance between two points.
float GetVectorLength(const float* a, const float* b);
// Mode 2: heading of the step from a to b in the ground plane,
// atan2(b.y - a.y, b.x - a.x). Any other mode: the angle between a and b taken
// as directions (0 to pi; 0 when either is zero).
float GetVectorAngle(const float* a, const float* b, int mode);
// v turned counter-clockwise, seen from +Z, in the ground plane; z is kept.
void Turn2DVectorAngle(const float* v, float radians, float* out);
void VectorCross(const float* a, const float* b, float* out);
// 1 when point lies in the ground-plane sector at origin that opens `angle`
// wide (the full opening) around `direction` and reaches `distance`; the
// origin itself counts as inside.
int CheckFanRegion(const float* origin, const float* direction, const float* point, float angle, float distance);

void M12ToM16(const float* m12, float* m16);
// Drops the fourth column.
void M16ToM12(const float* m16, float* m12);
void MultiplyMatrix12(const float* a, const float* b, float* out);
void MultiplyMatrix16(const float* a, const float* b, float* out);
// The point v carried by the affine matrix m12.
void VMultiplyM12(const float* v, const float* m12, float* out);

}  // namespace qmz
