#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/core/cameras.h"
#include "engine/core/engine_state.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"
#include "engine/core/walking.h"
#include "engine/core/world.h"
#include "platform/crt.h"
#include "tests/engine/spatial_fixture.h"

namespace enginetest {
namespace {

class TerrainTest : public EngineTest {
 protected:
  void SetUp() override { ASSERT_EQ(Open(), 1); }

  // The neighbour list of a terrain triangle.
  static std::vector<uint32_t> Neighbours(HOBJECT terrain, int triangle) {
    const TERRAINDESC* t = LookupTerrain(terrain);
    const uint32_t start = t->adjacencyStarts[triangle];
    return {t->adjacency.begin() + start + 1, t->adjacency.begin() + start + 1 + t->adjacency[start]};
  }
};

TEST_F(TerrainTest, TwoTriangleSquareHasFourBordersAndMutualNeighbours) {
  const HOBJECT mesh = MakeSquare(0, 0, 10, 10, 0);
  const HOBJECT terrain = CreateTerrain(mesh, 1, 1);
  ASSERT_NE(terrain, 0u);
  EXPECT_EQ(GetHandleType(terrain), uint32_t{OBJTYPE_TERRAIN} << 24);

  int count = 0;
  const int32_t* edges = GetTerrainEdges(terrain, &count);
  ASSERT_EQ(count, 4);
  std::set<std::pair<int, int>> found;
  for (int e = 0; e < count; ++e) {
    EXPECT_EQ(edges[3 * e + 2], 0);
    found.insert({edges[3 * e], edges[3 * e + 1]});
  }
  // The shared diagonal (0, 2) is no border; the outline runs counter-clockwise.
  EXPECT_EQ(found, (std::set<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));

  EXPECT_EQ(Neighbours(terrain, 0), std::vector<uint32_t>{1});
  EXPECT_EQ(Neighbours(terrain, 1), std::vector<uint32_t>{0});
  // Frustum culling of the ground is switched off.
  EXPECT_EQ(LookupNode(mesh)->cull, 0);
}

TEST_F(TerrainTest, SeparateSquaresAreNeighboursWithinTheHorizontalDistance) {
  // Two squares at one height, their nearest corners 0.5 apart; no shared vertex.
  const HOBJECT mesh =
      MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1.5f, 0, 0}, {2.5f, 0, 0}, {2.5f, 1, 0}, {1.5f, 1, 0}},
               {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}});
  struct Case {
    float distance;
    float tolerance;
    std::vector<uint32_t> neighboursOfFirst;
  } cases[] = {
      {1.0f, 0.5f, {1, 2, 3}},  // triangle 0 (corner (1, 0)) is near both of the other square
      {0.4f, 0.5f, {1}},
      {1.0f, 0.0f, {1}},  // no height difference is below a zero tolerance
  };
  for (const Case& c : cases) {
    const HOBJECT terrain = CreateTerrain(mesh, c.distance, c.tolerance);
    ASSERT_NE(terrain, 0u);
    EXPECT_EQ(Neighbours(terrain, 0), c.neighboursOfFirst) << c.distance << " " << c.tolerance;
    // Borders are found by vertex indices: each square keeps its four.
    int count = 0;
    GetTerrainEdges(terrain, &count);
    EXPECT_EQ(count, 8);
    DestroyTerrain(terrain, 0);
  }
}

// The neighbour rule applied to every pair of triangles: those sharing a
// vertex (in the order of the triangle's vertices and their users), then
// every other triangle, in order, with some corners within the height
// tolerance and some within the horizontal distance.
std::vector<std::vector<uint32_t>> ExhaustiveNeighbours(const std::vector<VECTOR3>& points,
                                                        const std::vector<int>& corners, float distance,
                                                        float tolerance) {
  const int count = static_cast<int>(corners.size() / 3);
  std::vector<std::vector<int>> users(points.size());
  for (int f = 0; f < count; ++f)
    for (int k = 0; k < 3; ++k)
      if (users[corners[3 * f + k]].empty() || users[corners[3 * f + k]].back() != f)
        users[corners[3 * f + k]].push_back(f);
  auto extent = [&](int f, int axis, bool high) {
    float v = axis ? points[corners[3 * f]].y : points[corners[3 * f]].x;
    for (int k = 1; k < 3; ++k) {
      const float c = axis ? points[corners[3 * f + k]].y : points[corners[3 * f + k]].x;
      v = high ? std::max(v, c) : std::min(v, c);
    }
    return v;
  };
  auto near = [&](int f, int w) {
    for (int axis = 0; axis < 2; ++axis)
      if (extent(w, axis, false) - extent(f, axis, true) >= distance ||
          extent(f, axis, false) - extent(w, axis, true) >= distance)
        return false;
    bool height = false, across = false;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        const VECTOR3& a = points[corners[3 * w + i]];
        const VECTOR3& b = points[corners[3 * f + j]];
        height = height || std::fabs(a.z - b.z) < tolerance;
        across = across || GetPointDistanceN(&a, &b, 2) < distance;
      }
    return height && across;
  };
  std::vector<std::vector<uint32_t>> lists(count);
  for (int f = 0; f < count; ++f) {
    std::set<int> listed{f};
    auto list = [&](int t) {
      if (listed.insert(t).second) lists[f].push_back(static_cast<uint32_t>(t));
    };
    for (int k = 0; k < 3; ++k)
      for (int t : users[corners[3 * f + k]]) list(t);
    for (int w = 0; w < count; ++w)
      if (!listed.count(w) && near(f, w)) list(w);
  }
  return lists;
}

