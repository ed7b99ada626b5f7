#include "platform/qel/vector_math.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qmz {

void NormalizeVector(float* v) {
  float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length < 1e-6f) {
    v[0] = v[1] = v[2] = 0.0f;
    return;
  }
  v[0] /= length;
  v[1] /= length;
  v[2] /= length;
}

void NormalizeVector(const float* from, const float* to, float* out) {
  float d[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
  NormalizeVector(d);
  std::memcpy(out, d, sizeof d);
}

float GetVectorLength(const float* a, const float* b) {
  float dx = b[0] - a[0], dy = b[1] - a[1], dz = b[2] - a[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float GetVectorAngle(const float* a, const float* b, int mode) {
  if (mode == 2) return std::atan2(b[1] - a[1], b[0] - a[0]);
  float la = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
  float lb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
  if (la < 1e-6f || lb < 1e-6f) return 0.0f;
  float c = (a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / (la * lb);
  return std::acos(std::clamp(c, -1.0f, 1.0f));
}

void Turn2DVectorAngle(const float* v, float radians, float* out) {
  float c = std::cos(radians), s = std::sin(radians);
  float x = v[0] * c - v[1] * s;
  float y = v[0] * s + v[1] * c;
  out[0] = x;
  out[1] = y;
  out[2] = v[2];
}

void VectorCross(const float* a, const float* b, float* out) {
  float r[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  std::memcpy(out, r, sizeof r);
}

int CheckFanRegion(const float* origin, const float* direction, const float* point, float angle, float distance) {
  float dx = point[0] - origin[0], dy = point[1] - origin[1];
  float reach = std::sqrt(dx * dx + dy * dy);
  if (reach > distance) return 0;
  if (reach < 1e-6f) return 1;
  float dirLength = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1]);
  if (dirLength < 1e-6f) return 0;
  float c = (dx * direction[0] + dy * direction[1]) / (reach * dirLength);
  return std::acos(std::clamp(c, -1.0f, 1.0f)) <= angle * 0.5f ? 1 : 0;
}

void M12ToM16(const float* m12, float* m16) {
  float r[16];
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) r[row * 4 + col] = m12[row * 3 + col];
    r[row * 4 + 3] = row == 3 ? 1.0f : 0.0f;
  }
  std::memcpy(m16, r, sizeof r);
}

void M16ToM12(const float* m16, float* m12) {
  float r[12];
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 3; ++col) r[row * 3 + col] = m16[row * 4 + col];
  std::memcpy(m12, r, sizeof r);
}

void MultiplyMatrix12(const float* a, const float* b, float* out) {
  float r[12];
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) {
      float sum = row == 3 ? b[9 + col] : 0.0f;
      for (int k = 0; k < 3; ++k) sum += a[row * 3 + k] * b[k * 3 + col];
      r[row * 3 + col] = sum;
    }
  }
  std::memcpy(out, r, sizeof r);
}

void MultiplyMatrix16(const float* a, const float* b, float* out) {
  float r[16];
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + col];
      r[row * 4 + col] = sum;
    }
  }
  std::memcpy(out, r, sizeof r);
}

void VMultiplyM12(const float* v, const float* m12, float* out) {
  float r[3];
  for (int col = 0; col < 3; ++col) r[col] = v[0] * m12[col] + v[1] * m12[3 + col] + v[2] * m12[6 + col] + m12[9 + col];
  std::memcpy(out, r, sizeof r);
}

}  // namespace qmz
