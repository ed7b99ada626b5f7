#include "engine/core/mesh_edit.h"

#include <cmath>

#include "engine/core/device_setup.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/node_bounds.h"
#include "engine/core/vertex_colors.h"

namespace {

constexpr int kFirstVertexRoom = 1024;
constexpr int kFirstPrimitiveRoom = 4096;
constexpr int kGrowthStep = 1024;

// The mesh of a node that mesh editing may change: one animation frame at most.
MESHDESC* EditableMesh(NODEDESC* node) {
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  return mesh && mesh->frameCount <= 1 ? mesh : nullptr;
}

void SetVertexCapacity(MESHDESC* mesh, int capacity) {
  mesh->vertexArrays.resize(static_cast<size_t>(capacity));
  mesh->vertexCapacity = capacity;
  mesh->frameCount = 1;
  mesh->currentFrame = 0;
  if (!g_useDirect3D) mesh->softWork.resize(static_cast<size_t>(capacity), 0);
}

void PrepareArrays(MESHDESC* mesh) {
  if (mesh->vertexArrays.empty()) SetVertexCapacity(mesh, kFirstVertexRoom);
  if (mesh->primitives.empty()) mesh->primitives.resize(kFirstPrimitiveRoom);
}

// Grows the vertex arrays by whole steps until count more vertices fit.
void MakeVertexRoom(MESHDESC* mesh, int count) {
  int capacity = mesh->vertexCapacity;
  while (mesh->vertexCount + count >= capacity) capacity += kGrowthStep;
  if (capacity != mesh->vertexCapacity) SetVertexCapacity(mesh, capacity);
}

void MakePrimitiveRoom(MESHDESC* mesh, int words) {
  size_t capacity = mesh->primitives.size();
  while (static_cast<size_t>(mesh->wordsUsed + words) >= capacity) capacity += kGrowthStep;
  mesh->primitives.resize(capacity);
}

void RecomputePrimitiveMix(MESHDESC* mesh) {
  bool triangles = false, lines = false;
  ForEachMeshPrimitive(
      mesh, [&](const MESHPRIM* words, int at, int) { (words[at] == PRIM_LINES ? lines : triangles) = true; });
  if (triangles || lines) mesh->primitiveMix = triangles && lines ? 2 : (lines ? 1 : 0);
}

// A material word from a handle: its pool index, -1 for none.
MESHPRIM MaterialWord(HOBJECT material) {
  if (material == 0 || material == 0xFFFFFFFFu) return -1;
  return static_cast<MESHPRIM>(GetHandleIndex(material));
}

// Whether the words hold primitiveCount well-formed primitives naming
// vertices below vertexCount.
bool CheckPrimitives(const MESHPRIM* words, int wordCount, int primitiveCount, int vertexCount) {
  int at = 0;
  for (int p = 0; p < primitiveCount; ++p) {
    int size = PrimitiveWordCount(words, at, wordCount);
    if (size == 0 || (words[at] != PRIM_TRIANGLE && words[at] != PRIM_LINES)) return false;
    for (int i = at + 3; i < at + size; ++i)
      if (words[i] < 0 || words[i] >= vertexCount) return false;
    at += size;
  }
  return at == wordCount;
}

// Grows a committed node's bounds with vertices added at index from on.
void GrowBounds(NODEDESC* node, const MESHDESC* mesh, int from) {
  BOUNDSDESC* b = node->bounds;
  const MESHVERTEX* v = mesh->vertexArrays.data();
  VECTOR3 sum{0, 0, 0};
  if (from == 0) {
    // An empty mesh's unit box is no extent of the new vertices.
    b->minX = b->maxX = v[0].x;
    b->minY = b->maxY = v[0].y;
    b->minZ = b->maxZ = v[0].z;
  }
  for (int i = from; i < mesh->vertexCount; ++i) {
    b->minX = std::min(b->minX, v[i].x);
    b->maxX = std::max(b->maxX, v[i].x);
    b->minY = std::min(b->minY, v[i].y);
    b->maxY = std::max(b->maxY, v[i].y);
    b->minZ = std::min(b->minZ, v[i].z);
    b->maxZ = std::max(b->maxZ, v[i].z);
    sum.x += v[i].x;
    sum.y += v[i].y;
    sum.z += v[i].z;
  }
  float oldCount = static_cast<float>(from);
  float newCount = static_cast<float>(mesh->vertexCount);
  b->centre = {(b->centre.x * oldCount + sum.x) / newCount, (b->centre.y * oldCount + sum.y) / newCount,
               (b->centre.z * oldCount + sum.z) / newCount};
  UpdateBoundsRadius(node);
}

void AddFan(MESHDESC* mesh, int first, int count, MESHPRIM material, int faceFlags) {
  MakePrimitiveRoom(mesh, kTriangleWords * (count - 2));
  MESHPRIM* out = mesh->primitives.data() + mesh->wordsUsed;
  for (int i = 0; i < count - 2; ++i, out += kTriangleWords) {
    out[0] = PRIM_TRIANGLE;
    out[1] = material;
    out[2] = faceFlags;
    out[3] = first;
    out[4] = first + i + 1;
    out[5] = first + i + 2;
  }
  mesh->wordsUsed += kTriangleWords * (count - 2);
  mesh->primitiveCount += count - 2;
  mesh->primitiveCountCopy = mesh->primitiveCount;
  if (mesh->primitiveMix == -1) mesh->primitiveMix = 0;
  else if (mesh->primitiveMix == 1) mesh->primitiveMix = 2;
}

VECTOR3 Position(const float* positions, int i) {
  return {positions[3 * i], positions[3 * i + 1], positions[3 * i + 2]};
}

VECTOR3 Minus(const VECTOR3& a, const VECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

void ComputeNormalsOfMesh(MESHDESC* mesh, int mode) {
  if (mesh->flags & MESH_PRELIT) return;
  int count = mesh->vertexCount;
  for (int frame = 0; frame < mesh->frameCount; ++frame) {
    size_t start = static_cast<size_t>(frame) * mesh->vertexCapacity;
    if (count <= 0 || start + count > mesh->vertexArrays.size()) return;
    MESHVERTEX* v = mesh->vertexArrays.data() + start;
    if (mode == 1) {
      std::vector<VECTOR3> sums(static_cast<size_t>(count), VECTOR3{0, 0, 0});
      std::vector<int> uses(static_cast<size_t>(count), 0);
      ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
        if (words[at] != PRIM_TRIANGLE) return;
        int a = words[at + 3], b = words[at + 4], c = words[at + 5];
        if (a < 0 || b < 0 || c < 0 || a >= count || b >= count || c >= count) return;
        VECTOR3 pa{v[a].x, v[a].y, v[a].z}, pb{v[b].x, v[b].y, v[b].z}, pc{v[c].x, v[c].y, v[c].z};
        VECTOR3 ab = Minus(pb, pa), ac = Minus(pc, pa), n;
        CrossVector3Normalized(&n, &ab, &ac);
        for (int corner : {a, b, c}) {
          sums[static_cast<size_t>(corner)].x += n.x;
          sums[static_cast<size_t>(corner)].y += n.y;
          sums[static_cast<size_t>(corner)].z += n.z;
          ++uses[static_cast<size_t>(corner)];
        }
      });
      for (int i = 0; i < count; ++i) {
        float k = static_cast<float>(uses[static_cast<size_t>(i)]);
        const VECTOR3& s = sums[static_cast<size_t>(i)];
        if (k > 0) v[i].nx = s.x / k, v[i].ny = s.y / k, v[i].nz = s.z / k;
        else v[i].nx = 0, v[i].ny = 0, v[i].nz = 1;
      }
      continue;
    }
    std::vector<char> visited(static_cast<size_t>(count), 0);
    std::vector<int> group;
    for (int j = 0; j < count; ++j) {
      if (visited[static_cast<size_t>(j)]) continue;
      group.assign(1, j);
      for (int k = j + 1; k < count; ++k) {
        if (visited[static_cast<size_t>(k)]) continue;
        if (std::fabs(v[k].x - v[j].x) < 0.01f && std::fabs(v[k].y - v[j].y) < 0.01f &&
            std::fabs(v[k].z - v[j].z) < 0.01f) {
          visited[static_cast<size_t>(k)] = 1;
          group.push_back(k);
        }
      }
      visited[static_cast<size_t>(j)] = 1;
      if (group.size() < 2) continue;
      VECTOR3 sum{0, 0, 0};
      for (int i : group) sum.x += v[i].nx, sum.y += v[i].ny, sum.z += v[i].nz;
      float n = static_cast<float>(group.size());
      for (int i : group) v[i].nx = sum.x / n, v[i].ny = sum.y / n, v[i].nz = sum.z / n;
    }
  }
}

}  // namespace

