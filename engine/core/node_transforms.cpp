#include "engine/core/node_transforms.h"

#include <cmath>

#include "engine/core/engine_state.h"
#include "engine/core/lod_groups.h"
#include "engine/core/nodes.h"

namespace {

MATRIX34 Identity() {
  MATRIX34 m;
  SetIdentityMatrix34(&m);
  return m;
}

MATRIX34 Multiply(const MATRIX34& a, const MATRIX34& b) {
  MATRIX34 out;
  MultiplyMatrix34(&out, &a, &b);
  return out;
}

MATRIX34 AxisRotation(int axis, float degrees) {
  MATRIX34 m = Identity();
  if (axis < 0 || axis > 5) return m;
  if (axis > 2) {
    axis -= 3;
    degrees = -degrees;
  }
  MATRIX44 r;
  BuildAxisRotationMatrix44(&r, axis, degrees);
  for (int row = 0; row < 3; ++row) m.row[row] = {r.m[4 * row], r.m[4 * row + 1], r.m[4 * row + 2]};
  return m;
}

MATRIX34 Inverse(const MATRIX34& m) {
  MATRIX44 full, inverse;
  ConvertMatrix34To44(&m, &full);
  InvertMatrix44(&full, &inverse);
  MATRIX34 out;
  for (int row = 0; row < 4; ++row) out.row[row] = {inverse.m[4 * row], inverse.m[4 * row + 1], inverse.m[4 * row + 2]};
  return out;
}

// Applies a change by the transform mode, then marks the node dirty and
// carries the result to its level-of-detail members.
void ApplyChange(NODEDESC* node, const MATRIX34& change, int mode) {
  switch (mode) {
    case TRANSFORM_SET: node->local = change; break;
    case TRANSFORM_LOCAL: node->local = Multiply(change, node->local); break;
    case TRANSFORM_PARENT: node->local = Multiply(node->local, change); break;
    default: break;
  }
  node->dirty = 1;
  CopyTransformToLodMembers(node);
}

// The quarter and half turns carrying the node's forward axis onto -Y and
// its up axis onto +Z.
MATRIX34 AxisChange(const NODEDESC* node) {
  const VECTOR3 from[3] = {AxisVector(node->forwardAxis), AxisVector(node->upAxis), {0, 0, 0}};
  VECTOR3 side;
  CrossVector3(&side, &from[0], &from[1]);
  const VECTOR3 source[3] = {from[0], from[1], side};
  const VECTOR3 target[3] = {{0, -1, 0}, {0, 0, 1}, {-1, 0, 0}};
  MATRIX34 f{};
  float* out = &f.row[0].x;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) out[3 * i + j] += (&source[k].x)[i] * (&target[k].x)[j];
  return f;
}

}  // namespace

VECTOR3 AxisVector(int axis) {
  switch (axis) {
    case AXIS_POS_X: return {1, 0, 0};
    case AXIS_POS_Y: return {0, 1, 0};
    case AXIS_POS_Z: return {0, 0, 1};
    case AXIS_NEG_X: return {-1, 0, 0};
    case AXIS_NEG_Y: return {0, -1, 0};
    case AXIS_NEG_Z: return {0, 0, -1};
    default: return {0, 0, 0};
  }
}

VECTOR3 TransformPoint(const MATRIX34& m, const VECTOR3& p) {
  VECTOR3 d = TransformDirection(m, p);
  return {d.x + m.row[3].x, d.y + m.row[3].y, d.z + m.row[3].z};
}

VECTOR3 TransformDirection(const MATRIX34& m, const VECTOR3& d) {
  const VECTOR3* r = m.row;
  return {d.x * r[0].x + d.y * r[1].x + d.z * r[2].x, d.x * r[0].y + d.y * r[1].y + d.z * r[2].y,
          d.x * r[0].z + d.y * r[1].z + d.z * r[2].z};
}

void CopyTransformToLodMembers(NODEDESC* node) {
  ForEachLodMember(node, [&](NODEDESC* member) {
    member->local = node->local;
    member->dirty = 1;
  });
}

void ComposeNodeWorldMatrix(const NODEDESC* node, MATRIX34* out) {
  *out = Identity();
  for (const NODEDESC* n = node; n; n = n->parent)
    if (n->enabled) *out = Multiply(*out, n->local);
}

void SetNodePosition(HOBJECT handle, float x, float y, float z, int mode) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return;
  MATRIX34& m = node->local;
  switch (mode) {
    case TRANSFORM_SET:
      m = Identity();
      m.row[3] = {x, y, z};
      break;
    case TRANSFORM_LOCAL:
      m.row[3].x += x * m.row[0].x + y * m.row[1].x + z * m.row[2].x;
      m.row[3].y += x * m.row[0].y + y * m.row[1].y + z * m.row[2].y;
      m.row[3].z += x * m.row[0].z + y * m.row[1].z + z * m.row[2].z;
      break;
    case TRANSFORM_PARENT:
      m.row[3].x += x;
      m.row[3].y += y;
      m.row[3].z += z;
      break;
    default: break;
  }
  node->dirty = 1;
  CopyTransformToLodMembers(node);
}

