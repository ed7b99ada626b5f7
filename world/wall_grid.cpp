#include "world/wall_grid.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

bool WallSegment::Intersect(const VECTOR3& origin, const VECTOR3& direction, float* t) const {
  *t = IntersectRayPlane(origin, direction, plane);
  if (!(*t > 0 && *t <= 1)) return false;
  const float lower = std::min(start.z, end.z);
  const float z = origin.z + *t * direction.z;
  if (z < lower || z > lower + kHeight) return false;
  const float spanX = end.x - start.x;
  const float spanY = end.y - start.y;
  const float along = std::fabs(spanX) > std::fabs(spanY) ? (origin.x + *t * direction.x - start.x) / spanX
                                                          : (origin.y + *t * direction.y - start.y) / spanY;
  return along >= 0 && along <= 1;
}

void AxGridSpaceManager::Build(const std::vector<WallSegment>& walls) {
  walls_ = &walls;
  cells_.clear();
  visited_.assign(walls.size(), 0);
  query_ = 0;
  cellsX_ = cellsY_ = 0;
  cellSize_ = 0;
  minX_ = minY_ = FLT_MAX;
  maxX_ = maxY_ = -FLT_MAX;
  if (walls.empty()) return;

  double total = 0;
  for (const WallSegment& wall : walls) {
    for (const VECTOR3* p : {&wall.start, &wall.end}) {
      minX_ = std::min(minX_, p->x);
      maxX_ = std::max(maxX_, p->x);
      minY_ = std::min(minY_, p->y);
      maxY_ = std::max(maxY_, p->y);
    }
    const VECTOR3 d = VectorBetween(wall.start, wall.end);
    total += std::sqrt(static_cast<double>(Dot(d, d)));
  }
  const double spanX = static_cast<double>(maxX_) - minX_;
  const double spanY = static_cast<double>(maxY_) - minY_;
  double size = total / static_cast<double>(walls.size());
  double countX = 1;
  double countY = 1;
  // Coordinates too far out to grid give one cell holding every wall.
  if (std::isfinite(spanX) && std::isfinite(spanY) && std::isfinite(size) && size > 0) {
    for (;;) {
      countX = std::trunc(spanX / size + 1);
      countY = std::trunc(spanY / size + 1);
      if (countX * countY <= kMaxCells) break;
      size *= 2;
    }
  } else {
    size = FLT_MAX;
  }
  cellSize_ = static_cast<float>(size);
  cellsX_ = static_cast<int32_t>(countX);
  cellsY_ = static_cast<int32_t>(countY);
  cells_.resize(static_cast<size_t>(cellsX_) * static_cast<size_t>(cellsY_));

  std::vector<int> spanned;
  for (const WallSegment& wall : walls) {
    CellsForSegment(wall.start, wall.end, &spanned);
    for (int cell : spanned) cells_[static_cast<size_t>(cell)].push_back(wall.index);
  }
}

void AxGridSpaceManager::CellOf(const VECTOR3& p, int* cx, int* cy) const {
  auto cell = [this](float at, float low, int count) {
    const double c = std::trunc((static_cast<double>(at) - low) / cellSize_);
    if (!(c > 0)) return 0;  // NaN lands in the first cell too
    return c >= count - 1 ? count - 1 : static_cast<int>(c);
  };
  *cx = cell(p.x, minX_, cellsX_);
  *cy = cell(p.y, minY_, cellsY_);
}

void AxGridSpaceManager::CellsForSegment(const VECTOR3& a, const VECTOR3& b, std::vector<int>* cells) const {
  cells->clear();
  if (cells_.empty()) return;
  int ax = 0, ay = 0, bx = 0, by = 0;
  CellOf(a, &ax, &ay);
  CellOf(b, &bx, &by);
  if (ax == bx && ay == by) {
    cells->push_back(ax + ay * cellsX_);
    return;
  }
  for (int y = std::min(ay, by); y <= std::max(ay, by); ++y)
    for (int x = std::min(ax, bx); x <= std::max(ax, bx); ++x) cells->push_back(x + y * cellsX_);
}

bool AxGridSpaceManager::IntersectSegment(const VECTOR3& a, const VECTOR3& b, float* value) const {
  if (cells_.empty()) return false;
  CellsForSegment(a, b, &scratch_);
  if (++query_ == 0) {
    std::fill(visited_.begin(), visited_.end(), 0);
    query_ = 1;
  }
  const VECTOR3 direction = VectorBetween(a, b);
  float best = 0;
  bool hit = false;
  for (int cell : scratch_) {
    for (int32_t index : cells_[static_cast<size_t>(cell)]) {
      if (visited_[static_cast<size_t>(index)] == query_) continue;
      visited_[static_cast<size_t>(index)] = query_;
      const WallSegment& wall = (*walls_)[static_cast<size_t>(index)];
      const bool fromBehind = Dot(direction, wall.plane.normal) >= 0;
      float t = 0;
      if (!wall.Intersect(a, direction, &t)) continue;
      if (std::fabs(best - t) < 0.0001f) {
        best = 0;
        hit = false;
      } else if (t > best) {
        best = t;
        hit = fromBehind;
      }
    }
  }
  if (!hit) return false;
  *value = best;
  return true;
}