const MESHPRIM* GetMeshPrimitives(HOBJECT handle, int* count) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh) return nullptr;
  if (count) *count = mesh->primitiveCount;
  return mesh->primitives.data();
}

MESHVERTEX* GetMeshVertices(HOBJECT handle, int* vertexCount, int* frameCount, int* floatsPerVertex) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh) return nullptr;
  if (vertexCount) *vertexCount = mesh->vertexCount;
  if (frameCount) *frameCount = mesh->frameCount;
  if (floatsPerVertex) *floatsPerVertex = 8;
  return mesh->CurrentVertices();
}

std::vector<MESHVERTEX> SetMeshVertexArray(HOBJECT handle, std::vector<MESHVERTEX> array) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  // An array too short for every frame at the vertex count goes back to the caller.
  size_t needed = static_cast<size_t>(std::max(mesh ? mesh->vertexCount : 0, 0)) *
                  static_cast<size_t>(std::max(mesh ? mesh->frameCount : 0, 1));
  if (!mesh || array.size() < needed) return array;
  std::swap(mesh->vertexArrays, array);
  mesh->vertexCapacity = mesh->vertexCount;
  if (!g_useDirect3D) mesh->softWork.assign(static_cast<size_t>(mesh->vertexCapacity), 0);
  return array;
}