float RandomIn(float low, float high) {
  return low + (high - low) * static_cast<float>(plat::Rand()) / static_cast<float>(plat::kRandMax);
}

TEST_F(TerrainTest, NeighbourListsMatchTheExhaustiveRuleOnRandomMeshes) {
  struct Case {
    const char* name;
    int vertices;
    int triangles;
    float spread;  // x-y size of the ground
    float size;    // largest triangle
    float distance;
    float tolerance;
  } cases[] = {
      {"dense small triangles", 300, 400, 40, 3, 1.5f, 0.5f},
      {"sparse", 200, 150, 400, 5, 6, 2},
      {"a few huge triangles among small", 200, 300, 60, 80, 2, 1},
      {"distance wider than the ground", 60, 80, 10, 2, 50, 1},
      {"no horizontal distance", 100, 100, 20, 3, 0, 1},
      {"infinite distance", 40, 50, 20, 3, INFINITY, 0.3f},
  };
  plat::Srand(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Triangles around random centres, half of them reusing a vertex already placed.
    std::vector<VECTOR3> points;
    std::vector<int> corners;
    std::vector<MESHVERTEX> vertices;
    std::vector<MESHPRIM> words;
    for (int f = 0; f < c.triangles; ++f) {
      const float cx = RandomIn(0, c.spread), cy = RandomIn(0, c.spread);
      const float reach = RandomIn(0.2f, 1.0f) * c.size;
      for (int k = 0; k < 3; ++k) {
        int index;
        if (!points.empty() && plat::Rand() % 2 == 0) {
          index = plat::Rand() % static_cast<int>(points.size());
        } else {
          index = static_cast<int>(points.size());
          points.push_back({cx + RandomIn(-reach, reach), cy + RandomIn(-reach, reach), RandomIn(0, 3)});
        }
        corners.push_back(index);
      }
      words.insert(words.end(), {PRIM_TRIANGLE, 0, 0, corners[3 * f], corners[3 * f + 1], corners[3 * f + 2]});
    }
    for (const VECTOR3& p : points) {
      MESHVERTEX v;
      v.x = p.x, v.y = p.y, v.z = p.z;
      vertices.push_back(v);
    }
    BeginNode(NODE_MESH);
    AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                   c.triangles, 1);
    const HOBJECT mesh = EndNode(0);
    const HOBJECT terrain = CreateTerrain(mesh, c.distance, c.tolerance);
    ASSERT_NE(terrain, 0u);
    const auto expected = ExhaustiveNeighbours(points, corners, c.distance, c.tolerance);
    size_t nearOnes = 0;
    for (int f = 0; f < c.triangles; ++f) {
      ASSERT_EQ(Neighbours(terrain, f), expected[f]) << "triangle " << f;
      nearOnes += expected[f].size();
    }
    EXPECT_GT(nearOnes, 0u);
    DestroyTerrain(terrain, 1);
  }
}

TEST_F(TerrainTest, HeightIsTheFirstCounterClockwiseTriangleUnderThePoint) {
  // Triangle 0: a slope rising with x; triangle 1 lies over triangle 0's
  // hypotenuse side at height 8 with its own vertices; triangle 2 is
  // clockwise; triangle 3 is flat in x-y (standing upright).
  const HOBJECT mesh = MakeMesh({{0, 0, 0},
                                 {10, 0, 10},
                                 {0, 10, 0},  // 0
                                 {10, 0, 8},
                                 {10, 10, 8},
                                 {0, 10, 8},  // 1: along the edge (10,0)-(0,10)
                                 {20, 0, 7},
                                 {20, 10, 7},
                                 {30, 0, 7},  // 2: clockwise
                                 {40, 0, 0},
                                 {50, 0, 0},
                                 {45, 0, 9}},  // 3: no x-y area
                                {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11}});
  const HOBJECT terrain = CreateTerrain(mesh, 1, 1);
  ASSERT_NE(terrain, 0u);
  struct Case {
    VECTOR3 point;
    int found;
    float height;
  } cases[] = {
      {{2, 2, 99}, 1, 2},  // blended from the corners, whatever the point's z
      {{5, 5, 0}, 1, 5},   // on the shared edge: the earlier triangle's height
      {{8, 8, 0}, 1, 8},   // only triangle 1 holds it
      {{22, 2, 0}, 0, 0},  // inside the clockwise triangle: never found
      {{45, 0, 0}, 1, 0},  // a triangle without x-y area gives height 0
      {{-1, -1, 0}, 0, 0},
  };
  for (const Case& c : cases) {
    float height = -123;
    EXPECT_EQ(GetTerrainHeight(terrain, &c.point, &height), c.found) << c.point.x;
    if (c.found) {
      EXPECT_NEAR(height, c.height, 1e-4f) << c.point.x;
    }
  }
}

