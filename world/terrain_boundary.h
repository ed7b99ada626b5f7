#pragma once
#include <vector>

#include "engine/core/math3d.h"
#include "world/automap_outline.h"
#include "world/wall_grid.h"

class ObjBoundVolume;

// The walls of the current scene's walkable terrain, rebuilt from the terrain
// outline at every scene entry, and the obstacle volumes the game registers.
// The camera asks it for what stands between its target and itself.
class TerrainBoundary {
 public:
  TerrainBoundary() = default;
  virtual ~TerrainBoundary() = default;
  TerrainBoundary(const TerrainBoundary&) = delete;
  TerrainBoundary& operator=(const TerrainBoundary&) = delete;

  // One wall per step of each polyline of more than two points (steps
  // shorter than 0.0001 are skipped); polylines are not closed here.
  void Build(const TerrainOutline& outline);
  // Forgets the walls and the obstacles.
  void Clear();
  // The wall or obstacle crossing nearest b, as a fraction measured from a;
  // false when there is none.
  bool IntersectSegment(const VECTOR3& a, const VECTOR3& b, float* value) const;
  // 1 when an obstacle lies on the middle 80% of a..b (walls do not count).
  int SegmentHitsObstacle(const VECTOR3& a, const VECTOR3& b) const;

  const std::vector<WallSegment>& Walls() const { return walls_; }
  const AxGridSpaceManager& Grid() const { return grid_; }

  std::vector<ObjBoundVolume*> obstacles;  // not owned; registered by the game

 private:
  std::vector<WallSegment> walls_;
  AxGridSpaceManager grid_;
};
