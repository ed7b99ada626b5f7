#include "platform/qel/view_matrix.h"

#include <cmath>

#include "platform/qel/vector_math.h"

namespace qmz {

void SphereDirection(float theta, float phi, float* out) {
  out[0] = std::sin(phi) * std::cos(theta);
  out[1] = std::sin(phi) * std::sin(theta);
  out[2] = std::cos(phi);
}

void BuildViewMatrix12(const float* eye, const float* forward, float roll, float* m12) {
  const float worldUp[3] = {0.0f, 0.0f, 1.0f};
  float right[3], up[3];
  VectorCross(forward, worldUp, right);
  NormalizeVector(right);
  // Looking straight up or down leaves the heading undefined; any level right axis will do.
  if (right[0] == 0.0f && right[1] == 0.0f && right[2] == 0.0f) right[0] = 1.0f;
  VectorCross(right, forward, up);
  NormalizeVector(up);
  float c = std::cos(roll), s = std::sin(roll);
  for (int i = 0; i < 3; ++i) {
    m12[i] = c * right[i] + s * up[i];
    m12[3 + i] = -s * right[i] + c * up[i];
    m12[6 + i] = -forward[i];
    m12[9 + i] = eye[i];
  }
}

}  // namespace qmz
