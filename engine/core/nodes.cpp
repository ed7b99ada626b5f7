#include "engine/core/nodes.h"

#include <algorithm>

#include "engine/core/cameras.h"
#include "engine/core/composites.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/pools.h"
#include "engine/core/render_list.h"
#include "engine/core/terrain.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/sound_waves.h"
#include "engine/media/texture_table.h"

NODEDESC* g_nodeUnderConstruction = nullptr;

namespace {

void* NewKindData(int kind) {
  switch (kind) {
    case NODE_LIGHT: {
      auto* light = new LIGHTDESC;
      if (!g_useDirect3D) light->innerCone = light->outerCone = 0;
      return light;
    }
    case NODE_CAMERA: {
      auto* camera = new CAMERADESC;
      BuildCameraProjection(camera);
      UpdateCameraFrustum(camera);
      return camera;
    }
    case NODE_DUMMY: return new DUMMYDESC;
    case NODE_MESH: return new MESHDESC;
    case NODE_BILLBOARD: return new BILLBOARDDESC;
    case NODE_POINTS: return new POINTSDESC;
    default: return nullptr;  // sound emitters get their sound later; listeners have none
  }
}

void FreeMesh(MESHDESC* mesh) {
  ReleaseMeshMaterials(mesh);
  if (mesh->lightMaps) {
    for (TEXTUREDESC* texture : mesh->lightMaps->lightMaps) ReleaseTexture(texture);
    delete mesh->lightMaps;
  }
  delete mesh;
}

template <typename T>
bool DropReference(void* data) {
  return --static_cast<T*>(data)->refCount <= 0;
}

// Drops the node's hold on its kind data; the last holder frees it.
void ReleaseKindData(NODEDESC* node) {
  void* data = node->kindData;
  node->kindData = nullptr;
  if (!data) return;
  switch (node->kind) {
    case NODE_SOUND: FreeWave(static_cast<SOUNDDESC*>(data)); break;
    case NODE_LIGHT:
      if (DropReference<LIGHTDESC>(data)) delete static_cast<LIGHTDESC*>(data);
      break;
    case NODE_CAMERA:
      if (DropReference<CAMERADESC>(data)) delete static_cast<CAMERADESC*>(data);
      break;
    case NODE_DUMMY:
      if (DropReference<DUMMYDESC>(data)) delete static_cast<DUMMYDESC*>(data);
      break;
    case NODE_MESH:
      if (DropReference<MESHDESC>(data)) FreeMesh(static_cast<MESHDESC*>(data));
      break;
    case NODE_BILLBOARD:
      if (DropReference<BILLBOARDDESC>(data)) {
        auto* billboard = static_cast<BILLBOARDDESC*>(data);
        if (billboard->materialIndex >= 0)
          DestroyMaterial(MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(billboard->materialIndex)));
        delete billboard;
      }
      break;
    case NODE_POINTS:
      if (DropReference<POINTSDESC>(data)) delete static_cast<POINTSDESC*>(data);
      break;
    default: break;
  }
}

void AppendChild(NODEDESC* parent, NODEDESC* child) {
  child->parent = parent;
  child->nextSibling = nullptr;
  child->prevSibling = nullptr;
  if (!parent) return;
  child->prevSibling = parent->lastChild;
  (parent->lastChild ? parent->lastChild->nextSibling : parent->firstChild) = child;
  parent->lastChild = child;
}

void UnlinkFromParent(NODEDESC* node) {
  if (NODEDESC* parent = node->parent) {
    (node->prevSibling ? node->prevSibling->nextSibling : parent->firstChild) = node->nextSibling;
    (node->nextSibling ? node->nextSibling->prevSibling : parent->lastChild) = node->prevSibling;
  }
  node->parent = nullptr;
  node->nextSibling = nullptr;
  node->prevSibling = nullptr;
}

void ForgetPartner(NODEDESC* partner, NODEDESC* node) {
  auto& list = partner->partnerOf;
  auto it = std::find(list.begin(), list.end(), node);
  if (it != list.end()) list.erase(it);
}

