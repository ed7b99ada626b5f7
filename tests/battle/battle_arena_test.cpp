#include "battle/battle_arena.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/battle/battle_fixture.h"
#include "tests/engine/spatial_fixture.h"

namespace {

using battletest::BattleTest;
using enginetest::MakeMesh;
using enginetest::MakeSquare;

class BattleArenaTest : public BattleTest {
 protected:
  struct Picked {
    int result = 0;
    std::vector<VECTOR3> points;
    std::vector<VECTOR3> directions;
  };

  Picked Pick(const VECTOR3& centre, float minimum, float spacing, float inset, int count) {
    Picked p;
    p.points.assign(static_cast<size_t>(std::max(count, 0)) + 1, VECTOR3{-7, -7, -7});
    p.directions = p.points;
    p.result = arena_.PickPoints(centre, minimum, spacing, inset, count, p.points.data(), p.directions.data());
    return p;
  }

  CBattleArena arena_;
};

float Distance(const VECTOR3& a, const VECTOR3& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TEST_F(BattleArenaTest, OutlineKeepsTheEdgesOfOneTriangleDirectedAsItRuns) {
  arena_.Build(MakeSquare(0, 0, 100, 100, 0));
  ASSERT_EQ(arena_.Edges().size(), 4u);
  // The shared diagonal 0-2 / 2-0 is gone; the rest keeps the found order.
  const int expected[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(arena_.Edges()[i].first, expected[i][0]);
    EXPECT_EQ(arena_.Edges()[i].second, expected[i][1]);
  }

  // A 2 x 2 grid of squares: 8 triangles, 8 border edges.
  std::vector<VECTOR3> grid;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) grid.push_back({x * 100.0f, y * 100.0f, 0});
  enginetest::TriangleList triangles;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) {
      int a = y * 3 + x, b = a + 1, c = a + 4, d = a + 3;
      triangles.push_back({a, b, c});
      triangles.push_back({a, c, d});
    }
  arena_.Build(MakeMesh(grid, triangles));
  EXPECT_EQ(arena_.Edges().size(), 8u);

  // Rebuilding replaces; a node that is not a mesh gives no outline and no points.
  arena_.Build(CreateDummyNode(0, nullptr));
  EXPECT_TRUE(arena_.Edges().empty());
  EXPECT_EQ(Pick({0, 0, 0}, 0, 0, 0, 1).result, 0);
}

TEST_F(BattleArenaTest, TrianglesOfOpposedWindingKeepTheirSharedEdge) {
  // The second triangle runs the diagonal the same way: no pair, 6 edges.
  arena_.Build(MakeMesh({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}, {{0, 1, 2}, {0, 3, 2}}));
  EXPECT_EQ(arena_.Edges().size(), 6u);
  // A triangle naming a vertex the mesh does not have is skipped.
  HOBJECT square = MakeSquare(0, 0, 100, 100, 0);
  LookupNodeOfKind(square, NODE_MESH)->Mesh()->primitives[kTriangleWords + 5] = 9;
  arena_.Build(square);
  EXPECT_EQ(arena_.Edges().size(), 3u);
}

