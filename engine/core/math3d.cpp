#include "engine/core/math3d.h"

#include <cmath>

#include "platform/crt.h"

int RandomInRange(int low, int high, int preferred) {
  if (high < low) return low;
  if (low <= preferred && preferred <= high && plat::Rand() % 4 != 0) return preferred;
  // Wide in 64 bits so a range spanning the whole int cannot overflow.
  const long long span = static_cast<long long>(high) - low + 1;
  const int count = plat::Rand() % 20 + 1;
  long long pick = 0;
  for (int i = 0; i < count; ++i) pick = plat::Rand() % span;
  return static_cast<int>(low + pick);
}

void SetIdentityMatrix34(MATRIX34* m) {
  m->row[0] = {1, 0, 0};
  m->row[1] = {0, 1, 0};
  m->row[2] = {0, 0, 1};
  m->row[3] = {0, 0, 0};
}

void SetIdentityMatrix44(MATRIX44* m) {
  for (int i = 0; i < 16; ++i) m->m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

float DotVector3(const VECTOR3* a, const VECTOR3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

float DotVector2(const VECTOR3* a, const VECTOR3* b) { return a->x * b->x + a->y * b->y; }

void CrossVector3(VECTOR3* out, const VECTOR3* a, const VECTOR3* b) {
  const VECTOR3 r = {a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
  *out = r;
}

void CrossVector3Normalized(VECTOR3* out, const VECTOR3* a, const VECTOR3* b) {
  VECTOR3 r;
  CrossVector3(&r, a, b);
  const float squared = DotVector3(&r, &r);
  if (squared < 1e-6f) {
    *out = {0, 0, 0};
    return;
  }
  const float inv = 1.0f / std::sqrt(squared);
  *out = {r.x * inv, r.y * inv, r.z * inv};
}

void TriangleNormal(VECTOR3* out, const VECTOR3* a, const VECTOR3* b, const VECTOR3* c) {
  VECTOR3 u = {c->x - b->x, c->y - b->y, c->z - b->z};
  VECTOR3 v = {a->x - b->x, a->y - b->y, a->z - b->z};
  NormalizeVector3(&u);
  NormalizeVector3(&v);
  CrossVector3Normalized(out, &u, &v);
}

void NormalizeVector3(VECTOR3* v) {
  const float length = std::sqrt(DotVector3(v, v));
  if (length < 1e-6f) {
    *v = {0, 0, 0};
    return;
  }
  const float inv = 1.0f / length;
  v->x *= inv;
  v->y *= inv;
  v->z *= inv;
}

void NormalizeVector2(VECTOR3* v) {
  const float squared = v->x * v->x + v->y * v->y;
  if (squared == 0.0f) return;  // a zero direction would turn into NaNs
  const float inv = 1.0f / std::sqrt(squared);
  v->x *= inv;
  v->y *= inv;
}

float SquaredDistance3(const VECTOR3* a, const VECTOR3* b) {
  const float dx = a->x - b->x, dy = a->y - b->y, dz = a->z - b->z;
  return dx * dx + dy * dy + dz * dz;
}

float GetPointDistanceN(const VECTOR3* a, const VECTOR3* b, int n) {
  const float da[3] = {a->x - b->x, a->y - b->y, a->z - b->z};
  float sum = 0;
  for (int i = 0; i < n && i < 3; ++i) sum += da[i] * da[i];
  return std::sqrt(sum);
}

float SignedArea2D(const VECTOR3* a, const VECTOR3* b, const VECTOR3* c) {
  return a->x * (b->y - c->y) + b->x * (c->y - a->y) + c->x * (a->y - b->y);
}

float TriangleArea(const VECTOR3* a, const VECTOR3* b, const VECTOR3* c) {
  const VECTOR3 e1 = {b->x - a->x, b->y - a->y, b->z - a->z};
  const VECTOR3 e2 = {c->x - b->x, c->y - b->y, c->z - b->z};
  VECTOR3 n;
  CrossVector3(&n, &e1, &e2);
  return 0.5f * std::sqrt(DotVector3(&n, &n));
}

float PowerFloat(float x, float y) {
  if (x == 0.0f) return 0.0f;
  return std::exp2(y * std::log2(x));
}

void MultiplyMatrix34(MATRIX34* out, const MATRIX34* a, const MATRIX34* b) {
  MATRIX34 r;
  for (int i = 0; i < 4; ++i) {
    const VECTOR3& p = a->row[i];
    r.row[i] = {p.x * b->row[0].x + p.y * b->row[1].x + p.z * b->row[2].x,
                p.x * b->row[0].y + p.y * b->row[1].y + p.z * b->row[2].y,
                p.x * b->row[0].z + p.y * b->row[1].z + p.z * b->row[2].z};
  }
  r.row[3].x += b->row[3].x;
  r.row[3].y += b->row[3].y;
  r.row[3].z += b->row[3].z;
  *out = r;
}

void MultiplyMatrix34By44(MATRIX44* out, const MATRIX34* a, const MATRIX44* b) {
  MATRIX44 a44;
  ConvertMatrix34To44(a, &a44);
  MultiplyMatrix44(out, &a44, b);
}

void MultiplyMatrix44(MATRIX44* out, const MATRIX44* a, const MATRIX44* b) {
  MATRIX44 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a->m[4 * i + k] * b->m[4 * k + j];
      r.m[4 * i + j] = sum;
    }
  }
  *out = r;
}

void ConvertMatrix34To44(const MATRIX34* src, MATRIX44* dst) {
  MATRIX44 r;
  for (int i = 0; i < 4; ++i) {
    r.m[4 * i + 0] = src->row[i].x;
    r.m[4 * i + 1] = src->row[i].y;
    r.m[4 * i + 2] = src->row[i].z;
    r.m[4 * i + 3] = (i == 3) ? 1.0f : 0.0f;
  }
  *dst = r;
}

void TransposeMatrix44To3x4(const MATRIX44* src, float out[12]) {
  float r[12];
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 4; ++k) r[4 * i + k] = src->m[4 * k + i];
  }
  for (int i = 0; i < 12; ++i) out[i] = r[i];
}

