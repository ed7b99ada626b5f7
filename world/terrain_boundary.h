#pragma once

struct VECTOR3;

// The walls of the walkable terrain.
// MINIMAL: no outline is kept, so no segment hits an obstacle.
class TerrainBoundary {
 public:
  void Build(const void*) {}
  int SegmentHitsObstacle(const VECTOR3&, const VECTOR3&) const { return 0; }
};
