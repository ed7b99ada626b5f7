#pragma once
#include <cstddef>

struct NODEDESC;
struct TERRAINDESC;

// The world's scene lists: the drawable nodes in drawing order (opaque ones
// first, translucent ones at the tail) and the terrains.
struct RENDERLISTDESC {
  NODEDESC* head = nullptr;
  NODEDESC* tail = nullptr;
  TERRAINDESC* terrainHead = nullptr;
  TERRAINDESC* terrainTail = nullptr;
};

// Moves a node toward the tail: the whole way, or with oneStep just past its
// successor (unless that successor is the tail). Nothing when already the tail.
void MoveToRenderListTail(NODEDESC* node, int oneStep);
// The mirror image toward the head.
void MoveToRenderListHead(NODEDESC* node, int oneStep);
void AppendToRenderList(NODEDESC* node);
void UnlinkFromRenderList(NODEDESC* node);

// Reorders the render list by each node's sortKey: the first `split` nodes by
// descending key, the rest by ascending key. The order is the one repeated
// passes of neighbour swaps leave: equal keys keep their order, and a key
// that is not a number keeps its place with no node passing it.
void SortRenderListByKey(size_t split);
