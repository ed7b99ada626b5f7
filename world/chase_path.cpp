#include "world/chase_path.h"

#include <cmath>
#include <numbers>

#include "engine/core/node_clone.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/walking.h"

namespace {

constexpr int kProbeLimit = 10000;
constexpr float kSideStep = -5;

}  // namespace

void CChasePath::Clear() {
  for (VECTOR3& point : points) point = {-1, -1, -1};
  count = 0;
  index = 0;
  followPoints = 0;
  goToTarget = 0;
  target = {0, 0, 0};
  arrived = 0;
  active = 0;
}

void CChasePath::AddPoint(const VECTOR3& point) {
  if (count < kMaxPoints) points[count++] = point;
}

int CChasePath::GoTo(const VECTOR3& newTarget) {
  if (arrived) {
    arrived = 0;
    return 1;
  }
  if (!active) {
    goToTarget = 1;
    index = 0;
    active = 1;
    arrived = 0;
  }
  target = newTarget;
  return arrived;
}

int CChasePath::FollowPoints() {
  if (count == 0) return 1;
  const VECTOR3 point = points[index];
  const int result = StepNodeTowards(node, point, kStep);
  if (result == 1) {
    if (index + 1 >= count) return 1;
    ++index;
  } else if (result == 2) {
    StrafeNodeOnTerrain(node, kSideStep, 1, 0, 0, 0);
  }
  return 0;
}

void CChasePath::Step() {
  if (followPoints) {
    FollowPoints();
    return;
  }
  if (!goToTarget) return;
  if (ProbeReachable(node, terrain, target)) {
    if (StepNodeTowards(node, target, kStep) == 1) {
      goToTarget = 0;
      active = 0;
      arrived = 1;
    }
    return;
  }
  if (index >= count) {
    goToTarget = 0;
    active = 0;
    return;
  }
  if (StepNodeTowards(node, points[index], kStep) == 1 && ++index >= count) {
    goToTarget = 0;
    active = 0;
  }
}

float HeadingDifference(const VECTOR3& position, const VECTOR3& forward, const VECTOR3& target) {
  const float dx = target.x - position.x;
  const float dy = target.y - position.y;
  const float facing = std::atan2(forward.y, forward.x);
  const float wanted = std::atan2(dy, dx);
  float degrees = (facing - wanted) * 180.0f / std::numbers::pi_v<float>;
  if (degrees > 180) degrees -= 360;
  if (degrees < -180) degrees += 360;
  return degrees;
}

int StepNodeTowards(HOBJECT node, const VECTOR3& target, float step) {
  VECTOR3 position{0, 0, 0};
  VECTOR3 forward{0, 0, 0};
  GetNodeWorldVectors(node, &position, &forward, nullptr);
  if (std::fabs(position.x - target.x) <= step && std::fabs(position.y - target.y) <= step) return 1;
  TurnNodeOnTerrainReverse(node, HeadingDifference(position, forward, target), 0, 0);
  return WalkNodeOnTerrain(node, step, 1, 0, 0, 0) == 0 ? 2 : 3;
}

int ProbeReachable(HOBJECT node, HOBJECT terrain, const VECTOR3& target) {
  const HOBJECT probe = CloneNode(node);
  if (!probe) return 0;
  MATRIX34 world;
  GetNodeMatrix(node, &world, 2);
  SetNodeMatrix(probe, &world, 0);
  PlaceNodeOnTerrain(probe, terrain, 0, 0);
  int reachable = 0;
  for (int i = 0; i < kProbeLimit; ++i) {
    VECTOR3 before{0, 0, 0};
    GetNodeWorldVectors(probe, &before, nullptr, nullptr);
    const int result = StepNodeTowards(probe, target, 1);
    if (result == 1) {
      reachable = 1;
      break;
    }
    VECTOR3 after{0, 0, 0};
    GetNodeWorldVectors(probe, &after, nullptr, nullptr);
    if (result == 2 || (after.x == before.x && after.y == before.y)) break;
  }
  DestroyNode(probe);
  return reachable;
}
