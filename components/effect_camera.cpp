#include "components/effect_camera.h"

#include <algorithm>
#include <cmath>

#include "components/effect_math.h"
#include "engine/core/lights.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

int SetCameraLookAt(HOBJECT node, const VECTOR3& eye, const VECTOR3& target, float roll) {
  if (!LookupOpenNode(node)) return 0;
  VECTOR3 d{target.x - eye.x, target.y - eye.y, target.z - eye.z};
  float h = std::sqrt(d.x * d.x + d.y * d.y);
  if (h < 1e-6f) {
    SetNodePosition(node, eye.x, eye.y, eye.z, TRANSFORM_SET);
    return 1;
  }
  float length = std::sqrt(h * h + d.z * d.z);
  float s = d.z / length, c = h / length, hx = d.x / h, hy = d.y / h;
  float rho = -roll * kDegreesToRadians;
  auto rows = [](VECTOR3 a, VECTOR3 b, VECTOR3 e) { return MATRIX34{{a, b, e, {0, 0, 0}}}; };
  MATRIX34 m;
  SetIdentityMatrix34(&m);
  MATRIX34 pitch = rows({-s, 0, c}, {0, 1, 0}, {-c, 0, -s});
  MATRIX34 heading = rows({hx, hy, 0}, {-hy, hx, 0}, {0, 0, 1});
  MATRIX34 quarter = rows({0, -1, 0}, {1, 0, 0}, {0, 0, 1});
  MATRIX34 tilt = rows({std::cos(rho), std::sin(rho), 0}, {-std::sin(rho), std::cos(rho), 0}, {0, 0, 1});
  MultiplyMatrix34(&m, &m, &pitch);
  MultiplyMatrix34(&m, &m, &heading);
  MultiplyMatrix34(&m, &quarter, &m);
  MultiplyMatrix34(&m, &tilt, &m);
  m.row[3] = eye;
  SetNodeMatrix(node, &m, TRANSFORM_SET);
  return 1;
}

void A_Camera::LookAt(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ, float roll) {
  if (!node) return;
  SetCameraLookAt(node, {eyeX, eyeZ, eyeY}, {targetX, targetZ, targetY}, roll);
}

void A_Camera::LookAtFromHere(float x, float y, float z) {
  if (!node) return;
  VECTOR3 p;
  GetPosition(&p);
  LookAt(p.x, p.y, p.z, x, y, z, 0);
}

int A_LightingModel::CreateLight(int type, float value, float r, float g, float b) {
  colour[0] = r;
  colour[1] = g;
  colour[2] = b;
  intensity = value;
  if (node) DestroyNode(node);
  node = CreateLightNode(0, type, value, colour);
  return node ? 1 : 0;
}

void A_LightingModel::SetIntensity(float value) {
  intensity = value;
  if (node) SetLightIntensity(node, value);
}

void A_LightingModel::SetColor(float r, float g, float b) {
  colour[0] = std::clamp(r, 0.0f, 1.0f);
  colour[1] = std::clamp(g, 0.0f, 1.0f);
  colour[2] = std::clamp(b, 0.0f, 1.0f);
  if (node) SetLightColor(node, colour[0], colour[1], colour[2]);
}

void A_LightingModel::GetColor(float* r, float* g, float* b) const {
  *r = colour[0];
  *g = colour[1];
  *b = colour[2];
}
