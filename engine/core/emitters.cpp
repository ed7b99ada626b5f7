#include "engine/core/emitters.h"

#include <algorithm>
#include <climits>
#include <span>
#include <type_traits>
#include <vector>

#include "engine/core/device_textures.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/core/render_passes.h"
#include "engine/core/render_resources.h"
#include "engine/core/world.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"

static_assert(sizeof(MESHVERTEX) == sizeof(plat::VertexLit) && sizeof(MESHVERTEX) == sizeof(plat::VertexPrelit) &&
                  sizeof(MESHVERTEX) == sizeof(plat::VertexScreen),
              "mesh vertices go to the device unchanged");

namespace {

using plat::PrimitiveType;

constexpr int kNoMaterial = INT_MIN;

// Scratch arrays shared by the emitters; they grow and are never shrunk.
std::vector<uint32_t> g_indices;
std::vector<MESHVERTEX> g_batchVertices;
std::vector<uint32_t> g_batchSources;  // the mesh vertex of each batch place
std::vector<uint32_t> g_remap;         // mesh vertex -> batch place + 1, 0 when not in the batch

template <typename Vertex>
std::span<const Vertex> AsVertices(const MESHVERTEX* vertices, size_t count) {
  return {reinterpret_cast<const Vertex*>(vertices), count};
}

// The mesh's current-frame vertices and the number of primitives it draws.
struct MeshView {
  MESHDESC* mesh;
  MESHVERTEX* vertices;
  uint32_t vertexCount;
  int drawn;
};

MeshView View(MESHDESC* mesh) {
  MESHVERTEX* vertices = mesh->CurrentVertices();
  int count = vertices ? std::clamp(mesh->vertexCount, 0, mesh->vertexCapacity) : 0;
  return {mesh, vertices, static_cast<uint32_t>(count), std::clamp(mesh->primitiveCountCopy, 0, mesh->primitiveCount)};
}

// Walks the first `drawn` primitives: f(words, at).
template <typename F>
void ForEachDrawn(const MeshView& v, F f) {
  ForEachMeshPrimitive(v.mesh, [&](MESHPRIM* words, int at, int index) {
    if (index < v.drawn) f(words, at);
  });
}

bool ValidVertex(const MeshView& v, MESHPRIM index) {
  return index >= 0 && static_cast<uint32_t>(index) < v.vertexCount;
}

bool ValidTriangle(const MeshView& v, const MESHPRIM* words, int at) {
  return ValidVertex(v, words[at + 3]) && ValidVertex(v, words[at + 4]) && ValidVertex(v, words[at + 5]);
}

int RunLength(const MESHPRIM* words, int at) { return words[at + 2]; }

void Apply(plat::Device3D& device, int material, int drawMode) {
  g_currentMaterial.index = material;
  ApplyMaterial(device, drawMode);
}

// Triangle (a, b, c) in the device's winding, and again the other way round
// when two-sided; answers the second faces added.
int PushTriangle(std::vector<uint32_t>& out, uint32_t a, uint32_t b, uint32_t c, bool twoSided) {
  out.insert(out.end(), {c, b, a});
  if (!twoSided) return 0;
  out.insert(out.end(), {a, b, c});
  return 1;
}

template <typename Vertex>
void DrawIndexed(plat::Device3D& device, PrimitiveType type, const MESHVERTEX* vertices, size_t count,
                 const std::vector<uint32_t>& indices, uint32_t flags) {
  if (count == 0 || indices.empty()) return;
  device.Draw(type, AsVertices<Vertex>(vertices, count), indices, flags);
}

// The vertices of one material's run of primitives, gathered in first-use order.
class Batch {
 public:
  explicit Batch(const MeshView& v) : view_(v) {
    if (g_remap.size() < v.vertexCount) g_remap.resize(v.vertexCount, 0);
    Clear();
  }
  ~Batch() { Clear(); }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  uint32_t Place(uint32_t vertex) {
    uint32_t& slot = g_remap[vertex];
    if (slot == 0) {
      g_batchVertices.push_back(view_.vertices[vertex]);
      g_batchSources.push_back(vertex);
      slot = static_cast<uint32_t>(g_batchVertices.size());
    }
    return slot - 1;
  }
  void AddTriangle(const MESHPRIM* words, int at) {
    uint32_t a = Place(static_cast<uint32_t>(words[at + 3]));
    uint32_t b = Place(static_cast<uint32_t>(words[at + 4]));
    uint32_t c = Place(static_cast<uint32_t>(words[at + 5]));
    PushTriangle(g_indices, a, b, c, words[at + 2] != 0);
  }
  template <typename Vertex>
  void Flush(plat::Device3D& device, uint32_t flags) {
    DrawIndexed<Vertex>(device, PrimitiveType::TriangleList, g_batchVertices.data(), g_batchVertices.size(), g_indices,
                        flags);
    Clear();
  }