void TransformPointByMatrix44(VECTOR3* out, const VECTOR3* p, const MATRIX44* m) {
  const float* e = m->m;
  const VECTOR3 r = {p->x * e[0] + p->y * e[4] + p->z * e[8] + e[12], p->x * e[1] + p->y * e[5] + p->z * e[9] + e[13],
                     p->x * e[2] + p->y * e[6] + p->z * e[10] + e[14]};
  *out = r;
}

void InvertMatrix44(const MATRIX44* src, MATRIX44* dst) { InvertMatrixN(src->m, dst->m, 4); }

void InvertMatrixN(const float* src, float* dst, int n) {
  constexpr int kMax = 15;
  if (n < 1 || n > kMax) return;
  float a[kMax][kMax];
  float scale[kMax];
  int perm[kMax];
  for (int i = 0; i < n; ++i) {
    float largest = 0;
    for (int j = 0; j < n; ++j) {
      a[i][j] = src[i * n + j];
      largest = std::fmax(largest, std::fabs(a[i][j]));
    }
    // A zero row stays zero through the reduction, so any finite scale will do.
    scale[i] = (largest > 0) ? 1.0f / largest : 1.0f;
  }

  // Crout's reduction, column by column, with implicit partial pivoting.
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < j; ++i) {
      float sum = a[i][j];
      for (int k = 0; k < i; ++k) sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
    }
    float best = 0;
    int pivot = j;
    for (int i = j; i < n; ++i) {
      float sum = a[i][j];
      for (int k = 0; k < j; ++k) sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
      const float merit = scale[i] * std::fabs(sum);
      if (merit >= best) {
        best = merit;
        pivot = i;
      }
    }
    if (pivot != j) {
      for (int k = 0; k < n; ++k) {
        const float t = a[pivot][k];
        a[pivot][k] = a[j][k];
        a[j][k] = t;
      }
      scale[pivot] = scale[j];
    }
    perm[j] = pivot;
    // A singular matrix is not an error here: it just yields huge values.
    if (a[j][j] == 0.0f) a[j][j] = 1e-7f;
    const float inv = 1.0f / a[j][j];
    for (int i = j + 1; i < n; ++i) a[i][j] *= inv;
  }

  // One forward and back substitution per column of the identity.
  for (int col = 0; col < n; ++col) {
    float b[kMax];
    for (int i = 0; i < n; ++i) b[i] = (i == col) ? 1.0f : 0.0f;
    int first = -1;
    for (int i = 0; i < n; ++i) {
      float sum = b[perm[i]];
      b[perm[i]] = b[i];
      if (first >= 0) {
        for (int k = first; k < i; ++k) sum -= a[i][k] * b[k];
      } else if (sum != 0.0f) {
        first = i;
      }
      b[i] = sum;
    }
    for (int i = n - 1; i >= 0; --i) {
      float sum = b[i];
      for (int k = i + 1; k < n; ++k) sum -= a[i][k] * b[k];
      b[i] = sum / a[i][i];
    }
    for (int i = 0; i < n; ++i) dst[i * n + col] = b[i];
  }
}

