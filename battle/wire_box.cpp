#include "battle/wire_box.h"

#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

namespace {

// Corner i of a {min x, y, z, max x, y, z} box in the engine's box numbering.
MESHVERTEX Corner(const float box[6], int i) {
  // Which of the extremes each numbered corner takes: 1 the maximum.
  constexpr int kMaxX[8] = {1, 0, 0, 1, 1, 0, 0, 1};
  constexpr int kMaxY[8] = {1, 1, 1, 1, 0, 0, 0, 0};
  constexpr int kMaxZ[8] = {0, 0, 1, 1, 0, 0, 1, 1};
  MESHVERTEX v;
  v.x = box[kMaxX[i] ? 3 : 0];
  v.y = box[kMaxY[i] ? 4 : 1];
  v.z = box[kMaxZ[i] ? 5 : 2];
  return v;
}

}  // namespace

HOBJECT CreateWireBox(HOBJECT parent, const float box[6]) {
  const float white[3] = {1, 1, 1};
  const HOBJECT material = CreateMaterial(white, white, white, white, 20, "NULL", 0, 0, 0, 0, 0);
  MESHVERTEX corners[8];
  for (int i = 0; i < 8; ++i) corners[i] = Corner(box, i);
  MESHPRIM words[3 + 2 * 12] = {PRIM_LINES, material ? static_cast<MESHPRIM>(material) : -1, 12};
  for (int e = 0; e < 12; ++e) {
    words[3 + 2 * e] = kBoxEdges[e][0];
    words[4 + 2 * e] = kBoxEdges[e][1];
  }
  BeginNode(NODE_MESH);
  AppendMeshData(0, corners, 8, words, 3 + 2 * 12, 1, 1);
  const HOBJECT node = EndNode(parent);
  if (node) ShowNode(node, 0);
  return node;
}

void FitWireBox(HOBJECT node, const float box[6]) {
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* vertices = GetMeshVertices(node, &count, &frames, &floats);
  if (!vertices || count < 8) return;
  for (int i = 0; i < 8; ++i) vertices[i] = Corner(box, i);
  UpdateMeshBounds(node);
}