void AppendMeshData(HOBJECT handle, const MESHVERTEX* vertices, int vertexCount, const MESHPRIM* words, int wordCount,
                    int primitiveCount, int exact) {
  NODEDESC* node = LookupOpenNode(handle);
  MESHDESC* mesh = EditableMesh(node);
  if (!mesh || vertexCount < 0 || wordCount < 0 || primitiveCount < 0) return;
  if ((vertexCount > 0 && !vertices) || (wordCount > 0 && !words)) return;
  int oldCount = mesh->vertexCount;
  if (!CheckPrimitives(words, wordCount, primitiveCount, vertexCount)) return;
  PrepareArrays(mesh);
  if (exact) {
    SetVertexCapacity(mesh, oldCount + vertexCount);
    mesh->primitives.resize(static_cast<size_t>(mesh->wordsUsed + wordCount));
  } else {
    if (mesh->wordsUsed + wordCount >= static_cast<int>(mesh->primitives.size()))
      mesh->primitives.resize(mesh->primitives.size() + static_cast<size_t>(wordCount));
    // The caller's vertices always fit: the arrays grow as far as needed.
    MakeVertexRoom(mesh, vertexCount);
  }
  std::copy_n(vertices, vertexCount, mesh->vertexArrays.begin() + oldCount);
  MESHPRIM* added = mesh->primitives.data() + mesh->wordsUsed;
  std::copy_n(words, wordCount, added);
  for (int at = 0; at < wordCount;) {
    int size = PrimitiveWordCount(added, at, wordCount);
    MESHPRIM& material = added[at + 1];
    material =
        material == 0 || material == -1 ? -1 : static_cast<MESHPRIM>(GetHandleIndex(static_cast<HOBJECT>(material)));
    for (int i = at + 3; i < at + size; ++i) added[i] += oldCount;
    at += size;
  }
  if (mesh->flags & MESH_PRELIT)
    PackVertexColors(mesh->vertexArrays.data() + oldCount, node->states.alpha, vertexCount);
  mesh->vertexCount += vertexCount;
  mesh->primitiveCount += primitiveCount;
  mesh->primitiveCountCopy = mesh->primitiveCount;
  mesh->wordsUsed += wordCount;
  RecomputePrimitiveMix(mesh);
  SyncMeshMaterials(mesh);
}