 private:
  void Clear() {
    for (uint32_t vertex : g_batchSources) g_remap[vertex] = 0;
    g_batchSources.clear();
    g_batchVertices.clear();
    g_indices.clear();
  }
  const MeshView& view_;
};

// A line run's pairs, each as a line of two pre-lit vertices in the current
// material's colour with the pair's own texture coordinates.
void DrawRunPairs(plat::Device3D& device, const MeshView& v, const MESHPRIM* words, int at, uint32_t flags) {
  const uint32_t color = g_currentMaterial.lineColor;
  for (int pair = 0; pair < RunLength(words, at); ++pair) {
    MESHPRIM i0 = words[at + 3 + 2 * pair], i1 = words[at + 4 + 2 * pair];
    if (!ValidVertex(v, i0) || !ValidVertex(v, i1)) continue;
    const MESHVERTEX& p = v.vertices[i0];
    const MESHVERTEX& q = v.vertices[i1];
    const plat::VertexPrelit line[2] = {{p.x, p.y, p.z, 0, color, color, p.u, p.v},
                                        {q.x, q.y, q.z, 0, color, color, q.u, q.v}};
    device.Draw(PrimitiveType::LineList, std::span<const plat::VertexPrelit>(line), {}, flags);
  }
}

// Pre-transformed runs keep their own screen vertices.
void DrawScreenRunPairs(plat::Device3D& device, const MeshView& v, const MESHPRIM* words, int at, uint32_t flags) {
  for (int pair = 0; pair < RunLength(words, at); ++pair) {
    MESHPRIM i0 = words[at + 3 + 2 * pair], i1 = words[at + 4 + 2 * pair];
    if (!ValidVertex(v, i0) || !ValidVertex(v, i1)) continue;
    const MESHVERTEX line[2] = {v.vertices[i0], v.vertices[i1]};
    device.Draw(PrimitiveType::LineList, AsVertices<plat::VertexScreen>(line, 2), {}, flags);
  }
}

// The single-material path when every drawn primitive is a triangle of one
// material: one call over the whole vertex array. False when it does not apply.
template <typename Vertex>
bool DrawSingleMaterial(plat::Device3D& device, const MeshView& v, int drawMode, uint32_t flags) {
  int material = kNoMaterial;
  bool single = true;
  ForEachDrawn(v, [&](const MESHPRIM* words, int at) {
    if (words[at] != PRIM_TRIANGLE || (material != kNoMaterial && words[at + 1] != material)) single = false;
    material = words[at + 1];
  });
  if (!single || material == kNoMaterial) return single;
  Apply(device, material, drawMode);
  g_indices.clear();
  int secondFaces = 0;
  ForEachDrawn(v, [&](const MESHPRIM* words, int at) {
    if (!ValidTriangle(v, words, at)) return;
    secondFaces += PushTriangle(g_indices, static_cast<uint32_t>(words[at + 3]), static_cast<uint32_t>(words[at + 4]),
                                static_cast<uint32_t>(words[at + 5]), words[at + 2] != 0);
  });
  DrawIndexed<Vertex>(device, PrimitiveType::TriangleList, v.vertices, v.vertexCount, g_indices, flags);
  g_frameStatistics.trianglesDrawn += secondFaces;
  return true;
}

// Batches of one material each; line runs (mixed layouts) end the pending
// batch and are drawn pair by pair with their material applied by runMode.
template <typename Vertex>
void DrawBatches(plat::Device3D& device, const MeshView& v, int drawMode, int runMode, uint32_t flags) {
  Batch batch(v);
  int current = kNoMaterial;
  ForEachDrawn(v, [&](const MESHPRIM* words, int at) {
    if (words[at] == PRIM_LINES) {
      batch.Flush<Vertex>(device, flags);
      current = words[at + 1];
      Apply(device, current, runMode);
      if constexpr (std::is_same_v<Vertex, plat::VertexScreen>) DrawScreenRunPairs(device, v, words, at, flags);
      else DrawRunPairs(device, v, words, at, flags);
      return;
    }
    if (words[at + 1] != current) {
      batch.Flush<Vertex>(device, flags);
      current = words[at + 1];
      Apply(device, current, drawMode);
    }
    if (ValidTriangle(v, words, at)) batch.AddTriangle(words, at);
  });
  batch.Flush<Vertex>(device, flags);
}

template <typename Vertex>
int DrawTriangles(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t flags) {
  MeshView v = View(mesh);
  if (!v.vertices || v.vertexCount == 0) return 0;
  if (!DrawSingleMaterial<Vertex>(device, v, drawMode, flags))
    DrawBatches<Vertex>(device, v, drawMode, drawMode, flags);
  return v.drawn;
}

// Run-only meshes: each run's material applied untextured.
int DrawRuns(plat::Device3D& device, MESHDESC* mesh, uint32_t flags) {
  MeshView v = View(mesh);
  if (!v.vertices) return 0;
  ForEachDrawn(v, [&](const MESHPRIM* words, int at) {
    if (words[at] != PRIM_LINES) return;
    Apply(device, words[at + 1], 1);
    DrawRunPairs(device, v, words, at, flags);
  });
  return v.drawn;
}

// Wireframe: every drawn primitive's edges in one line list with the first
// primitive's material, untextured.
template <typename Vertex>
int DrawWireframe(plat::Device3D& device, MESHDESC* mesh, uint32_t flags) {
  MeshView v = View(mesh);
  if (!v.vertices || v.vertexCount == 0) return 0;
  int first = kNoMaterial;
  g_indices.clear();
  ForEachDrawn(v, [&](const MESHPRIM* words, int at) {
    if (first == kNoMaterial) first = words[at + 1];
    if (words[at] == PRIM_LINES) {
      for (int pair = 0; pair < RunLength(words, at); ++pair) {
        MESHPRIM i0 = words[at + 3 + 2 * pair], i1 = words[at + 4 + 2 * pair];
        if (ValidVertex(v, i0) && ValidVertex(v, i1))
          g_indices.insert(g_indices.end(), {static_cast<uint32_t>(i0), static_cast<uint32_t>(i1)});
      }
    } else if (ValidTriangle(v, words, at)) {
      uint32_t a = static_cast<uint32_t>(words[at + 3]), b = static_cast<uint32_t>(words[at + 4]),
               c = static_cast<uint32_t>(words[at + 5]);
      g_indices.insert(g_indices.end(), {a, b, b, c, c, a});
    }
  });
  if (first == kNoMaterial) return v.drawn;
  Apply(device, first, 1);
  DrawIndexed<Vertex>(device, PrimitiveType::LineList, v.vertices, v.vertexCount, g_indices, flags);
  return v.drawn;
}

bool HasLightMap(const MESHDESC* mesh) { return mesh->lightMaps && mesh->lightMaps->quadCount > 0; }

// Binds a texture for the light-map passes, uploading it when needed.
void BindTexture(plat::Device3D& device, TEXTUREDESC* texture) {
  if (!texture) {
    device.SetTexture(0, nullptr);
    return;
  }
  if (!texture->cardSurface) UploadTexture(texture);
  device.SetTexture(0, texture->cardSurface);
  texture->age = 0;
}

}  // namespace

int DrawTLMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags) {
  return DrawTriangles<plat::VertexScreen>(device, mesh, drawMode, drawFlags);
}

int DrawTLMeshLines(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  MeshView v = View(mesh);
  if (!v.vertices) return 0;
  ForEachDrawn(v, [&](const MESHPRIM* words, int at) {
    Apply(device, words[at + 1], 1);
    if (words[at] == PRIM_LINES) {
      DrawScreenRunPairs(device, v, words, at, drawFlags);
    } else if (ValidTriangle(v, words, at)) {
      const MESHVERTEX strip[4] = {v.vertices[words[at + 3]], v.vertices[words[at + 4]], v.vertices[words[at + 5]],
                                   v.vertices[words[at + 3]]};
      device.Draw(PrimitiveType::LineStrip, AsVertices<plat::VertexScreen>(strip, 4), {}, drawFlags);
    }
  });
  return v.drawn;
}

int DrawLitMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags) {
  return DrawTriangles<plat::VertexLit>(device, mesh, drawMode, drawFlags);
}

int DrawLightmapMesh(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  using plat::RenderState;
  LIGHTMAPSETDESC& set = *mesh->lightMaps;
  device.SetRenderState(RenderState::SrcBlend, plat::kBlendZero);
  device.SetRenderState(RenderState::DestBlend, plat::kBlendSourceColor);
  SetDeviceAmbient(1, 1, 1);
  static const std::vector<uint32_t> kOneSided{0, 2, 1, 0, 3, 2};
  static const std::vector<uint32_t> kTwoSided{0, 2, 1, 0, 3, 2, 0, 1, 2, 0, 2, 3};
  const int quads = std::min<int>(set.quadCount, static_cast<int>(set.quads.size() / 7));
  for (int q = 0; q < quads; ++q) {
    const size_t first = static_cast<size_t>(q) * 4;
    if (first + 4 > set.quadVerticesA.size() || first + 4 > set.quadVerticesB.size()) break;
    const int32_t* quad = &set.quads[static_cast<size_t>(q) * 7];
    const std::vector<uint32_t>& indices = quad[2] != 0 ? kTwoSided : kOneSided;
    device.SetRenderState(RenderState::AlphaBlendEnable, 0);
    device.SetStageState(0, plat::StageState::Address, plat::kAddressWrap);
    device.SetRenderState(RenderState::ZWriteEnable, 0);
    Apply(device, quad[0], 1);
    MATERIALDESC* material = MaterialForIndex(quad[0]);
    BindTexture(device, material && material != DefaultMaterial() ? material->currentFrame : nullptr);
    DrawIndexed<plat::VertexLit>(device, PrimitiveType::TriangleList, &set.quadVerticesA[first], 4, indices, drawFlags);
    device.SetRenderState(RenderState::AlphaBlendEnable, 1);
    device.SetStageState(0, plat::StageState::Address, plat::kAddressClamp);
    device.SetRenderState(RenderState::ZWriteEnable, 1);
    const int map = quad[1];
    BindTexture(device, map >= 0 && map < static_cast<int>(set.lightMaps.size()) ? set.lightMaps[map] : nullptr);
    DrawIndexed<plat::VertexLit>(device, PrimitiveType::TriangleList, &set.quadVerticesB[first], 4, indices, drawFlags);
  }
  device.SetRenderState(RenderState::SrcBlend, CachedSourceBlend());
  device.SetRenderState(RenderState::DestBlend, CachedDestBlend());
  SetCachedStageAddress(device, 0, plat::kAddressClamp);
  if (g_gameWorld) SetDeviceAmbient(g_gameWorld->ambientRed, g_gameWorld->ambientGreen, g_gameWorld->ambientBlue);
  return View(mesh).drawn;
}

