#include "components/mix_creature.h"

#include <strings.h>
#include <cstring>

#include "base/debug_trace.h"
#include "components/society.h"
#include "engine/core/cameras.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"

namespace {

int g_liveCreatures = 0;
HOBJECT g_shadowCamera = 0;
int g_shadowCameraUsers = 0;
CShadowMeshPool* g_shadowPool = nullptr;

}  // namespace

int CGCBMixCreature::LiveCount() { return g_liveCreatures; }
CShadowMeshPool* CGCBMixCreature::ShadowPool() { return g_shadowPool; }
HOBJECT CGCBMixCreature::ShadowCamera() { return g_shadowCamera; }

CGCBMixCreature::CGCBMixCreature() { StartShared(); }

CGCBMixCreature::CGCBMixCreature(const char* file, int loadAllPoses, const char* dir) {
  StartShared();
  LoadModel(file, loadAllPoses, dir);
  LoadFaceTextures(file, nullptr);
  PlayPose(0, 1, kImmediate, 0);
}

void CGCBMixCreature::StartShared() {
  serial = g_liveCreatures++;
  if (g_shadowCameraUsers++ == 0) g_shadowCamera = CreateCameraNode(0, 1.0f, 43.4f, 0.86f, 10, 7000);
  if (!g_shadowPool) g_shadowPool = new CShadowMeshPool();
}

CGCBMixCreature::~CGCBMixCreature() {
  DestroyShadows();
  ReleaseFaceTextures();
  if (--g_liveCreatures == 0) {
    delete g_shadowPool;
    g_shadowPool = nullptr;
  }
  if (--g_shadowCameraUsers == 0) {
    DestroyNode(g_shadowCamera);
    g_shadowCamera = 0;
  }
  if (ownsNodes) {
    for (HOBJECT node : objectNodes) DestroyNode(node);
    for (HOBJECT node : partNodes) DestroyNode(node);
    DestroyNode(rootNode);
  } else if (SharedCount() != 0) {
    // The model's nodes are this creature's; they go with the model, which
    // its clones still hold, so until then they are only hidden.
    ShowNode(rootNode, 0);
    for (HOBJECT node : objectNodes) ShowNode(node, 0);
    for (HOBJECT node : partNodes) ShowNode(node, 0);
  }
  if (SharedCount() == 0) delete modelData;
}

int CGCBMixCreature::PostUpdate(int n) {
  lastTickCount = n;
  return 1;
}

void CGCBMixCreature::SetSuspended(int flag) { CGCBase::SetSuspended(flag); }

void CGCBMixCreature::StepOnce() {
  PostUpdate(1);
  Update(1);
  EndFrame(1);
}

int CGCBMixCreature::LoadModel(const char* file, const char* dir) { return LoadModel(file, 1, dir); }

int CGCBMixCreature::LoadModel(const char* file, int loadAllPoses, const char* dir) {
  // One model per creature: a second would leave the first without an owner.
  if (!file || modelData) return 0;
  std::string name = file;
  if (name.find('.') == std::string::npos) name += ".MCB";
  const std::string path = std::string(dir ? dir : "") + "\\" + name;
  if (path.size() >= CModelData::kPathSize) {
    DebugTrace("creature path too long: %s", path.c_str());
    return 0;
  }
  SetModelData(new CModelData(path.c_str()));
  scratch = std::make_shared<std::vector<std::vector<MESHVERTEX>>>();
  for (int i = 0; i < partCount; ++i) {
    const MESHVERTEX* live = LiveVertices(i);
    scratch->emplace_back(live, live + (live ? vertexCounts[i] : 0));
  }
  fileName = file;
  directory = dir ? dir : "";
  poseLoaded = std::make_shared<std::vector<int>>(poseCount, loadAllPoses ? 1 : 0);
  ShowNode(rootNode, 0);
  SetHiddenObjectsVisible(0);
  frameBoxes = std::make_shared<std::vector<std::unique_ptr<std::array<float, 6>>>>(frameCount);
  if (frameCount > 1 && partCount > 0) SetPartsCulling(0);
  return modelData->Empty() ? 0 : 1;
}

