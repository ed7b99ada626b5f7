#include <algorithm>
#include <cmath>

#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "engine/core/walking.h"

namespace {

// The corners of a border edge, when the mesh still has both vertices.
bool BorderCorners(const MESHDESC& mesh, const MESHVERTEX* vertices, int first, int second, VECTOR3* a, VECTOR3* b) {
  const int count = std::min(mesh.vertexCount, mesh.vertexCapacity);
  if (first < 0 || second < 0 || first >= count || second >= count) return false;
  *a = {vertices[first].x, vertices[first].y, vertices[first].z};
  *b = {vertices[second].x, vertices[second].y, vertices[second].z};
  return true;
}

}  // namespace

int GetTerrainSlideDirection(HOBJECT handle, VECTOR3* out, int components, int forward, float maxDegrees) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node || !out) return 0;
  const TERRAINDESC* terrain = node->terrain;
  if (!terrain || node->terrainTriangle == -1) return 0;
  const MESHDESC* mesh = terrain->mesh ? terrain->mesh->Mesh() : nullptr;
  const MESHVERTEX* vertices = mesh ? mesh->CurrentVertices() : nullptr;
  if (!vertices) return 0;
  const float limit = std::cos(maxDegrees * kDegreesToRadians);

  VECTOR3 p, f;
  GetNodeWorldVectors(node, &p, &f, nullptr);
  if (!forward) {
    f.x = -f.x;
    f.y = -f.y;
  }
  NormalizeVector2(&f);
  VECTOR3 corners[8];
  GetNodeWorldBox(node, nullptr, corners, nullptr);
  const float foot = p.z - node->heightOffset;

  // The nearest border that a ray from the node towards a box corner ahead meets.
  float nearest = 1e20f;
  VECTOR3 hitA{0, 0, 0}, hitB{0, 0, 0};
  bool hit = false;
  for (const VECTOR3& corner : corners) {
    VECTOR3 v = {corner.x - p.x, corner.y - p.y, 0};
    NormalizeVector2(&v);
    if (DotVector2(&v, &f) <= 0) continue;
    for (size_t at = 0; at + 3 <= terrain->borders.size(); at += 3) {
      VECTOR3 a, b;
      if (!BorderCorners(*mesh, vertices, terrain->borders[at], terrain->borders[at + 1], &a, &b)) continue;
      if (std::fabs(a.z - foot) > terrain->heightTolerance && std::fabs(b.z - foot) > terrain->heightTolerance)
        continue;
      const VECTOR3 e = {b.x - a.x, b.y - a.y, b.z - a.z};
      const float den = e.y * v.x - e.x * v.y;
      if (den == 0) continue;
      const float t = (e.y * (a.x - p.x) - e.x * (a.y - p.y)) / den;
      const float s = (v.y * (p.x - a.x) - v.x * (p.y - a.y)) / -den;
      if (t > 0 && s >= 0 && s <= 1 && t < nearest) {
        nearest = t;
        hitA = a;
        hitB = b;
        hit = true;
      }
    }
  }
  if (!hit) return 0;

  out->x = hitA.x - hitB.x;
  out->y = hitA.y - hitB.y;
  if (components == 3) out->z = hitA.z - hitB.z;
  VECTOR3 along = {out->x, out->y, 0};
  NormalizeVector2(&along);
  float agreement = DotVector2(&along, &f);
  if (agreement < 0) {
    out->x = -out->x;
    out->y = -out->y;
    if (components == 3) out->z = -out->z;
    agreement = -agreement;
  }
  return agreement >= limit ? 1 : 0;
}
