#pragma once
#include <vector>

#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {

// An open engine with helpers that build small node trees.
class SceneTest : public EngineTest {
 protected:
  void SetUp() override { ASSERT_EQ(Open(), 1); }

  static NODEDESC* Node(HOBJECT handle) { return LookupNode(handle); }
  static MESHDESC* Mesh(HOBJECT handle) { return LookupNode(handle) ? LookupNode(handle)->Mesh() : nullptr; }

  // A committed mesh of polygons given as rows of x, y, z triples.
  static HOBJECT MakeMesh(const std::vector<std::vector<float>>& polygons, HOBJECT material = 0, HOBJECT parent = 0) {
    BeginNode(NODE_MESH);
    for (const std::vector<float>& polygon : polygons)
      AddMeshPolygon(0, polygon.data(), nullptr, nullptr, static_cast<int>(polygon.size() / 3), material, 0);
    return EndNode(parent);
  }

  // The render list from head to tail.
  static std::vector<NODEDESC*> RenderOrder() {
    std::vector<NODEDESC*> order;
    for (NODEDESC* n = GetGameWorld()->renderList->head; n; n = n->renderNext) order.push_back(n);
    return order;
  }
};

}  // namespace enginetest