int DrawLitMeshRuns(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  return DrawRuns(device, mesh, drawFlags);
}

int DrawLitMeshMixed(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags) {
  MeshView v = View(mesh);
  if (!v.vertices || v.vertexCount == 0) return 0;
  DrawBatches<plat::VertexLit>(device, v, drawMode, drawMode, drawFlags);
  return v.drawn;
}

int DrawLitMeshLines(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  return DrawWireframe<plat::VertexLit>(device, mesh, drawFlags);
}

int DrawColorMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags) {
  return DrawTriangles<plat::VertexPrelit>(device, mesh, drawMode, drawFlags);
}

int DrawColorMeshRuns(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  return DrawRuns(device, mesh, drawFlags);
}

int DrawColorMeshMixed(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags) {
  MeshView v = View(mesh);
  if (!v.vertices || v.vertexCount == 0) return 0;
  DrawBatches<plat::VertexPrelit>(device, v, drawMode, drawMode, drawFlags);
  return v.drawn;
}

int DrawColorMeshLines(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  return DrawWireframe<plat::VertexPrelit>(device, mesh, drawFlags);
}

int DrawMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags) {
  if (mesh->flags & MESH_PRETRANSFORMED)
    return drawMode == 2 ? DrawTLMeshLines(device, mesh, drawFlags) : DrawTLMesh(device, mesh, drawMode, drawFlags);
  if (mesh->flags & MESH_PRELIT) {
    if (drawMode == 2) return DrawColorMeshLines(device, mesh, drawFlags);
    if (mesh->primitiveMix == 0) return DrawColorMesh(device, mesh, drawMode, drawFlags);
    if (mesh->primitiveMix == 1) return DrawColorMeshRuns(device, mesh, drawFlags);
    return DrawColorMeshMixed(device, mesh, drawMode, drawFlags);
  }
  if (drawMode == 2) return DrawLitMeshLines(device, mesh, drawFlags);
  if (mesh->primitiveMix == 0) {
    if (drawMode == 0 && HasLightMap(mesh)) return DrawLightmapMesh(device, mesh, drawFlags);
    return DrawLitMesh(device, mesh, drawMode, drawFlags);
  }
  if (mesh->primitiveMix == 1) return DrawLitMeshRuns(device, mesh, drawFlags);
  return DrawLitMeshMixed(device, mesh, drawMode, drawFlags);
}

