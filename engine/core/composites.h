#pragma once
#include <memory>
#include <vector>

#include "engine/core/handles.h"

struct NODEDESC;

// Composite models: a root node and part nodes shown, placed and destroyed
// together. Nothing in the engine makes them; it looks them up, tests their
// parts for collision and destroys them.

constexpr int kMaxCompositeParts = 100;

struct COMPOSITEPARTDESC {
  NODEDESC* node = nullptr;
  std::vector<float> frames;  // the part's frame arrays
  int frameCount = 0;
};

struct COMPOSITEDESC;

// A level-of-detail group of composites, owned by its owner composite.
struct COMPOSITELODDESC {
  int active = 0;
  COMPOSITEDESC* shown = nullptr;
  std::vector<float> distancesSquared;
  std::vector<COMPOSITEDESC*> members;  // empty slots are null
};

struct COMPOSITEDESC {
  int index = 0;
  int visible = 1;
  NODEDESC* root = nullptr;
  std::vector<COMPOSITEPARTDESC> parts;  // at most kMaxCompositeParts
  // Frame data shared with the composite's clones.
  std::shared_ptr<std::vector<float>> sharedFrames;
  std::unique_ptr<COMPOSITELODDESC> lodGroup;  // the group this composite owns
  COMPOSITEDESC* lodOwner = nullptr;           // the owner of the group it belongs to
  COMPOSITEDESC* lodNext = nullptr;            // the world's list of group owners
  virtual ~COMPOSITEDESC() = default;
};

// The second kind also carries nodes attached to it.
struct COMPOSITE2DESC : COMPOSITEDESC {
  std::vector<NODEDESC*> attached;  // cleared entries are null
  int attachedCount = 0;
};

// Releases the group, destroys the root and part nodes and frees the record.
void DestroyComposite(HOBJECT composite);
void DestroyComposite2(HOBJECT composite);
// Detaches the node from its parent and clears its attachment entry.
void DetachFromComposite2(HOBJECT composite, HOBJECT node);
// Members lose their group links and are hidden; the group leaves the world list.
void ReleaseCompositeLodGroup(HOBJECT composite);
void ReleaseCompositeLodGroup(COMPOSITEDESC* composite);
// Takes a destroyed node out of every composite's parts and attachments.
void ForgetNodeInComposites(NODEDESC* node);
// Dissolves every composite group of the world list.
void FreeCompositeLodGroups();
