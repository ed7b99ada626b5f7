#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"
#include "engine/core/world.h"

namespace {

// The ground is read as primitive f = triangle f, so every primitive must be
// a triangle naming vertices the mesh has.
bool HoldsTrianglesOnly(const MESHDESC& mesh) {
  if (mesh.primitiveCount < 0) return false;
  const size_t words = static_cast<size_t>(mesh.primitiveCount) * kTriangleWords;
  if (words > static_cast<size_t>(mesh.wordsUsed) || words > mesh.primitives.size()) return false;
  if (mesh.primitiveCount > 0 && !mesh.CurrentVertices()) return false;
  for (size_t at = 0; at < words; at += kTriangleWords) {
    if (mesh.primitives[at] != PRIM_TRIANGLE) return false;
    for (size_t k = 3; k < 6; ++k)
      if (mesh.primitives[at + k] < 0 || mesh.primitives[at + k] >= mesh.vertexCount) return false;
  }
  return true;
}

struct BUILDTRIANGLE {
  VECTOR3 corners[3];
  int vertices[3];
  float minX, maxX, minY, maxY;  // the x-y extent of the corners
};

// The number of triangles that use both vertex indices, from the per-vertex
// lists of users (each in triangle order).
size_t CountSharedUsers(const std::vector<int>& a, const std::vector<int>& b) {
  if (&a == &b) return a.size();
  size_t shared = 0;
  auto i = a.begin();
  auto j = b.begin();
  while (i != a.end() && j != b.end()) {
    if (*i < *j) {
      ++i;
    } else if (*j < *i) {
      ++j;
    } else {
      ++shared;
      ++i;
      ++j;
    }
  }
  return shared;
}

// Two triangles without a shared vertex are still neighbours when some
// corners lie within the height tolerance and some (maybe others) within the
// horizontal distance.
bool AreNearNeighbours(const BUILDTRIANGLE& f, const BUILDTRIANGLE& w, float horizontalDistance,
                       float heightTolerance) {
  // Corners closer than the distance need extents closer than it on both axes.
  if (w.minX - f.maxX >= horizontalDistance || f.minX - w.maxX >= horizontalDistance ||
      w.minY - f.maxY >= horizontalDistance || f.minY - w.maxY >= horizontalDistance)
    return false;
  bool closeInHeight = false;
  bool closeAcross = false;
  for (const VECTOR3& a : w.corners)
    for (const VECTOR3& b : f.corners) {
      closeInHeight = closeInHeight || std::fabs(a.z - b.z) < heightTolerance;
      closeAcross = closeAcross || GetPointDistanceN(&a, &b, 2) < horizontalDistance;
      if (closeInHeight && closeAcross) return true;
    }
  return false;
}

bool FiniteExtent(const BUILDTRIANGLE& t) {
  return std::isfinite(t.minX) && std::isfinite(t.maxX) && std::isfinite(t.minY) && std::isfinite(t.maxY);
}

// Triangles whose extents may come within the horizontal distance of a
// triangle's, through a uniform grid over the x-y plane. Each triangle is
// filed in the cells its extent touches; a query visits the cells within the
// distance of its own extent, one more each way so that rounding never loses
// a candidate. Triangles too large or not finite are candidates everywhere.
class NearTriangleGrid {
 public:
  NearTriangleGrid(const std::vector<BUILDTRIANGLE>& triangles, float distance)
      : triangles_(triangles), distance_(distance), seen_(triangles.size(), -1) {
    const size_t count = triangles.size();
    if (!(distance > 0) || count == 0) return;  // then no corners are ever close enough
    if (!std::isfinite(distance)) {
      queryAll_ = true;
      return;
    }
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const BUILDTRIANGLE& t : triangles) {
      if (!FiniteExtent(t)) continue;
      minX = std::min<double>(minX, t.minX), maxX = std::max<double>(maxX, t.maxX);
      minY = std::min<double>(minY, t.minY), maxY = std::max<double>(maxY, t.maxY);
    }
    if (minX > maxX) minX = maxX = minY = maxY = 0;
    // Cells at least the distance wide, and no more of them than a few per triangle.
    const double width = maxX - minX, height = maxY - minY, limit = 4.0 * static_cast<double>(count) + 16;
    cell_ = std::max<double>(distance, std::sqrt(width * height / static_cast<double>(count)));
    while ((std::floor(width / cell_) + 1) * (std::floor(height / cell_) + 1) > limit) cell_ *= 1.5;
    originX_ = minX;
    originY_ = minY;
    columns_ = static_cast<int>(std::floor(width / cell_)) + 1;
    rows_ = static_cast<int>(std::floor(height / cell_)) + 1;

