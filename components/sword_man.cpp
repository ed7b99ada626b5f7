// The swordsman's life cycle, clones, attachments and fence queries.
#include "components/sword_man.h"

#include "components/society_ext.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

CMSwordMan::CMSwordMan() : afterimageTimer(std::make_unique<CTickTimer>()) { afterimageTimer->SetRate(2); }

CMSwordMan::CMSwordMan(const char* file, int loadAllPoses, const char* dir)
    : CGCBMixCreature(file, loadAllPoses, dir), afterimageTimer(std::make_unique<CTickTimer>()) {
  afterimageTimer->SetRate(2);
  ReadFences();
}

CMSwordMan::~CMSwordMan() {
  GiveBackShotCamera();
  composite.reset();
  if (shotDummy) DestroyNode(shotDummy);
  attachments.clear();
}

std::string CMSwordMan::BaseName() const { return fileName.substr(0, fileName.find('.')); }

std::string CMSwordMan::Extension() const {
  const size_t dot = fileName.find('.');
  return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

int CMSwordMan::ReadFences() {
  fences = ReadFenceFile(directory + "\\" + BaseName() + ".fn");
  if (!fences) return 0;
  header = fences->header;
  fenceCounters.assign(static_cast<size_t>(fences->fenceCount), 0);
  return 1;
}

int CMSwordMan::LoadModel(const char* file, const char* dir) {
  if (!CGCBMixCreature::LoadModel(file, 1, dir)) return 0;
  return ReadFences();
}

CSocietyExt* CMSwordMan::Society() const { return dynamic_cast<CSocietyExt*>(owner); }

const FENCEDESC* CMSwordMan::Fence(int index) const {
  if (!fences || currentGroup < 0 || currentGroup >= fences->groupCount || index < 0 || index >= fences->fenceCount)
    return nullptr;
  return &fences->groups[static_cast<size_t>(currentGroup)][static_cast<size_t>(index)];
}

CMSwordMan* CMSwordMan::NewClone(bool copy) {
  auto* c = new CMSwordMan();
  if (copy) {
    CopyTo(c);
    if (fences) c->fences = fences->Copy();
  } else {
    ShareModelWith(c);
    c->fences = fences;
  }
  c->header = header;
  c->currentGroup = currentGroup;
  c->fenceCounters.assign(fenceCounters.size(), 0);
  for (const auto& [key, creature] : attachments) {
    CGCBMixCreature* a = creature->CloneCopy();
    // A copy stands where the original stands; its society is this one's.
    if (a->owner) a->Detach();
    c->attachments[key].reset(a);
  }
  if (owner) c->Attach(owner);
  return c;
}

CMSwordMan* CMSwordMan::CloneShared() { return NewClone(false); }

CMSwordMan* CMSwordMan::CloneCopy() {
  CMSwordMan* c = NewClone(true);
  c->Update(0);
  return c;
}

void CMSwordMan::SetVisible(int flag) {
  CGCBMixCreature::SetVisible(flag);
  for (auto& entry : attachments) entry.second->SetVisible(flag);
}

void CMSwordMan::SetAlpha(float value) {
  CGCBMixCreature::SetAlpha(value);
  for (auto& entry : attachments) entry.second->SetAlpha(value);
}

int CMSwordMan::SetAttachmentsVisible(int flag) {
  for (auto& entry : attachments) entry.second->CGCBMixCreature::SetVisible(flag);
  return 1;
}

HOBJECT CMSwordMan::FindPartNode(const char* name) {
  if (const HOBJECT node = CGCBMixCreature::FindPartNode(name)) return node;
  for (auto& entry : attachments)
    if (const HOBJECT node = entry.second->FindPartNode(name)) return node;
  return 0;
}

int CMSwordMan::AttachSubCreature(int key, CGCBMixCreature* creature) {
  if (creature == this) return 0;
  auto found = attachments.find(key);
  if (found != attachments.end()) {
    if (creature && found->second->fileName == creature->fileName) return 0;
    attachments.erase(found);
  }
  if (!creature) return 1;
  attachments[key].reset(creature);
  return 1;
}

int CMSwordMan::SelectFenceGroup(int group) {
  if (playing || !fences || group < 0 || group >= fences->groupCount) return 0;
  currentGroup = group;
  std::fill(fenceCounters.begin(), fenceCounters.end(), 0);
  return 1;
}

int CMSwordMan::FindFence(int id) {
  for (int i = 0; i < FenceCount(); ++i)
    if (Fence(i)->id == id) return i;
  return -1;
}

int CMSwordMan::GetFenceKindById(int id) {
  const int index = FindFence(id);
  return index < 0 ? index : Fence(index)->Kind();
}

int CMSwordMan::GetCurrentFenceKind() { return playing && CurrentFence() ? CurrentFence()->Kind() : -1; }

int CMSwordMan::GetFenceMoveKind(int index) {
  const FENCEDESC* fence = Fence(index);
  return fence ? fence->MoveKind() : -1;
}

int CMSwordMan::GetHitCount() { return CurrentFence() ? static_cast<int>(CurrentFence()->hits.size()) : 0; }

int CMSwordMan::GetCurrentFenceId() { return CurrentFence() ? CurrentFence()->id : -1; }

int CMSwordMan::GetFollowUpId() { return playing && followUpTree ? followUpTree->id : -1; }

int CMSwordMan::SaveFenceTrees() {
  if (!fences || fences->trees.empty()) return 0;
  workingTrees.clear();
  for (const auto& tree : fences->trees) workingTrees.emplace_back(tree->Clone());
  return 1;
}

int CMSwordMan::RestoreFenceTrees() {
  if (!fences || workingTrees.empty()) return 0;
  // The follow-up pointers name nodes of the trees about to go.
  followUpTree = matchedTree = nullptr;
  for (size_t i = 0; i < fences->trees.size() && i < workingTrees.size(); ++i)
    fences->trees[i].reset(workingTrees[i]->Clone());
  return 1;
}

int CMSwordMan::PruneFenceTree(CFenceTree* tree, int value) {
  if (!tree) return 0;
  for (int i = 0; i < tree->ChildCount();) {
    if (PruneFenceTree(tree->children[static_cast<size_t>(i)].get(), value)) ++i;
    else tree->RemoveChild(i);
  }
  if (tree->ChildCount() > 0) return 1;
  if (tree->id < 0) return 0;
  return !followUpFilter || followUpFilter({tree->id}, value) ? 1 : 0;
}

int CMSwordMan::PruneFenceTrees(int value) {
  if (!fences || fences->trees.empty()) return 0;
  followUpTree = matchedTree = nullptr;
  for (auto& tree : fences->trees) PruneFenceTree(tree.get(), value);
  return 1;
}

void CMSwordMan::PlaceRoot(const VECTOR3& position, const VECTOR3& direction) {
  VECTOR3 up;
  GetNodeWorldVectors(rootNode, nullptr, nullptr, &up);
  SetNodeDirection(rootNode, &position, &direction, &up);
  groundDue = 1;
}

int CMSwordMan::SetReturnPoint(const VECTOR3* position, const VECTOR3* direction) {
  if (!position) return 0;
  returnPosition = *position;
  if (direction) returnDirection = *direction;
  return 1;
}

int CMSwordMan::SaveReturnPoint() {
  GetNodeWorldVectors(rootNode, &returnPosition, &returnDirection, nullptr);
  return 1;
}

int CMSwordMan::RestoreTransform() {
  PlaceRoot(restorePosition, restoreDirection);
  return 1;
}

int CMSwordMan::SetRestoreTransform(const VECTOR3* position, const VECTOR3* direction) {
  if (position) restorePosition = *position;
  if (direction) restoreDirection = *direction;
  restoreFlag = 1;
  return 1;
}
