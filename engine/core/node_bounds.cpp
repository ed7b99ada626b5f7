#include "engine/core/node_bounds.h"

#include <algorithm>

#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

namespace {

void SetUnitBox(BOUNDSDESC* bounds) {
  bounds->centre = {0, 0, 0};
  bounds->minX = bounds->minY = bounds->minZ = -1;
  bounds->maxX = bounds->maxY = bounds->maxZ = 1;
}

// Per-frame boxes from the vertices, one per frame the vertex arrays hold;
// false (boxes untouched) for a mesh without vertices.
bool ComputeFrameBoxes(MESHDESC* mesh, BOUNDSDESC* bounds) {
  if (mesh->vertexCount <= 0 || mesh->vertexCapacity < mesh->vertexCount) return false;
  const size_t held = mesh->vertexArrays.size() / static_cast<size_t>(mesh->vertexCapacity);
  const int frames =
      static_cast<int>(std::min(static_cast<size_t>(std::max(mesh->frameCount, 1)), std::max<size_t>(held, 1)));
  bounds->frameBoxes.assign(static_cast<size_t>(frames), FRAMEBOXDESC{});
  for (int frame = 0; frame < frames; ++frame) {
    size_t start = static_cast<size_t>(frame) * mesh->vertexCapacity;
    if (start + mesh->vertexCount > mesh->vertexArrays.size()) break;
    FRAMEBOXDESC& box = bounds->frameBoxes[static_cast<size_t>(frame)];
    box.minX = box.minY = box.minZ = 1e10f;
    box.maxX = box.maxY = box.maxZ = -1e10f;
    VECTOR3 sum{0, 0, 0};
    for (int i = 0; i < mesh->vertexCount; ++i) {
      const MESHVERTEX& v = mesh->vertexArrays[start + static_cast<size_t>(i)];
      sum.x += v.x;
      sum.y += v.y;
      sum.z += v.z;
      box.minX = std::min(box.minX, v.x);
      box.maxX = std::max(box.maxX, v.x);
      box.minY = std::min(box.minY, v.y);
      box.maxY = std::max(box.maxY, v.y);
      box.minZ = std::min(box.minZ, v.z);
      box.maxZ = std::max(box.maxZ, v.z);
    }
    float n = static_cast<float>(mesh->vertexCount);
    box.centre = {sum.x / n, sum.y / n, sum.z / n};
  }
  int current = std::clamp(mesh->currentFrame, 0, frames - 1);
  const FRAMEBOXDESC& box = bounds->frameBoxes[static_cast<size_t>(current)];
  bounds->centre = box.centre;
  bounds->minX = box.minX;
  bounds->maxX = box.maxX;
  bounds->minY = box.minY;
  bounds->maxY = box.maxY;
  bounds->minZ = box.minZ;
  bounds->maxZ = box.maxZ;
  return true;
}

}  // namespace

void UpdateBoundsRadius(NODEDESC* node) {
  BOUNDSDESC* b = node->bounds;
  float extent = std::max({b->maxX - b->minX, b->maxY - b->minY, b->maxZ - b->minZ}) * 0.5f;
  b->radiusSquared = extent * extent;
}

void ComputeNodeBounds(NODEDESC* node) {
  if (!node->bounds) node->bounds = new BOUNDSDESC;
  BOUNDSDESC* bounds = node->bounds;
  if (node->kind == NODE_DUMMY && node->kindData) {
    const VECTOR3& size = static_cast<DUMMYDESC*>(node->kindData)->size;
    bounds->centre = {0, 0, 0};
    bounds->minX = -size.x / 2;
    bounds->maxX = size.x / 2;
    bounds->minY = -size.y / 2;
    bounds->maxY = size.y / 2;
    bounds->minZ = -size.z / 2;
    bounds->maxZ = size.z / 2;
  } else if (MESHDESC* mesh = node->Mesh()) {
    if (!ComputeFrameBoxes(mesh, bounds)) SetUnitBox(bounds);
  } else {
    SetUnitBox(bounds);
  }
  UpdateBoundsRadius(node);
}

void UpdateMeshBounds(HOBJECT handle) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  if (!node || !node->kindData) return;
  if (!node->bounds) node->bounds = new BOUNDSDESC;
  if (ComputeFrameBoxes(node->Mesh(), node->bounds)) UpdateBoundsRadius(node);
  else SetUnitBox(node->bounds);
}

void GetNodeBoundingBox(HOBJECT handle, float out[6]) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node || !node->bounds || !out) return;
  const BOUNDSDESC* b = node->bounds;
  out[0] = b->minX * b->scaleX;
  out[1] = b->maxX * b->scaleX;
  out[2] = b->minY * b->scaleY;
  out[3] = b->maxY * b->scaleY;
  out[4] = b->minZ * b->scaleZ;
  out[5] = b->maxZ * b->scaleZ;
}

void GetNodeWorldBox(const NODEDESC* node, VECTOR3* centre, VECTOR3* corners, VECTOR3* scale) {
  if (!node || !node->bounds) return;
  const BOUNDSDESC* b = node->bounds;
  MATRIX34 world;
  ComposeNodeWorldMatrix(node, &world);
  auto transform = [&](const VECTOR3& p) { return TransformPoint(world, p); };
  if (centre) *centre = transform(b->centre);
  if (corners) {
    float x0 = b->minX * b->scaleX, x1 = b->maxX * b->scaleX;
    float y0 = b->minY * b->scaleY, y1 = b->maxY * b->scaleY;
    float z0 = b->minZ * b->scaleZ, z1 = b->maxZ * b->scaleZ;
    const VECTOR3 local[8] = {{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1},
                              {x1, y0, z0}, {x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}};
    for (int i = 0; i < 8; ++i) corners[i] = transform(local[i]);
  }
  if (scale) *scale = {b->scaleX, b->scaleY, b->scaleZ};
}

void GetNodeWorldBox(HOBJECT handle, VECTOR3* centre, VECTOR3* corners, VECTOR3* scale) {
  GetNodeWorldBox(LookupOpenNode(handle), centre, corners, scale);
}
