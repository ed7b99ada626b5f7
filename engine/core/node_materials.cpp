// Material use by scene nodes.
#include <algorithm>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"

namespace {

HOBJECT MaterialHandle(int index) { return MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(index)); }

// The pool index a handle names, -1 for 0 or a handle of another kind.
int MaterialIndex(HOBJECT handle) {
  if (handle == 0 || GetHandleType(handle) != (uint32_t{OBJTYPE_MATERIAL} << 24)) return -1;
  return static_cast<int>(GetHandleIndex(handle));
}

// After a replacement the mesh holds exactly the materials its primitives
// use. A material it no longer uses loses the mesh's reference but is not
// destroyed: whoever replaced it still has it (to put it back or destroy it).
void SettleMeshMaterials(MESHDESC* mesh) {
  std::vector<int> used;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    if (words[at + 1] >= 0) used.push_back(words[at + 1]);
  });
  std::sort(used.begin(), used.end());
  used.erase(std::unique(used.begin(), used.end()), used.end());
  for (int index : used)
    if (!std::binary_search(mesh->heldMaterials.begin(), mesh->heldMaterials.end(), index))
      RetainMaterial(MaterialHandle(index));
  for (int index : mesh->heldMaterials)
    if (!std::binary_search(used.begin(), used.end(), index))
      if (MATERIALDESC* m = LookupMaterial(MaterialHandle(index))) --m->refCount;
  mesh->heldMaterials = std::move(used);
}

}  // namespace

void ReplaceNodeMaterial(HOBJECT node, HOBJECT oldMaterial, HOBJECT newMaterial) {
  if (!g_engineOpen || !g_gameWorld) return;
  NODEDESC* n = LookupOpenNode(node);
  if (!n || !n->kindData) return;
  const int newIndex = MaterialIndex(newMaterial);
  if (MESHDESC* mesh = n->Mesh()) {
    const bool every = oldMaterial == static_cast<HOBJECT>(-2);
    const int oldIndex = MaterialIndex(oldMaterial);
    if (!every && oldIndex < 0) return;
    ForEachMeshPrimitive(mesh, [&](MESHPRIM* words, int at, int) {
      if (every || words[at + 1] == oldIndex) words[at + 1] = newIndex;
    });
    SettleMeshMaterials(mesh);
  } else if (n->kind == NODE_BILLBOARD) {
    auto* billboard = static_cast<BILLBOARDDESC*>(n->kindData);
    if (billboard->materialIndex >= 0) DestroyMaterial(MaterialHandle(billboard->materialIndex));
    billboard->materialIndex = newIndex;
  }
}

std::vector<HOBJECT> MeshMaterials(const MESHDESC* mesh) {
  std::vector<HOBJECT> found;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    if (words[at + 1] < 0) return;
    HOBJECT handle = MaterialHandle(words[at + 1]);
    if (std::find(found.begin(), found.end(), handle) == found.end()) found.push_back(handle);
  });
  return found;
}

void GetNodeMaterials(HOBJECT node, std::vector<HOBJECT>* list, int* count) {
  if (list) list->clear();
  if (count) *count = 0;
  if (!g_engineOpen || !g_gameWorld) return;
  const NODEDESC* n = LookupOpenNode(node);
  const MESHDESC* mesh = n ? n->Mesh() : nullptr;
  if (!mesh) return;
  std::vector<HOBJECT> found = MeshMaterials(mesh);
  if (count) *count = static_cast<int>(found.size());
  if (list) *list = std::move(found);
}

HOBJECT GetPrimitiveMaterial(HOBJECT node, int primitive) {
  if (!g_engineOpen || !g_gameWorld) return 0;
  const NODEDESC* n = LookupOpenNode(node);
  const MESHDESC* mesh = n ? n->Mesh() : nullptr;
  if (!mesh || primitive < 0 || primitive >= mesh->primitiveCount) return 0;
  HOBJECT result = 0;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int index) {
    if (index == primitive && words[at + 1] >= 0) result = MaterialHandle(words[at + 1]);
  });
  return result;
}
