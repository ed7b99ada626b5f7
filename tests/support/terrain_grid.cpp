#include "tests/support/terrain_grid.h"

#include <vector>

#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"

namespace testsupport {

HOBJECT MakeGridMesh(float x0, float y0, float side, int cells, float z) {
  std::vector<MESHVERTEX> vertices;
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      MESHVERTEX v;
      v.x = x0 + side * static_cast<float>(i);
      v.y = y0 + side * static_cast<float>(j);
      v.z = z;
      v.nz = 1;
      vertices.push_back(v);
    }
  std::vector<MESHPRIM> words;
  const int row = cells + 1;
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      const int a = j * row + i, b = a + 1, c = a + row, d = c + 1;
      words.insert(words.end(), {PRIM_TRIANGLE, -1, 0, a, b, d, PRIM_TRIANGLE, -1, 0, a, d, c});
    }
  BeginNode(NODE_MESH);
  AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                 2 * cells * cells, 1);
  return EndNode(0);
}

}  // namespace testsupport
