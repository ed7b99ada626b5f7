#include "engine/core/picking.h"

#include <algorithm>
#include <cmath>

#include "engine/core/lod_groups.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking_view.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"

namespace {

// The ray from the camera through the near-plane point under the screen
// point, in view space; always built with the perspective formulas.
VECTOR3 PickRay(const VIEWQUERY& query, int sx, int sy) {
  if (LinesDoubled()) sy /= 2;
  const CAMERADESC& c = *query.lens;
  const float h = c.nearPlane * c.aperture * 12.7f / c.lens;
  const float w = h / c.aspect;
  const float left = h * c.windowLeft;
  const float right = h * (c.windowLeft + c.windowWidth);
  const float bottom = w * c.windowBottom;
  const float top = w * (c.windowBottom + c.windowHeight);
  const VIEWPORTDESC& v = *query.viewport;
  return {left + static_cast<float>(sx - v.x) * (right - left) / static_cast<float>(v.width),
          bottom + static_cast<float>(v.y + v.height - sy) * (top - bottom) / static_cast<float>(v.height),
          -c.nearPlane};
}

int Visibility(const NODEDESC* node) {
  if (node->lodGroup && !node->lodOwner && node->lodGroup->shown) return node->lodGroup->shown->visible;
  return node->visible;
}

bool IsCandidate(const NODEDESC* node, int skipVisibility) {
  const MESHDESC* mesh = node->Mesh();
  return mesh && !(mesh->flags & MESH_PRETRANSFORMED) && !node->lodOwner && node != g_nodeUnderConstruction &&
         Visibility(node) != skipVisibility;
}

template <typename F>
void ForEachCandidate(const HOBJECT* candidates, int count, int skipVisibility, F f) {
  if (candidates) {
    for (int i = 0; i < count; ++i) {
      NODEDESC* node = LookupNode(candidates[i]);
      if (!node) return;
      if (IsCandidate(node, skipVisibility)) f(node);
    }
    return;
  }
  for (NODEDESC* node = g_gameWorld->renderList ? g_gameWorld->renderList->head : nullptr; node;
       node = node->renderNext)
    if (IsCandidate(node, skipVisibility)) f(node);
}

bool NonZero(const VECTOR3& v) { return std::fabs(v.x) > 1e-6f || std::fabs(v.y) > 1e-6f || std::fabs(v.z) > 1e-6f; }

VECTOR3 Scale(const VECTOR3& v, float t) { return {v.x * t, v.y * t, v.z * t}; }

bool BoxUnderRay(const NODEDESC* node, const MATRIX44& view, const VECTOR3& dir) {
  VECTOR3 corners[8];
  GetNodeWorldBox(node, nullptr, corners, nullptr);
  for (VECTOR3& corner : corners) TransformPointByMatrix44(&corner, &corner, &view);
  for (const auto& face : kBoxFaces) {
    const VECTOR3* c[4] = {&corners[face[0]], &corners[face[1]], &corners[face[2]], &corners[face[3]]};
    VECTOR3 n;
    TriangleNormal(&n, c[0], c[1], c[2]);
    const float along = DotVector3(&n, &dir);
    if (std::fabs(along) <= 1e-6f) continue;
    const float t = DotVector3(&n, c[3]) / along;
    if (t <= 1) continue;
    const VECTOR3 hit = Scale(dir, t);
    bool inside = true;
    for (int e = 0; e < 4 && inside; ++e) {
      VECTOR3 edge;
      TriangleNormal(&edge, c[(e + 1) % 4], &hit, c[e]);
      inside = DotVector3(&edge, &n) > 0;
    }
    if (inside) return true;
  }
  return false;
}

struct TRIANGLEHIT {
  NODEDESC* node = nullptr;
  int primitive = -1;
  VECTOR3 point{0, 0, 0};  // view space
  VECTOR3 normal{0, 0, 0};
  float depth = 0;
};

// The view-space normal of a triangle, from the first corner triple that
// gives one.
VECTOR3 FaceNormal(const VECTOR3 c[3]) {
  static const int kTriples[3][3] = {{2, 0, 1}, {0, 1, 2}, {1, 2, 0}};
  VECTOR3 n{0, 0, 0};
  for (const auto& t : kTriples) {
    TriangleNormal(&n, &c[t[0]], &c[t[1]], &c[t[2]]);
    if (NonZero(n)) break;
  }
  return n;
}

// A triangle facing the camera that the ray meets beyond the near plane.
bool RayHitsTriangle(const VECTOR3 c[3], const VECTOR3& dir, VECTOR3* point, VECTOR3* normal) {
  const VECTOR3 s = FaceNormal(c);
  const float along = DotVector3(&s, &dir);
  if (along >= 0) return false;
  const float t = DotVector3(&s, &c[0]) / along;
  if (t <= 1) return false;
  const VECTOR3 x = Scale(dir, t);
  for (int e = 0; e < 3; ++e) {
    VECTOR3 edge;
    TriangleNormal(&edge, &c[(e + 1) % 3], &x, &c[e]);
    if (!NonZero(edge) || DotVector3(&edge, &s) < 0) return false;
  }
  *point = x;
  *normal = s;
  return true;
}

void PickTriangleOfNode(NODEDESC* node, const VIEWQUERY& query, const VECTOR3& dir, TRIANGLEHIT* best) {
  const MESHDESC* mesh = node->Mesh();
  const MESHVERTEX* vertices = mesh->CurrentVertices();
  if (!vertices) return;
  MATRIX34 world;
  ComposeNodeWorldMatrix(node, &world);
  MATRIX44 toView;
  MultiplyMatrix34By44(&toView, &world, &query.view);
  const int vertexCount = std::min(mesh->vertexCount, mesh->vertexCapacity);
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int index) {
    if (words[at] != PRIM_TRIANGLE) return;
    VECTOR3 c[3];
    for (int k = 0; k < 3; ++k) {
      const int v = words[at + 3 + k];
      if (v < 0 || v >= vertexCount) return;
      const VECTOR3 local = {vertices[v].x, vertices[v].y, vertices[v].z};
      TransformPointByMatrix44(&c[k], &local, &toView);
    }
    VECTOR3 point, normal;
    if (!RayHitsTriangle(c, dir, &point, &normal)) return;
    const float depth = std::fabs(point.z);
    if (best->node && depth >= best->depth) return;
    *best = {node, index, point, normal, depth};
  });
}

}  // namespace

