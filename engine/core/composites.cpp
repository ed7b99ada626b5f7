#include "engine/core/composites.h"

#include "engine/core/engine_state.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"

namespace {

void HideComposite(COMPOSITEDESC* composite) {
  composite->visible = 0;
  if (composite->root) composite->root->visible = 0;
  for (COMPOSITEPARTDESC& part : composite->parts)
    if (part.node) part.node->visible = 0;
}

void UnlinkGroupOwner(COMPOSITEDESC* owner) {
  if (!g_gameWorld) return;
  COMPOSITEDESC* previous = nullptr;
  for (COMPOSITEDESC* c = g_gameWorld->compositeLodFirst; c; previous = c, c = c->lodNext) {
    if (c != owner) continue;
    if (previous) previous->lodNext = c->lodNext;
    else g_gameWorld->compositeLodFirst = c->lodNext;
    if (g_gameWorld->compositeLodLast == c) g_gameWorld->compositeLodLast = previous;
    break;
  }
  owner->lodNext = nullptr;
}

void DissolveGroup(COMPOSITEDESC* owner, bool hide) {
  for (COMPOSITEDESC* member : owner->lodGroup->members) {
    if (!member) continue;
    member->lodOwner = nullptr;
    if (hide) HideComposite(member);
  }
  owner->lodGroup.reset();
}

// Destroys the root and part nodes of a composite leaving its pool.
void DestroyCompositeNodes(COMPOSITEDESC* composite) {
  ReleaseCompositeLodGroup(composite);
  std::vector<NODEDESC*> nodes;
  if (composite->root) nodes.push_back(composite->root);
  for (COMPOSITEPARTDESC& part : composite->parts)
    if (part.node) nodes.push_back(part.node);
  // Destroying a node clears it from every composite record, this one too.
  for (NODEDESC* node : nodes)
    if (g_nodePool.Resolve(NodeHandle(node), OBJTYPE_NODE) == node) DestroyNode(NodeHandle(node));
}

template <typename Pool, typename F>
void ForEachLive(Pool& pool, F f) {
  for (uint32_t slot = 0; slot < pool.mark; ++slot)
    if (pool.slots[slot]) f(pool.slots[slot]);
}

}  // namespace

void ReleaseCompositeLodGroup(COMPOSITEDESC* composite) {
  if (!composite) return;
  if (COMPOSITEDESC* owner = composite->lodOwner) {
    if (owner->lodGroup)
      for (COMPOSITEDESC*& member : owner->lodGroup->members)
        if (member == composite) member = nullptr;
    if (owner->lodGroup && owner->lodGroup->shown == composite) owner->lodGroup->shown = owner;
    composite->lodOwner = nullptr;
  }
  if (!composite->lodGroup) return;
  UnlinkGroupOwner(composite);
  DissolveGroup(composite, true);
}

void ReleaseCompositeLodGroup(HOBJECT handle) {
  if (!g_engineOpen) return;
  COMPOSITEDESC* composite = LookupComposite(handle);
  if (!composite) composite = LookupComposite2(handle);
  ReleaseCompositeLodGroup(composite);
}

void DestroyComposite(HOBJECT handle) {
  if (!g_engineOpen) return;
  COMPOSITEDESC* composite = LookupComposite(handle);
  if (!composite) return;
  DestroyCompositeNodes(composite);
  g_compositePool.Free(static_cast<uint32_t>(composite->index));
  delete composite;
}

void DestroyComposite2(HOBJECT handle) {
  if (!g_engineOpen) return;
  COMPOSITE2DESC* composite = LookupComposite2(handle);
  if (!composite) return;
  DestroyCompositeNodes(composite);
  g_composite2Pool.Free(static_cast<uint32_t>(composite->index));
  delete composite;
}

void DetachFromComposite2(HOBJECT handle, HOBJECT nodeHandle) {
  if (!g_engineOpen) return;
  COMPOSITE2DESC* composite = LookupComposite2(handle);
  NODEDESC* node = LookupNode(nodeHandle);
  if (!composite || !node) return;
  for (size_t i = 0; i < composite->attached.size(); ++i) {
    if (composite->attached[i] != node) continue;
    SetNodeParent(NodeHandle(node), 0);
    composite->attached[i] = nullptr;
    if (static_cast<int>(i) == composite->attachedCount - 1) --composite->attachedCount;
  }
}

void ForgetNodeInComposites(NODEDESC* node) {
  auto forget = [node](COMPOSITEDESC* composite) {
    if (composite->root == node) composite->root = nullptr;
    for (COMPOSITEPARTDESC& part : composite->parts)
      if (part.node == node) part.node = nullptr;
  };
  ForEachLive(g_compositePool, forget);
  ForEachLive(g_composite2Pool, [&](COMPOSITE2DESC* composite) {
    forget(composite);
    for (size_t i = 0; i < composite->attached.size(); ++i) {
      if (composite->attached[i] != node) continue;
      composite->attached[i] = nullptr;
      if (static_cast<int>(i) == composite->attachedCount - 1) --composite->attachedCount;
    }
  });
}

void FreeCompositeLodGroups() {
  if (!g_gameWorld) return;
  while (COMPOSITEDESC* owner = g_gameWorld->compositeLodFirst) {
    g_gameWorld->compositeLodFirst = owner->lodNext;
    owner->lodNext = nullptr;
    if (owner->lodGroup) DissolveGroup(owner, false);
  }
  g_gameWorld->compositeLodLast = nullptr;
}
