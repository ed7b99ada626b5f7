#include "cutscene/terrain_probe.h"

#include <cstdint>
#include <vector>

#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"
#include "engine/core/walking.h"

int ProbeTerrainUnderNode(HOBJECT node, HOBJECT terrainNode, HOBJECT terrain, int a, int b) {
  NODEDESC* terrainDesc = LookupNodeOfKind(terrainNode, NODE_MESH);
  const MESHDESC* mesh = terrainDesc ? terrainDesc->Mesh() : nullptr;
  int vertexCount = 0;
  const MESHVERTEX* vertices = mesh ? GetMeshVertices(terrainNode, &vertexCount, nullptr, nullptr) : nullptr;
  if (!vertices) return -1;
  MATRIX34 start;
  GetNodeMatrix(node, &start, 1);
  // Once a drop has missed, the ground's reach is measured, and further drops
  // from a mesh that lies away from it are ruled out without a search each.
  TerrainReach reach;
  bool missed = false;
  // A vertex shared by several triangles gives the same drop each time: try it once.
  std::vector<uint8_t> tried(static_cast<size_t>(vertexCount), 0);
  int landed = -1;
  ForEachMeshPrimitive(mesh, [&](const MESHPRIM* words, int at, int) {
    if (landed == 0 || words[at] != PRIM_TRIANGLE) return;
    for (int corner = 0; corner < 3 && landed != 0; ++corner) {
      const int index = words[at + 3 + corner];
      if (index < 0 || index >= vertexCount || tried[static_cast<size_t>(index)]) continue;
      tried[static_cast<size_t>(index)] = 1;
      MATRIX34 probe = start;
      probe.row[3] = {vertices[index].x, vertices[index].y, vertices[index].z + 1000.0f};
      SetNodeMatrix(node, &probe, 0);
      if (PlaceNodeOnTerrain(node, terrain, static_cast<float>(a), b, missed ? &reach : nullptr) == MOVE_DONE) {
        landed = 0;
      } else if (!missed) {
        missed = true;
        reach = MeasureTerrainReach(terrain ? LookupTerrain(terrain) : nullptr);
      }
    }
  });
  SetNodeMatrix(node, &start, 0);
  return landed;
}
