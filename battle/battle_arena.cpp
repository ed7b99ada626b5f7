#include "battle/battle_arena.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "platform/qel/vector_math.h"

namespace {

constexpr float kQuarterTurn = 1.57079632679f;

uint64_t DirectedKey(int a, int b) {
  return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
}

// Every triangle's three edges, corner to corner in its own order.
std::vector<ARENAEDGE> TriangleEdges(HOBJECT ground) {
  std::vector<ARENAEDGE> edges;
  NODEDESC* node = LookupNodeOfKind(ground, NODE_MESH);
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh) return edges;
  const int vertexCount = mesh->vertexCount;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    const MESHPRIM* w = words + at;
    if (w[0] != PRIM_TRIANGLE) return;
    for (int i = 3; i < 6; ++i)
      if (w[i] < 0 || w[i] >= vertexCount) return;
    edges.push_back({w[3], w[4]});
    edges.push_back({w[4], w[5]});
    edges.push_back({w[5], w[3]});
  });
  return edges;
}

float Distance(const VECTOR3& a, const VECTOR3& b) { return qmz::GetVectorLength(&a.x, &b.x); }

}  // namespace

void CBattleArena::Build(HOBJECT ground) {
  edges_.clear();
  ground_ = ground;
  std::vector<ARENAEDGE> all = TriangleEdges(ground);

  // An inner edge is met once in each direction; each edge pairs with the
  // first later unpaired edge running the other way.
  std::unordered_map<uint64_t, std::vector<size_t>> byDirection;
  for (size_t i = 0; i < all.size(); ++i) byDirection[DirectedKey(all[i].first, all[i].second)].push_back(i);
  std::unordered_map<uint64_t, size_t> searchFrom;
  std::vector<char> removed(all.size(), 0);
  for (size_t i = 0; i < all.size(); ++i) {
    if (removed[i]) continue;
    const uint64_t reverse = DirectedKey(all[i].second, all[i].first);
    auto found = byDirection.find(reverse);
    if (found == byDirection.end()) continue;
    const std::vector<size_t>& candidates = found->second;
    size_t& at = searchFrom[reverse];
    while (at < candidates.size() && (candidates[at] <= i || removed[candidates[at]])) ++at;
    if (at == candidates.size()) continue;
    removed[i] = 1;
    removed[candidates[at++]] = 1;
  }
  for (size_t i = 0; i < all.size(); ++i)
    if (!removed[i]) edges_.push_back(all[i]);
}

int CBattleArena::PickPoints(const VECTOR3& centre, float minimumDistance, float spacing, float inset, int count,
                             VECTOR3* points, VECTOR3* directions) const {
  if (count < 0) return 0;
  if (count == 0) return 1;
  if (!points || !directions) return 0;
  int vertexCount = 0;
  const MESHVERTEX* vertices = GetMeshVertices(ground_, &vertexCount, nullptr, nullptr);
  if (!vertices) return 0;

  int found = 0;
  for (const ARENAEDGE& edge : edges_) {
    if (found == count) break;
    if (edge.first >= vertexCount || edge.second >= vertexCount) continue;
    const MESHVERTEX& a = vertices[edge.first];
    const MESHVERTEX& b = vertices[edge.second];
    VECTOR3 along{b.x - a.x, b.y - a.y, 0};
    qmz::NormalizeVector(&along.x);
    if (along.x == 0 && along.y == 0) continue;
    VECTOR3 inward;
    qmz::Turn2DVectorAngle(&along.x, kQuarterTurn, &inward.x);
    const VECTOR3 p{(a.x + b.x) / 2 + inset * inward.x, (a.y + b.y) / 2 + inset * inward.y, (a.z + b.z) / 2};
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
    if (!(Distance(p, centre) >= minimumDistance)) continue;
    bool crowded = false;
    for (int i = 0; i < found && !crowded; ++i) crowded = !(Distance(p, points[i]) >= spacing);
    if (crowded) continue;
    points[found] = p;
    directions[found] = inward;
    ++found;
  }
  return found == count ? 1 : 0;
}

void CBattleArena::Release() {
  edges_.clear();
  ground_ = 0;
}