// Counts the distinct materials, records the primitive mix and shrinks the
// arrays to what they hold.
void FinishMesh(MESHDESC* mesh) {
  std::vector<int> materials;
  bool triangles = false;
  bool lines = false;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    (words[at] == PRIM_LINES ? lines : triangles) = true;
    int material = words[at + 1];
    if (material >= 0 && std::find(materials.begin(), materials.end(), material) == materials.end())
      materials.push_back(material);
  });
  mesh->materialCount = static_cast<int>(materials.size());
  if (triangles || lines) mesh->primitiveMix = triangles && lines ? 2 : (lines ? 1 : 0);

  if (mesh->vertexCount > 0 && mesh->vertexCount < mesh->vertexCapacity) {
    std::vector<MESHVERTEX> arrays(static_cast<size_t>(mesh->vertexCount) * mesh->frameCount);
    for (int frame = 0; frame < mesh->frameCount; ++frame) {
      size_t from = static_cast<size_t>(frame) * mesh->vertexCapacity;
      if (from + mesh->vertexCount > mesh->vertexArrays.size()) break;
      std::copy_n(mesh->vertexArrays.begin() + static_cast<long>(from), mesh->vertexCount,
                  arrays.begin() + static_cast<long>(frame) * mesh->vertexCount);
    }
    mesh->vertexArrays = std::move(arrays);
    mesh->vertexCapacity = mesh->vertexCount;
    if (!g_useDirect3D) mesh->softWork.assign(static_cast<size_t>(mesh->vertexCount), 0);
  }
  if (mesh->wordsUsed > 0 && static_cast<size_t>(mesh->wordsUsed) < mesh->primitives.size())
    mesh->primitives.resize(static_cast<size_t>(mesh->wordsUsed));
  // Room left from building (1024 vertices, 4096 words at first) is given back.
  mesh->vertexArrays.shrink_to_fit();
  mesh->primitives.shrink_to_fit();
  mesh->softWork.shrink_to_fit();
}

// Regroups the primitive list by material: materials in order of first use,
// primitives of one material in their old order.
void GroupPrimitivesByMaterial(MESHDESC* mesh) {
  std::vector<int> order;
  std::vector<std::pair<int, int>> spans;  // start word, size
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    int size = PrimitiveWordCount(words, at, mesh->wordsUsed);
    spans.push_back({at, size});
    if (std::find(order.begin(), order.end(), words[at + 1]) == order.end()) order.push_back(words[at + 1]);
  });
  std::vector<MESHPRIM> grouped;
  grouped.reserve(mesh->primitives.size());
  for (int material : order)
    for (auto [at, size] : spans)
      if (mesh->primitives[static_cast<size_t>(at) + 1] == material)
        grouped.insert(grouped.end(), mesh->primitives.begin() + at, mesh->primitives.begin() + at + size);
  std::copy(grouped.begin(), grouped.end(), mesh->primitives.begin());
}

// Frees a node that never got a slot or has left its pool.
void FreeNodeRecord(NODEDESC* node) {
  ReleaseKindData(node);
  delete node->bounds;
  delete node;
}

}  // namespace

NODEDESC* LookupOpenNode(HOBJECT handle) { return g_engineOpen ? LookupNode(handle) : nullptr; }

NODEDESC* LookupNodeOfKind(HOBJECT handle, int kind) {
  NODEDESC* node = LookupOpenNode(handle);
  return node && node->kind == kind ? node : nullptr;
}

GAMEWORLD* GetGameWorld() { return g_gameWorld; }

void BeginNode(int kind) {
  if (!g_engineOpen || !g_gameWorld || g_nodeUnderConstruction) return;
  if (kind < NODE_SOUND || kind > NODE_POINTS) return;
  BeginNodeWithData(kind, NewKindData(kind));
}

void BeginNodeWithData(int kind, void* kindData) {
  if (!g_engineOpen || !g_gameWorld || g_nodeUnderConstruction) return;
  if (kind < NODE_SOUND || kind > NODE_POINTS) return;
  auto* node = new NODEDESC;
  node->kind = kind;
  if (kind == NODE_LISTENER || kind == NODE_LIGHT || kind == NODE_CAMERA) {
    node->upAxis = AXIS_POS_Y;
    node->forwardAxis = AXIS_NEG_Z;
  }
  node->states.perspective = g_useDirect3D ? 1 : 0;
  node->bounds = new BOUNDSDESC;
  node->kindData = kindData;
  if (IsDrawableKind(kind)) AppendToRenderList(node);
  g_nodeUnderConstruction = node;
}

