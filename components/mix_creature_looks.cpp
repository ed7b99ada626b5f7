// Visibility, render settings, transparency and fades, material colours and
// per-frame boxes.
#include <algorithm>

#include "components/mix_creature.h"
#include "engine/core/materials.h"
#include "engine/core/math3d.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"

namespace {

constexpr int kSpecularState = 9;
constexpr int kMaxNodeMaterials = 64;

// The distinct materials of a node, at most 64.
std::vector<HOBJECT> NodeMaterials(HOBJECT node) {
  std::vector<HOBJECT> list;
  GetNodeMaterials(node, &list, nullptr);
  if (list.size() > kMaxNodeMaterials) list.resize(kMaxNodeMaterials);
  return list;
}

}  // namespace

void CGCBMixCreature::SetVisible(int flag) {
  shown = flag;
  for (HOBJECT node : partNodes) ShowNode(node, flag);
  for (int i = 0; i < objectCount; ++i)
    if (!flag || !modelData->objects[i].Hidden()) ShowNode(objectNodes[i], flag);
  if (shadowEnabled && flag == 1) {
    ShowShadow(1);
  } else {
    GivePoolEntry();
    ShowBlobs(0);
  }
}

int CGCBMixCreature::SetHiddenObjectsVisible(int flag) {
  for (int i = 0; i < objectCount; ++i)
    if (modelData->objects[i].Hidden()) ShowNode(objectNodes[i], flag);
  return objectCount;
}

// Part nodes, then the shown objects' nodes.
template <class F>
void CGCBMixCreature::ForEachColourNode(F f) {
  for (HOBJECT node : partNodes) f(node, true);
  for (int i = 0; i < objectCount; ++i)
    if (!modelData->objects[i].Hidden()) f(objectNodes[i], false);
}

int CGCBMixCreature::SetRenderState(int state, int value) {
  ForEachColourNode([&](HOBJECT node, bool) { SetNodeRenderState(node, state, value); });
  return objectCount;
}

int CGCBMixCreature::SetDrawMode(int mode) {
  ForEachColourNode([&](HOBJECT node, bool) { SetNodeDrawMode(node, mode); });
  return objectCount;
}

int CGCBMixCreature::SetPartsCulling(int flag) {
  for (HOBJECT node : partNodes) SetNodeCulling(node, flag);
  return partCount;
}

void CGCBMixCreature::SetAlpha(float value) {
  const std::vector<float>* alphas = modelData && !modelData->meshAlphas.empty() ? &modelData->meshAlphas : nullptr;
  auto meshAlpha = [&](size_t at) { return alphas && at < alphas->size() ? (*alphas)[at] : 1.0f; };
  for (int i = 0; i < objectCount; ++i)
    if (!modelData->objects[i].Hidden()) SetNodeAlpha(objectNodes[i], value * meshAlpha(i));
  for (int i = 0; i < partCount; ++i) SetNodeAlpha(partNodes[i], value * meshAlpha(objectCount + i));
  for (HOBJECT blob : blobMeshes) SetNodeAlpha(blob, value < 1 ? value : 0.99f);
}

int CGCBMixCreature::SetFade(int mode, float speed) {
  switch (mode) {
    case 0: {
      pulsePhase = 0;
      const float white[3] = {1, 1, 1}, black[3] = {0, 0, 0};
      SetMaterialColours(white, nullptr, white, black);
      SetRenderState(kSpecularState, 0);
      break;
    }
    case 1: alpha = 0; break;
    case 2: alpha = 1; break;
    case 3: SetRenderState(kSpecularState, 1); break;
    default: break;
  }
  fadeMode = mode;
  fadeSpeed = speed;
  return 1;
}

int CGCBMixCreature::EndFrame(int n) {
  switch (fadeMode) {
    case 1:
      alpha += static_cast<float>(n) * fadeSpeed;
      if (alpha > 1) {
        alpha = 1;
        fadeMode = 0;
      }
      SetAlpha(alpha);
      break;
    case 2:
      alpha -= static_cast<float>(n) * fadeSpeed;
      if (alpha < 0) {
        alpha = 1;
        fadeMode = 0;
        if (autoRemove) removeRequest = 1;
        SetVisible(0);
      } else {
        SetAlpha(alpha);
      }
      break;
    case 3: {
      pulsePhase += fadeSpeed;
      if (pulsePhase >= 1) pulsePhase = 0;
      const float glow[3] = {1, pulsePhase, pulsePhase};
      const float shine[3] = {0.2f, 0.2f * pulsePhase, 0.2f * pulsePhase};
      SetMaterialColours(glow, nullptr, shine, glow);
      break;
    }
    default: break;
  }
  return UpdateShadow();
}