void CGCBMixCreature::SetModelData(CModelData* model) {
  if (!model) return;
  modelData = model;
  objectCount = model->ObjectCount();
  poseCount = model->PoseCount();
  partCount = model->PartCount();
  frameCount = model->frameCount;
  rootNode = model->root;
  std::memcpy(modelName, model->name, sizeof modelName);
  objectNodes.clear();
  partNodes.clear();
  for (const CREATUREOBJECT& o : model->objects) objectNodes.push_back(o.node);
  for (const CREATUREPART& p : model->parts) partNodes.push_back(p.node);
  vertexCounts.assign(partCount, 0);
  for (int i = 0; i < partCount; ++i) GetMeshVertices(partNodes[i], &vertexCounts[i], nullptr, nullptr);
}

int CGCBMixCreature::LoadPose(int pose) {
  if (!poseLoaded || pose < 0 || pose >= poseCount || pose >= static_cast<int>(poseLoaded->size())) return 0;
  if ((*poseLoaded)[pose]) return 1;
  (*poseLoaded)[pose] = 1;
  ResetTimer(1);
  return 1;
}

int CGCBMixCreature::LoadAllPoses() {
  for (int pose = 0; pose < poseCount; ++pose) LoadPose(pose);
  return 1;
}

MESHVERTEX* CGCBMixCreature::LiveVertices(int part) {
  if (part < 0 || part >= static_cast<int>(partNodes.size())) return nullptr;
  int count = 0;
  MESHVERTEX* vertices = GetMeshVertices(partNodes[part], &count, nullptr, nullptr);
  return vertices && count == vertexCounts[part] ? vertices : nullptr;
}

MESHVERTEX* CGCBMixCreature::Scratch(int part) {
  if (!scratch || part < 0 || part >= static_cast<int>(scratch->size())) return nullptr;
  std::vector<MESHVERTEX>& buffer = (*scratch)[part];
  return static_cast<int>(buffer.size()) == vertexCounts[part] && !buffer.empty() ? buffer.data() : nullptr;
}

void CGCBMixCreature::GetTransform(VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  GetNodeWorldVectors(rootNode, position, forward, up);
}

HOBJECT CGCBMixCreature::FindPartNode(const char* partName) {
  if (!partName) return rootNode;
  if (!modelData) return 0;
  for (int i = 0; i < objectCount; ++i)
    if (strcasecmp(modelData->objects[i].name, partName) == 0) return objectNodes[i];
  for (int i = 0; i < partCount; ++i)
    if (strcasecmp(modelData->parts[i].name, partName) == 0) return partNodes[i];
  return 0;
}

int CGCBMixCreature::CollectNodes(std::vector<HOBJECT>* nodes, std::vector<std::string>* names) {
  if (!modelData) return 0;
  for (int i = 0; i < objectCount; ++i) {
    if (nodes) nodes->push_back(objectNodes[i]);
    if (names) names->push_back(modelData->objects[i].name);
  }
  for (int i = 0; i < partCount; ++i) {
    if (nodes) nodes->push_back(partNodes[i]);
    if (names) names->push_back(modelData->parts[i].name);
  }
  return 1;
}

int CGCBMixCreature::HitTest(int x, int y) {
  std::vector<HOBJECT> nodes(objectNodes);
  nodes.insert(nodes.end(), partNodes.begin(), partNodes.end());
  if (nodes.empty()) return 0;
  return PickNodeTriangle(0, nodes.data(), static_cast<int>(nodes.size()), 0, x, y, nullptr, nullptr, nullptr, nullptr);
}

void CGCBMixCreature::ShowBounds(int flag) {
  ShowNode(rootNode, flag);
  if (flag) SetNodeDrawMode(rootNode, 2);
}

int CGCBMixCreature::AttachCreature(IBsCreature* other) {
  if (!other) return 0;
  std::vector<HOBJECT> nodes;
  std::vector<std::string> names;
  other->CollectNodes(&nodes, &names);
  for (size_t i = 0; i < nodes.size(); ++i) {
    const HOBJECT own = FindPartNode(names[i].c_str());
    SetNodeParent(nodes[i], own ? own : rootNode);
  }
  return 1;
}
