#pragma once
#include "engine/core/handles.h"

struct NODEDESC;

// What both model readers do to the mesh node they build.

// Software path: the node's per-vertex transform buffer (6 x 4 bytes per
// vertex) and the mesh's zeroed 2-byte work buffer, for the vertices of one
// frame. Nothing on the Direct3D path.
void SetUpSoftMeshBuffers(NODEDESC* node);

// A material's handle as the word a primitive stores: the pool index, or -1
// for none.
int PrimitiveMaterialWord(HOBJECT material);
