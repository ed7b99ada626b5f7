#include "components/effect_creature.h"

#include <strings.h>
#include <algorithm>

#include "components/sword_man.h"
#include "engine/core/materials.h"
#include "engine/core/node_transforms.h"

namespace {

const std::vector<HOBJECT> kNoNodes;

void CopyColour(float* out, const float* in, float factor) {
  for (int i = 0; i < 3; ++i) out[i] = in[i] * factor;
}

}  // namespace

A_MCObject::~A_MCObject() { Release(); }

void A_MCObject::Release() {
  if (ownsCreature) delete creature;
  creature = nullptr;
  ownsCreature = 0;
  node = 0;  // the creature's root, never ours to destroy
  groupColours[0].clear();
  groupColours[1].clear();
}

const std::vector<HOBJECT>& A_MCObject::GroupNodes(int g) const {
  if (!creature) return kNoNodes;
  return g == 0 ? creature->objectNodes : creature->partNodes;
}

std::string A_MCObject::GroupName(int g, size_t i) const {
  const CModelData* model = creature ? creature->modelData : nullptr;
  if (!model) return {};
  if (g == 0) return i < model->objects.size() ? model->objects[i].name : "";
  return i < model->parts.size() ? model->parts[i].name : "";
}

void A_MCObject::Bind(CMSwordMan* other) {
  Release();
  creature = other;
  node = creature ? creature->rootNode : 0;
  CaptureColours();
}

void A_MCObject::CaptureColours() {
  if (!creature) return;
  for (int g = 0; g < 2; ++g) {
    groupColours[g].clear();
    for (HOBJECT part : GroupNodes(g)) {
      CREATURECOLOURS c;
      if (HOBJECT m = GetPrimitiveMaterial(part, 0))
        GetMaterialColors(m, c.ambient, c.diffuse, c.specular, c.emissive, nullptr);
      groupColours[g].push_back(c);
    }
  }
}

void A_MCObject::SetBrightness(float value) {
  brightness = value;
  if (brightnessMode != 2) return;
  for (int g = 0; g < 2; ++g) {
    const std::vector<HOBJECT>& nodes = GroupNodes(g);
    for (size_t i = 0; i < nodes.size() && i < groupColours[g].size(); ++i) {
      HOBJECT m = GetPrimitiveMaterial(nodes[i], 0);
      if (!m) continue;
      const CREATURECOLOURS& c = groupColours[g][i];
      CREATURECOLOURS lit;
      CopyColour(lit.ambient, c.ambient, value);
      CopyColour(lit.diffuse, c.diffuse, value);
      CopyColour(lit.specular, c.specular, value);
      CopyColour(lit.emissive, c.emissive, value);
      SetMaterialColors(m, lit.ambient, lit.diffuse, lit.specular, lit.emissive);
    }
  }
}

void A_MCObject::AddBrightness(float delta) { SetBrightness(std::clamp(brightness + delta, 0.0f, 1.0f)); }

int A_MCObject::FindPartName(HOBJECT partNode, std::string* out) {
  for (int g = 0; g < 2; ++g) {
    const std::vector<HOBJECT>& nodes = GroupNodes(g);
    for (size_t i = 1; i < nodes.size(); ++i) {
      if (nodes[i] != partNode) continue;
      *out = GroupName(g, i);
      return 1;
    }
  }
  return 0;
}

int A_MCObject::LoadModel(const char* name) {
  Release();
  std::string base = name ? name : "";
  base = base.substr(0, base.find('.'));
  auto loaded = std::make_unique<CMSwordMan>((base + ".MCB").c_str(), 1, ".\\data\\creature");
  if (!loaded->rootNode) return 0;
  creature = loaded.release();
  ownsCreature = 1;
  creature->afterimagesDisabled = 1;
  creature->SetRootMotion(1, 1);
  creature->SetHiddenObjectsVisible(0);
  creature->SetPartsCulling(0);
  CaptureColours();
  node = creature->rootNode;
  SetVisible(1);
  return 1;
}

void A_MCObject::Scale(float x, float y, float z, int mode) {
  for (int g = 0; g < 2; ++g)
    for (HOBJECT part : GroupNodes(g)) ScaleNode(part, x, z, y, mode);
}

HOBJECT A_MCObject::GetNode(const char* partName) {
  if (!partName) return node;
  for (int g = 0; g < 2; ++g) {
    const std::vector<HOBJECT>& nodes = GroupNodes(g);
    for (size_t i = 0; i < nodes.size(); ++i)
      if (strcasecmp(GroupName(g, i).c_str(), partName) == 0) return nodes[i];
  }
  return node;
}

void A_MCObject::GetTransform(HOBJECT of, VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  TransformOf(of ? of : node, position, forward, up);
}

void A_MCObject::SetVisible(int flag) {
  if (creature) creature->SetVisible(flag);
  visible = flag;
}

void A_MCObject::RestartFence() {
  creature->PlayPoseNow(pose, 0);
  creature->SetPoseFrame(restartFrame);
}

void A_MCObject::PlayPose(int newPose, int newEnd, int newRestart, int newLoop) {
  if (!creature) return;
  creature->StopFence();
  creature->PlayPoseNow(newPose, 0);
  creature->SetPoseFrame(0);
  pose = newPose;
  endFrame = newEnd;
  restartFrame = newRestart;
  loop = newLoop;
  stopped = 0;
}

int A_MCObject::Update(int) {
  if (stopped || !visible || !creature) return 0;
  int fence = 0, length = 0, position = 0;
  creature->GetPoseProgress(&fence, &length, &position);
  if (endFrame >= 0 && loop && position >= endFrame) {
    RestartFence();
    StepFrame();
    return 1;
  }
  creature->Update(1);
  if (!creature->playing) {
    if (loop) {
      RestartFence();
    } else {
      creature->StopFence();
      creature->PlayPoseNow(pose, 0);
      creature->SetPoseFrame(0);
      stopped = 1;
    }
  }
  return 1;
}

void A_MCObject::StepFrame() {
  if (!creature) return;
  if (creature->Update(1) == 0) RestartFence();
  for (int g = 0; g < 2; ++g)
    for (HOBJECT part : GroupNodes(g))
      if (HOBJECT m = GetPrimitiveMaterial(part, 0)) AdvanceMaterialFrame(m, 1, 1);
}

void A_MCObject::Restart(int) {
  if (creature) RestartFence();
}

int A_MCObject::PickAt(int x, int y) { return creature ? creature->HitTest(x, y) : 0; }
