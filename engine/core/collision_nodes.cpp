#include <algorithm>
#include <vector>

#include "engine/core/collision.h"
#include "engine/core/collision_geometry.h"
#include "engine/core/composites.h"
#include "engine/core/engine_state.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"

namespace {

struct WORLDBOX {
  VECTOR3 corners[8];
  COLLISIONSPHERE sphere;
};

WORLDBOX MakeWorldBox(const NODEDESC* node) {
  WORLDBOX box;
  VECTOR3 centre;
  GetNodeWorldBox(node, &centre, box.corners, nullptr);
  box.sphere = MakeBoxSphere(&centre, box.corners);
  return box;
}

// The mesh's triangles of the current frame in world space; lines are
// skipped but counted in the primitive index.
std::vector<WORLDTRIANGLE> MakeWorldTriangles(const NODEDESC* node) {
  std::vector<WORLDTRIANGLE> triangles;
  const MESHDESC* mesh = node->Mesh();
  const MESHVERTEX* vertices = mesh->CurrentVertices();
  if (!vertices) return triangles;
  MATRIX34 world34;
  ComposeNodeWorldMatrix(node, &world34);
  MATRIX44 world;
  ConvertMatrix34To44(&world34, &world);
  const int vertexCount = std::min(mesh->vertexCount, mesh->vertexCapacity);
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int index) {
    if (words[at] != PRIM_TRIANGLE) return;
    VECTOR3 corners[3];
    for (int k = 0; k < 3; ++k) {
      const int v = words[at + 3 + k];
      if (v < 0 || v >= vertexCount) return;
      const VECTOR3 local = {vertices[v].x, vertices[v].y, vertices[v].z};
      TransformPointByMatrix44(&corners[k], &local, &world);
    }
    triangles.push_back(MakeWorldTriangle(&corners[0], &corners[1], &corners[2], index));
  });
  return triangles;
}

bool BoxAgainstBox(const NODEDESC* a, const NODEDESC* b) {
  const WORLDBOX boxA = MakeWorldBox(a);
  const WORLDBOX boxB = MakeWorldBox(b);
  if (SpheresApart(boxA.sphere, boxB.sphere)) return false;
  return BoxesTouch(boxA.corners, boxA.sphere, boxB.corners, boxB.sphere);
}

bool BoxAgainstMesh(NODEDESC* boxNode, const NODEDESC* meshNode) {
  if (!meshNode->Mesh()) return false;
  const WORLDBOX box = MakeWorldBox(boxNode);
  if (SpheresApart(box.sphere, MakeWorldBox(meshNode).sphere)) return false;
  const int primitive = FindBoxTriangleContact(box.corners, box.sphere, MakeWorldTriangles(meshNode));
  if (primitive < 0) return false;
  boxNode->partnerPrimitive = primitive;
  return true;
}

bool MeshAgainstMesh(NODEDESC* a, NODEDESC* b) {
  if (!a->Mesh() || !b->Mesh()) return false;
  if (SpheresApart(MakeWorldBox(a).sphere, MakeWorldBox(b).sphere)) return false;
  int primitiveA = -1, primitiveB = -1;
  if (!FindTriangleContact(MakeWorldTriangles(a), MakeWorldTriangles(b), &primitiveA, &primitiveB)) return false;
  a->partnerPrimitive = primitiveB;
  b->partnerPrimitive = primitiveA;
  return true;
}

bool VolumesTouch(NODEDESC* a, int volumeA, NODEDESC* b, int volumeB) {
  if (volumeA == VOLUME_BOX && volumeB == VOLUME_BOX) return BoxAgainstBox(a, b);
  if (volumeA == VOLUME_BOX && volumeB == VOLUME_MESH) return BoxAgainstMesh(a, b);
  if (volumeA == VOLUME_MESH && volumeB == VOLUME_BOX) return BoxAgainstMesh(b, a);
  if (volumeA == VOLUME_MESH && volumeB == VOLUME_MESH) return MeshAgainstMesh(a, b);
  return false;
}

void ClearContact(NODEDESC* node) {
  SetLastPartner(node, nullptr);
  node->partnerPrimitive = -1;
}

// The nodes an object stands for: a node itself, or a composite's parts.
std::vector<NODEDESC*> ObjectParts(HOBJECT object) {
  std::vector<NODEDESC*> parts;
  if (GetHandleType(object) == (uint32_t{OBJTYPE_NODE} << 24)) {
    if (NODEDESC* node = LookupNode(object)) parts.push_back(node);
  } else if (const COMPOSITEDESC* composite = LookupComposite(object)) {
    for (const COMPOSITEPARTDESC& part : composite->parts)
      if (part.node) parts.push_back(part.node);
  }
  return parts;
}

const COLLISIONDESC* FindEntry(const NODEDESC* node, const NODEDESC* partner) {
  for (const COLLISIONDESC* entry = node->collisionHead; entry; entry = entry->next)
    if (entry->partner == partner) return entry;
  return nullptr;
}

void AppendEntry(NODEDESC* node, int volume, NODEDESC* partner) {
  auto* entry = new COLLISIONDESC;
  entry->volume = volume;
  entry->partner = partner;
  if (node->collisionTail) node->collisionTail->next = entry;
  else node->collisionHead = entry;
  node->collisionTail = entry;
}

}  // namespace

int TestObjectCollision(HOBJECT objectA, int volumeA, HOBJECT objectB, int volumeB) {
  if (!g_engineOpen) return 0;
  const std::vector<NODEDESC*> partsB = ObjectParts(objectB);
  for (NODEDESC* a : ObjectParts(objectA))
    for (NODEDESC* b : partsB) {
      ClearContact(a);
      ClearContact(b);
      if (VolumesTouch(a, volumeA, b, volumeB)) {
        SetLastPartner(a, b);
        SetLastPartner(b, a);
        return 1;
      }
    }
  return 0;
}

int CheckCollisionList(NODEDESC* node) {
  if (!node->collisionHead) return 0;
  ClearContact(node);
  for (const COLLISIONDESC* entry = node->collisionHead; entry; entry = entry->next) {
    NODEDESC* partner = entry->partner;
    const COLLISIONDESC* mirror = partner ? FindEntry(partner, node) : nullptr;
    if (!mirror) continue;
    ClearContact(partner);
    if (VolumesTouch(node, entry->volume, partner, mirror->volume)) {
      SetLastPartner(node, partner);
      SetLastPartner(partner, node);
      return 1;
    }
  }
  return 0;
}

int CheckCollisionList(HOBJECT handle) {
  NODEDESC* node = LookupOpenNode(handle);
  return node ? CheckCollisionList(node) : 0;
}

int AddCollisionPartner(HOBJECT handle, int volume, HOBJECT partnerHandle, int partnerVolume) {
  NODEDESC* node = LookupOpenNode(handle);
  NODEDESC* partner = LookupOpenNode(partnerHandle);
  auto known = [](int v) { return v == VOLUME_BOX || v == VOLUME_MESH; };
  if (!node || !partner || node == partner || !known(volume) || !known(partnerVolume)) return 0;
  if (FindEntry(node, partner)) return 0;
  AppendEntry(node, volume, partner);
  AppendEntry(partner, partnerVolume, node);
  return 1;
}
