// The objects section of the binary scene file: each object's record, parts
// and mesh data become an engine node with its materials.
#include <algorithm>

#include "base/debug_trace.h"
#include "base/game_globals.h"
#include "database/scene_record_reader.h"
#include "engine/core/billboards.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/files.h"
#include "world/scene_data.h"

namespace {

constexpr size_t kBillboardMeshBytes = 20;

bool IsKeyedTexture(const std::string& texture) { return !texture.empty() && (texture[0] == 'K' || texture[0] == 'k'); }

bool OnDirect3D() { return g_textureMemory != 0; }

// A material no triangle took is held by nothing: it goes now, or never.
void DestroyUnusedMaterials(SCENEOBJECTDESC& object) {
  for (SCENEPARTDESC& part : object.parts) {
    if (part.used || part.frameCount != 0 || part.material == kNoMaterial) continue;
    DestroyMaterial(part.material);
    part.material = kNoMaterial;
  }
}

// The first part's blend mode as node render states.
void ApplyBlendMode(HOBJECT node, int mode) {
  switch (mode) {
    case 0:
      SetNodeRenderState(node, NRS_DEST_BLEND, 4);
      SetNodeRenderState(node, NRS_SOURCE_BLEND, 1);
      break;
    case 1:
      SetNodeRenderState(node, NRS_FOG, 0);
      SetNodeRenderState(node, NRS_ADDITIVE, 1);
      SetNodeRenderState(node, NRS_FOG, 0);
      break;
    case 3:
      SetNodeAlpha(node, 0.75f);
      SetNodeRenderState(node, NRS_DEST_BLEND, 4);
      SetNodeRenderState(node, NRS_SOURCE_BLEND, 2);
      SetNodeRenderState(node, NRS_FOG, 0);
      break;
    default: break;
  }
}

}  // namespace

void CSceneData::ReadObjects(plat::ByteReader& r, int count) {
  if (!r.CanRead(static_cast<size_t>(count) * 4)) {
    DebugTrace("Scene objects: the size table is cut\n");
    return;
  }
  std::vector<int32_t> sizes(static_cast<size_t>(count));
  for (int32_t& s : sizes) s = r.I32();
  for (int i = 0; i < count; ++i) {
    const int32_t size = sizes[static_cast<size_t>(i)];
    if (i >= kMaxObjects || size < 0 || static_cast<size_t>(size) > kMaxObjectBytes) {
      DebugTrace("Scene object %d (%d bytes): it and the rest dropped\n", i, size);
      return;
    }
    const size_t length = std::min(static_cast<size_t>(size), r.Remaining());
    plat::ByteReader body(r.Data() + r.Tell(), length);
    r.Skip(length);
    auto object = std::make_unique<SCENEOBJECTDESC>();
    bool hasAnimation = false;
    int partCount = 0;
    if (!scenefile::ReadObjectRecord(body, *object, hasAnimation, partCount)) return;
    ReadObject(body, *object, partCount, hasAnimation, i);
    objects.push_back(std::move(object));
  }
}

void CSceneData::ReadObject(plat::ByteReader& r, SCENEOBJECTDESC& object, int partCount, bool hasAnimation, int index) {
  for (int p = 0; p < partCount; ++p) {
    SCENEPARTDESC part;
    if (!scenefile::ReadPart(r, part)) break;
    if (version <= 256) part.frameCount = part.ticksPerFrame = 0;
    object.parts.push_back(std::move(part));
  }
  CreatePartMaterials(object);

  if (object.flags & SCENEOBJECTDESC::kClone) {
    const int source = object.meshFlags;
    if (source >= 0 && source < index && objects[static_cast<size_t>(source)]->node) {
      HOBJECT from = objects[static_cast<size_t>(source)]->node;
      object.node = object.kind == SOBJ_KEYFRAMED ? CloneNodeDeep(from) : CloneNode(from);
    } else {
      DebugTrace("Scene object %s: no source object %d to clone\n", object.name.c_str(), source);
    }
    MATRIX34 m{};
    if (scenefile::ReadMatrix(r, m) && object.node) SetNodeMatrix(object.node, &m, 0);
    // The copy draws with its source's materials; its own parts' are unused.
    DestroyUnusedMaterials(object);
  } else if (object.kind == SOBJ_BILLBOARD) {
    if (!object.parts.empty()) {
      const SCENEPARTDESC& part = object.parts[0];
      object.node =
          CreateBillboardNode(0, part.texture.c_str(), part.frameCount, part.ambient[0], part.ambient[1],
                              IsKeyedTexture(part.texture), part.options[0], part.options[1], part.options[2]);
      SetNodePosition(object.node, part.diffuse[0], part.diffuse[1], part.diffuse[2], 0);
    }
    r.Skip(kBillboardMeshBytes);
  } else {
    BuildMesh(r, object);
  }

  if (hasAnimation && r.CanRead(scenefile::kAnimationSize)) {
    object.animation = std::make_unique<SCENEANIMDESC>();
    scenefile::ReadAnimation(r, *object.animation);
  }
}