void RotateNode(HOBJECT handle, int axis, float degrees, int mode) {
  if (NODEDESC* node = LookupOpenNode(handle)) ApplyChange(node, AxisRotation(axis, degrees), mode);
}

void ScaleNode(HOBJECT handle, float sx, float sy, float sz, int mode) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return;
  MATRIX34 s = Identity();
  s.row[0].x = sx;
  s.row[1].y = sy;
  s.row[2].z = sz;
  ApplyChange(node, s, mode);
}

void RotateNodeByQuaternion(HOBJECT handle, const QUATERNION* rotation, int mode) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node || !rotation) return;
  MATRIX34 r;
  QuaternionToMatrix34(rotation, &r);
  ApplyChange(node, r, mode);
}

void SetNodeMatrix(NODEDESC* node, const MATRIX34* matrix, int mode) {
  if (node && matrix) ApplyChange(node, *matrix, mode);
}

void SetNodeMatrix(HOBJECT handle, const MATRIX34* matrix, int mode) {
  SetNodeMatrix(LookupOpenNode(handle), matrix, mode);
}

void GetNodeMatrix(HOBJECT handle, MATRIX34* out, int which) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node || !out) return;
  if (which == 1) *out = node->local;
  else ComposeNodeWorldMatrix(node, out);
}

void SetNodeAxes(HOBJECT handle, int forward, int up) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return;
  auto apply = [&](NODEDESC* n) {
    if (forward >= 0 && forward <= 5) n->forwardAxis = forward;
    if (up >= 0 && up <= 5) n->upAxis = up;
  };
  apply(node);
  ForEachLodMember(node, apply);
}

void SetNodeDirection(HOBJECT handle, const VECTOR3* position, const VECTOR3* direction, const VECTOR3* up) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node || !position) return;
  VECTOR3 d = direction ? *direction : VECTOR3{0, 0, -1};
  NormalizeVector3(&d);
  float c = std::sqrt(d.x * d.x + d.y * d.y);
  MATRIX34 toForward = Identity();  // C: carries d onto -Y
  if (c > 1e-6f) {
    MATRIX34 a = Identity(), b = Identity();
    a.row[0] = {-d.y / c, -d.x / c, 0};
    a.row[1] = {d.x / c, -d.y / c, 0};
    b.row[1] = {0, c, d.z};
    b.row[2] = {0, -d.z, c};
    toForward = Multiply(a, b);
  } else {
    float s = d.z > 0 ? 1.0f : -1.0f;
    toForward.row[1] = {0, 0, s};
    toForward.row[2] = {0, -s, 0};
  }
  MATRIX34 toUp = Identity();  // D: carries the up vector onto +Z
  if (up) {
    VECTOR3 u = *up;
    NormalizeVector3(&u);
    VECTOR3 turned = TransformDirection(toForward, u);
    toUp.row[0] = {turned.z, 0, turned.x};
    toUp.row[2] = {-turned.x, 0, turned.z};
  }
  MATRIX34 result = Multiply(AxisChange(node), Inverse(Multiply(toForward, toUp)));
  result.row[3] = *position;
  node->local = result;
  // Marked like every other transform call, so the renderer reports the move.
  node->dirty = 1;
  CopyTransformToLodMembers(node);
}

void GetNodeWorldVectors(const NODEDESC* node, VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  if (!node) return;
  MATRIX34 world;
  ComposeNodeWorldMatrix(node, &world);
  if (position) *position = world.row[3];
  if (forward) {
    *forward = TransformDirection(world, AxisVector(node->forwardAxis));
    NormalizeVector3(forward);
  }
  if (up) {
    *up = TransformDirection(world, AxisVector(node->upAxis));
    NormalizeVector3(up);
  }
}

void GetNodeWorldVectors(HOBJECT handle, VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  GetNodeWorldVectors(LookupOpenNode(handle), position, forward, up);
}

void MoveNodeAlongAxis(NODEDESC* node, int axis, float distance) {
  if (!node || axis < 0 || axis > 5) return;
  VECTOR3 v = AxisVector(axis);
  MATRIX34& m = node->local;
  for (int row = 0; row < 3; ++row) {
    float k = (&v.x)[row] * distance;
    m.row[3].x += k * m.row[row].x;
    m.row[3].y += k * m.row[row].y;
    m.row[3].z += k * m.row[row].z;
  }
  node->dirty = 1;
  CopyTransformToLodMembers(node);
}

void MoveNodeAlongAxis(HOBJECT handle, int axis, float distance) {
  MoveNodeAlongAxis(LookupOpenNode(handle), axis, distance);
}

void TurnNodeAboutAxis(NODEDESC* node, int axis, float degrees) {
  if (node) ApplyChange(node, AxisRotation(axis, degrees), TRANSFORM_LOCAL);
}

void TurnNodeAboutAxis(HOBJECT handle, int axis, float degrees) {
  TurnNodeAboutAxis(LookupOpenNode(handle), axis, degrees);
}
