#include "components/shadow_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "components/mesh_helpers.h"
#include "engine/core/cameras.h"
#include "engine/core/engine_state.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/picking.h"
#include "engine/core/render_to_texture.h"
#include "engine/core/terrain.h"

int g_shadowEntriesCreated = 0;

namespace {

constexpr float kGroundLift = 0.8f;
constexpr int kGridPoints = 5;
constexpr float kGridSpan = 20;
constexpr int kBlendZero = 1;
constexpr int kBlendSourceColour = 4;

VECTOR3 Sub(const VECTOR3& a, const VECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Length(const VECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
VECTOR3 Scale(const VECTOR3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }

VECTOR3 WorldPosition(HOBJECT node) {
  VECTOR3 p{0, 0, 0};
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  return p;
}

// Visits triangle k of the mesh (its primitive index) with its three vertex indices.
template <class F>
void ForEachTriangle(HOBJECT mesh, int vertexCount, F f) {
  NODEDESC* node = LookupNodeOfKind(mesh, NODE_MESH);
  MESHDESC* desc = node ? node->Mesh() : nullptr;
  if (!desc) return;
  ForEachMeshPrimitive(desc, [&](const MESHPRIM* words, int at, int k) {
    const MESHPRIM* w = words + at;
    if (w[0] != PRIM_TRIANGLE) return;
    for (int i = 3; i < 6; ++i)
      if (w[i] < 0 || w[i] >= vertexCount) return;
    f(k, w + 3);
  });
}

// Lays triangle k of the mesh on ground triangle k (0.8 above it), each
// vertex's texture coordinates from uvOf(corner); triangles without a ground
// triangle keep their place and get coordinates 0.
template <class UvOf>
void LayOverGround(HOBJECT mesh, MESHVERTEX* vertices, int count, const std::vector<VECTOR3>& ground, UvOf uvOf) {
  ForEachTriangle(mesh, count, [&](int k, const int* corners) {
    for (int i = 0; i < 3; ++i) {
      MESHVERTEX& v = vertices[corners[i]];
      if (static_cast<size_t>(3 * k + 2) >= ground.size()) {
        v.u = v.v = 0;
        continue;
      }
      const VECTOR3& g = ground[3 * k + i];
      v.x = g.x, v.y = g.y, v.z = g.z + kGroundLift;
      uvOf(g, &v.u, &v.v);
    }
  });
}

int CollectFromNode(HOBJECT creatureNode, std::vector<VECTOR3>* points) {
  NODEDESC* node = LookupOpenNode(creatureNode);
  if (!node || !node->terrain || !node->terrain->mesh || node->terrainTriangle < 0) return 0;
  const TERRAINDESC* terrain = node->terrain;
  auto add = [&](int triangle) {
    VECTOR3 corners[3];
    if (!GetTerrainTriangle(terrain, triangle, corners)) return;
    points->insert(points->end(), corners, corners + 3);
  };
  const int triangle = node->terrainTriangle;
  add(triangle);
  if (static_cast<size_t>(triangle) >= terrain->adjacencyStarts.size()) return 1;
  const size_t start = terrain->adjacencyStarts[triangle];
  if (start >= terrain->adjacency.size()) return 1;
  const size_t count = terrain->adjacency[start];
  for (size_t i = 1; i <= count && start + i < terrain->adjacency.size(); ++i)
    add(static_cast<int>(terrain->adjacency[start + i]));
  return 1;
}

}  // namespace

HOBJECT CreateShadowMesh(int renderTarget, const char* textureName, int textureSize) {
  const char* name = !renderTarget ? "shadow1" : textureName ? textureName : "shadow2";
  const HOBJECT node = CreateGridMesh(kGridPoints, kGridPoints, kGridSpan, kGridSpan, name, renderTarget,
                                      renderTarget ? textureSize : 128);
  if (!node) return 0;
  SetNodeCulling(node, 0);
  SetNodeAlpha(node, 0.99f);
  SetNodeRenderState(node, NRS_DEST_BLEND, kBlendSourceColour);
  SetNodeRenderState(node, NRS_SOURCE_BLEND, kBlendZero);
  SetNodeRenderState(node, NRS_ADDRESSING_STAGE0, kAddressClamp);
  return node;
}

CShadowMeshPool::~CShadowMeshPool() {
  for (const auto& entry : entries) DestroyNode(entry->node);
  for (HOBJECT node : extraNodes) DestroyNode(node);
}

SHADOWENTRY* CShadowMeshPool::Acquire() {
  for (const auto& entry : entries) {
    if (entry->inUse) continue;
    entry->inUse = 1;
    return entry.get();
  }
  auto entry = std::make_unique<SHADOWENTRY>();
  entry->index = static_cast<int>(entries.size());
  char name[16];
  std::snprintf(name, sizeof name, "_SHoRuN%03d", entry->index);
  entry->node = CreateShadowMesh(1, name, entry->index == 0 ? 256 : 128);
  entry->inUse = 1;
  ++g_shadowEntriesCreated;
  entries.push_back(std::move(entry));
  return entries.back().get();
}

void CShadowMeshPool::Release(SHADOWENTRY* entry) {
  if (!entry) return;
  entry->inUse = 0;
  ShowNode(entry->node, 0);
}

void ComputeShadowProjection(const SHADOWENTRY* entry, HOBJECT lightCamera, HOBJECT lightNode, HOBJECT creatureNode,
                             const std::vector<HOBJECT>& nodes, MATRIX44* out, int render) {
  VECTOR3 p = WorldPosition(creatureNode);
  p.z += 30;
  const VECTOR3 l = lightNode ? Scale(WorldPosition(lightNode), 10) : VECTOR3{p.x + 200, p.y + 200, p.z + 100000};
  const float d = std::max(Length(Sub(p, l)), 1e-6f);
  const VECTOR3 f = Scale(Sub(p, l), 1 / d);
  // A light straight above leaves no horizontal direction: any side will do.
  const float h = std::sqrt(f.x * f.x + f.y * f.y);
  const VECTOR3 s = h > 1e-5f ? VECTOR3{f.y / h, -f.x / h, 0} : VECTOR3{1, 0, 0};
  VECTOR3 u;
  CrossVector3(&u, &s, &f);
  NormalizeVector3(&u);
  const MATRIX34 frame{{s, u, Scale(f, -1), l}};
  SetNodeMatrix(lightCamera, &frame, TRANSFORM_SET);

  VECTOR3 q = Sub(Sub(p, Scale(s, -40)), l);
  NormalizeVector3(&q);
  const float c = std::clamp(DotVector3(&f, &q), -1.0f, 1.0f);
  SetCameraFieldOfView(lightCamera, 1.0f, std::acos(c) * kRadiansToTwiceDegrees);
  SetCameraClipPlanes(lightCamera, std::max(d - 100, 1.0f), d + 100);
  if (render && entry && !nodes.empty())
    UpdateRenderTexture(nodes.data(), static_cast<int>(nodes.size()), GetPrimitiveMaterial(entry->node, 0), lightCamera,
                        1, 1);

  const VECTOR3 back = Scale(f, -1);
  const MATRIX44 view{{s.x, u.x, back.x, 0, s.y, u.y, back.y, 0, s.z, u.z, back.z, 0, -DotVector3(&l, &s),
                       -DotVector3(&l, &u), -DotVector3(&l, &back), 1}};
  MATRIX44 projection;
  if (!GetCameraProjection(lightCamera, &projection)) SetIdentityMatrix44(&projection);
  MultiplyMatrix44(out, &view, &projection);
}

int CollectGroundTriangles(HOBJECT creatureNode, std::vector<VECTOR3>* points) {
  return CollectFromNode(creatureNode, points);
}

int CollectBlobGroundTriangles(HOBJECT creatureNode, std::vector<VECTOR3>* points) {
  return g_engineOpen ? CollectFromNode(creatureNode, points) : 0;
}

int UpdateProjectedShadow(const SHADOWENTRY* entry, HOBJECT creatureNode, const MATRIX44* matrix) {
  std::vector<VECTOR3> ground;
  if (!entry || !CollectGroundTriangles(creatureNode, &ground)) return 0;
  int count = 0;
  MESHVERTEX* vertices = GetMeshVertices(entry->node, &count, nullptr, nullptr);
  if (!vertices) return 0;
  const float* m = matrix->m;
  LayOverGround(entry->node, vertices, count, ground, [m](const VECTOR3& g, float* u, float* v) {
    const float x = g.x * m[0] + g.y * m[4] + g.z * m[8] + m[12];
    const float y = g.x * m[1] + g.y * m[5] + g.z * m[9] + m[13];
    const float w = g.x * m[3] + g.y * m[7] + g.z * m[11] + m[15];
    *u = w != 0 ? (x / w + 1) / 2 : 0;
    *v = w != 0 ? 1 - (y / w + 1) / 2 : 0;
  });
  const float grey2[3] = {0.2f, 0.2f, 0.2f}, grey4[3] = {0.4f, 0.4f, 0.4f}, none[3] = {0, 0, 0};
  SetMaterialColors(GetPrimitiveMaterial(entry->node, 0), grey2, grey2, none, grey4);
  return 1;
}

int UpdateGroundShadow(HOBJECT creatureNode, HOBJECT mesh, float size, HOBJECT lightNode, const float* colour) {
  std::vector<VECTOR3> ground;
  if (!CollectBlobGroundTriangles(creatureNode, &ground)) return 0;
  int count = 0;
  MESHVERTEX* vertices = GetMeshVertices(mesh, &count, nullptr, nullptr);
  if (!vertices) return 0;
  const VECTOR3 c = WorldPosition(creatureNode);
  float k = 1, dx = 0, dy = 1, offset = 0;
  if (lightNode) {
    const VECTOR3 l = WorldPosition(lightNode);
    const float lx = c.x - l.x, ly = c.y - l.y;
    const float h = std::sqrt(lx * lx + ly * ly), height = l.z - c.z;
    if (h > 0.0001f && height > 0.0001f) {
      offset = -0.25f;
      dx = ly / h;
      dy = -lx / h;
      k = h / std::max(height - 32, 1.0f) + 1;
    }
  }
  LayOverGround(mesh, vertices, count, ground, [&](const VECTOR3& g, float* u, float* v) {
    *u = 0.5f - ((c.x - g.x) * dx - (c.y - g.y) * dy) / (size * k) - offset;
    *v = 0.5f - ((c.y - g.y) * dx + (c.x - g.x) * dy) / size;
  });
  if (colour) {
    const float faint = 1 / (2 * k * k);
    const float shade[3] = {colour[0] * faint, colour[1] * faint, colour[2] * faint};
    SetMaterialColors(GetPrimitiveMaterial(mesh, 0), shade, shade, nullptr, colour);
  }
  return 1;
}