int PickNode(HOBJECT viewport, const HOBJECT* candidates, int count, int skipVisibility, int sx, int sy,
             HOBJECT* node) {
  VIEWQUERY query;
  if (!BeginViewQuery(viewport, &query)) return 0;
  const VECTOR3 dir = PickRay(query, sx, sy);
  NODEDESC* picked = nullptr;
  ForEachCandidate(candidates, count, skipVisibility, [&](NODEDESC* candidate) {
    if (BoxUnderRay(candidate, query.view, dir)) picked = candidate;
  });
  if (!picked) return 0;
  if (node) *node = NodeHandle(picked);
  return 1;
}

int PickNodeTriangle(HOBJECT viewport, const HOBJECT* candidates, int count, int skipVisibility, int sx, int sy,
                     HOBJECT* node, VECTOR3* point, int* primitive, VECTOR3* normal) {
  VIEWQUERY query;
  if (!BeginViewQuery(viewport, &query)) return 0;
  const VECTOR3 dir = PickRay(query, sx, sy);
  TRIANGLEHIT best;
  ForEachCandidate(candidates, count, skipVisibility, [&](NODEDESC* candidate) {
    if (BoxUnderRay(candidate, query.view, dir)) PickTriangleOfNode(candidate, query, dir, &best);
  });
  if (!best.node) return 0;
  if (node) *node = NodeHandle(best.node);
  if (primitive) *primitive = best.primitive;
  const MATRIX34& w = query.cameraWorld;
  if (point) {
    const VECTOR3& x = best.point;
    *point = {x.x * w.row[0].x + x.y * w.row[1].x + x.z * w.row[2].x + w.row[3].x,
              x.x * w.row[0].y + x.y * w.row[1].y + x.z * w.row[2].y + w.row[3].y,
              x.x * w.row[0].z + x.y * w.row[1].z + x.z * w.row[2].z + w.row[3].z};
  }
  if (normal) {
    const VECTOR3& s = best.normal;
    *normal = {s.x * w.row[0].x + s.y * w.row[1].x + s.z * w.row[2].x,
               s.x * w.row[0].y + s.y * w.row[1].y + s.z * w.row[2].y,
               s.x * w.row[0].z + s.y * w.row[1].z + s.z * w.row[2].z};
  }
  return 1;
}