void MakeQuaternionFromAxisAngle(float degrees, const VECTOR3* axis, QUATERNION* out) {
  const float half = degrees * kDegreesToHalfRadians;
  const float s = std::sin(half);
  *out = {std::cos(half), s * axis->x, s * axis->y, s * axis->z};
}

void QuaternionToMatrix34(const QUATERNION* q, MATRIX34* out) {
  const float w = q->w, x = q->x, y = q->y, z = q->z;
  out->row[0] = {1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)};
  out->row[1] = {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)};
  out->row[2] = {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)};
  out->row[3] = {0, 0, 0};
}

void BuildAxisRotationMatrix44(MATRIX44* out, int axis, float degrees) {
  SetIdentityMatrix44(out);
  if (axis < 0 || axis > 2) return;
  // The two rows that turn: (Y, Z) about X, (Z, X) about Y, (X, Y) about Z.
  const int b = (axis + 1) % 3;
  const int c = (axis + 2) % 3;
  const float radians = degrees * kDegreesToRadians;
  const float cs = std::cos(radians), sn = std::sin(radians);
  out->m[4 * b + b] = cs;
  out->m[4 * c + c] = cs;
  out->m[4 * b + c] = sn;
  out->m[4 * c + b] = -sn;
}

namespace {

void SetTranslation44(MATRIX44* out, float x, float y, float z) {
  SetIdentityMatrix44(out);
  out->m[12] = x;
  out->m[13] = y;
  out->m[14] = z;
}

}  // namespace

void BuildLineRotationMatrix44(MATRIX44* out, const VECTOR3* point, const VECTOR3* axis, float degrees) {
  const VECTOR3 p = *point;
  const VECTOR3 d = *axis;
  MATRIX44 r;
  if (d.x == 0.0f && d.y == 0.0f) {
    const float turn = (d.z > 0) ? degrees : (d.z < 0) ? -degrees : 0.0f;
    BuildAxisRotationMatrix44(&r, 2, turn);
  } else {
    // A carries the unit axis onto +X; turn about X there and carry back.
    const float m = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const float o = std::sqrt(d.x * d.x + d.y * d.y);
    const float mo = m * o;
    const float columns[3][3] = {
        {d.x / m, d.y / m, d.z / m}, {-d.y / o, d.x / o, 0}, {-d.z * d.x / mo, -d.z * d.y / mo, o * o / mo}};
    MATRIX44 toX, fromX, rx;
    SetIdentityMatrix44(&toX);
    SetIdentityMatrix44(&fromX);
    for (int col = 0; col < 3; ++col) {
      for (int row = 0; row < 3; ++row) {
        toX.m[4 * row + col] = columns[col][row];
        fromX.m[4 * col + row] = columns[col][row];
      }
    }
    BuildAxisRotationMatrix44(&rx, 0, degrees);
    MultiplyMatrix44(&r, &toX, &rx);
    MultiplyMatrix44(&r, &r, &fromX);
  }
  MATRIX44 t;
  SetTranslation44(&t, -p.x, -p.y, -p.z);
  MultiplyMatrix44(&r, &t, &r);
  SetTranslation44(&t, p.x, p.y, p.z);
  MultiplyMatrix44(out, &r, &t);
}

void BuildLineRotationMatrix34(MATRIX34* out, const VECTOR3* point, const VECTOR3* axis, float degrees) {
  MATRIX44 r;
  BuildLineRotationMatrix44(&r, point, axis, degrees);
  for (int i = 0; i < 4; ++i) out->row[i] = {r.m[4 * i], r.m[4 * i + 1], r.m[4 * i + 2]};
}

void BuildPerspectiveMatrix(MATRIX44* out, float aspect, float lens, float aperture, float near, float far, float left,
                            float bottom, float width, float height) {
  const float h = near * aperture / (lens * 0.07874016f);  // 1/12.7: half an inch in mm
  const float w = h / aspect;
  const float l = h * left, r = h * (left + width);
  const float b = w * bottom, t = w * (bottom + height);
  MATRIX44 p = {};
  p.m[0] = 2 * near / (r - l);
  p.m[5] = 2 * near / (t - b);
  p.m[8] = (r + l) / (r - l);
  p.m[9] = (t + b) / (t - b);
  p.m[10] = far / (near - far);
  p.m[11] = -1;
  p.m[14] = near * far / (near - far);
  *out = p;
}

void BuildOrthographicMatrix(MATRIX44* out, float aspect, float near, float far, float viewWidth) {
  MATRIX44 p = {};
  p.m[0] = 2 / viewWidth;
  p.m[5] = 2 * aspect / viewWidth;
  p.m[10] = 1 / (near - far);
  p.m[14] = near / (near - far);
  p.m[15] = 1;
  *out = p;
}
