#include <gtest/gtest.h>

#include <cfloat>

#include "world/obj_bound_volume.h"
#include "world/terrain_boundary.h"

namespace {

OutlinePolyline Line(std::initializer_list<OUTLINEPOINT> points) { return OutlinePolyline(points); }

ORIENTEDBOX Cube(VECTOR3 centre, float half) {
  ORIENTEDBOX box;
  box.centre = centre;
  box.half[0] = box.half[1] = box.half[2] = half;
  return box;
}

TEST(TerrainBoundary, WallsFromTheOutline) {
  TerrainBoundary walls;
  walls.Build({Line({{0, 0, 0}, {100, 0, 0}}),  // two points: no wall
               Line({{0, 0, 5}, {0.00001f, 0, 5}, {0, 100, 5}, {-100, 100, 5}})});
  ASSERT_EQ(walls.Walls().size(), 2u) << "the duplicate is skipped and the line is not closed";
  const WallSegment& first = walls.Walls()[0];
  EXPECT_EQ(first.index, 0);
  EXPECT_FLOAT_EQ(first.start.x, 0) << "prev did not move to the skipped point";
  EXPECT_FLOAT_EQ(first.end.y, 100);
  EXPECT_FLOAT_EQ(first.plane.normal.x, -1) << "to the left of the step";
  EXPECT_FLOAT_EQ(first.plane.normal.y, 0);
  EXPECT_FLOAT_EQ(first.plane.d, 0);
  const WallSegment& second = walls.Walls()[1];
  EXPECT_EQ(second.index, 1);
  EXPECT_FLOAT_EQ(second.plane.normal.y, -1);
  EXPECT_FLOAT_EQ(second.plane.d, 100);

  walls.Build({});
  EXPECT_TRUE(walls.Walls().empty()) << "each build starts afresh";
  EXPECT_EQ(walls.Grid().CellsX(), 0);
}

TEST(TerrainBoundary, TheGridCoversEveryWallAndStaysBounded) {
  TerrainBoundary walls;
  // The four walls around a 200 x 100 rectangle: cells of their mean, 150 units.
  walls.Build({Line({{0, 0, 0}, {200, 0, 0}, {200, 100, 0}, {0, 100, 0}, {0, 0, 0}})});
  const AxGridSpaceManager& grid = walls.Grid();
  EXPECT_FLOAT_EQ(grid.CellSize(), 150);
  EXPECT_EQ(grid.CellsX(), 2);
  EXPECT_EQ(grid.CellsY(), 1);
  int cx = -1, cy = -1;
  grid.CellOf({175, 50, 0}, &cx, &cy);
  EXPECT_EQ(cx, 1);
  grid.CellOf({-1000, 5000, 0}, &cx, &cy);
  EXPECT_EQ(cx, 0) << "clamped";
  EXPECT_EQ(cy, 0);
  std::vector<int> cells;
  grid.CellsForSegment({10, 10, 0}, {20, 20, 0}, &cells);
  EXPECT_EQ(cells, std::vector<int>{0});
  grid.CellsForSegment({190, 10, 0}, {10, 90, 0}, &cells);
  EXPECT_EQ(cells, (std::vector<int>{0, 1}));
  EXPECT_EQ(grid.Cell(0).size(), 3u) << "bottom, top and left";
  EXPECT_EQ(grid.Cell(1).size(), 3u) << "bottom, right and top";

  // Two tiny walls a long way apart would ask for billions of cells.
  TerrainBoundary spread;
  spread.Build({Line({{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 0.5f, 0}}),
                Line({{1e6f, 1e6f, 0}, {1e6f + 0.5f, 1e6f, 0}, {1e6f, 1e6f + 0.5f, 0}})});
  ASSERT_EQ(spread.Walls().size(), 4u);
  EXPECT_LE(static_cast<long>(spread.Grid().CellsX()) * spread.Grid().CellsY(), AxGridSpaceManager::kMaxCells);
  float value = 0;
  EXPECT_TRUE(spread.IntersectSegment({0.25f, -1, 0}, {0.25f, 1, 0}, &value)) << "still found through the grid";
}

TEST(TerrainBoundary, SegmentsAgainstWallsAndObstacles) {
  // An L: a wall along y = 0 facing +y and one along x = 100 facing -x; and
  // apart from it a strip between y = 0 (facing +y) and y = 20 (facing -y).
  TerrainBoundary walls;
  walls.Build(
      {Line({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}}), Line({{200, 0, 0}, {300, 0, 0}, {300, 20, 0}, {200, 20, 0}})});
  ObjBoundVolume nearB;
  nearB.boxes = {Cube({50, 30, 50}, 5)};
  ObjBoundVolume nearA;
  nearA.boxes = {Cube({50, -30, 50}, 5)};

