#include "components/effect_math.h"

#include <cmath>

namespace effectmath {

void ZeroMatrix(MATRIX44* out) {
  for (float& v : out->m) v = 0;
}

void IdentityMatrix(MATRIX44* out) { SetIdentityMatrix44(out); }

void MatrixProduct(MATRIX44* out, const MATRIX44* a, const MATRIX44* b) { MultiplyMatrix44(out, b, a); }

void TranslationMatrix(MATRIX44* out, float x, float y, float z) {
  IdentityMatrix(out);
  out->m[12] = x;
  out->m[13] = y;
  out->m[14] = z;
}

namespace {
// Sets the 2 x 2 block of rows and columns i, j to (c, -s; s, c).
void Turn(MATRIX44* out, int i, int j, float radians) {
  IdentityMatrix(out);
  float c = std::cos(radians), s = std::sin(radians);
  out->m[4 * i + i] = c;
  out->m[4 * i + j] = -s;
  out->m[4 * j + i] = s;
  out->m[4 * j + j] = c;
}
}  // namespace

void RotationX(MATRIX44* out, float radians) { Turn(out, 1, 2, radians); }
void RotationY(MATRIX44* out, float radians) { Turn(out, 2, 0, radians); }
void RotationZ(MATRIX44* out, float radians) { Turn(out, 0, 1, radians); }

void RotationAbout(MATRIX44* out, int axis, float radians) {
  switch (axis) {
    case 0: RotationX(out, radians); break;
    case 1: RotationY(out, radians); break;
    case 2: RotationZ(out, radians); break;
    default: IdentityMatrix(out);
  }
}

VECTOR3 TransformPoint(const VECTOR3& p, const MATRIX44& m) {
  float r[4];
  for (int c = 0; c < 4; ++c) r[c] = p.x * m.m[c] + p.y * m.m[4 + c] + p.z * m.m[8 + c] + m.m[12 + c];
  if (r[3] == 0) return {r[0], r[1], r[2]};
  return {r[0] / r[3], r[1] / r[3], r[2] / r[3]};
}

void SwapYZ(VECTOR3* v) { *v = SwappedYZ(*v); }

int SwapAxisCode(int axis) { return axis == 1 ? 2 : axis == 2 ? 1 : axis; }

void QuaternionRotation(float angle, const VECTOR3& axis, MATRIX34* out) {
  float s = std::sin(angle / 2);
  QUATERNION q{std::cos(angle / 2), s * axis.x, s * axis.y, s * axis.z};
  QuaternionToMatrix34(&q, out);
}

int RotationBetween(const VECTOR3& a0, const VECTOR3& b0, const VECTOR3& c0, MATRIX44* out) {
  VECTOR3 a = SwappedYZ(a0), b = SwappedYZ(b0), c = SwappedYZ(c0);
  float e = DotVector3(&a, &b);
  if (std::fabs(e - 1) < 1e-6f) {
    IdentityMatrix(out);
    return 0;
  }
  VECTOR3 cross;
  CrossVector3(&cross, &a, &b);
  float length = std::sqrt(DotVector3(&cross, &cross));
  // Nearly opposite directions have no usable cross product.
  VECTOR3 axis = c;
  if (length >= 1e-6f) axis = {cross.x / length, cross.y / length, cross.z / length};
  MATRIX34 rows;
  QuaternionRotation(std::acos(std::fmax(-1.0f, std::fmin(1.0f, e))), axis, &rows);
  *out = Matrix44(rows);
  out->m[12] = out->m[13] = out->m[14] = 0;
  return 1;
}

MATRIX34 Rotation34(const MATRIX44& m) {
  MATRIX34 out{};
  for (int r = 0; r < 3; ++r) out.row[r] = {m.m[4 * r], m.m[4 * r + 1], m.m[4 * r + 2]};
  return out;
}

MATRIX44 Matrix44(const MATRIX34& m) {
  MATRIX44 out;
  ConvertMatrix34To44(&m, &out);
  return out;
}

}  // namespace effectmath