TEST_F(TerrainTest, RefusesWhatIsNotATriangleMesh) {
  EXPECT_EQ(CreateTerrain(CreateDummyNode(0, nullptr), 1, 1), 0u);
  EXPECT_EQ(CreateTerrain(0x02FFFFFF, 1, 1), 0u);

  // A mesh with a line run would be read as triangles past its words.
  BeginNode(NODE_MESH);
  const float line[6] = {0, 0, 0, 1, 1, 0};
  AddMeshLine(0, line, nullptr, 0);
  const float square[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  AddMeshPolygon(0, square, nullptr, nullptr, 4, 0, 0);
  const HOBJECT mixed = EndNode(0);
  ASSERT_NE(mixed, 0u);
  EXPECT_EQ(CreateTerrain(mixed, 1, 1), 0u);
  EXPECT_EQ(g_terrainPool.mark, 0u);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TerrainTest, DestroyingLeavesTheMeshAndUnplacesEveryKindOfNode) {
  const HOBJECT mesh = MakeSquare(0, 0, 10, 10, 0);
  const HOBJECT first = CreateTerrain(mesh, 1, 1);
  const HOBJECT second = CreateTerrain(mesh, 1, 1);
  const HOBJECT third = CreateTerrain(mesh, 1, 1);
  RENDERLISTDESC& lists = *g_gameWorld->renderList;
  EXPECT_EQ(lists.terrainHead, LookupTerrain(first));
  EXPECT_EQ(lists.terrainTail, LookupTerrain(third));

  const HOBJECT box = CreateDummyNode(0, nullptr);
  SetNodePosition(box, 5, 5, 3, TRANSFORM_SET);
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  SetNodePosition(camera, 2, 7, 3, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(box, second, 0, 0), MOVE_DONE);
  ASSERT_EQ(PlaceNodeOnTerrain(camera, second, 0, 0), MOVE_DONE);

  DestroyTerrain(second, 0);
  EXPECT_EQ(LookupTerrain(second), nullptr);
  EXPECT_NE(LookupNode(mesh), nullptr);
  EXPECT_EQ(LookupNode(box)->terrain, nullptr);
  // A camera stands outside the render list and must not keep a dangling link.
  EXPECT_EQ(LookupNode(camera)->terrain, nullptr);
  EXPECT_EQ(PlaceNodeOnTerrain(camera, 0, 0, 0), MOVE_NOTHING);
  // The list is mended around the removed record.
  EXPECT_EQ(lists.terrainHead, LookupTerrain(first));
  EXPECT_EQ(LookupTerrain(first)->next, LookupTerrain(third));
  EXPECT_EQ(lists.terrainTail, LookupTerrain(third));
  // The slot is reused, the mark stays.
  EXPECT_EQ(g_terrainPool.mark, 3u);
  EXPECT_EQ(CreateTerrain(mesh, 1, 1), second);

  // Destroying with the mesh takes the ground away from the other terrains.
  DestroyTerrain(third, 1);
  EXPECT_EQ(LookupNode(mesh), nullptr);
  const VECTOR3 inside = {5, 5, 0};
  float height = 0;
  EXPECT_EQ(GetTerrainHeight(first, &inside, &height), 0);
  EXPECT_EQ(LookupTerrain(first)->mesh, nullptr);
  EXPECT_EQ(lists.terrainTail, LookupTerrain(second));
}

TEST_F(TerrainTest, TheTwentyFifthTerrainEndsTheEngine) {
  const HOBJECT mesh = MakeSquare(0, 0, 1, 1, 0);
  for (int i = 0; i < 24; ++i) ASSERT_NE(CreateTerrain(mesh, 1, 1), 0u) << i;
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(CreateTerrain(mesh, 1, 1), 0u);
  EXPECT_TRUE(boxes_.Contains("Fatal message", "No more terrain available. (T01)"));
  EXPECT_EQ(g_engineOpen, 0);
}

TEST_F(TerrainTest, CallsOnBadHandlesAnswerNothing) {
  const VECTOR3 p = {0, 0, 0};
  float height = 7;
  int count = 5;
  EXPECT_EQ(GetTerrainHeight(0x06000003, &p, &height), 0);
  EXPECT_EQ(GetTerrainEdges(0x06000003, &count), nullptr);
  EXPECT_EQ(count, 0);
  DestroyTerrain(0x06000003, 1);
  const HOBJECT mesh = MakeSquare(0, 0, 1, 1, 0);
  DestroyTerrain(mesh, 1);  // a node handle is no terrain
  EXPECT_NE(LookupNode(mesh), nullptr);
}

}  // namespace
}  // namespace enginetest
