#pragma once

// The engine's small linear-algebra library.
//
// Conventions every caller relies on:
// - The world is Z-up; "horizontal" means the x-y plane.
// - Points are row vectors: p' = p * M. A product A * B applies A first, so a
//   child's world matrix is its local matrix times its parent's.
// - Angles are degrees. A positive angle turns counter-clockwise seen from the
//   positive end of the axis (right-handed): +90 about Z carries +X to +Y.
// - Every function takes pointers to caller-owned records, allocates nothing
//   and keeps no state. Outputs may be the same record as an input.

// The game was tuned with these slightly inexact factors; keep them as they are.
constexpr float kDegreesToRadians = 0.01745328f;
constexpr float kDegreesToHalfRadians = 0.00872664f;  // half an angle, for quaternions
constexpr float kRadiansToDegrees = 57.295826f;
constexpr float kRadiansToTwiceDegrees = 114.59165f;  // twice an angle, from quaternions

struct VECTOR3 {
  float x, y, z;
};

// Affine transform as four rows: row[0] the X axis, row[1] the Y axis,
// row[2] the Z axis, row[3] the position.
// p' = p.x * row[0] + p.y * row[1] + p.z * row[2] + row[3].
struct MATRIX34 {
  VECTOR3 row[4];
};

// Row-major 4x4: element (r, c) is m[4 * r + c]. m[12], m[13], m[14] hold the
// translation; m[3], m[7], m[11], m[15] the projective column.
struct MATRIX44 {
  float m[16];
};

// w = cos(angle / 2); (x, y, z) = sin(angle / 2) * unit axis.
struct QUATERNION {
  float w, x, y, z;
};

// Mostly answers preferred (when it lies in [low, high]), otherwise a value of
// [low, high] from a scrambled number of draws of plat::Rand. Answers low,
// without drawing, when high < low.
int RandomInRange(int low, int high, int preferred);

void SetIdentityMatrix34(MATRIX34* m);
void SetIdentityMatrix44(MATRIX44* m);

float DotVector3(const VECTOR3* a, const VECTOR3* b);
float DotVector2(const VECTOR3* a, const VECTOR3* b);  // z ignored
void CrossVector3(VECTOR3* out, const VECTOR3* a, const VECTOR3* b);
// a x b at unit length; (0, 0, 0) when its squared length is below 1e-6.
void CrossVector3Normalized(VECTOR3* out, const VECTOR3* a, const VECTOR3* b);
// Unit normal on the side from which a, b, c run counter-clockwise.
void TriangleNormal(VECTOR3* out, const VECTOR3* a, const VECTOR3* b, const VECTOR3* c);
// Unit length; (0, 0, 0) when the length is below 1e-6.
void NormalizeVector3(VECTOR3* v);
// x and y to unit length, z untouched; a vector with x = y = 0 stays as it is.
void NormalizeVector2(VECTOR3* v);

float SquaredDistance3(const VECTOR3* a, const VECTOR3* b);
// Distance over the first n of x, y, z (2: horizontal, 3: full); n is clamped to 0..3.
float GetPointDistanceN(const VECTOR3* a, const VECTOR3* b, int n);
// Twice the signed area of the x-y projection; positive when a, b, c run
// counter-clockwise seen from +Z.
float SignedArea2D(const VECTOR3* a, const VECTOR3* b, const VECTOR3* c);
float TriangleArea(const VECTOR3* a, const VECTOR3* b, const VECTOR3* c);
// x to the power y for x >= 0; 0 when x is 0.
float PowerFloat(float x, float y);

// a * b as affine transforms.
void MultiplyMatrix34(MATRIX34* out, const MATRIX34* a, const MATRIX34* b);
// a (with the fourth column 0, 0, 0, 1) times b.
void MultiplyMatrix34By44(MATRIX44* out, const MATRIX34* a, const MATRIX44* b);
void MultiplyMatrix44(MATRIX44* out, const MATRIX44* a, const MATRIX44* b);
// Note the order: source first.
void ConvertMatrix34To44(const MATRIX34* src, MATRIX44* dst);
// out[4 * i + k] = src->m[4 * k + i] for i = 0..2: the first three columns of
// src, each as four floats.
void TransposeMatrix44To3x4(const MATRIX44* src, float out[12]);
// (p, 1) * m, first three components, no perspective divide.
void TransformPointByMatrix44(VECTOR3* out, const VECTOR3* p, const MATRIX44* m);

// Source first. A singular matrix gives very large values, never an error.
void InvertMatrix44(const MATRIX44* src, MATRIX44* dst);
// Inverse of an n x n row-major matrix, n from 1 to 15; any other n leaves dst
// untouched. A zero pivot is taken as 1e-7.
void InvertMatrixN(const float* src, float* dst, int n);

// axis is expected to be unit length.
void MakeQuaternionFromAxisAngle(float degrees, const VECTOR3* axis, QUATERNION* out);
// q is expected to be unit length; the position row becomes 0.
void QuaternionToMatrix34(const QUATERNION* q, MATRIX34* out);

// axis: 0 X, 1 Y, 2 Z (any other value gives the identity).
void BuildAxisRotationMatrix44(MATRIX44* out, int axis, float degrees);
// Rotation by degrees about the line through point with direction axis,
// counter-clockwise seen from the tip of axis; axis need not be unit length.
void BuildLineRotationMatrix44(MATRIX44* out, const VECTOR3* point, const VECTOR3* axis, float degrees);
void BuildLineRotationMatrix34(MATRIX34* out, const VECTOR3* point, const VECTOR3* axis, float degrees);

// Right-handed perspective looking along -Z, depth 0 at near and 1 at far.
// aperture is the film width in inches, lens the focal length in millimetres;
// (left, bottom, width, height) select the window in units of the half view,
// (-1, -1, 2, 2) being the whole symmetric view.
void BuildPerspectiveMatrix(MATRIX44* out, float aspect, float lens, float aperture, float near, float far, float left,
                            float bottom, float width, float height);
// A view viewWidth wide and viewWidth / aspect high, depth 0 at near and 1 at far.
void BuildOrthographicMatrix(MATRIX44* out, float aspect, float near, float far, float viewWidth);
