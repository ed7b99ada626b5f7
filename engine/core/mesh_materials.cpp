#include <algorithm>

#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"

namespace {

HOBJECT MaterialHandle(int index) { return MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(index)); }

}  // namespace

void SyncMeshMaterials(MESHDESC* mesh) {
  if (!mesh) return;
  std::vector<int> used;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    if (words[at + 1] >= 0) used.push_back(words[at + 1]);
  });
  std::sort(used.begin(), used.end());
  used.erase(std::unique(used.begin(), used.end()), used.end());
  // Take the new references before dropping the old, so a material that
  // stays in use is never released to nothing in between.
  for (int material : used)
    if (!std::binary_search(mesh->heldMaterials.begin(), mesh->heldMaterials.end(), material))
      RetainMaterial(MaterialHandle(material));
  for (int material : mesh->heldMaterials)
    if (!std::binary_search(used.begin(), used.end(), material)) ReleaseMaterial(MaterialHandle(material));
  mesh->heldMaterials = std::move(used);
}

void ReleaseMeshMaterials(MESHDESC* mesh) {
  if (!mesh) return;
  std::vector<int> held = std::move(mesh->heldMaterials);
  mesh->heldMaterials.clear();
  for (int material : held) ReleaseMaterial(MaterialHandle(material));
}
