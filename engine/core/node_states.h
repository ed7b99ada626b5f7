#pragma once
#include "engine/core/handles.h"

struct NODEDESC;

// Per-node render states, alpha, culling, draw mode, visibility and mesh
// flags. Each call on a level-of-detail owner is repeated on its members.

// Codes are NODERENDERSTATE (nodes.h); other codes do nothing.
void SetNodeRenderState(HOBJECT node, int code, int value);
// Clamped to 0..1. Translucent nodes move to the render-list tail with depth
// write off, opaque ones to the head with depth write on.
void SetNodeAlpha(HOBJECT node, float alpha);
void SetNodeCulling(HOBJECT node, int on);
void SetNodeDrawMode(HOBJECT node, int mode);
// For a node of a level-of-detail group the flag goes to the group's node now shown.
void ShowNode(HOBJECT node, int visible);
void SetMeshName(HOBJECT node, const char* name);
// 0x10 (pre-transformed) also sets 0x1 (pre-lit).
void SetMeshFlags(HOBJECT node, unsigned flags);