int CGCBMixCreature::SetMaterialColours(const float* ambient, const float* diffuse, const float* specular,
                                        const float* emissive) {
  ForEachColourNode([&](HOBJECT node, bool) {
    for (HOBJECT material : NodeMaterials(node)) SetMaterialColors(material, ambient, diffuse, specular, emissive);
  });
  return 1;
}

int CGCBMixCreature::SaveMaterialColours() {
  savedPartColours.clear();
  savedObjectColours.clear();
  ForEachColourNode([&](HOBJECT node, bool part) {
    for (HOBJECT material : NodeMaterials(node)) {
      CREATURECOLOURS c;
      GetMaterialColors(material, c.ambient, c.diffuse, c.specular, c.emissive, nullptr);
      (part ? savedPartColours : savedObjectColours).push_back(c);
    }
  });
  return 1;
}

int CGCBMixCreature::RestoreMaterialColours() {
  size_t partAt = 0, objectAt = 0;
  bool ranOut = false;
  ForEachColourNode([&](HOBJECT node, bool part) {
    std::vector<CREATURECOLOURS>& list = part ? savedPartColours : savedObjectColours;
    size_t& at = part ? partAt : objectAt;
    for (HOBJECT material : NodeMaterials(node)) {
      if (ranOut || at >= list.size()) {
        ranOut = true;
        return;
      }
      const CREATURECOLOURS& c = list[at++];
      SetMaterialColors(material, c.ambient, c.diffuse, c.specular, c.emissive);
    }
  });
  return ranOut ? 0 : 1;
}

int CGCBMixCreature::BuildFrameBox() {
  if (!frameBoxes) return -1;
  if (currentFrame < 0 || currentFrame >= static_cast<int>(frameBoxes->size())) return -1;
  float box[6] = {1e30f, 1e30f, 1e30f, -1e30f, -1e30f, -1e30f};
  auto add = [&](float x, float y, float z) {
    box[0] = std::min(box[0], x), box[1] = std::min(box[1], y), box[2] = std::min(box[2], z);
    box[3] = std::max(box[3], x), box[4] = std::max(box[4], y), box[5] = std::max(box[5], z);
  };
  for (HOBJECT node : partNodes) {
    UpdateMeshBounds(node);
    float b[6];  // min x, max x, min y, max y, min z, max z
    GetNodeBoundingBox(node, b);
    add(b[0], b[2], b[4]);
    add(b[1], b[3], b[5]);
  }
  // The box is kept per frame and follows the body wherever it walks: the
  // objects' corners are taken in the body's own space, not where the body
  // stood when the frame was first measured.
  MATRIX44 toBody{};
  if (rootNode) {
    MATRIX34 world{};
    GetNodeMatrix(rootNode, &world, 0);
    MATRIX44 world44{};
    ConvertMatrix34To44(&world, &world44);
    InvertMatrix44(&world44, &toBody);
  }
  for (int i = 0; i < objectCount; ++i) {
    if (modelData->objects[i].Hidden()) continue;
    UpdateMeshBounds(objectNodes[i]);
    VECTOR3 corners[8];
    GetNodeWorldBox(objectNodes[i], nullptr, corners, nullptr);
    for (VECTOR3& c : corners) {
      if (rootNode) TransformPointByMatrix44(&c, &c, &toBody);
      add(c.x, c.y, c.z);
    }
  }
  auto& slot = (*frameBoxes)[currentFrame];
  if (!slot) slot = std::make_unique<std::array<float, 6>>();
  std::copy(box, box + 6, slot->begin());
  return 0;
}

int CGCBMixCreature::GetFrameBox(float box[6]) {
  if (!frameBoxes) return -1;
  if (currentFrame < 0 || currentFrame >= static_cast<int>(frameBoxes->size())) return -1;
  if (!(*frameBoxes)[currentFrame] && BuildFrameBox() != 0) return -1;
  std::copy((*frameBoxes)[currentFrame]->begin(), (*frameBoxes)[currentFrame]->end(), box);
  return 0;
}
