#include "game/marker_model.h"

#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

// MINIMAL: the square and its material are not built; the node is an empty,
// hidden mesh.
HOBJECT CreateMarkerModel(const char*, float) {
  BeginNode(NODE_MESH);
  const HOBJECT node = EndNode(0);
  ShowNode(node, 0);
  return node;
}
