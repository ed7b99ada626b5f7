#pragma once

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
