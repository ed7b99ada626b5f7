#include <strings.h>
#include <cmath>
#include <cstdio>

#include "battle/tarnwick.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "platform/message_box.h"
#include "platform/qel/vector_math.h"

namespace {

constexpr float kVertexMatch = 0.1f;
constexpr uint32_t kSkippedObject = 0x81;
const char* const kMissingVertex[4] = {
    "%s cannot find hit head vertex(Front)", "%s cannot find hit head vertex(Behind)",
    "%s cannot find hit body vertex(Front)", "%s cannot find hit body vertex(Behind)"};

const MESHVERTEX* MatchIn(HOBJECT node, const float* p) {
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* v = node ? GetMeshVertices(node, &count, &frames, &floats) : nullptr;
  for (int i = 0; v && i < count; ++i)
    if (std::fabs(v[i].x - p[0]) < kVertexMatch && std::fabs(v[i].y - p[1]) < kVertexMatch &&
        std::fabs(v[i].z - p[2]) < kVertexMatch)
      return &v[i];
  return nullptr;
}

}  // namespace

void CTarnwick::FindHitVertex(int slot, const float* point) {
  const MESHVERTEX* found = nullptr;
  if (modelData) {
    for (size_t i = 0; !found && i < modelData->objects.size() && i < objectNodes.size(); ++i)
      if ((modelData->objects[i].flags & kSkippedObject) == 0) found = MatchIn(objectNodes[i], point);
    for (size_t i = 0; !found && i < partNodes.size(); ++i) found = MatchIn(partNodes[i], point);
  }
  hitVertices[slot] = found;
  if (!found) {
    char text[512];
    std::snprintf(text, sizeof text, kMissingVertex[slot], modelName);
    plat::ShowMessageBox("Warning", text);
  }
}

void CTarnwick::SetHitVertices(const float* headFront, const float* headBehind, const float* bodyFront,
                               const float* bodyBehind) {
  const float* points[4] = {headFront, headBehind, bodyFront, bodyBehind};
  for (int i = 0; i < 4; ++i) FindHitVertex(i, points[i]);
}

// A hit vertex in body space; a missing one falls back to the body's box:
// its top centre for the head, its centre for the body.
VECTOR3 CTarnwick::HitVertexOrBox(int slot) {
  if (hitVertices[slot]) return {hitVertices[slot]->x, hitVertices[slot]->y, hitVertices[slot]->z};
  float box[6] = {};
  GetFrameBox(box);
  const float x = (box[0] + box[3]) * 0.5f, y = (box[1] + box[4]) * 0.5f;
  return {x, y, slot < 2 ? box[5] : (box[2] + box[5]) * 0.5f};
}

void CTarnwick::GetHitPoints(VECTOR3* out, int mask) {
  MATRIX34 world{};
  if (rootNode) GetNodeMatrix(rootNode, &world, 0);
  VECTOR3 p[4];
  for (int i = 0; i < 4; ++i) {
    const VECTOR3 local = HitVertexOrBox(i);
    const float v[3] = {local.x, local.y, local.z};
    float w[3] = {};
    qmz::VMultiplyM12(v, &world.row[0].x, w);
    p[i] = {w[0], w[1], w[2]};
  }
  if (mask & 1) out[0] = {(p[0].x + p[1].x) * 0.5f, (p[0].y + p[1].y) * 0.5f, (p[0].z + p[1].z) * 0.5f};
  if (mask & 2) out[1] = {(p[2].x + p[3].x) * 0.5f, (p[2].y + p[3].y) * 0.5f, (p[2].z + p[3].z) * 0.5f};
  static const char* const kLimbs[4] = {"_larm", "_rarm", "_Lshin", "_Rshin"};
  if (!modelData) return;
  auto limb = [&](const char* name, HOBJECT node) {
    for (int k = 0; k < 4; ++k)
      if ((mask & (4 << k)) && strcasecmp(name, kLimbs[k]) == 0)
        GetNodeWorldVectors(node, &out[2 + k], nullptr, nullptr);
  };
  for (size_t i = 0; i < modelData->objects.size() && i < objectNodes.size(); ++i)
    limb(modelData->objects[i].name, objectNodes[i]);
  for (size_t i = 0; i < modelData->parts.size() && i < partNodes.size(); ++i)
    limb(modelData->parts[i].name, partNodes[i]);
}
