#include "components/q_chao.h"

#include <algorithm>

#include "database/scene_records.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_transforms.h"
#include "platform/crt.h"

namespace {

float Unit() { return static_cast<float>(plat::Rand()) / plat::kRandMax; }

}  // namespace

CQChao::CQChao(int count, const SCENEZONE& zone, const SCENEMORPHDESC* set, HOBJECT sourceMesh) : frameSet(set) {
  int vertexCount = 0, meshFrames = 0, floats = 0;
  const MESHVERTEX* source = sourceMesh ? GetMeshVertices(sourceMesh, &vertexCount, &meshFrames, &floats) : nullptr;
  const int frameCount = set ? std::max(set->frameCount, 0) : 0;
  // Grass without frames or mesh has nothing to sway.
  if (!source || vertexCount <= 0 || frameCount == 0 || count <= 0) return;

  const size_t floatsPerVertex = set->uvFlag ? 5 : 3;
  verticesPerFrame = std::min(vertexCount, std::max(set->vertexCount, 0));
  frames.resize(static_cast<size_t>(frameCount) * vertexCount);
  for (int f = 0; f < frameCount; ++f) {
    MESHVERTEX* out = frames.data() + static_cast<size_t>(f) * vertexCount;
    std::copy(source, source + vertexCount, out);
    for (int v = 0; v < verticesPerFrame; ++v) {
      const size_t at = (static_cast<size_t>(f) * set->vertexCount + v) * floatsPerVertex;
      if (at + 3 > set->frames.size()) break;
      out[v].x = set->frames[at];
      out[v].y = set->frames[at + 1];
      out[v].z = set->frames[at + 2];
    }
  }
  verticesPerFrame = vertexCount;

  const auto& p = zone.corners;
  float lastX = 0, lastY = 0;
  for (int i = 0; i < count; ++i) {
    const HOBJECT copy = CloneNodeDeep(sourceMesh);
    if (!copy) break;
    const float r1 = Unit(), r2 = Unit();
    lastX = p[1][0] + r1 * (p[0][0] - p[1][0]) + r2 * (p[2][0] - p[1][0]);
    lastY = p[1][1] + r1 * (p[0][1] - p[1][1]) + r2 * (p[2][1] - p[1][1]);
    SetNodePosition(copy, lastX, lastY, 0, TRANSFORM_LOCAL);
    copies.push_back(copy);
    currentFrame.push_back(plat::Rand() % frameCount);
  }
  copyCount = static_cast<int>(copies.size());
  if (copyCount > 0) SetNodePosition(sourceMesh, lastX, lastY, 0, TRANSFORM_LOCAL);
}

CQChao::~CQChao() {
  for (HOBJECT copy : copies) DestroyNode(copy);
}

void CQChao::ShowFrame(HOBJECT copy, int frame) {
  int vertexCount = 0, meshFrames = 0, floats = 0;
  MESHVERTEX* v = GetMeshVertices(copy, &vertexCount, &meshFrames, &floats);
  if (!v) return;
  const MESHVERTEX* from = frames.data() + static_cast<size_t>(frame) * verticesPerFrame;
  std::copy(from, from + std::min(vertexCount, verticesPerFrame), v);
}

int CQChao::Update() {
  if (paused) return 0;
  const int frameCount = verticesPerFrame > 0 ? static_cast<int>(frames.size()) / verticesPerFrame : 0;
  for (int i = 0; i < copyCount && frameCount > 0; ++i) {
    ShowFrame(copies[i], currentFrame[i]);
    currentFrame[i] = (currentFrame[i] + 1) % frameCount;
  }
  return 1;
}

void CQChao::SetEnabled(int flag) {
  if (flag) {
    paused = 0;
    return;
  }
  if (!frames.empty())
    for (HOBJECT copy : copies) ShowFrame(copy, 0);
  paused = 1;
}
