#include <cmath>

#include "engine/core/engine_state.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"

bool GetTerrainTriangle(const TERRAINDESC* terrain, int triangle, VECTOR3 corners[3], int vertexIndices[3]) {
  const MESHDESC* mesh = terrain->mesh ? terrain->mesh->Mesh() : nullptr;
  if (!mesh || triangle < 0 || triangle >= terrain->triangleCount) return false;
  const size_t at = static_cast<size_t>(triangle) * kTriangleWords;
  if (at + kTriangleWords > static_cast<size_t>(mesh->wordsUsed) || at + kTriangleWords > mesh->primitives.size() ||
      mesh->primitives[at] != PRIM_TRIANGLE)
    return false;
  const MESHVERTEX* vertices = mesh->CurrentVertices();
  if (!vertices) return false;
  for (int k = 0; k < 3; ++k) {
    const int vertex = mesh->primitives[at + 3 + k];
    if (vertex < 0 || vertex >= mesh->vertexCount || vertex >= mesh->vertexCapacity) return false;
    corners[k] = {vertices[vertex].x, vertices[vertex].y, vertices[vertex].z};
    if (vertexIndices) vertexIndices[k] = vertex;
  }
  return true;
}

bool IsPointInTriangle2D(const VECTOR3* point, const VECTOR3 corners[3]) {
  return SignedArea2D(point, &corners[0], &corners[1]) >= 0 && SignedArea2D(point, &corners[1], &corners[2]) >= 0 &&
         SignedArea2D(point, &corners[2], &corners[0]) >= 0;
}

float GetTriangleHeightAt(const TERRAINDESC* terrain, int triangle, const VECTOR3 corners[3], const VECTOR3* point) {
  const float inverseArea = terrain->inverseAreas[triangle];
  if (std::fabs(inverseArea) < 1e-6f) return 0;
  const VECTOR3& a = corners[0];
  const VECTOR3& b = corners[1];
  const VECTOR3& c = corners[2];
  return inverseArea *
         (SignedArea2D(point, &c, &a) * b.z + SignedArea2D(point, &b, &c) * a.z + SignedArea2D(point, &a, &b) * c.z);
}

int32_t FindBorderValue(const TERRAINDESC* terrain, int first, int second) {
  const std::vector<int32_t>& borders = terrain->borders;
  for (size_t at = 0; at + 3 <= borders.size(); at += 3)
    if ((borders[at] == first && borders[at + 1] == second) || (borders[at] == second && borders[at + 1] == first))
      return borders[at + 2];
  return 0;
}

TerrainReach MeasureTerrainReach(const TERRAINDESC* terrain) {
  TerrainReach reach;
  reach.terrain = terrain;
  if (!terrain) return reach;
  for (int f = 0; f < terrain->triangleCount; ++f) {
    VECTOR3 c[3];
    if (!GetTerrainTriangle(terrain, f, c)) continue;
    const float minX = std::fmin(c[0].x, std::fmin(c[1].x, c[2].x));
    const float maxX = std::fmax(c[0].x, std::fmax(c[1].x, c[2].x));
    const float minY = std::fmin(c[0].y, std::fmin(c[1].y, c[2].y));
    const float maxY = std::fmax(c[0].y, std::fmax(c[1].y, c[2].y));
    const float size = std::fmax(maxX - minX, maxY - minY);
    // Rounding lets a sliver's edge test hold points along its line far
    // outside its bounds (a flat one holds them exactly); NaN lands here too.
    if (!(SignedArea2D(&c[0], &c[1], &c[2]) > 1e-3f * size * size)) {
      reach.flat.push_back(f);
      continue;
    }
    if (!reach.bounded) {
      reach.minX = minX, reach.maxX = maxX, reach.minY = minY, reach.maxY = maxY;
      reach.bounded = true;
      continue;
    }
    reach.minX = std::fmin(reach.minX, minX);
    reach.maxX = std::fmax(reach.maxX, maxX);
    reach.minY = std::fmin(reach.minY, minY);
    reach.maxY = std::fmax(reach.maxY, maxY);
  }
  return reach;
}

bool TerrainReach::MayHold(const VECTOR3& point) const {
  if (bounded) {
    // A margin against rounding at the edges of the outermost triangles.
    const float margin = 1e-3f * (std::fmax(maxX - minX, maxY - minY) + std::fabs(point.x) + std::fabs(point.y));
    if (!(point.x < minX - margin || point.x > maxX + margin || point.y < minY - margin || point.y > maxY + margin))
      return true;
  }
  for (int f : flat) {
    VECTOR3 corners[3];
    if (GetTerrainTriangle(terrain, f, corners) && IsPointInTriangle2D(&point, corners)) return true;
  }
  return false;
}

int GetTerrainHeight(HOBJECT handle, const VECTOR3* point, float* height) {
  if (!g_engineOpen || !point) return 0;
  const TERRAINDESC* terrain = LookupTerrain(handle);
  if (!terrain || !terrain->mesh) return 0;
  for (int f = 0; f < terrain->triangleCount; ++f) {
    VECTOR3 corners[3];
    if (!GetTerrainTriangle(terrain, f, corners) || !IsPointInTriangle2D(point, corners)) continue;
    if (height) *height = GetTriangleHeightAt(terrain, f, corners, point);
    return 1;
  }
  return 0;
}

int32_t* GetTerrainEdges(HOBJECT handle, int* edgeCount) {
  if (edgeCount) *edgeCount = 0;
  if (!g_engineOpen) return nullptr;
  TERRAINDESC* terrain = LookupTerrain(handle);
  if (!terrain) return nullptr;
  if (edgeCount) *edgeCount = static_cast<int>(terrain->borders.size() / 3);
  return terrain->borders.data();
}
