#include "world/terrain_boundary.h"

#include <cmath>

#include "world/obj_bound_volume.h"

void TerrainBoundary::Build(const TerrainOutline& outline) {
  Clear();
  for (const OutlinePolyline& line : outline) {
    if (line.size() <= 2) continue;
    VECTOR3 prev{line[0].x, line[0].y, line[0].z};
    for (size_t i = 1; i < line.size(); ++i) {
      const VECTOR3 p{line[i].x, line[i].y, line[i].z};
      const VECTOR3 delta = VectorBetween(prev, p);
      const float length = std::sqrt(Dot(delta, delta));
      if (!(length >= 0.0001f)) continue;
      WallSegment wall;
      wall.index = static_cast<int32_t>(walls_.size());
      wall.plane.normal = {-delta.y / length, delta.x / length, 0};
      wall.plane.d = -Dot(wall.plane.normal, prev);
      wall.start = prev;
      wall.end = p;
      walls_.push_back(wall);
      prev = p;
    }
  }
  grid_.Build(walls_);
}

void TerrainBoundary::Clear() {
  walls_.clear();
  obstacles.clear();
  grid_.Build(walls_);
}

bool TerrainBoundary::IntersectSegment(const VECTOR3& a, const VECTOR3& b, float* value) const {
  float best = 0;
  if (!grid_.IntersectSegment(a, b, &best)) best = 0;
  for (const ObjBoundVolume* volume : obstacles) {
    float v = 0;
    if (volume->IntersectSegment(a, b, &v) && v > best) best = v;
  }
  if (best == 0) return false;
  *value = best;
  return true;
}

int TerrainBoundary::SegmentHitsObstacle(const VECTOR3& a, const VECTOR3& b) const {
  const VECTOR3 d = VectorBetween(a, b);
  const VECTOR3 from = AddVectors(a, ScaledVector(d, 0.1f));
  const VECTOR3 to = AddVectors(a, ScaledVector(d, 0.9f));
  for (const ObjBoundVolume* volume : obstacles) {
    float v = 0;
    if (volume->IntersectSegment(from, to, &v)) return 1;
  }
  return 0;
}
