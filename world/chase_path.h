#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Walks a node along way points, or straight to a target when the terrain
// allows, turning it to face its goal every step.
class CChasePath {
 public:
  static constexpr int kMaxPoints = 20;
  static constexpr float kStep = 0.0005f;

  // Unset points are (-1, -1, -1).
  void Clear();
  // Ignored once 20 points are set.
  void AddPoint(const VECTOR3& point);
  // 1 (and the flag cleared) once an earlier walk arrived; otherwise starts
  // a walk to the target when none runs, keeps the target and answers 0.
  int GoTo(const VECTOR3& target);
  // One step of the walk that runs (none: nothing).
  void Step();
  // One step towards the current way point; 1 after the last is reached.
  int FollowPoints();

  VECTOR3 points[kMaxPoints];
  int count = 0;
  int index = 0;
  HOBJECT node = 0;
  HOBJECT terrain = 0;
  int followPoints = 0;
  int goToTarget = 0;
  VECTOR3 target{0, 0, 0};
  int arrived = 0;
  int active = 0;
};

// Degrees from the forward direction to the direction from position to
// target, in the ground plane (positive: clockwise seen from above).
float HeadingDifference(const VECTOR3& position, const VECTOR3& forward, const VECTOR3& target);
// 1 when the node is within step of the target on both ground axes;
// otherwise turns it to face the target and walks it by step on the
// terrain: 2 when the walk left the terrain, else 3.
int StepNodeTowards(HOBJECT node, const VECTOR3& target, float step);
// Whether a copy of the node walking straight at the target in unit steps
// arrives (1) before it leaves the terrain, stops moving or takes 10000
// steps (0).
int ProbeReachable(HOBJECT node, HOBJECT terrain, const VECTOR3& target);