void DrawNodeBox(plat::Device3D& device, const NODEDESC* node, uint32_t drawFlags) {
  const BOUNDSDESC* b = node->bounds;
  if (!b) return;
  const float x0 = b->minX * b->scaleX, x1 = b->maxX * b->scaleX, y0 = b->minY * b->scaleY, y1 = b->maxY * b->scaleY,
              z0 = b->minZ * b->scaleZ, z1 = b->maxZ * b->scaleZ;
  const VECTOR3 corners[8] = {{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1},
                              {x1, y0, z0}, {x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}};
  static const int kFaces[6][4] = {{0, 1, 2, 3}, {3, 7, 4, 0}, {4, 7, 6, 5}, {5, 6, 2, 1}, {0, 4, 5, 1}, {3, 2, 6, 7}};
  Apply(device, kDefaultMaterialIndex, 1);
  plat::Matrix world;
  std::copy(node->world.m, node->world.m + 16, world.m);
  device.SetTransform(plat::TransformState::World, world);
  const uint32_t color = g_currentMaterial.lineColor;
  for (const auto& face : kFaces)
    for (int edge = 0; edge < 4; ++edge) {
      const VECTOR3& p = corners[face[edge]];
      const VECTOR3& q = corners[face[(edge + 1) % 4]];
      const plat::VertexPrelit line[2] = {{p.x, p.y, p.z, 0, color, color, 0, 0},
                                          {q.x, q.y, q.z, 0, color, color, 0, 0}};
      device.Draw(PrimitiveType::LineList, std::span<const plat::VertexPrelit>(line), {},
                  drawFlags | plat::kDrawDoNotLight);
    }
}

void DrawMeshVertices(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags) {
  MeshView v = View(mesh);
  if (!v.vertices || v.vertexCount == 0) return;
  Apply(device, kDefaultMaterialIndex, 1);
  if (mesh->flags & MESH_PRETRANSFORMED)
    device.Draw(PrimitiveType::PointList, AsVertices<plat::VertexScreen>(v.vertices, v.vertexCount), {}, drawFlags);
  else if (mesh->flags & MESH_PRELIT)
    device.Draw(PrimitiveType::PointList, AsVertices<plat::VertexPrelit>(v.vertices, v.vertexCount), {}, drawFlags);
  else device.Draw(PrimitiveType::PointList, AsVertices<plat::VertexLit>(v.vertices, v.vertexCount), {}, drawFlags);
}

void DrawPointsNode(plat::Device3D& device, const POINTSDESC* points) {
  std::vector<plat::VertexPrelit> vertices;
  for (const POINTDESC& p : points->points)
    if (p.type == 1)
      vertices.push_back({p.position.x, p.position.y, p.position.z, 0, points->packedColor, points->packedColor, 0, 0});
  if (!vertices.empty()) device.Draw(PrimitiveType::PointList, std::span<const plat::VertexPrelit>(vertices), {}, 0);
}

int TestBillboardFrustum(const CAMERADESC* camera, const VECTOR3 corners[4]) {
  auto inside = [&](int plane, const VECTOR3& p) {
    const FRUSTUMPLANE& f = camera->frustum[plane];
    return DotVector3(&f.normal, &p) >= f.offset;
  };
  int sum = 0;
  for (int edge = 0; edge < 4; ++edge) {
    const VECTOR3& a = corners[edge];
    const VECTOR3& b = corners[(edge + 1) % 4];
    bool outside = false, allInside = true;
    for (int plane = 2; plane < 6; ++plane) {
      bool ia = inside(plane, a), ib = inside(plane, b);
      if (!ia && !ib) outside = true;
      if (!ia || !ib) allInside = false;
    }
    sum += outside ? 0 : (allInside ? 2 : 1);
  }
  if (sum == 8) return 2;
  if (sum > 0) return 1;
  for (int plane = 2; plane < 6; ++plane) {
    bool allOutside = true;
    for (int i = 0; i < 4; ++i) allOutside = allOutside && !inside(plane, corners[i]);
    if (allOutside) return 0;
  }
  return 1;
}

void AllocateEmitterBuffers() {
  g_indices.reserve(12288 / sizeof(uint32_t));
  g_batchVertices.reserve(32768 / sizeof(MESHVERTEX));
  ResetRenderStateCache();
}

void FreeEmitterBuffers() {
  g_indices = {};
  g_batchVertices = {};
  g_batchSources = {};
  g_remap = {};
}