    std::vector<uint32_t> counts(static_cast<size_t>(columns_) * rows_ + 1, 0);
    auto file = [&](auto&& visit) {
      for (size_t w = 0; w < count; ++w) {
        const BUILDTRIANGLE& t = triangles[w];
        Range r;
        if (!FiniteExtent(t) || !CellRange(t.minX, t.maxX, t.minY, t.maxY, 0, r) || r.Cells() > kLargeCells) {
          everywhere_.push_back(static_cast<int>(w));
          continue;
        }
        for (int y = r.y0; y <= r.y1; ++y)
          for (int x = r.x0; x <= r.x1; ++x) visit(static_cast<size_t>(y) * columns_ + x, static_cast<int>(w));
      }
    };
    file([&](size_t c, int) { ++counts[c + 1]; });
    for (size_t c = 1; c < counts.size(); ++c) counts[c] += counts[c - 1];
    cellStart_ = counts;
    entries_.resize(counts.back());
    everywhere_.clear();
    file([&](size_t c, int w) { entries_[counts[c]++] = w; });
  }

  // The candidates for triangle f in ascending order (f included).
  void Candidates(int f, std::vector<int>& out) {
    out.clear();
    const int count = static_cast<int>(triangles_.size());
    if (!(distance_ > 0) || count == 0) return;
    const BUILDTRIANGLE& t = triangles_[f];
    Range r;
    if (queryAll_ || !FiniteExtent(t) ||
        !CellRange(t.minX - distance_, t.maxX + distance_, t.minY - distance_, t.maxY + distance_, 1, r) ||
        r.Cells() > static_cast<int64_t>(count)) {
      for (int w = 0; w < count; ++w) out.push_back(w);
      return;
    }
    auto take = [&](int w) {
      if (seen_[w] == f) return;
      seen_[w] = f;
      out.push_back(w);
    };
    for (int y = r.y0; y <= r.y1; ++y)
      for (int x = r.x0; x <= r.x1; ++x) {
        const size_t c = static_cast<size_t>(y) * columns_ + x;
        for (uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) take(entries_[k]);
      }
    for (int w : everywhere_) take(w);
    std::sort(out.begin(), out.end());
  }

 private:
  static constexpr int64_t kLargeCells = 64;

  struct Range {
    int x0, x1, y0, y1;
    int64_t Cells() const { return static_cast<int64_t>(x1 - x0 + 1) * (y1 - y0 + 1); }
  };

  int Column(double x, double origin, int size) const {
    const double i = std::floor((x - origin) / cell_);
    return static_cast<int>(std::clamp(i, 0.0, static_cast<double>(size - 1)));
  }

  // The cells touched by an extent, widened by `margin` cells; false when
  // the extent is not finite.
  bool CellRange(double x0, double x1, double y0, double y1, int margin, Range& r) const {
    if (!(std::isfinite(x0) && std::isfinite(x1) && std::isfinite(y0) && std::isfinite(y1))) return false;
    r.x0 = std::max(Column(x0, originX_, columns_) - margin, 0);
    r.x1 = std::min(Column(x1, originX_, columns_) + margin, columns_ - 1);
    r.y0 = std::max(Column(y0, originY_, rows_) - margin, 0);
    r.y1 = std::min(Column(y1, originY_, rows_) + margin, rows_ - 1);
    return true;
  }

  const std::vector<BUILDTRIANGLE>& triangles_;
  float distance_;
  bool queryAll_ = false;
  double originX_ = 0, originY_ = 0, cell_ = 1;
  int columns_ = 1, rows_ = 1;
  std::vector<uint32_t> cellStart_;
  std::vector<int> entries_;
  std::vector<int> everywhere_;
  std::vector<int> seen_;  // the query that last took each triangle
};

void BuildAdjacency(TERRAINDESC* terrain, const std::vector<BUILDTRIANGLE>& triangles,
                    const std::vector<std::vector<int>>& users, float horizontalDistance) {
  const int count = terrain->triangleCount;
  terrain->adjacencyStarts.resize(count);
  terrain->adjacency.reserve(static_cast<size_t>(count) * 8);
  std::vector<int> listedFor(count, -1);
  NearTriangleGrid grid(triangles, horizontalDistance);
  std::vector<int> candidates;
  for (int f = 0; f < count; ++f) {
    const size_t start = terrain->adjacency.size();
    terrain->adjacencyStarts[f] = static_cast<uint32_t>(start);
    terrain->adjacency.push_back(0);
    listedFor[f] = f;
    auto list = [&](int t) {
      listedFor[t] = f;
      terrain->adjacency.push_back(static_cast<uint32_t>(t));
    };
    for (int vertex : triangles[f].vertices)
      for (int t : users[vertex])
        if (listedFor[t] != f) list(t);
    grid.Candidates(f, candidates);
    for (int w : candidates)
      if (listedFor[w] != f &&
          AreNearNeighbours(triangles[f], triangles[w], horizontalDistance, terrain->heightTolerance))
        list(w);
    terrain->adjacency[start] = static_cast<uint32_t>(terrain->adjacency.size() - start - 1);
  }
  terrain->adjacency.shrink_to_fit();
}

// An edge used by one triangle only is a border; found by vertex indices, so
// two triangles meeting without sharing vertices both give a border there.
void BuildBorders(TERRAINDESC* terrain, const std::vector<BUILDTRIANGLE>& triangles,
                  const std::vector<std::vector<int>>& users) {
  for (const BUILDTRIANGLE& t : triangles)
    for (int e = 0; e < 3; ++e) {
      const int first = t.vertices[e];
      const int second = t.vertices[(e + 1) % 3];
      if (CountSharedUsers(users[first], users[second]) == 1)
        terrain->borders.insert(terrain->borders.end(), {first, second, 0});
    }
  terrain->borders.shrink_to_fit();
}

