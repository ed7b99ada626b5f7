#include "world/marker_model.h"

#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

namespace {

constexpr float kMarkerAlpha = 0.25f;

}  // namespace

HOBJECT CreateMarkerModel(const char* textureName, float half) {
  HOBJECT material = 0;
  if (textureName) {
    const float white[3] = {1, 1, 1};
    material = CreateMaterial(white, white, white, white, 1.0f, textureName, 0, 0, 0, 0, 0);
  }
  BeginNode(NODE_MESH);
  const HOBJECT node = EndNode(0);
  if (!node) return 0;
  const float corners[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
  const float uvs[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  MESHVERTEX vertices[4];
  for (int i = 0; i < 4; ++i) {
    vertices[i].x = corners[i][0];
    vertices[i].y = corners[i][1];
    vertices[i].z = 0;
    vertices[i].nz = 1;
    vertices[i].u = uvs[i][0];
    vertices[i].v = uvs[i][1];
  }
  const MESHPRIM m = material ? static_cast<MESHPRIM>(material) : -1;
  const MESHPRIM words[2 * kTriangleWords] = {PRIM_TRIANGLE, m, 0, 0, 1, 2, PRIM_TRIANGLE, m, 0, 0, 2, 3};
  AppendMeshData(node, vertices, 4, words, 2 * kTriangleWords, 2, 1);
  SetNodeAlpha(node, kMarkerAlpha);
  ShowNode(node, 0);
  return node;
}
