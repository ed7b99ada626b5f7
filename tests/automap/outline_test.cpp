#include <gtest/gtest.h>

#include <memory>

#include "tests/automap/automap_fixture.h"
#include "world/automap_panel.h"

namespace automaptest {
namespace {

using OutlineTest = AutomapTest;

bool Closed(const OutlinePolyline& line) {
  return line.size() > 2 && line.front().x == line.back().x && line.front().y == line.back().y;
}

TEST_F(OutlineTest, RectangleOfTwoTrianglesIsOneClosedPolyline) {
  TerrainOutline outline;
  OUTLINEBOUNDSDESC bounds;
  ASSERT_EQ(ExtractTerrainOutline(MakeTerrain({{-30, -10, 50, 20}}), outline, bounds), 0);
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0].size(), 5u);
  EXPECT_TRUE(Closed(outline[0]));
  EXPECT_EQ(bounds.top.y, 20);
  EXPECT_EQ(bounds.right.x, 50);
  EXPECT_EQ(bounds.bottom.y, -10);
  EXPECT_EQ(bounds.left.x, -30);
}

TEST_F(OutlineTest, HoleGivesASecondClosedPolyline) {
  TerrainOutline outline;
  OUTLINEBOUNDSDESC bounds;
  HOBJECT pond = MakeTerrain(Grid(-300, -300, 200, 3, 3, [](int i, int j) { return i == 1 && j == 1; }));
  ExtractTerrainOutline(pond, outline, bounds);
  ASSERT_EQ(outline.size(), 2u);
  EXPECT_TRUE(Closed(outline[0]));
  EXPECT_TRUE(Closed(outline[1]));
  // The outer ring passes 12 grid points, the hole 4 (first point repeated).
  EXPECT_EQ(outline[0].size() + outline[1].size(), 13u + 5u);
}

TEST_F(OutlineTest, NonMeshAndBadIndicesGiveNoOutline) {
  TerrainOutline outline;
  OUTLINEBOUNDSDESC bounds;
  EXPECT_EQ(ExtractTerrainOutline(0, outline, bounds), 0);
  EXPECT_TRUE(outline.empty());
  HOBJECT broken = enginetest::MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 7}});
  EXPECT_EQ(ExtractTerrainOutline(broken, outline, bounds), 0);
  EXPECT_TRUE(outline.empty());
}

TEST_F(OutlineTest, FittingCentresTheNarrowSide) {
  struct Case {
    const char* what;
    Square area;
    float left, top, scale;
  };
  const Case cases[] = {
      {"wider", {0, 0, 240, 120}, 0, 180, 0.5f},
      {"taller", {0, 0, 120, 240}, -60, 240, 0.5f},
      {"square", {-60, -60, 60, 60}, -60, 60, 1.0f},
  };
  std::unique_ptr<CAutomap> map(NewAutomap());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(map->BuildForScene("a004.sb", MakeTerrain({c.area}), 0), 1);
    EXPECT_FLOAT_EQ(map->Left(), c.left);
    EXPECT_FLOAT_EQ(map->Top(), c.top);
    EXPECT_FLOAT_EQ(map->Scale(), c.scale);
  }
}

TEST_F(OutlineTest, OutlineWithoutExtentFailsToBuild) {
  CAutomapPanel panel;
  // A sliver whose triangles are all flat in y, and a scene without terrain.
  HOBJECT flat = enginetest::MakeMesh({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, {{0, 1, 2}});
  EXPECT_EQ(panel.BuildForScene("a004.sb", flat, 1), -1);
  EXPECT_EQ(panel.BuildForScene("a004.sb", 0, 1), -1);
  EXPECT_TRUE(panel.Automap().Outline().empty());
  EXPECT_TRUE(panel.Automap().ExploredScenes().empty());
  EXPECT_EQ(panel.BuildForScene("a004.sb", MakeTerrain({{0, 0, 10, 10}}), 1), 0);
}

}  // namespace
}  // namespace automaptest