void AddMeshPolygon(HOBJECT handle, const float* positions, const float* normals, const float* uvs, int count,
                    HOBJECT material, int faceFlags) {
  NODEDESC* node = LookupOpenNode(handle);
  MESHDESC* mesh = EditableMesh(node);
  if (!mesh || !positions || count < 3) return;
  float alpha = node->states.alpha;
  std::vector<MESHVERTEX> added;
  if (mesh->flags & MESH_PRETRANSFORMED) {
    for (int i = 0; i < count; ++i) {
      MESHVERTEX v;
      v.x = positions[4 * i];
      v.y = positions[4 * i + 1];
      v.z = positions[4 * i + 2];
      v.rhw = positions[4 * i + 3];
      v.diffuse = normals ? PackColor(normals[3 * i], normals[3 * i + 1], normals[3 * i + 2], alpha)
                          : PackColor(1, 1, 1, alpha);
      v.specular = 0;
      if (uvs) v.u = uvs[2 * i], v.v = uvs[2 * i + 1];
      added.push_back(v);
    }
  } else {
    bool normalSet = false;
    VECTOR3 polygonNormal{0, 0, 0};
    for (int i = 0; i < count; ++i) {
      VECTOR3 previous = Position(positions, (i + count - 1) % count);
      VECTOR3 current = Position(positions, i);
      VECTOR3 next = Position(positions, (i + 1) % count);
      if (TriangleArea(&previous, &current, &next) <= 0.0001f) continue;
      if (!normalSet) {
        VECTOR3 toNext = Minus(next, current), toPrevious = Minus(previous, current);
        CrossVector3Normalized(&polygonNormal, &toNext, &toPrevious);
        normalSet = true;
      }
      MESHVERTEX v;
      v.x = current.x;
      v.y = current.y;
      v.z = current.z;
      if (normals && (mesh->flags & MESH_PRELIT)) {
        v.diffuse = PackColor(normals[3 * i], normals[3 * i + 1], normals[3 * i + 2], alpha);
        v.specular = 0;
      } else if (normals) {
        v.nx = normals[3 * i], v.ny = normals[3 * i + 1], v.nz = normals[3 * i + 2];
      } else {
        v.nx = polygonNormal.x, v.ny = polygonNormal.y, v.nz = polygonNormal.z;
      }
      if (uvs) v.u = uvs[2 * i], v.v = uvs[2 * i + 1];
      added.push_back(v);
    }
  }
  int kept = static_cast<int>(added.size());
  if (kept < 3) return;
  PrepareArrays(mesh);
  MakeVertexRoom(mesh, kept);
  int first = mesh->vertexCount;
  std::copy(added.begin(), added.end(), mesh->vertexArrays.begin() + first);
  mesh->vertexCount += kept;
  if (node != g_nodeUnderConstruction && node->bounds) GrowBounds(node, mesh, first);
  AddFan(mesh, first, kept, MaterialWord(material), faceFlags);
  SyncMeshMaterials(mesh);
}

void AddMeshLine(HOBJECT handle, const float* positions, const float* uvs, HOBJECT material) {
  NODEDESC* node = LookupOpenNode(handle);
  MESHDESC* mesh = EditableMesh(node);
  if (!mesh || !positions) return;
  MESHPRIM materialWord = MaterialWord(material);
  float color[3] = {1, 1, 1};
  if (materialWord >= 0) GetMaterialColors(material, nullptr, color, nullptr, nullptr, nullptr);
  PrepareArrays(mesh);
  MakeVertexRoom(mesh, 2);
  MakePrimitiveRoom(mesh, 5);
  bool transformed = mesh->flags & MESH_PRETRANSFORMED;
  int stride = transformed ? 4 : 3;
  int first = mesh->vertexCount;
  for (int i = 0; i < 2; ++i) {
    MESHVERTEX v;
    v.x = positions[stride * i];
    v.y = positions[stride * i + 1];
    v.z = positions[stride * i + 2];
    if (transformed) {
      v.rhw = positions[stride * i + 3];
      v.diffuse = PackColor(color[0], color[1], color[2], node->states.alpha);
      v.specular = 0;
    }
    if (uvs) v.u = uvs[2 * i], v.v = uvs[2 * i + 1];
    mesh->vertexArrays[static_cast<size_t>(first + i)] = v;
  }
  mesh->vertexCount += 2;
  MESHPRIM* out = mesh->primitives.data() + mesh->wordsUsed;
  out[0] = PRIM_LINES;
  out[1] = materialWord;
  out[2] = 1;
  out[3] = first;
  out[4] = first + 1;
  mesh->wordsUsed += 5;
  ++mesh->primitiveCount;
  mesh->primitiveCountCopy = mesh->primitiveCount;
  if (mesh->primitiveMix == -1) mesh->primitiveMix = 1;
  else if (mesh->primitiveMix == 0) mesh->primitiveMix = 2;
  SyncMeshMaterials(mesh);
}

void ComputeMeshNormals(HOBJECT handle, int mode) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  if (!node) return;
  if (MESHDESC* mesh = node->Mesh()) ComputeNormalsOfMesh(mesh, mode);
  ForEachLodMember(node, [&](NODEDESC* member) {
    if (MESHDESC* mesh = member->Mesh()) ComputeNormalsOfMesh(mesh, mode);
  });
}
