#include "battle/fighter_gauge.h"

#include <iterator>

#include "engine/core/materials.h"
#include "engine/core/math3d.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

CFighterGauge::~CFighterGauge() {
  if (node) DestroyNode(node);
}

int CFighterGauge::Create(const char* textureName, int w, int h) {
  if (node) DestroyNode(node);
  node = 0;
  width = w;
  height = h;
  const float red[3] = {1.0f, 0.2f, 0.2f}, white[3] = {1, 1, 1};
  const HOBJECT bar = CreateMaterial(red, red, red, red, 20, textureName, 0, 0, 0, 0, 0);
  const HOBJECT outline = CreateMaterial(white, white, white, white, 20, "NULL", 0, 0, 0, 0, 0);
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  // The bar stands in the node's x-z plane, facing along its forward axis.
  MESHVERTEX corners[4];
  const float xs[4] = {0, 0, fw, fw}, zs[4] = {0, fh, fh, 0};
  for (int i = 0; i < 4; ++i) {
    corners[i].x = xs[i];
    corners[i].z = zs[i];
    corners[i].nx = 0, corners[i].ny = -1, corners[i].nz = 0;
    corners[i].u = xs[i] / (fw != 0 ? fw : 1);
    corners[i].v = 1 - zs[i] / (fh != 0 ? fh : 1);
  }
  auto word = [](HOBJECT m) { return m ? static_cast<MESHPRIM>(m) : -1; };
  const MESHPRIM words[] = {PRIM_TRIANGLE,
                            word(bar),
                            0,
                            0,
                            1,
                            2,
                            PRIM_TRIANGLE,
                            word(bar),
                            0,
                            0,
                            2,
                            3,
                            PRIM_LINES,
                            word(outline),
                            4,
                            0,
                            1,
                            1,
                            2,
                            2,
                            3,
                            3,
                            0};
  BeginNode(NODE_MESH);
  AppendMeshData(0, corners, 4, words, static_cast<int>(std::size(words)), 3, 1);
  node = EndNode(0);
  if (!node) return 0;
  rightVertices[0] = 2;
  rightVertices[1] = 3;
  percent = 100;
  shown = 0;
  ShowNode(node, 0);
  return 1;
}

void CFighterGauge::SetPercent(float p) {
  if (p < 0 || p > 100 || !node) return;
  percent = p;
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* vertices = GetMeshVertices(node, &count, &frames, &floats);
  if (!vertices) return;
  for (int i : rightVertices)
    if (i >= 0 && i < count) vertices[i].x = p * static_cast<float>(width) * 0.01f;
}

void CFighterGauge::Show(int flag) {
  flag = flag ? 1 : 0;
  if (!node || flag == shown) return;
  shown = flag;
  ShowNode(node, flag);
}

void CFighterGauge::Follow(HOBJECT followed) { target = followed; }

void CFighterGauge::Place(HOBJECT cameraNode) {
  if (!node || !target || !cameraNode) return;
  VECTOR3 eye{}, forward{}, up{};
  GetNodeWorldVectors(cameraNode, &eye, &forward, &up);
  VECTOR3 at{};
  GetNodeWorldVectors(target, &at, nullptr, nullptr);
  float box[6] = {};  // min x, max x, min y, max y, min z, max z
  GetNodeBoundingBox(target, box);
  at.x -= box[0];
  at.y += (box[2] + box[3]) * 0.5f;
  at.z += box[5];
  const VECTOR3 facing{-forward.x, -forward.y, -forward.z};
  SetNodeDirection(node, &at, &facing, &up);
}
