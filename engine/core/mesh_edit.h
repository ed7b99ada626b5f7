#pragma once
#include <algorithm>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/nodes.h"

// Building and extending single-frame meshes at run time, and reading and
// swapping their arrays. The first edit of a mesh without arrays makes room
// for 1024 vertices and 4096 primitive words; the arrays grow to fit.

// The primitive words and their count (primitives); null for a non-mesh.
const MESHPRIM* GetMeshPrimitives(HOBJECT node, int* count);
// The current frame's vertices; floatsPerVertex is 8.
MESHVERTEX* GetMeshVertices(HOBJECT node, int* vertexCount, int* frameCount, int* floatsPerVertex);
// The mesh takes the array (frame after frame, vertexCount records each) and
// hands back its previous one.
std::vector<MESHVERTEX> SetMeshVertexArray(HOBJECT node, std::vector<MESHVERTEX> array);
// Appends vertices and primitive words; material words become pool indices
// (0 and -1: none) and vertex indices are offset by the old vertex count.
// With exact the arrays end exactly full.
void AppendMeshData(HOBJECT node, const MESHVERTEX* vertices, int vertexCount, const MESHPRIM* words, int wordCount,
                    int primitiveCount, int exact);
// A fan of triangles over the polygon's vertices (at most 256), dropping the
// vertices where it runs straight (not for pre-transformed meshes, whose
// positions have four floats and whose normals argument gives colours).
void AddMeshPolygon(HOBJECT node, const float* positions, const float* normals, const float* uvs, int count,
                    HOBJECT material, int faceFlags);
// One line segment; positions of three floats each (four when pre-transformed).
void AddMeshLine(HOBJECT node, const float* positions, const float* uvs, HOBJECT material);
// Mode 1 smooth, any other welded; nothing for pre-lit meshes.
void ComputeMeshNormals(HOBJECT node, int mode);

// Walks a mesh's primitives: f(words, at, primitive index) per primitive,
// stopping at a primitive that does not fit in the words used.
template <typename Mesh, typename F>
void ForEachMeshPrimitive(Mesh* mesh, F f) {
  int at = 0;
  int words = std::min<int>(mesh->wordsUsed, static_cast<int>(mesh->primitives.size()));
  for (int index = 0; index < mesh->primitiveCount; ++index) {
    int size = PrimitiveWordCount(mesh->primitives.data(), at, words);
    if (size == 0) return;
    f(mesh->primitives.data(), at, index);
    at += size;
  }
}

// Makes the mesh hold one material reference per distinct material of its
// primitive list and drop those it no longer uses. The mesh editors, EndNode
// and the material replacer call it after changing material words.
void SyncMeshMaterials(MESHDESC* mesh);
// Drops every material reference the mesh holds.
void ReleaseMeshMaterials(MESHDESC* mesh);
