#include "world/obj_bound_volume.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"

namespace {

ORIENTEDBOX NodeBox(HOBJECT node, VECTOR3 corners[8]) {
  VECTOR3 centre{0, 0, 0};
  GetNodeWorldBox(node, &centre, corners, nullptr);
  return BuildOrientedBox(centre, corners);
}

}  // namespace

void ObjBoundVolume::Build() {
  if (nodes.empty()) return;
  const bool makeBoxes = boxes.empty();
  float low[3] = {FLT_MAX, FLT_MAX, FLT_MAX};
  float high[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
  for (HOBJECT node : nodes) {
    VECTOR3 corners[8];
    const ORIENTEDBOX box = NodeBox(node, corners);
    if (makeBoxes) boxes.push_back(box);
    for (const VECTOR3& c : corners) {
      const float at[3] = {c.x, c.y, c.z};
      for (int i = 0; i < 3; ++i) {
        low[i] = std::min(low[i], at[i]);
        high[i] = std::max(high[i], at[i]);
      }
    }
  }
  centre[0] = (low[0] + high[0]) / 2;
  centre[1] = (low[1] + high[1]) / 2;
  centre[2] = low[2];
  height = high[2] - low[2];
  radius = std::max(high[0] - low[0], high[1] - low[1]) / 2;
  GetNodeWorldVectors(nodes[0], &cachedPosition, nullptr, nullptr);
}

void ObjBoundVolume::RebuildBoxes() {
  boxes.clear();
  for (HOBJECT node : nodes) {
    VECTOR3 corners[8];
    boxes.push_back(NodeBox(node, corners));
  }
}

void ObjBoundVolume::Follow() {
  if (nodes.empty()) return;
  VECTOR3 now{0, 0, 0};
  GetNodeWorldVectors(nodes[0], &now, nullptr, nullptr);
  centre[0] += now.x - cachedPosition.x;
  centre[1] += now.y - cachedPosition.y;
  centre[2] += now.z - cachedPosition.z;
  cachedPosition = now;
}

float ObjBoundVolume::CentreDistanceGap(const ObjBoundVolume& other) const {
  const float dx = centre[0] - other.centre[0];
  const float dy = centre[1] - other.centre[1];
  const float dz = centre[2] - other.centre[2];
  const float gap = std::sqrt(dx * dx + dy * dy + dz * dz) - radius - other.radius;
  return std::max(gap, 0.0f);
}

float ObjBoundVolume::GetGapTo(const ObjBoundVolume& other) const {
  if (std::fabs(centre[2] - other.centre[2]) > std::max(height, other.height)) return FLT_MAX;
  return CentreDistanceGap(other);
}

float ObjBoundVolume::GetSphereGapTo(const ObjBoundVolume& other) const { return CentreDistanceGap(other); }

bool ObjBoundVolume::IntersectSegment(const VECTOR3& a, const VECTOR3& b, float* value) const {
  float nearest = 1;
  for (const ORIENTEDBOX& box : boxes) {
    float fraction = 0;
    if (IntersectSegmentObb(b, a, box, &fraction)) nearest = std::min(nearest, fraction);
  }
  if (nearest >= 1) return false;
  *value = 1 - nearest;
  return true;
}