  const struct {
    VECTOR3 a, b;
    std::vector<ObjBoundVolume*> obstacles;
    bool hit;
    float value;
    const char* what;
  } cases[] = {
      {{50, -50, 50}, {50, 50, 50}, {}, true, 0.5f, "met from behind"},
      {{50, 50, 50}, {50, -50, 50}, {}, false, 0, "facing its front"},
      {{250, -50, 50}, {250, 50, 50}, {}, false, 0, "the wall nearest b faces it, though a farther one counts"},
      {{50, -50, 101}, {50, 50, 101}, {}, false, 0, "101 above the lower endpoint"},
      {{50, -50, 99}, {50, 50, 99}, {}, true, 0.5f, "99 above it"},
      {{50, -50, 150}, {50, 50, -50}, {}, true, 0.5f, "sloping through at 50"},
      {{50, -50, 50}, {150, 50, 50}, {}, false, 0, "through the shared endpoint"},
      {{150, -50, 50}, {150, 50, 50}, {}, false, 0, "beside the wall's end"},
      {{50, -50, 50}, {50, -10, 50}, {}, false, 0, "ending short of the wall"},
      {{50, -50, 50}, {50, 50, 50}, {&nearB}, true, 0.85f, "an obstacle nearer b than the wall"},
      {{50, -50, 50}, {50, 50, 50}, {&nearA}, true, 0.5f, "an obstacle nearer a than the wall"},
      {{50, 50, 50}, {50, -50, 50}, {&nearA}, true, 0.85f, "an obstacle alone"},
  };
  for (const auto& c : cases) {
    walls.obstacles = c.obstacles;
    float value = -1;
    EXPECT_EQ(walls.IntersectSegment(c.a, c.b, &value), c.hit) << c.what;
    if (c.hit) {
      EXPECT_NEAR(value, c.value, 1e-5) << c.what;
    }
  }

  TerrainBoundary none;
  float value = 0;
  EXPECT_FALSE(none.IntersectSegment({0, 0, 0}, {10, 10, 10}, &value)) << "no walls, no obstacles";
}

TEST(TerrainBoundary, ObstaclesBetweenTwoPoints) {
  TerrainBoundary walls;
  walls.Build({Line({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}})});
  ObjBoundVolume middle;
  middle.boxes = {Cube({50, 50, 0}, 5)};
  ObjBoundVolume atTheEnd;
  atTheEnd.boxes = {Cube({50, 97, 0}, 2)};
  walls.obstacles = {&atTheEnd};
  EXPECT_EQ(walls.SegmentHitsObstacle({50, -50, 0}, {50, 100, 0}), 0) << "the wall and the last tenth do not count";
  walls.obstacles = {&atTheEnd, &middle};
  EXPECT_EQ(walls.SegmentHitsObstacle({50, 0, 0}, {50, 100, 0}), 1);
  walls.Clear();
  EXPECT_TRUE(walls.obstacles.empty());
  EXPECT_TRUE(walls.Walls().empty());
  EXPECT_EQ(walls.SegmentHitsObstacle({50, 0, 0}, {50, 100, 0}), 0);
}

}  // namespace