HOBJECT EndNode(HOBJECT parent) {
  NODEDESC* node = g_nodeUnderConstruction;
  if (!g_engineOpen || !node) return 0;
  ComputeNodeBounds(node);
  MESHDESC* mesh = node->Mesh();
  if (mesh) FinishMesh(mesh);
  if (g_nodePool.Allocate(node) < 0) {
    g_nodeUnderConstruction = nullptr;
    UnlinkFromRenderList(node);
    FreeNodeRecord(node);
    ShowFatalMessage("No more node available. (N01)");
    return 0;
  }
  if (IsDrawableKind(node->kind)) {
    if (node->states.alphaByte < 255) MoveToRenderListTail(node, 0);
    else MoveToRenderListHead(node, 0);
  }
  AppendChild(parent ? LookupNode(parent) : nullptr, node);
  g_nodeUnderConstruction = nullptr;
  if (mesh) {
    if (mesh->materialCount >= 2) GroupPrimitivesByMaterial(mesh);
    SyncMeshMaterials(mesh);
  }
  return NodeHandle(node);
}

HOBJECT CreateDummyNode(HOBJECT parent, const VECTOR3* size) {
  if (!g_engineOpen) return 0;
  BeginNode(NODE_DUMMY);
  NODEDESC* node = g_nodeUnderConstruction;
  if (!node || node->kind != NODE_DUMMY) return 0;
  if (size) static_cast<DUMMYDESC*>(node->kindData)->size = *size;
  return EndNode(parent);
}

HOBJECT GetNodeParent(HOBJECT handle) {
  NODEDESC* node = LookupOpenNode(handle);
  return node ? NodeHandle(node->parent) : 0;
}

void SetNodeParent(HOBJECT handle, HOBJECT parentHandle) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return;
  NODEDESC* parent = parentHandle ? LookupNode(parentHandle) : nullptr;
  // A node cannot hang below itself or its own descendants.
  for (NODEDESC* up = parent; up; up = up->parent)
    if (up == node) return;
  UnlinkFromParent(node);
  AppendChild(parent, node);
  ForEachLodMember(node, [&](NODEDESC* member) {
    UnlinkFromParent(member);
    AppendChild(parent, member);
  });
}

void SetLastPartner(NODEDESC* node, NODEDESC* partner) {
  if (node->lastPartner == partner) return;
  if (node->lastPartner) ForgetPartner(node->lastPartner, node);
  node->lastPartner = partner;
  if (partner) partner->partnerOf.push_back(node);
}

int DestroyNode(HOBJECT handle) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return -1;
  ReleaseLodGroup(node);
  if (node->kind == NODE_CAMERA) {
    for (uint32_t i = 0; i < g_viewportPool.mark; ++i)
      if (VIEWPORTDESC* v = g_viewportPool.slots[i]; v && v->camera == node) v->camera = nullptr;
    if (g_gameWorld && g_gameWorld->defaultViewport && g_gameWorld->defaultViewport->camera == node)
      g_gameWorld->defaultViewport->camera = nullptr;
  }
  ForgetNodeInComposites(node);
  while (NODEDESC* child = node->firstChild) {
    node->firstChild = child->nextSibling;
    child->parent = nullptr;
    child->nextSibling = nullptr;
    child->prevSibling = nullptr;
  }
  node->lastChild = nullptr;
  UnlinkFromParent(node);
  if (IsDrawableKind(node->kind)) UnlinkFromRenderList(node);
  while (COLLISIONDESC* entry = node->collisionHead) {
    node->collisionHead = entry->next;
    if (NODEDESC* partner = entry->partner; partner && partner != node) {
      COLLISIONDESC** link = &partner->collisionHead;
      COLLISIONDESC* previous = nullptr;
      while (*link) {
        COLLISIONDESC* other = *link;
        if (other->partner == node) {
          *link = other->next;
          delete other;
        } else {
          previous = other;
          link = &other->next;
        }
      }
      partner->collisionTail = previous;
    }
    delete entry;
  }
  node->collisionTail = nullptr;
  // No node keeps a contact with a node that is gone.
  SetLastPartner(node, nullptr);
  for (NODEDESC* other : node->partnerOf) {
    other->lastPartner = nullptr;
    other->partnerPrimitive = -1;
  }
  node->partnerOf.clear();
  if (node->kind == NODE_MESH) DetachMeshFromTerrains(node);
  int slot = -1;
  if (node == g_nodeUnderConstruction) {
    g_nodeUnderConstruction = nullptr;
  } else {
    slot = node->index;
    g_nodePool.Free(static_cast<uint32_t>(slot));
  }
  FreeNodeRecord(node);
  return slot;
}
