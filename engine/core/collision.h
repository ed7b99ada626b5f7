#pragma once
#include "engine/core/handles.h"

struct NODEDESC;

// Contact tests between nodes, as boxes or as mesh triangles, and the
// collision lists the walking calls check.
//
// Volumes: 1 the node's bounds box in the world, 2 its mesh triangles in the
// world (current frame, line lists ignored; mesh nodes only). On contact each
// node's lastPartner names the other; a box-mesh contact gives the box node's
// partnerPrimitive the mesh's primitive index, a mesh-mesh contact gives each
// node the other's.
enum COLLISIONVOLUME : int {
  VOLUME_BOX = 1,
  VOLUME_MESH = 2,
};

// Each object is a node or a composite (every part node is tested against
// every part of the other); 1 on the first contact. Other handles give 0.
int TestObjectCollision(HOBJECT objectA, int volumeA, HOBJECT objectB, int volumeB);
// Tests the node against the partners of its collision list; 1 on contact.
int CheckCollisionList(HOBJECT node);
int CheckCollisionList(NODEDESC* node);
// Pairs two distinct nodes: an entry in each list, each naming its own
// node's volume. 0 when either does not resolve, a volume is not 1 or 2, or
// the two are already paired.
int AddCollisionPartner(HOBJECT node, int volume, HOBJECT partner, int partnerVolume);
