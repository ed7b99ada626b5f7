#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/math3d.h"
#include "world/collision_boxes.h"

// One vertical wall of the terrain's edge, 100 units tall from its lower
// endpoint. The normal is horizontal, to the left of start -> end.
struct WallSegment {
  static constexpr float kHeight = 100;

  // t is the ray parameter at the wall's plane, written even on a miss; a
  // hit needs 0 < t <= 1 and a point on the wall's face.
  bool Intersect(const VECTOR3& origin, const VECTOR3& direction, float* t) const;

  int32_t index = 0;  // position in the wall array
  PLANEDESC plane;
  VECTOR3 start{0, 0, 0};
  VECTOR3 end{0, 0, 0};
};

// A uniform grid over the walls, its cell as wide as the mean wall, so a
// short segment looks at only the few walls near it. The walls must outlive
// the grid and stay unchanged until the next Build.
class AxGridSpaceManager {
 public:
  // Bounds the total, growing the cell size, however the outline is spread.
  static constexpr int kMaxCells = 256 * 256;

  AxGridSpaceManager() = default;
  virtual ~AxGridSpaceManager() = default;

  // Builds the grid over the walls; no walls give an empty grid.
  void Build(const std::vector<WallSegment>& walls);
  // The cell of a point, each coordinate clamped into the grid.
  void CellOf(const VECTOR3& p, int* cx, int* cy) const;
  // The cell indices of the rectangle spanned by the cells of a and b, row
  // by row (one index when both lie in one cell).
  void CellsForSegment(const VECTOR3& a, const VECTOR3& b, std::vector<int>* cells) const;
  // The largest parameter along a -> b at which it crosses a wall, when it
  // meets that wall from behind; two walls crossed at one place cancel.
  bool IntersectSegment(const VECTOR3& a, const VECTOR3& b, float* value) const;

  int CellsX() const { return cellsX_; }
  int CellsY() const { return cellsY_; }
  float CellSize() const { return cellSize_; }
  const std::vector<int32_t>& Cell(int index) const { return cells_[static_cast<size_t>(index)]; }

 private:
  float minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
  float cellSize_ = 0;
  int32_t cellsX_ = 0, cellsY_ = 0;
  const std::vector<WallSegment>* walls_ = nullptr;
  std::vector<std::vector<int32_t>> cells_;  // wall indices; cell (cx, cy) at cx + cy * cellsX
  // Each query stamps the walls it tested, so none is tested twice.
  mutable std::vector<uint32_t> visited_;
  mutable uint32_t query_ = 0;
  mutable std::vector<int> scratch_;
};
