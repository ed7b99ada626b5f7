#include "engine/core/node_clone.h"

#include <cmath>
#include <unordered_map>

#include "engine/core/device_setup.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/sound_waves.h"

namespace {

// A copy of a material by pool index; -1 when there is none or the copy failed.
int CopyMaterialIndex(int index) {
  if (index < 0) return -1;
  HOBJECT copy = CopyMaterial(MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(index)));
  return LookupMaterial(copy) ? static_cast<int>(GetHandleIndex(copy)) : -1;
}

BILLBOARDDESC* CopyBillboard(const BILLBOARDDESC* source) {
  auto* copy = new BILLBOARDDESC(*source);
  copy->refCount = 1;
  copy->materialIndex = CopyMaterialIndex(source->materialIndex);
  return copy;
}

template <typename T>
T* CopyRecord(const void* source) {
  auto* copy = new T(*static_cast<const T*>(source));
  copy->refCount = 1;
  return copy;
}

// A mesh of its own: arrays and primitives copied, and every distinct
// material of the source copied once for it.
MESHDESC* CopyMesh(const MESHDESC* source) {
  auto* mesh = new MESHDESC;
  mesh->flags = source->flags;
  mesh->primitiveMix = source->primitiveMix;
  mesh->materialCount = source->materialCount;
  mesh->formatWord = source->formatWord;
  mesh->name = source->name;
  mesh->vertexCount = source->vertexCount;
  mesh->frameCount = source->frameCount;
  mesh->vertexCapacity = source->vertexCapacity;
  mesh->currentFrame = source->currentFrame;
  mesh->vertexArrays = source->vertexArrays;
  mesh->primitiveCount = source->primitiveCount;
  mesh->primitiveCountCopy = source->primitiveCountCopy;
  mesh->wordsUsed = source->wordsUsed;
  mesh->primitives = source->primitives;
  mesh->vertexRecords = source->vertexRecords;
  if (!g_useDirect3D) mesh->softWork.assign(static_cast<size_t>(std::max(mesh->vertexCapacity, 0)), 0);
  std::unordered_map<int, int> copies;
  ForEachMeshPrimitive(mesh, [&](MESHPRIM* words, int at, int) {
    int material = words[at + 1];
    if (material < 0) return;
    auto [entry, added] = copies.try_emplace(material, -1);
    if (added) entry->second = CopyMaterialIndex(material);
    words[at + 1] = entry->second;
  });
  return mesh;
}

void* ShareOrCopyKindData(const NODEDESC* source, bool deep) {
  void* data = source->kindData;
  if (!data) return nullptr;
  switch (source->kind) {
    case NODE_SOUND: return DuplicateWave(static_cast<const SOUNDDESC*>(data));
    case NODE_BILLBOARD: return CopyBillboard(static_cast<const BILLBOARDDESC*>(data));
    default: break;
  }
  if (deep) {
    switch (source->kind) {
      case NODE_LIGHT: return CopyRecord<LIGHTDESC>(data);
      case NODE_CAMERA: return CopyRecord<CAMERADESC>(data);
      case NODE_DUMMY: return CopyRecord<DUMMYDESC>(data);
      case NODE_POINTS: return CopyRecord<POINTSDESC>(data);
      case NODE_MESH: return CopyMesh(static_cast<const MESHDESC*>(data));
      default: return nullptr;
    }
  }
  switch (source->kind) {
    case NODE_LIGHT: ++static_cast<LIGHTDESC*>(data)->refCount; break;
    case NODE_CAMERA: ++static_cast<CAMERADESC*>(data)->refCount; break;
    case NODE_DUMMY: ++static_cast<DUMMYDESC*>(data)->refCount; break;
    case NODE_MESH: ++static_cast<MESHDESC*>(data)->refCount; break;
    case NODE_POINTS: ++static_cast<POINTSDESC*>(data)->refCount; break;
    default: return nullptr;
  }
  return data;
}

NODEDESC* Clone(NODEDESC* source, bool deep) {
  if (!source || g_nodeUnderConstruction) return nullptr;
  BeginNodeWithData(source->kind, ShareOrCopyKindData(source, deep));
  NODEDESC* clone = g_nodeUnderConstruction;
  if (!clone) return nullptr;
  clone->visible = source->visible;
  clone->enabled = source->enabled;
  clone->reservedA = source->reservedA;
  clone->reservedB = source->reservedB;
  NODESTATES& s = clone->states;
  const NODESTATES& from = source->states;
  s.zTest = from.zTest;
  s.textureFilter = from.textureFilter;
  s.perspective = from.perspective;
  s.shading = from.shading;
  s.dithering = from.dithering;
  s.antialias = from.antialias;
  s.specular = from.specular;
  s.depthWrite = from.depthWrite;
  s.winding = from.winding;
  s.sourceBlend = from.sourceBlend;
  s.destBlend = from.destBlend;
  s.alpha = from.alpha;
  s.alphaByte = from.alphaByte;
  clone->upAxis = source->upAxis;
  clone->forwardAxis = source->forwardAxis;
  clone->extraBlock = source->extraBlock;
  clone->work.assign(source->work.size(), 0);
  if (deep) clone->local = source->local;
  if (!EndNode(0)) return nullptr;
  if (LODGROUPDESC* group = source->lodOwner ? nullptr : source->lodGroup) {
    std::vector<NODEDESC*> members;
    std::vector<float> distances;
    for (size_t i = 0; i < group->members.size(); ++i) {
      members.push_back(group->members[i] ? Clone(group->members[i], deep) : nullptr);
      distances.push_back(std::sqrt(group->distancesSquared[i]));
    }
    SetupLodGroup(clone, members, distances.data());
  }
  return clone;
}

}  // namespace

HOBJECT CloneNode(HOBJECT node) { return NodeHandle(Clone(LookupOpenNode(node), false)); }

HOBJECT CloneNodeDeep(HOBJECT node) { return NodeHandle(Clone(LookupOpenNode(node), true)); }
