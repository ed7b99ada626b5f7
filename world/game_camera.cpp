#include "world/game_camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/game_math.h"
#include "engine/core/cameras.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "engine/media/sprites.h"
#include "world/collision_boxes.h"
#include "world/terrain_boundary.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float Length(const VECTOR3& v) { return std::sqrt(Dot(v, v)); }

// The rotation of a transform's rows as a quaternion, in the order the
// engine's QUATERNION keeps.
void RotationOf(const MATRIX34& m, float out[4]) {
  const float rows[9] = {m.row[0].x, m.row[0].y, m.row[0].z, m.row[1].x, m.row[1].y,
                         m.row[1].z, m.row[2].x, m.row[2].y, m.row[2].z};
  MatrixToQuaternion(rows, out);
}

// Rows right, up and -forward of a camera at position looking at point;
// false when the view runs straight up or down or has no length.
bool BuildLookAtMatrix(const VECTOR3& position, const VECTOR3& point, MATRIX34* m) {
  VECTOR3 forward = VectorBetween(position, point);
  const float length = Length(forward);
  if (length == 0) return false;
  ScaleInPlace(&forward, 1 / length);
  const VECTOR3 z{0, 0, 1};
  VECTOR3 right;
  CrossVector3(&right, &forward, &z);
  const float rightLength = Length(right);
  if (rightLength == 0) return false;
  ScaleInPlace(&right, 1 / rightLength);
  VECTOR3 up;
  CrossVector3(&up, &right, &forward);
  NormalizeVector3(&up);
  m->row[0] = right;
  m->row[1] = up;
  m->row[2] = ScaledVector(forward, -1);
  m->row[3] = position;
  return true;
}

// Cubic Hermite curve from p0 (tangent m0) at s = 0 to p1 (tangent m1) at s = 1.
float Hermite(float p0, float m0, float p1, float m1, float s) {
  const float s2 = s * s;
  const float s3 = s2 * s;
  return (2 * s3 - 3 * s2 + 1) * p0 + (s3 - 2 * s2 + s) * m0 + (-2 * s3 + 3 * s2) * p1 + (s3 - s2) * m1;
}

}  // namespace

CGameCamera::CGameCamera() {
  SetIdentityMatrix34(&targetMatrix);
  SetIdentityMatrix34(&lastOrbit);
  SetIdentityMatrix34(&closeUpStart);
  aimer.SetDirectory(GetCurrentDir().c_str());
  if (aimer.Load("image\\aimer", 24, 24, 0)) {
    SetSpriteColorKey(aimer.sprite, 0, 0, 0, 1);
    aimer.SetPosition(306, 226);
  }
}

CGameCamera::~CGameCamera() {
  aimer.Release();
  if (node) DestroyNode(node);
}

void CGameCamera::SetProjection(float fieldOfView, float aspect, float nearPlane, float farPlane) {
  if (node) DestroyNode(node);
  const double half = fieldOfView * std::numbers::pi / 360.0;
  node = CreateCameraNode(0, aspect, static_cast<float>(10.922 / std::tan(half)), 0.86f, nearPlane, farPlane);
  SetViewportCamera(0, node);
  nearDistance = nearPlane;
  halfWidth = static_cast<float>(std::tan(half) * nearPlane);
  halfHeight = aspect != 0 ? halfWidth / aspect : halfWidth;
}

void CGameCamera::Activate() {
  if (node) SetViewportCamera(viewport, node);
}

void CGameCamera::SetViewDistance(float distance) {
  if (node) SetCameraClipPlanes(node, nearDistance, distance);
}

void CGameCamera::ComputeLookAt() {
  GetNodeMatrix(targetNode, &targetMatrix, 0);
  float heading = std::acos(std::clamp(targetMatrix.row[0].x, -1.0f, 1.0f));
  if (targetMatrix.row[0].y < 0) heading = 2 * kPi - heading;
  followYaw = baseYaw + heading + 4.712385f;
  followOffset = {followRadius * std::cos(followYaw) * std::cos(followElevation),
                  followRadius * std::sin(followYaw) * std::cos(followElevation),
                  followRadius * std::sin(followElevation)};
  lookAt = AddVectors(targetMatrix.row[3], followOffset);
  lookAt.z += heightOffset;
}

void CGameCamera::StartFollow(float radius, float elevation, float height) {
  if (!targetNode) {
    ShowMessage("Man Node ID Error!");
    return;
  }
  followRadius = radius;
  followElevation = elevation;
  heightOffset = height;
  ComputeLookAt();
  orbitYaw = followYaw - baseYaw + kPi;
}

void CGameCamera::ResetOrbit(float distance) {
  orbitDistance = distance;
  pitch = 0;
  if (!targetNode || !node) return;
  GetNodeMatrix(targetNode, &targetMatrix, 0);
  SetNodeMatrix(node, &targetMatrix, TRANSFORM_SET);
  lastOrbit = targetMatrix;
  LookAt(targetMatrix.row[3], {targetMatrix.row[3].x, targetMatrix.row[3].y, heightOffset}, 0);
}

float CGameCamera::DistanceForPitch() const {
  if (pitch >= 0) return Hermite(85, 0, 25, -0.3f, pitch / pitchUpper);
  return Hermite(35, -1, 85, 0, (pitchLower - pitch) / pitchLower);
}

