#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/nodes.h"

// Level-of-detail groups: an owner node and members that stand in for it at
// distances from the camera. The renderer switches active groups once per
// frame: the first member whose squared distance is exceeded is shown, else
// the owner, so distances run farthest first. Calls applied to the owner are
// repeated on its members.
struct LODGROUPDESC {
  int active = 0;  // the owner's visibility at set-up
  NODEDESC* owner = nullptr;
  NODEDESC* shown = nullptr;  // the node now shown
  int count = 0;
  std::vector<float> distancesSquared;
  std::vector<NODEDESC*> members;  // empty slots are null
  LODGROUPDESC* next = nullptr;
};

// Makes the owner's group (releasing any old one); 0 and nothing made when
// the owner or a member handle does not resolve, 1 otherwise.
int SetupLodGroup(HOBJECT owner, const HOBJECT* members, const float* distances, int count);
// The same for records; empty member slots (null) stay empty.
void SetupLodGroup(NODEDESC* owner, const std::vector<NODEDESC*>& members, const float* distances);
// Dissolves an owner's group, or takes a member out of its group.
void ReleaseLodGroup(HOBJECT node);
void ReleaseLodGroup(NODEDESC* node);

// The members of the group a node owns (none for members and plain nodes);
// empty slots are skipped.
template <typename F>
void ForEachLodMember(NODEDESC* node, F f) {
  if (!node || !node->lodGroup || node->lodOwner) return;
  for (NODEDESC* member : node->lodGroup->members)
    if (member) f(member);
}

// Unlinks every member from its group and frees both lists of the world.
void FreeLodGroupLists();
