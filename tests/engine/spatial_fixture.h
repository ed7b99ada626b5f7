#pragma once
#include <array>
#include <vector>

#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {

using TriangleList = std::vector<std::array<int, 3>>;

// A committed mesh node made of the given points and triangles.
inline HOBJECT MakeMesh(const std::vector<VECTOR3>& points, const TriangleList& triangles) {
  BeginNode(NODE_MESH);
  std::vector<MESHVERTEX> vertices(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    vertices[i].x = points[i].x;
    vertices[i].y = points[i].y;
    vertices[i].z = points[i].z;
    vertices[i].nz = 1;
  }
  std::vector<MESHPRIM> words;
  for (const auto& t : triangles) words.insert(words.end(), {PRIM_TRIANGLE, -1, 0, t[0], t[1], t[2]});
  AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                 static_cast<int>(triangles.size()), 1);
  return EndNode(0);
}

// A flat square from (x0, y0) to (x1, y1) at height z: two counter-clockwise
// triangles sharing the diagonal from corner 0 to corner 2.
inline HOBJECT MakeSquare(float x0, float y0, float x1, float y1, float z) {
  return MakeMesh({{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}}, {{0, 1, 2}, {0, 2, 3}});
}

// A cube of half size h centred on c, its faces wound outward, in the
// triangle order -Z, -Z, +Z, +Z, -Y, -Y, +Y, +Y, -X, -X, +X, +X.
inline HOBJECT MakeCube(VECTOR3 c, float h) {
  std::vector<VECTOR3> points;
  for (int i = 0; i < 8; ++i) {
    const float sx = (i == 1 || i == 2 || i == 5 || i == 6) ? h : -h;
    const float sy = (i == 2 || i == 3 || i == 6 || i == 7) ? h : -h;
    const float sz = i >= 4 ? h : -h;
    points.push_back({c.x + sx, c.y + sy, c.z + sz});
  }
  return MakeMesh(points, {{0, 3, 2},
                           {0, 2, 1},
                           {4, 5, 6},
                           {4, 6, 7},
                           {0, 1, 5},
                           {0, 5, 4},
                           {3, 7, 6},
                           {3, 6, 2},
                           {0, 4, 7},
                           {0, 7, 3},
                           {1, 2, 6},
                           {1, 6, 5}});
}

inline VECTOR3 WorldPosition(HOBJECT node) {
  VECTOR3 p{0, 0, 0};
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  return p;
}

}  // namespace enginetest