void AppendToTerrainList(TERRAINDESC* terrain) {
  RENDERLISTDESC& lists = *g_gameWorld->renderList;
  if (lists.terrainTail) lists.terrainTail->next = terrain;
  else lists.terrainHead = terrain;
  lists.terrainTail = terrain;
}

void UnlinkFromTerrainList(TERRAINDESC* terrain) {
  if (!g_gameWorld || !g_gameWorld->renderList) return;
  RENDERLISTDESC& lists = *g_gameWorld->renderList;
  TERRAINDESC* previous = nullptr;
  for (TERRAINDESC* t = lists.terrainHead; t; previous = t, t = t->next) {
    if (t != terrain) continue;
    (previous ? previous->next : lists.terrainHead) = t->next;
    if (lists.terrainTail == t) lists.terrainTail = previous;
    t->next = nullptr;
    return;
  }
}

void ForgetTerrainInNode(NODEDESC* node, const TERRAINDESC* terrain) {
  if (node && node->terrain == terrain) node->terrain = nullptr;
}

}  // namespace

HOBJECT CreateTerrain(HOBJECT meshNode, float horizontalDistance, float heightTolerance) {
  if (!g_engineOpen || !g_gameWorld || !g_gameWorld->renderList || meshNode == 0) return 0;
  NODEDESC* node = LookupNode(meshNode);
  const MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh || !HoldsTrianglesOnly(*mesh)) return 0;

  auto terrain = std::make_unique<TERRAINDESC>();
  terrain->mesh = node;
  terrain->triangleCount = mesh->primitiveCount;
  terrain->heightTolerance = heightTolerance;

  const int count = terrain->triangleCount;
  std::vector<BUILDTRIANGLE> triangles(count);
  std::vector<std::vector<int>> users(mesh->vertexCount);
  terrain->inverseAreas.resize(count);
  terrain->normals.resize(count);
  for (int f = 0; f < count; ++f) {
    BUILDTRIANGLE& t = triangles[f];
    GetTerrainTriangle(terrain.get(), f, t.corners, t.vertices);
    t.minX = std::min({t.corners[0].x, t.corners[1].x, t.corners[2].x});
    t.maxX = std::max({t.corners[0].x, t.corners[1].x, t.corners[2].x});
    t.minY = std::min({t.corners[0].y, t.corners[1].y, t.corners[2].y});
    t.maxY = std::max({t.corners[0].y, t.corners[1].y, t.corners[2].y});
    const float area = SignedArea2D(&t.corners[0], &t.corners[1], &t.corners[2]);
    // A triangle flat in x-y gets no height rather than an infinite blend.
    terrain->inverseAreas[f] = area != 0 ? 1.0f / area : 0.0f;
    const VECTOR3 ab = {t.corners[1].x - t.corners[0].x, t.corners[1].y - t.corners[0].y,
                        t.corners[1].z - t.corners[0].z};
    const VECTOR3 ac = {t.corners[2].x - t.corners[0].x, t.corners[2].y - t.corners[0].y,
                        t.corners[2].z - t.corners[0].z};
    CrossVector3Normalized(&terrain->normals[f], &ab, &ac);
    for (int vertex : t.vertices)
      if (users[vertex].empty() || users[vertex].back() != f) users[vertex].push_back(f);
  }
  BuildAdjacency(terrain.get(), triangles, users, horizontalDistance);
  BuildBorders(terrain.get(), triangles, users);

  if (g_terrainPool.Allocate(terrain.get()) < 0) {
    ShowFatalMessage("No more terrain available. (T01)");
    return 0;
  }
  AppendToTerrainList(terrain.get());
  SetNodeCulling(meshNode, 0);
  return MakeHandle(OBJTYPE_TERRAIN, static_cast<uint32_t>(terrain.release()->index));
}

void DestroyTerrain(HOBJECT handle, int destroyMesh) {
  if (!g_engineOpen) return;
  TERRAINDESC* terrain = LookupTerrain(handle);
  if (!terrain) return;
  g_terrainPool.Free(static_cast<uint32_t>(terrain->index));
  // Every node, not only the drawable ones: cameras, lights and sound nodes
  // walk terrains too.
  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot) ForgetTerrainInNode(g_nodePool.slots[slot], terrain);
  ForgetTerrainInNode(g_nodeUnderConstruction, terrain);
  UnlinkFromTerrainList(terrain);
  if (destroyMesh && terrain->mesh) {
    DetachMeshFromTerrains(terrain->mesh);
    DestroyNode(NodeHandle(terrain->mesh));
  }
  delete terrain;
}

void DetachMeshFromTerrains(const NODEDESC* mesh) {
  if (!mesh) return;
  for (uint32_t slot = 0; slot < g_terrainPool.mark; ++slot)
    if (TERRAINDESC* t = g_terrainPool.slots[slot]; t && t->mesh == mesh) t->mesh = nullptr;
}
