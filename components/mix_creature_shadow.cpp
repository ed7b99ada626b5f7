// The creature's shadow: ground blobs, one per nearby light, or one projected
// shadow from the shared pool rendered from the strongest light.
#include "components/gcb_light.h"
#include "components/mix_creature.h"
#include "components/society_ext.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

namespace {

constexpr int kGroundPlacement = 2;
constexpr float kBlobSize = 30;
constexpr float kBlobGrey = 0.4f;
constexpr float kBlobFade = 0.6f;

int ShadowKind(int mode) { return (mode >> 4) & 0xF; }

}  // namespace

HOBJECT CGCBMixCreature::MakeFirstBlob() {
  const HOBJECT blob = CreateShadowMesh(0, nullptr, 128);
  if (blob) blobMeshes.push_back(blob);
  return blob;
}

void CGCBMixCreature::ShowBlobs(int flag) {
  for (HOBJECT blob : blobMeshes) ShowNode(blob, flag);
}

void CGCBMixCreature::TakePoolEntry() {
  CShadowMeshPool* pool = ShadowPool();
  if (poolEntry || !pool) return;
  poolEntry = pool->Acquire();
  pooledMesh = poolEntry->node;
  ShowNode(pooledMesh, 1);
  if (poolEntry->index == 0) {
    updateStep = 0;
    serial = 1;
  }
}

void CGCBMixCreature::GivePoolEntry() {
  if (!poolEntry) return;
  ShowNode(pooledMesh, 0);
  if (CShadowMeshPool* pool = ShadowPool()) pool->Release(poolEntry);
  poolEntry = nullptr;
  pooledMesh = 0;
}

int CGCBMixCreature::SetShadowMode(int mode) {
  if (mode == shadowMode) return 1;
  poolFailed = 0;
  renderDue = groundDue = 1;
  if (ShadowKind(mode) == 1) {
    if (renderList.empty()) CollectMeshNodes(&renderList, 1);
    ShowBlobs(0);
  } else if (ShadowKind(mode) == 0) {
    if (blobMeshes.empty()) MakeFirstBlob();
    GivePoolEntry();
    ShowBlobs(1);
  }
  shadowMode = mode;
  return 1;
}

int CGCBMixCreature::ShowShadow(int flag) {
  if (flag) {
    if (ShadowKind(shadowMode) == 1) {
      ShowNode(pooledMesh, 1);
    } else if (ShadowKind(shadowMode) == 0) {
      if (blobMeshes.empty()) MakeFirstBlob();
      ShowBlobs(1);
    }
  } else {
    GivePoolEntry();
    ShowBlobs(0);
  }
  shadowEnabled = flag;
  return 1;
}

int CGCBMixCreature::DestroyShadows() {
  for (HOBJECT blob : blobMeshes) DestroyNode(blob);
  blobMeshes.clear();
  GivePoolEntry();
  return 1;
}

int CGCBMixCreature::CollectMeshNodes(std::vector<HOBJECT>* list, int shownOnly) {
  if (!list) return 0;
  list->clear();
  list->insert(list->end(), partNodes.begin(), partNodes.end());
  for (int i = 0; i < objectCount; ++i)
    if (!shownOnly || !modelData->objects[i].Hidden()) list->push_back(objectNodes[i]);
  return 1;
}

int CGCBMixCreature::UpdateShadow() {
  if (!shadowEnabled || !shown) return 1;
  auto* society = dynamic_cast<CSocietyExt*>(owner);
  std::vector<CGCBLight*> lights;
  if (society) {
    VECTOR3 at{0, 0, 0};
    GetNodeWorldVectors(rootNode, &at, nullptr, nullptr);
    lights = society->CollectLights(&at);
  }
  const HOBJECT strongest = lights.empty() ? 0 : lights[0]->lightNode;
  const int placement = shadowMode & 0xF;
  if (ShadowKind(shadowMode) == 0 && !blobMeshes.empty()) {
    float colour[3] = {kBlobGrey, kBlobGrey, kBlobGrey};
    const HOBJECT first = blobMeshes[0];
    bool laid = false;
    if (placement == kGroundPlacement && UpdateGroundShadow(rootNode, first, kBlobSize, strongest, colour)) {
      SetNodeParent(first, 0);
      laid = true;
    }
    if (!laid && onGround) {
      VECTOR3 p{0, 0, 0};
      GetNodeWorldVectors(first, &p, nullptr, nullptr);
      SetNodePosition(first, 0, 0, 0.8f - p.z, TRANSFORM_PARENT);
    }
    const int limit = society ? society->GetMode() : shadowLimit;
    size_t i = 1;
    for (; i < lights.size() && static_cast<int>(i) < limit; ++i) {
      if (i >= blobMeshes.size()) {
        const HOBJECT copy = CloneNodeDeep(first);
        if (!copy) break;
        SetNodeCulling(copy, 0);
        SetNodeRenderState(copy, NRS_ADDRESSING_STAGE0, kAddressClamp);
        blobMeshes.push_back(copy);
      }
      for (float& c : colour) c *= kBlobFade;
      const bool shownBlob = placement == kGroundPlacement &&
                             UpdateGroundShadow(rootNode, blobMeshes[i], kBlobSize, lights[i]->lightNode, colour);
      ShowNode(blobMeshes[i], shownBlob ? 1 : 0);
    }
    for (; i < blobMeshes.size(); ++i) ShowNode(blobMeshes[i], 0);
  } else if (ShadowKind(shadowMode) == 1) {
    if (poolFailed) return 0;
    TakePoolEntry();
    if (groundDue && poolEntry) {
      if (renderDue)
        ComputeShadowProjection(poolEntry, ShadowCamera(), strongest, rootNode, renderList, &projection, 1);
      if (!UpdateProjectedShadow(poolEntry, rootNode, &projection)) {
        GivePoolEntry();
        poolFailed = 1;
      }
    }
    serial += updateStep;
    renderDue = groundDue = serial & 1;
  }
  return 1;
}
