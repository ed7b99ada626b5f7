#include "components/f_cameras.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/game_math.h"
#include "components/camera_track_file.h"
#include "components/mesh_helpers.h"
#include "components/society_ext.h"
#include "engine/core/cameras.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"

namespace {

// The script's own conversions of its radian values; they differ slightly.
constexpr float kParentDegrees = 57.294186f;
constexpr float kRollDegrees = 57.295784f;
constexpr float kFieldOfViewDegrees = 57.296f;
constexpr double kLevelDegrees = 57.29582790879778;
constexpr float kAspect = 1.33f;

VECTOR3 Minus(const VECTOR3& a, const VECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
VECTOR3 Scaled(const VECTOR3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }
float LengthSquared(const VECTOR3& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }
VECTOR3 Lerp(const VECTOR3& a, const VECTOR3& b, float t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

VECTOR3 WorldPosition(HOBJECT node, VECTOR3* forward = nullptr, VECTOR3* up = nullptr) {
  VECTOR3 position{0, 0, 0};
  GetNodeWorldVectors(node, &position, forward, up);
  return position;
}

// Gives the node the world transform, whatever its parent.
void SetWorldMatrix(HOBJECT node, const MATRIX34& world) {
  MATRIX34 local = world;
  if (const HOBJECT parent = GetNodeParent(node)) {
    MATRIX34 parentWorld;
    GetNodeMatrix(parent, &parentWorld, 0);
    MATRIX44 full, inverse;
    ConvertMatrix34To44(&parentWorld, &full);
    InvertMatrix44(&full, &inverse);
    MATRIX34 inverse34;
    CopyMatrix44To34(&inverse, &inverse34);
    MultiplyMatrix34(&local, &world, &inverse34);
  }
  SetNodeMatrix(node, &local, TRANSFORM_SET);
}

// Points the node's forward axis at a world point, up kept level.
void AimNodeAt(HOBJECT node, const VECTOR3& point) {
  const VECTOR3 position = WorldPosition(node);
  const VECTOR3 direction = Minus(point, position);
  SetNodeDirection(node, &position, &direction, nullptr);
  MATRIX34 world;
  GetNodeMatrix(node, &world, 1);
  SetWorldMatrix(node, world);
}

// Moves the node's local position without turning it.
void PlaceNode(HOBJECT node, const VECTOR3& position) {
  MATRIX34 local;
  GetNodeMatrix(node, &local, 1);
  local.row[3] = position;
  SetNodeMatrix(node, &local, TRANSFORM_SET);
}

// Turns the node by degrees about the world line through point along axis.
void RotateAboutWorldLine(HOBJECT node, const VECTOR3& point, const VECTOR3& axis, float degrees) {
  MATRIX34 world, rotation, turned;
  GetNodeMatrix(node, &world, 0);
  BuildLineRotationMatrix34(&rotation, &point, &axis, degrees);
  MultiplyMatrix34(&turned, &world, &rotation);
  SetWorldMatrix(node, turned);
}

// A local turn about an axis given with the angle in radians, as the
// parent tracks store it.
void RotateAboutAxis(HOBJECT node, float x, float y, float z, float degrees) {
  VECTOR3 axis{x, y, z};
  NormalizeVector3(&axis);
  if (LengthSquared(axis) == 0) return;
  QUATERNION q;
  MakeQuaternionFromAxisAngle(degrees, &axis, &q);
  RotateNodeByQuaternion(node, &q, TRANSFORM_LOCAL);
}

// Handle 0 would name the node under construction: never destroyed here.
void DestroyOwnNode(HOBJECT& node) {
  if (node) DestroyNode(node);
  node = 0;
}

// The index of the first key at or after frame g; a track is applied only
// between two keys that span a positive number of frames.
template <typename Key>
int FindSpan(const std::vector<Key>& keys, int32_t count, int g) {
  const int n = std::min<int>(count, static_cast<int>(keys.size()));
  int i = 0;
  while (i < n && keys[i].frame < g) ++i;
  if (i <= 0 || i >= n || keys[i].frame - keys[i - 1].frame <= 0) return 0;
  return i;
}

template <typename Key>
float SpanFraction(const std::vector<Key>& keys, int i, int g) {
  return static_cast<float>(g - keys[i - 1].frame) / static_cast<float>(keys[i].frame - keys[i - 1].frame);
}

VECTOR3 KeyPoint(const CAMERAPOINTKEYDESC& key) { return {key.x, key.y, key.z}; }

}  // namespace

CFCameras::CFCameras(const char* trackFilePath) : trackFile(std::make_unique<CCameraTrackFile>(trackFilePath)) {}

CFCameras::~CFCameras() {
  if (playing) Stop();
}

CSocietyExt* CFCameras::Society() const { return dynamic_cast<CSocietyExt*>(owner); }

HOBJECT CFCameras::SteeredNode() const {
  if (const CSocietyExt* society = Society()) return society->ViewCamera();
  return cameraNode;
}

int CFCameras::Update(int n) {
  if (!playing) return 0;
  if (!looping && currentFrame >= frameCount - 1) {
    Stop();
    return 0;
  }
  if (n <= 0) {
    Step(n);
  } else {
    for (int i = 0; i < n; ++i) Step(1);
  }
  return 1;
}

int CFCameras::Start(int index, HOBJECT referenceNode, int keep, HOBJECT previousCamera, const VECTOR3* /*offset*/,
                     float /*value*/) {
  if (index < 0 || index >= trackFile->cameraCount || index >= static_cast<int>(trackFile->cameras.size())) return 0;
  if (!keep && !previousCamera && !owner) return 0;
  if (playing) Stop();
  const CAMERARECORDDESC& record = trackFile->cameras[index];
  keepMode = keep;
  currentFrame = 0;
  playing = 1;
  cameraIndex = index;

  parentCount = std::clamp<int>(std::max(record.cameraParent, record.targetParent), 0, 2);
  int last = std::max(
      {record.positionTrack.last, record.targetTrack.last, record.fieldOfViewTrack.last, record.rollTrack.last});
  for (int p = 0; p < parentCount; ++p)
    last = std::max({last, record.parents[p].positionTrack.last, record.parents[p].rotationTrack.last});
  frameCount = last + 1;

  referenceCopy = referenceNode ? CloneNodeDeep(referenceNode) : 0;
  for (int p = 0; p < 2; ++p) parentDummies[p] = p < parentCount ? CreateDummyNode(referenceCopy, nullptr) : 0;
  auto parentOf = [&](int number) {
    return number >= 1 && number <= parentCount ? parentDummies[number - 1] : referenceCopy;
  };
  cameraNode = CreateCameraNode(parentOf(record.cameraParent), kAspect, 18, 0.86f, 1, 10000);
  SetCameraFieldOfView(cameraNode, kAspect, 45);
  if (CSocietyExt* society = Society()) {
    previousViewCamera = society->SetViewCamera(cameraNode);
  } else {
    SetViewportCamera(0, cameraNode);
    previousViewCamera = previousCamera;
  }
  targetNode = CreateDummyNode(parentOf(record.targetParent), nullptr);
  Rewind();
  return 1;
}

int CFCameras::Stop() {
  if (!playing) return 1;
  playing = 0;
  if (!keepMode) {
    if (CSocietyExt* society = Society()) {
      society->SetViewCamera(previousViewCamera);
    } else {
      SetViewportCamera(0, previousViewCamera);
    }
    DestroyOwnNode(cameraNode);
  } else if (GetNodeParent(cameraNode)) {
    // The kept camera stays where it is seen from once its parents are gone.
    MATRIX34 world;
    GetNodeMatrix(cameraNode, &world, 0);
    SetNodeParent(cameraNode, 0);
    SetNodeMatrix(cameraNode, &world, TRANSFORM_SET);
  }
  DestroyOwnNode(targetNode);
  for (HOBJECT& dummy : parentDummies) DestroyOwnNode(dummy);
  DestroyOwnNode(referenceCopy);
  return 1;
}

void CFCameras::Rewind() {
  if (!cameraNode || cameraIndex < 0 || cameraIndex >= static_cast<int>(trackFile->cameras.size())) return;
  const CAMERARECORDDESC& record = trackFile->cameras[cameraIndex];
  const VECTOR3 target{record.target[0], record.target[1], record.target[2]};
  const VECTOR3 camera{record.position[0], record.position[1], record.position[2]};
  const VECTOR3 ahead{0, -1, 0};
  SetNodeDirection(targetNode, &target, &ahead, nullptr);
  const VECTOR3 toTarget = Minus(target, camera);
  SetNodeDirection(cameraNode, &camera, &toTarget, nullptr);
  RotateNode(cameraNode, AXIS_POS_Z, record.roll, TRANSFORM_LOCAL);
  SetCameraFieldOfView(cameraNode, kAspect, record.fieldOfView * kFieldOfViewDegrees);
  for (int p = 0; p < parentCount; ++p) {
    const CAMERAPARENTDESC& parent = record.parents[p];
    SetNodePosition(parentDummies[p], parent.offset[0], parent.offset[1], parent.offset[2], TRANSFORM_SET);
    if (parent.rotationTrack.count > 0 && !parent.rotationKeys.empty()) {
      const CAMERAROTATIONKEYDESC& key = parent.rotationKeys[0];
      RotateAboutAxis(parentDummies[p], key.x, key.y, key.z, key.angle * kParentDegrees);
    }
  }
}

int CFCameras::Step(int frames) {
  if (!cameraNode || cameraIndex < 0 || cameraIndex >= static_cast<int>(trackFile->cameras.size())) return 1;
  const CAMERARECORDDESC& record = trackFile->cameras[cameraIndex];
  int f = currentFrame;
  int g = f + frames;
  if (looping) {
    if (frameCount <= 0) return 1;
    if (g >= frameCount || g < 0) {
      // The dummies move by differences from the current frame: after a
      // rewind that is frame 0.
      Rewind();
      f = 0;
      g = ((g % frameCount) + frameCount) % frameCount;
    }
  } else {
    g = std::clamp(g, 0, std::max(frameCount - 1, 0));
  }

  for (int p = 0; p < parentCount; ++p) {
    const CAMERAPARENTDESC& parent = record.parents[p];
    if (int i = FindSpan(parent.positionKeys, parent.positionTrack.count, g)) {
      const float share = static_cast<float>(g - f) /
                          static_cast<float>(parent.positionKeys[i].frame - parent.positionKeys[i - 1].frame);
      const VECTOR3 move = Scaled(Minus(KeyPoint(parent.positionKeys[i]), KeyPoint(parent.positionKeys[i - 1])), share);
      SetNodePosition(parentDummies[p], move.x, move.y, move.z, TRANSFORM_PARENT);
    }
    if (int i = FindSpan(parent.rotationKeys, parent.rotationTrack.count, g)) {
      const CAMERAROTATIONKEYDESC& key = parent.rotationKeys[i];
      const float span = static_cast<float>(key.frame - parent.rotationKeys[i - 1].frame);
      RotateAboutAxis(parentDummies[p], key.x, key.y, key.z, key.angle * (g - f) * kParentDegrees / span);
    }
  }
  if (int i = FindSpan(record.positionKeys, record.positionTrack.count, g))
    PlaceNode(cameraNode, Lerp(KeyPoint(record.positionKeys[i - 1]), KeyPoint(record.positionKeys[i]),
                               SpanFraction(record.positionKeys, i, g)));
  if (int i = FindSpan(record.targetKeys, record.targetTrack.count, g))
    PlaceNode(targetNode, Lerp(KeyPoint(record.targetKeys[i - 1]), KeyPoint(record.targetKeys[i]),
                               SpanFraction(record.targetKeys, i, g)));
  AimNodeAt(cameraNode, WorldPosition(targetNode));
  if (int i = FindSpan(record.rollKeys, record.rollTrack.count, g)) {
    const float t = SpanFraction(record.rollKeys, i, g);
    const float roll = record.rollKeys[i - 1].value + (record.rollKeys[i].value - record.rollKeys[i - 1].value) * t;
    RotateNode(cameraNode, AXIS_POS_Z, roll * kRollDegrees, TRANSFORM_LOCAL);
  }
  if (int i = FindSpan(record.fieldOfViewKeys, record.fieldOfViewTrack.count, g)) {
    const float t = SpanFraction(record.fieldOfViewKeys, i, g);
    const float fov = record.fieldOfViewKeys[i - 1].value +
                      (record.fieldOfViewKeys[i].value - record.fieldOfViewKeys[i - 1].value) * t;
    SetCameraFieldOfView(cameraNode, kAspect, fov * kFieldOfViewDegrees);
  }
  currentFrame = g;
  return 1;
}

void CFCameras::TurnAndLevel(HOBJECT node, const VECTOR3* axis, float degrees) {
  RotateAboutWorldLine(node, WorldPosition(node), *axis, degrees);
  VECTOR3 forward, up;
  WorldPosition(node, &forward, &up);
  const VECTOR3 vertical{0, 0, 1};
  VECTOR3 side;
  CrossVector3(&side, &vertical, &forward);
  // Looking straight up or down there is no level side to keep.
  if (LengthSquared(side) < 1e-12f) return;
  double angle = 0;
  GetAngleBetweenVectors(&side, &up, &angle);
  RotateNode(node, AXIS_POS_Z, static_cast<float>(angle * kLevelDegrees - 90.0), TRANSFORM_LOCAL);
  // A turn over the top leaves the side level but the view upside down.
  WorldPosition(node, nullptr, &up);
  if (up.z < 0) RotateNode(node, AXIS_POS_Z, 180, TRANSFORM_LOCAL);
}

int CFCameras::ApproachPoint(const VECTOR3* point, unsigned k) {
  const HOBJECT node = SteeredNode();
  if (!node || !point) return -1;
  const VECTOR3 move =
      Scaled(Minus(*point, WorldPosition(node)), static_cast<float>(std::exp(-static_cast<double>(k))));
  SetNodePosition(node, move.x, move.y, move.z, TRANSFORM_PARENT);
  return LengthSquared(move) >= 0.1f ? 1 : 0;
}

int CFCameras::ApproachNode(HOBJECT node, unsigned k, const VECTOR3* offset, HOBJECT facingNode) {
  if (!SteeredNode() || !LookupOpenNode(node)) return -1;
  VECTOR3 forward{0, 0, 0};
  const VECTOR3 position = WorldPosition(node, &forward);
  float fx = forward.x, fy = forward.y;
  if (facingNode) {
    const VECTOR3 toFacing = Minus(WorldPosition(facingNode), position);
    const float squared = toFacing.x * toFacing.x + toFacing.y * toFacing.y;
    if (squared > 0.00001f) {
      const float length = std::sqrt(squared);
      fx = toFacing.x / length;
      fy = toFacing.y / length;
    }
  }
  const VECTOR3 o = offset ? *offset : VECTOR3{0, 0, 0};
  const VECTOR3 goal{position.x + fy * o.x + fx * o.y, position.y + fy * o.y - fx * o.x, position.z + o.z};
  return ApproachPoint(&goal, k);
}

int CFCameras::TurnTowardsPoint(const VECTOR3* point, unsigned k) {
  const HOBJECT node = SteeredNode();
  if (!node || !point) return -1;
  VECTOR3 forward, up;
  const VECTOR3 position = WorldPosition(node, &forward, &up);
  const VECTOR3 direction = Minus(*point, position);
  if (LengthSquared(direction) < 0.01f) return -1;
  double angle = 0;
  GetAngleBetweenVectors(&forward, &direction, &angle);
  const double degrees = angle * kLevelDegrees;
  if (degrees < 0.00001) return 0;
  VECTOR3 axis;
  CrossVector3Normalized(&axis, &forward, &direction);
  // Facing straight away: any axis across the view will do; take up.
  if (LengthSquared(axis) == 0) axis = up;
  TurnAndLevel(node, &axis, static_cast<float>(std::exp(-static_cast<double>(k)) * degrees));
  return 1;
}

int CFCameras::TurnTowardsBetween(HOBJECT a, HOBJECT b, unsigned k, float t) {
  if (!LookupOpenNode(a) || !LookupOpenNode(b)) return -1;
  const VECTOR3 point = Lerp(WorldPosition(a), WorldPosition(b), t);
  return TurnTowardsPoint(&point, k);
}

int CFCameras::TurnTowardsNode(HOBJECT node, unsigned k, const VECTOR3* offset) {
  if (!LookupOpenNode(node)) return -1;
  VECTOR3 point = WorldPosition(node);
  if (offset) point = {point.x + offset->x, point.y + offset->y, point.z + offset->z};
  return TurnTowardsPoint(&point, k);
}

int CFCameras::StartGlide(HOBJECT node, float goalX, float goalY, float goalZ, float lookX, float lookY, float lookZ,
                          int frames, int mode) {
  if (!node && !cameraNode) return 0;
  if (cameraNode && node && node != cameraNode) return 0;
  if (frames <= 0) return 0;
  const HOBJECT glider = node ? node : cameraNode;
  savedPosition = WorldPosition(glider, &savedDirection);
  const VECTOR3 lookAt{lookX, lookY, lookZ};
  if (SquaredDistance3(&lookAt, &savedPosition) < 1e-7f) return 0;
  cameraNode = glider;
  glideGoal = {goalX, goalY, goalZ};
  glideLookAt = lookAt;
  glideMode = mode;
  const VECTOR3 finalDirection = Minus(lookAt, glideGoal);
  CrossVector3Normalized(&glideAxis, &savedDirection, &finalDirection);
  double angle = 0;
  GetAngleBetweenVectors(&savedDirection, &finalDirection, &angle);
  glideAngle = static_cast<float>(angle * 180.0 / 3.14159 / frames);
  glideStep = Scaled(Minus(glideGoal, savedPosition), 1.0f / static_cast<float>(frames));
  return 1;
}

int CFCameras::GlideStep(float scale) {
  if (!cameraNode) return 1;
  const VECTOR3 position = WorldPosition(cameraNode);
  if (SquaredDistance3(&position, &glideGoal) < 10) {
    AimNodeAt(cameraNode, glideLookAt);
    return 1;
  }
  const VECTOR3 move = Scaled(glideStep, scale);
  if (glideMode == 1) {
    SetNodePosition(cameraNode, move.x, move.y, move.z, TRANSFORM_PARENT);
    AimNodeAt(cameraNode, glideLookAt);
  } else {
    if (LengthSquared(glideAxis) > 0) TurnAndLevel(cameraNode, &glideAxis, glideAngle);
    SetNodePosition(cameraNode, move.x, move.y, move.z, TRANSFORM_PARENT);
  }
  return 0;
}

void CFCameras::RestoreGlideStart() {
  if (!cameraNode) return;
  SetNodeDirection(cameraNode, &savedPosition, &savedDirection, nullptr);
  MATRIX34 world;
  GetNodeMatrix(cameraNode, &world, 1);
  SetWorldMatrix(cameraNode, world);
}
