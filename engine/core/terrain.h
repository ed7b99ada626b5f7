#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct NODEDESC;

// Terrains: the walkable ground of a scene, prepared once from a mesh node of
// triangles so that the walking calls find the triangle under a point, its
// neighbours and the borders of the ground quickly. The record lives in the
// terrain pool (engine/core/pools.h) and in the world's terrain list.
//
// Triangle f of a terrain is the mesh's primitive f; its corners are read
// from the mesh's current frame every time, so an animated or edited mesh
// moves the ground with it. Only triangles running counter-clockwise seen
// from +Z are ever found under a point.

struct TERRAINDESC {
  int index = 0;
  NODEDESC* mesh = nullptr;  // null once the mesh node is destroyed
  int triangleCount = 0;
  std::vector<float> inverseAreas;  // 1 / SignedArea2D per triangle (0 for a flat one)
  std::vector<VECTOR3> normals;
  // Triangle f's entry of the adjacency list starts at adjacencyStarts[f]:
  // a count, then that many neighbouring triangle indices.
  std::vector<uint32_t> adjacencyStarts;
  std::vector<uint32_t> adjacency;
  // Triples {first vertex index, second vertex index, value}: the edges used
  // by one triangle only. The value is 0 when built; the game may write it
  // and the walking calls report it.
  std::vector<int32_t> borders;
  float heightTolerance = 0;
  TERRAINDESC* next = nullptr;
};

// A terrain from a committed mesh node of triangles; 0 when the node is not
// a mesh with kind data, when the mesh holds line lists or names vertices it
// does not have, or when the pool is full (fatal "No more terrain
// available. (T01)").
// horizontalDistance and heightTolerance decide which triangles that share no
// vertex still count as neighbours.
HOBJECT CreateTerrain(HOBJECT meshNode, float horizontalDistance, float heightTolerance);
// With destroyMesh the mesh node is destroyed too and every other terrain
// built on it loses its mesh. Every node standing on the terrain loses it.
void DestroyTerrain(HOBJECT terrain, int destroyMesh);
// 1 and the height of the first triangle (in triangle order) under the x-y
// position of point; 0 when none holds it or the terrain has lost its mesh.
int GetTerrainHeight(HOBJECT terrain, const VECTOR3* point, float* height);
// The border triples (writable), with their number in edgeCount; null for a
// handle that does not resolve.
int32_t* GetTerrainEdges(HOBJECT terrain, int* edgeCount);

// For the node layer: a mesh node going away leaves every terrain built on it
// without a mesh.
void DetachMeshFromTerrains(const NODEDESC* mesh);

// Queries shared with the walking calls. A triangle whose primitive or
// vertices no longer exist in the mesh answers false.
bool GetTerrainTriangle(const TERRAINDESC* terrain, int triangle, VECTOR3 corners[3], int vertexIndices[3] = nullptr);
// Whether the x-y position of point lies in the triangle (edges included).
bool IsPointInTriangle2D(const VECTOR3* point, const VECTOR3 corners[3]);
// The triangle's height under the x-y position of point.
float GetTriangleHeightAt(const TERRAINDESC* terrain, int triangle, const VECTOR3 corners[3], const VECTOR3* point);
// The value of the border edge joining two vertex indices (either order); 0
// when they form no border edge.
int32_t FindBorderValue(const TERRAINDESC* terrain, int first, int second);

// Where a terrain's triangles can hold a point, measured once for a run of
// drops against unchanging ground: the x-y bounds of its triangles, and the
// nearly flat ones whose edge test reaches past any bounds, kept to be tested
// one by one. A point it rules out lies under no triangle.
struct TerrainReach {
  const TERRAINDESC* terrain = nullptr;
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool bounded = false;   // some triangle gave bounds
  std::vector<int> flat;  // tested one by one
  bool MayHold(const VECTOR3& point) const;
};
TerrainReach MeasureTerrainReach(const TERRAINDESC* terrain);