void CSceneData::CreatePartMaterials(SCENEOBJECTDESC& object) {
  static const float kWhite[3] = {1, 1, 1};
  static const float kBlack[3] = {0, 0, 0};
  for (SCENEPARTDESC& part : object.parts) {
    if (part.frameCount != 0) continue;
    const bool keyed = IsKeyedTexture(part.texture);
    if (keyed) {
      for (uint8_t& o : part.options) o &= static_cast<uint8_t>(~3);
    }
    part.used = 0;
    std::copy(kWhite, kWhite + 3, part.ambient);
    HOBJECT material = CreateTexturedMaterial(part.ambient, part.diffuse, part.specular, OnDirect3D() ? kBlack : kWhite,
                                              part.power, part.texture.c_str(), part.frameCount, detailFlag, mipOption,
                                              keyed, part.options[0], part.options[1], part.options[2]);
    part.material = material ? material : kNoMaterial;
  }
}

void CSceneData::BuildMesh(plat::ByteReader& r, SCENEOBJECTDESC& object) {
  const bool colors = object.meshFlags & SCENEOBJECTDESC::kMeshColors;
  const bool uvs = object.meshFlags & SCENEOBJECTDESC::kMeshUv;
  MATRIX34 matrix{};
  const bool hasMatrix = (object.meshFlags & SCENEOBJECTDESC::kMeshMatrix) && scenefile::ReadMatrix(r, matrix);
  const int vertexCount = std::max<int>(0, r.I16());
  const int triangleCount = std::max<int>(0, r.I16());

  std::vector<SCENETRIANGLE> triangles(std::min(static_cast<size_t>(triangleCount), r.Remaining() / 8));
  for (SCENETRIANGLE& t : triangles) {
    t.part = r.I16();
    t.a = r.I16();
    t.b = r.I16();
    t.c = r.I16();
  }
  const size_t vertexSize = 12 + (colors ? 4 : 0) + (uvs ? 4 : 0);
  std::vector<MESHVERTEX> vertices(std::min(static_cast<size_t>(vertexCount), r.Remaining() / vertexSize));
  if (triangles.size() < static_cast<size_t>(triangleCount) || vertices.size() < static_cast<size_t>(vertexCount))
    DebugTrace("Scene object %s: mesh data cut by its size\n", object.name.c_str());
  for (MESHVERTEX& v : vertices) {
    v.x = r.F32();
    v.y = r.F32();
    v.z = r.F32();
    if (colors) {
      uint8_t bgra[4];
      r.Bytes(bgra, 4);
      v.nx = bgra[2] / 255.0f;
      v.ny = bgra[1] / 255.0f;
      v.nz = bgra[0] / 255.0f;
    }
    if (uvs) {
      v.u = r.I16() / 256.0f;
      v.v = r.I16() / 256.0f;
    }
  }

  CreateMeshNode(object, vertices, triangles, hasMatrix ? &matrix : nullptr);
}

void CSceneData::CreateMeshNode(SCENEOBJECTDESC& object, const std::vector<MESHVERTEX>& vertices,
                                const std::vector<SCENETRIANGLE>& triangles, const MATRIX34* matrix) {
  const bool colors = object.meshFlags & SCENEOBJECTDESC::kMeshColors;
  const int held = static_cast<int>(vertices.size());
  std::vector<MESHPRIM> words;
  int skipped = 0;
  for (const SCENETRIANGLE& t : triangles) {
    if (t.a < 0 || t.b < 0 || t.c < 0 || t.a >= held || t.b >= held || t.c >= held) {
      ++skipped;
      continue;
    }
    MESHPRIM material = -1;
    MESHPRIM faceFlags = 0;
    if (t.part >= 0 && static_cast<size_t>(t.part) < object.parts.size()) {
      SCENEPARTDESC& part = object.parts[static_cast<size_t>(t.part)];
      material = static_cast<MESHPRIM>(part.material);
      faceFlags = part.faceFlags;
      part.used = 1;
    }
    words.insert(words.end(), {PRIM_TRIANGLE, material, faceFlags, t.a, t.b, t.c});
  }
  if (skipped) DebugTrace("Scene object %s: %d triangles with bad indices skipped\n", object.name.c_str(), skipped);

  const bool direct3D = OnDirect3D();
  BeginNode(NODE_MESH);
  if (colors && direct3D) SetMeshFlags(0, MESH_PRELIT);
  AppendMeshData(0, vertices.data(), held, words.data(), static_cast<int>(words.size()),
                 static_cast<int>(words.size()) / kTriangleWords, 1);
  object.node = EndNode(0);
  if (matrix) SetNodeMatrix(object.node, matrix, 0);
  if (!object.parts.empty()) {
    SetNodeAlpha(object.node, object.parts[0].alpha);
    if (direct3D) ApplyBlendMode(object.node, object.parts[0].blendMode);
  }
  if (object.meshFlags & SCENEOBJECTDESC::kMeshNoFilter) SetNodeRenderState(object.node, NRS_TEXTURE_FILTER, 0);
  if (!direct3D) SetNodeRenderState(object.node, NRS_PERSPECTIVE, 1);
  if (!(colors && direct3D)) ComputeMeshNormals(object.node, 1);
  DestroyUnusedMaterials(object);
}
