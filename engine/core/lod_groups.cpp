#include "engine/core/lod_groups.h"

#include "engine/core/composites.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"

namespace {

void AppendToWorldList(LODGROUPDESC* group) {
  if (!g_gameWorld) return;
  group->next = nullptr;
  if (g_gameWorld->lodLast) g_gameWorld->lodLast->next = group;
  else g_gameWorld->lodFirst = group;
  g_gameWorld->lodLast = group;
}

void UnlinkFromWorldList(LODGROUPDESC* group) {
  if (!g_gameWorld) return;
  LODGROUPDESC* previous = nullptr;
  for (LODGROUPDESC* g = g_gameWorld->lodFirst; g; previous = g, g = g->next) {
    if (g != group) continue;
    if (previous) previous->next = g->next;
    else g_gameWorld->lodFirst = g->next;
    if (g_gameWorld->lodLast == g) g_gameWorld->lodLast = previous;
    break;
  }
  group->next = nullptr;
}

// The members lose their group; with hide they are hidden too.
void DissolveGroup(LODGROUPDESC* group, bool hide) {
  for (NODEDESC* member : group->members) {
    if (!member) continue;
    member->lodOwner = nullptr;
    member->lodGroup = nullptr;
    if (hide) member->visible = 0;
  }
  if (group->owner) group->owner->lodGroup = nullptr;
  delete group;
}

// A member takes its owner's state, all but the fog state.
void CopyOwnerState(NODEDESC* member, const NODEDESC* owner) {
  member->enabled = owner->enabled;
  member->visible = owner->visible;
  member->cull = owner->cull;
  member->drawMode = owner->drawMode;
  member->reservedA = owner->reservedA;
  member->showBox = owner->showBox;
  member->upAxis = owner->upAxis;
  member->forwardAxis = owner->forwardAxis;
  int fog = member->states.fog;
  member->states = owner->states;
  member->states.fog = fog;
  member->reservedC = owner->reservedC;
}

}  // namespace

int SetupLodGroup(HOBJECT ownerHandle, const HOBJECT* memberHandles, const float* distances, int count) {
  NODEDESC* owner = LookupOpenNode(ownerHandle);
  if (!owner || count < 0 || (count > 0 && (!memberHandles || !distances))) return 0;
  std::vector<NODEDESC*> members(static_cast<size_t>(count));
  for (size_t i = 0; i < members.size(); ++i) {
    members[i] = LookupNode(memberHandles[i]);
    // A member that does not resolve, or the owner standing in for itself, refuses the group.
    if (!members[i] || members[i] == owner) return 0;
  }
  SetupLodGroup(owner, members, distances);
  return 1;
}

void SetupLodGroup(NODEDESC* owner, const std::vector<NODEDESC*>& members, const float* distances) {
  ReleaseLodGroup(owner);
  auto* group = new LODGROUPDESC;
  group->active = owner->visible;
  group->owner = owner;
  group->shown = owner;
  group->count = static_cast<int>(members.size());
  for (size_t i = 0; i < members.size(); ++i) group->distancesSquared.push_back(distances[i] * distances[i]);
  group->members = members;
  owner->lodGroup = group;
  for (NODEDESC* member : members) {
    if (!member) continue;
    if (member->lodGroup != group) ReleaseLodGroup(member);
    member->visible = 0;
    member->lodGroup = group;
    member->lodOwner = owner;
    CopyOwnerState(member, owner);
  }
  AppendToWorldList(group);
}

void ReleaseLodGroup(NODEDESC* node) {
  if (!node || !node->lodGroup) return;
  LODGROUPDESC* group = node->lodGroup;
  if (node->lodOwner) {
    for (NODEDESC*& member : group->members)
      if (member == node) member = nullptr;
    // A member leaving while shown hands the group's visibility back to the owner.
    if (group->shown == node) {
      group->owner->visible = node->visible;
      group->shown = group->owner;
    }
    node->lodGroup = nullptr;
    node->lodOwner = nullptr;
    return;
  }
  UnlinkFromWorldList(group);
  DissolveGroup(group, true);
}

void ReleaseLodGroup(HOBJECT handle) { ReleaseLodGroup(LookupOpenNode(handle)); }

void FreeLodGroupLists() {
  if (!g_gameWorld) return;
  while (LODGROUPDESC* group = g_gameWorld->lodFirst) {
    g_gameWorld->lodFirst = group->next;
    DissolveGroup(group, false);
  }
  g_gameWorld->lodLast = nullptr;
  FreeCompositeLodGroups();
}