void CGameCamera::Update(int /*frames*/) {
  if (pendingYawSet) orbitYaw += pendingYaw;
  pendingYaw = 0;
  pendingYawSet = 0;
  if (!targetNode || !node) return;
  ComputeLookAt();
  orbitDistance = DistanceForPitch();
  VECTOR3 camera =
      AddVectors(lookAt, {orbitDistance * std::cos(pitch) * std::cos(orbitYaw),
                          orbitDistance * std::cos(pitch) * std::sin(orbitYaw), orbitDistance * std::sin(pitch)});
  pulledInDistance = orbitDistance;
  float t = 0;
  if (boundary && boundary->IntersectSegment(camera, lookAt, &t)) {
    pulledInDistance = (1 - t) * orbitDistance;
    const VECTOR3 toLook = VectorBetween(camera, lookAt);
    const float length = Length(toLook);
    const float m = std::max(t - (length > 0 ? nearDistance / length : 0), 0.0f);
    camera = AddVectors(camera, ScaledVector(toLook, m));
  }
  LookAt(camera, lookAt, 0);
  TakeLastOrbit();
  dirty = 0;
  lastLookAt = lookAt;
}

void CGameCamera::LookAt(const VECTOR3& position, const VECTOR3& point, float roll) {
  MATRIX34 m;
  if (!node || !BuildLookAtMatrix(position, point, &m)) return;
  if (roll != 0) {
    const float a = -roll * kDegreesToRadians;
    const VECTOR3 right = m.row[0];
    const VECTOR3 up = m.row[1];
    m.row[0] = AddVectors(ScaledVector(right, std::cos(a)), ScaledVector(up, std::sin(a)));
    m.row[1] = AddVectors(ScaledVector(right, -std::sin(a)), ScaledVector(up, std::cos(a)));
  }
  SetNodeMatrix(node, &m, TRANSFORM_SET);
}

void CGameCamera::TakeLastOrbit() {
  if (node) GetNodeMatrix(node, &lastOrbit, 0);
}

void CGameCamera::BeginTalkCloseUp(HOBJECT npcNode, int near) {
  mouseLookLocked = 1;
  closeUpProgress = 0;
  if (!node || !npcNode) return;
  GetNodeMatrix(node, &closeUpStart, 0);
  RotationOf(closeUpStart, startRotation);
  startPosition = closeUpStart.row[3];

  MATRIX34 npc;
  GetNodeMatrix(npcNode, &npc, 0);
  VECTOR3 axis = npc.row[0];
  axis.z = 0;
  NormalizeVector3(&axis);
  const float turn = (near ? 10.0f : 100.0f) * kDegreesToRadians;
  const VECTOR3 turned{axis.x * std::cos(turn) - axis.y * std::sin(turn),
                       axis.x * std::sin(turn) + axis.y * std::cos(turn), 0};
  VECTOR3 centre{0, 0, 0};
  GetNodeWorldBox(npcNode, &centre, nullptr, nullptr);
  endPosition = AddVectors(centre, ScaledVector(turned, -50));
  MATRIX34 end;
  if (!BuildLookAtMatrix(endPosition, centre, &end)) end = closeUpStart;
  RotationOf(end, endRotation);
}

int CGameCamera::StepCloseUp(int n) {
  int arrived = 1;
  if (closeUpProgress < 1) {
    closeUpProgress += static_cast<float>(n) * closeUpStep;
    // Thirty steps of a thirtieth must arrive on the thirtieth.
    arrived = closeUpProgress >= 1 - 1e-5f ? 1 : 0;
  }
  const float c = arrived ? 1.0f : std::sqrt(std::sin(closeUpProgress * kPi / 2));
  float rotation[4];
  if (arrived) {
    std::copy(endRotation, endRotation + 4, rotation);
  } else {
    InterpolateQuaternion(startRotation, endRotation, c, rotation);
  }
  const VECTOR3 position =
      arrived ? endPosition : AddVectors(startPosition, ScaledVector(VectorBetween(startPosition, endPosition), c));
  if (node) {
    const QUATERNION q{rotation[0], rotation[1], rotation[2], rotation[3]};
    RotateNodeByQuaternion(node, &q, TRANSFORM_SET);
    SetNodePosition(node, position.x, position.y, position.z, TRANSFORM_PARENT);
  }
  TakeLastOrbit();
  return arrived;
}

void CGameCamera::ReverseCloseUp() {
  std::swap_ranges(startRotation, startRotation + 4, endRotation);
  std::swap(startPosition, endPosition);
  closeUpProgress = 0;
}

void CGameCamera::SetCloseUpFrames(int frames) {
  closeUpFrames = frames > 0 ? frames : 1;
  closeUpStep = 1.0f / static_cast<float>(closeUpFrames);
}

void CGameCamera::GetPositionAndDirection(VECTOR3* position, VECTOR3* direction) const {
  if (position) *position = lastOrbit.row[3];
  if (direction) *direction = ScaledVector(lastOrbit.row[2], -1);
}

void CGameCamera::UnprojectScreenPoint(VECTOR3* out, int x, int y) const {
  MATRIX34 m;
  SetIdentityMatrix34(&m);
  if (node) GetNodeMatrix(node, &m, 0);
  const float fx = static_cast<float>(x - kScreenCentreX) / kScreenCentreX * halfWidth;
  const float fy = static_cast<float>(kScreenCentreY - y) / kScreenCentreY * halfHeight;
  VECTOR3 p = AddVectors(m.row[3], ScaledVector(m.row[2], -nearDistance));
  p = AddVectors(p, ScaledVector(m.row[1], fy));
  *out = AddVectors(p, ScaledVector(m.row[0], fx));
}

float CGameCamera::GetWalkerFade() const {
  const float d = pulledInDistance;
  if (d > 20) return 1;
  if (d < 10) return 0.5f;
  return 0.5f + (d - 10) * 0.1f;
}

void CGameCamera::RestoreView() {
  if (node) SetNodeMatrix(node, &lastOrbit, TRANSFORM_SET);
  Activate();
}

void CGameCamera::ShowAimer(int on) {
  aimerShown = on;
  if (aimer.sprite) ShowSprite(aimer.sprite, on);
}