TEST_F(BattleArenaTest, PointsStandInsideTheFloorFacingInward) {
  arena_.Build(MakeSquare(-500, -500, 500, 500, 10));
  Picked p = Pick({0, 0, 10}, 100, 50, 100, 4);
  ASSERT_EQ(p.result, 1);
  // Edge midpoints moved 100 toward the middle, in outline order.
  const VECTOR3 expected[4] = {{0, -400, 10}, {400, 0, 10}, {0, 400, 10}, {-400, 0, 10}};
  const VECTOR3 facing[4] = {{0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {1, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(p.points[i].x, expected[i].x, 1e-3);
    EXPECT_NEAR(p.points[i].y, expected[i].y, 1e-3);
    EXPECT_FLOAT_EQ(p.points[i].z, 10);
    EXPECT_NEAR(p.directions[i].x, facing[i].x, 1e-6);
    EXPECT_NEAR(p.directions[i].y, facing[i].y, 1e-6);
    EXPECT_FLOAT_EQ(p.directions[i].z, 0);
  }
  EXPECT_FLOAT_EQ(p.points[4].x, -7);  // nothing written past count

  // Fewer asked than edges: the walk stops at count.
  p = Pick({0, 0, 10}, 100, 50, 100, 2);
  EXPECT_EQ(p.result, 1);
  EXPECT_FLOAT_EQ(p.points[2].x, -7);
}

TEST_F(BattleArenaTest, RejectedCandidatesLeaveFewerPointsAndResultZero) {
  struct Case {
    const char* what;
    VECTOR3 centre;
    float minimum;
    float spacing;
    float inset;
    int count;
    int result;
    int points;
  };
  const Case cases[] = {
      {"all four fit", {0, 0, 0}, 100, 50, 100, 4, 1, 4},
      {"more asked than edges", {0, 0, 0}, 100, 50, 100, 5, 0, 4},
      {"centre near the lower edge", {0, -390, 0}, 100, 50, 100, 4, 0, 3},
      {"minimum distance beyond every point", {0, 0, 0}, 500, 50, 100, 3, 0, 0},
      {"spacing beyond the square", {0, 0, 0}, 100, 2000, 100, 2, 0, 1},
      {"nothing asked", {0, 0, 0}, 100, 50, 100, 0, 1, 0},
      {"negative count", {0, 0, 0}, 100, 50, 100, -3, 0, 0},
      {"centre not a number", {std::numeric_limits<float>::quiet_NaN(), 0, 0}, 100, 50, 100, 2, 0, 0},
  };
  arena_.Build(MakeSquare(-500, -500, 500, 500, 0));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Picked p = Pick(c.centre, c.minimum, c.spacing, c.inset, c.count);
    EXPECT_EQ(p.result, c.result);
    int written = 0;
    while (written < static_cast<int>(p.points.size()) && p.points[written].x != -7) ++written;
    EXPECT_EQ(written, c.points);
    for (int i = 0; i < written; ++i) {
      EXPECT_GE(Distance(p.points[i], c.centre), c.minimum);
      for (int j = 0; j < i; ++j) EXPECT_GE(Distance(p.points[i], p.points[j]), c.spacing);
    }
  }
  VECTOR3 one{};
  EXPECT_EQ(arena_.PickPoints({0, 0, 0}, 0, 0, 0, 1, nullptr, &one), 0);
  EXPECT_EQ(arena_.PickPoints({0, 0, 0}, 0, 0, 0, 1, &one, nullptr), 0);
}

TEST_F(BattleArenaTest, ShortEdgedSquareYieldsTooFewPoints) {
  // Edges of 40: the inset midpoints of neighbouring edges lie about 28 apart.
  arena_.Build(MakeSquare(-20, -20, 20, 20, 0));
  Picked p = Pick({1000, 1000, 0}, 100, 50, 10, 4);
  EXPECT_EQ(p.result, 0);
  EXPECT_EQ(p.points[1].x, -7);  // only the first edge's point stood far enough from the others
  EXPECT_NEAR(p.points[0].y, -10, 1e-4);

  // A degenerate edge (a triangle with two equal corners) gives no point.
  arena_.Build(MakeMesh({{0, 0, 0}, {0, 0, 0}, {0, 300, 0}}, {{0, 1, 2}}));
  p = Pick({1000, 1000, 0}, 0, 0, 0, 3);
  EXPECT_EQ(p.result, 0);
  EXPECT_FLOAT_EQ(p.points[2].x, -7);
}

TEST_F(BattleArenaTest, ReleasedOrDestroyedGroundGivesNoPoints) {
  HOBJECT ground = MakeSquare(-500, -500, 500, 500, 0);
  arena_.Build(ground);
  DestroyNode(ground);
  EXPECT_EQ(Pick({0, 0, 0}, 0, 0, 0, 1).result, 0);
  arena_.Build(MakeSquare(-500, -500, 500, 500, 0));
  arena_.Release();
  EXPECT_TRUE(arena_.Edges().empty());
  EXPECT_EQ(Pick({0, 0, 0}, 0, 0, 0, 1).result, 0);
}

}  // namespace
