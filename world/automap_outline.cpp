#include "world/automap_outline.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"

namespace {

struct Edge {
  int a;
  int b;
  int count;
};

uint64_t EdgeKey(int a, int b) {
  if (a > b) std::swap(a, b);
  return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
}

// Edges in order of first appearance with the number of triangles using each.
std::vector<Edge> CountEdges(HOBJECT terrain, int vertexCount) {
  std::vector<Edge> edges;
  NODEDESC* node = LookupNodeOfKind(terrain, NODE_MESH);
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh) return edges;
  std::unordered_map<uint64_t, size_t> found;
  auto add = [&](int a, int b) {
    auto [at, inserted] = found.try_emplace(EdgeKey(a, b), edges.size());
    if (inserted) edges.push_back({a, b, 1});
    else ++edges[at->second].count;
  };
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    const MESHPRIM* w = words + at;
    if (w[0] != PRIM_TRIANGLE) return;
    for (int i = 3; i < 6; ++i)
      if (w[i] < 0 || w[i] >= vertexCount) return;
    add(w[3], w[4]);
    add(w[4], w[5]);
    add(w[5], w[3]);
  });
  return edges;
}

void Widen(OUTLINEBOUNDSDESC& b, const OUTLINEPOINT& p, int edge) {
  if (p.y > b.top.y) b.top = {p.x, p.y, edge};
  if (p.x > b.right.x) b.right = {p.x, p.y, edge};
  if (p.y < b.bottom.y) b.bottom = {p.x, p.y, edge};
  if (p.x < b.left.x) b.left = {p.x, p.y, edge};
}

bool SamePlace(const OUTLINEPOINT& p, const OUTLINEPOINT& q) { return p.x == q.x && p.y == q.y; }

// Joins e onto a when they share an end; false when they do not.
bool JoinInto(OutlinePolyline& a, OutlinePolyline& e) {
  if (SamePlace(a.front(), e.front())) {
    std::reverse(e.begin(), e.end());
    a.insert(a.begin(), e.begin(), e.end() - 1);
  } else if (SamePlace(a.front(), e.back())) {
    a.insert(a.begin(), e.begin(), e.end() - 1);
  } else if (SamePlace(a.back(), e.front())) {
    a.insert(a.end(), e.begin() + 1, e.end());
  } else if (SamePlace(a.back(), e.back())) {
    std::reverse(e.begin(), e.end());
    a.insert(a.end(), e.begin() + 1, e.end());
  } else {
    return false;
  }
  return true;
}

// Joins polylines that share an end point (x and y compared exactly) until
// a whole pass joins nothing.
void JoinOutlinePolylines(TerrainOutline& outline) {
  for (bool joined = true; joined;) {
    joined = false;
    for (size_t i = 0; i < outline.size(); ++i) {
      for (size_t j = i + 1; j < outline.size();) {
        if (!outline[i].empty() && !outline[j].empty() && JoinInto(outline[i], outline[j])) {
          outline.erase(outline.begin() + static_cast<ptrdiff_t>(j));
          joined = true;
        } else {
          ++j;
        }
      }
    }
  }
}

}  // namespace

int ExtractTerrainOutline(HOBJECT terrain, TerrainOutline& outline, OUTLINEBOUNDSDESC& bounds) {
  int vertexCount = 0;
  const MESHVERTEX* vertices = GetMeshVertices(terrain, &vertexCount, nullptr, nullptr);
  if (!vertices) return 0;
  bool first = true;
  int number = 0;
  for (const Edge& e : CountEdges(terrain, vertexCount)) {
    ++number;
    if (e.count != 1) continue;
    OUTLINEPOINT p{vertices[e.a].x, vertices[e.a].y, vertices[e.a].z};
    OUTLINEPOINT q{vertices[e.b].x, vertices[e.b].y, vertices[e.b].z};
    outline.push_back({p, q});
    if (first) {
      bounds.top = bounds.right = bounds.bottom = bounds.left = {p.x, p.y, number};
      first = false;
    }
    Widen(bounds, p, number);
    Widen(bounds, q, number);
  }
  JoinOutlinePolylines(outline);
  return 0;
}
