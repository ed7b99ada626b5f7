#pragma once
#include "engine/core/handles.h"

// Whether the node can stand on the terrain somewhere: it is dropped from
// 1000 above each vertex of the terrain node's mesh in turn until one drop
// lands. The node ends where it started. 0 when a drop landed, else -1.
// a and b are the drop's height offset and slope flag.
int ProbeTerrainUnderNode(HOBJECT node, HOBJECT terrainNode, HOBJECT terrain, int a, int b);
