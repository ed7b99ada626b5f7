// Clones: shared ones show the same model data with nodes of their own; copies
// own a deep copy of it.
#include "components/mix_creature.h"
#include "engine/core/node_clone.h"
#include "engine/core/nodes.h"

int CGCBMixCreature::ShareModelWith(CGCBMixCreature* c) {
  // The target must be a fresh creature: it would otherwise lose its own model.
  if (!c || c == this || !modelData || c->modelData) return 0;
  c->SetModelData(modelData);
  c->fileName = fileName;
  c->directory = directory;
  c->poseLoaded = poseLoaded;
  c->scratch = scratch;
  c->frameBoxes = frameBoxes;
  c->shadowMode = shadowMode;
  c->onGround = onGround;
  c->rootNode = CloneNodeDeep(rootNode);
  for (int i = 0; i < objectCount; ++i) c->objectNodes[i] = modelData->CopyNodeUnder(objectNodes[i], 0, i, c->rootNode);
  for (int i = 0; i < partCount; ++i) c->partNodes[i] = modelData->CopyNodeUnder(partNodes[i], 1, i, c->rootNode);
  c->ownsNodes = 1;
  c->ShareCounterWith(*this);
  c->cloneCount = c->SharedCount();
  c->savedPartColours = savedPartColours;
  c->savedObjectColours = savedObjectColours;
  c->playRange = playRange;
  if (frameCount > 1 && partCount > 0) c->SetPartsCulling(0);
  return 1;
}

int CGCBMixCreature::CopyTo(CGCBMixCreature* c) {
  if (!c || c == this || !modelData || c->modelData) return 0;
  c->SetModelData(modelData->Copy());
  c->fileName = fileName;
  c->directory = directory;
  c->frameHeight = frameHeight;
  c->playRange = playRange;
  c->playMode = playMode;
  c->currentPose = currentPose;
  c->currentFrame = currentFrame;
  c->fractionalFrame = fractionalFrame;
  c->shadowMode = shadowMode;
  c->onGround = onGround;
  if (poseLoaded) c->poseLoaded = std::make_shared<std::vector<int>>(*poseLoaded);
  c->frameBoxes = std::make_shared<std::vector<std::unique_ptr<std::array<float, 6>>>>(frameCount);
  if (frameBoxes)
    for (size_t f = 0; f < frameBoxes->size() && f < c->frameBoxes->size(); ++f)
      if ((*frameBoxes)[f]) (*c->frameBoxes)[f] = std::make_unique<std::array<float, 6>>(*(*frameBoxes)[f]);
  c->scratch = std::make_shared<std::vector<std::vector<MESHVERTEX>>>();
  for (int i = 0; i < partCount; ++i) {
    const MESHVERTEX* live = LiveVertices(i);
    c->scratch->emplace_back(live, live + (live ? vertexCounts[i] : 0));
  }
  c->savedPartColours = savedPartColours;
  c->savedObjectColours = savedObjectColours;
  if (const HOBJECT parent = GetNodeParent(rootNode)) SetNodeParent(c->rootNode, parent);
  return 1;
}

CGCBMixCreature* CGCBMixCreature::CloneShared() {
  auto* c = new CGCBMixCreature();
  ShareModelWith(c);
  if (owner) c->Attach(owner);
  return c;
}

CGCBMixCreature* CGCBMixCreature::CloneCopy() {
  auto* c = new CGCBMixCreature();
  CopyTo(c);
  if (owner) c->Attach(owner);
  c->Update(0);
  return c;
}

IBsCreature* CGCBMixCreature::CloneShared(IBsCreature* target) {
  if (!target) return CloneShared();
  auto* c = dynamic_cast<CGCBMixCreature*>(target);
  return c && ShareModelWith(c) ? c : nullptr;
}

IBsCreature* CGCBMixCreature::CloneCopy(IBsCreature* target) {
  if (!target) return CloneCopy();
  auto* c = dynamic_cast<CGCBMixCreature*>(target);
  return c && CopyTo(c) ? c : nullptr;
}
