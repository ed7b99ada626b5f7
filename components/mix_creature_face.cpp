// Face textures: "<model>mNN" texture files swapped onto a named part.
#include <algorithm>
#include <cstdio>

#include "components/mix_creature.h"
#include "engine/core/materials.h"
#include "engine/media/data_directories.h"
#include "platform/files.h"

namespace {

constexpr float kFacePower = 40;

bool IsFaceTexture(const std::vector<HOBJECT>& faces, HOBJECT material) {
  return std::find(faces.begin(), faces.end(), material) != faces.end();
}

}  // namespace

int CGCBMixCreature::LoadFaceTextures(const char* file, const char* partName) {
  const HOBJECT face = FindPartNode(partName ? partName : "mface");
  const HOBJECT faceMaterial = face ? GetPrimitiveMaterial(face, 0) : 0;
  float ambient[3] = {0.7f, 0.7f, 0.7f}, diffuse[3] = {0.7f, 0.7f, 0.7f};
  float specular[3] = {0.7f, 0.7f, 0.7f}, emissive[3] = {0, 0, 0};
  if (faceMaterial) GetMaterialColors(faceMaterial, ambient, diffuse, specular, emissive, nullptr);
  ReleaseFaceTextures();
  if (!file) return 0;
  std::string base = file;
  base = base.substr(0, base.find('.')) + "m";
  const std::string folder = GetTextureDirectory();
  for (int n = 0;; ++n) {
    char name[300];
    std::snprintf(name, sizeof name, "%s%02d", base.c_str(), n);
    if (plat::ListFiles(folder + name + ".*").empty()) break;
    const HOBJECT material = CreateMaterial(ambient, diffuse, specular, emissive, kFacePower, name, 0, 0, 0, 0, 0);
    if (!material) break;
    // The creature holds its own reference, so a face texture outlives the
    // parts that show it for a while.
    RetainMaterial(material);
    faceTextures.push_back(material);
  }
  return faceTextures.empty() ? 0 : 1;
}

int CGCBMixCreature::SetFaceTexture(const char* partName, int index) {
  const HOBJECT node = partName ? FindPartNode(partName) : 0;
  if (!node || static_cast<unsigned>(index) >= faceTextures.size()) return 0;
  const HOBJECT current = GetPrimitiveMaterial(node, 0);
  if (index >= 1) {
    const HOBJECT face = faceTextures[index];
    if (current == face) return 0;
    ReplaceNodeMaterial(node, current, face);
    ++faceTextureUses[face];
    if (IsFaceTexture(faceTextures, current) && faceTextureUses[current] > 0) --faceTextureUses[current];
    if (!formerMaterials.count(node)) {
      // Kept alive while the creature may put it back.
      RetainMaterial(current);
      formerMaterials[node] = current;
    }
    return 1;
  }
  const auto former = formerMaterials.find(node);
  if (former == formerMaterials.end()) return 0;
  ReplaceNodeMaterial(node, current, former->second);
  ReleaseMaterial(former->second);
  formerMaterials.erase(former);
  if (IsFaceTexture(faceTextures, current) && faceTextureUses[current] > 0) --faceTextureUses[current];
  return 1;
}

int CGCBMixCreature::ReleaseFaceTextures() {
  // Face textures still shown now belong to the parts showing them.
  for (HOBJECT face : faceTextures) ReleaseMaterial(face);
  faceTextures.clear();
  faceTextureUses.clear();
  for (const auto& [node, material] : formerMaterials) ReleaseMaterial(material);
  formerMaterials.clear();
  return 1;
}
