// The sample world's battle stage as the arena sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "battle/battle_arena.h"
#include "engine/core/mesh_edit.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "world/battle_scene.h"
#include "world/scene_content.h"

namespace {

using namespace datagen::sample;

class SampleArenaTest : public battletest::BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    plat::CreateDirectories("waves");
    plat::CreateDirectories("BattleScene");
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleMaps("./", error)) << error;
  }
};

TEST_F(SampleArenaTest, FloorRunsCounterClockwiseAndHoldsALaterWave) {
  CBattleScene stage((std::string(kArenaName) + ".sb").c_str(), "BattleScene");
  ASSERT_EQ(stage.BuildContent(), 1);
  const HOBJECT floor = stage.Content()->terrainNode;
  ASSERT_NE(floor, 0u);

  // Every floor triangle turns counter-clockwise seen from above.
  int vertexCount = 0, primitives = 0;
  const MESHVERTEX* v = GetMeshVertices(floor, &vertexCount, nullptr, nullptr);
  const MESHPRIM* words = GetMeshPrimitives(floor, &primitives);
  ASSERT_TRUE(v && words);
  ASSERT_EQ(primitives, 2 * kArenaCells * kArenaCells);
  for (int t = 0; t < primitives; ++t) {
    const MESHPRIM* w = words + t * kTriangleWords;
    ASSERT_EQ(w[0], PRIM_TRIANGLE);
    const MESHVERTEX &a = v[w[3]], &b = v[w[4]], &c = v[w[5]];
    EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0) << "triangle " << t;
  }

  CBattleArena arena;
  arena.Build(floor);
  EXPECT_EQ(arena.Edges().size(), static_cast<size_t>(4 * kArenaCells));
  const float half = kArenaCells * kArenaCell / 2;
  // The battle's call: five places around the hero, first at the origin, then in a corner.
  for (VECTOR3 hero : {VECTOR3{0, 0, 0}, VECTOR3{half - 60, half - 60, 0}}) {
    VECTOR3 points[5], directions[5];
    ASSERT_EQ(arena.PickPoints(hero, 100, 50, 100, 5, points, directions), 1);
    for (int i = 0; i < 5; ++i) {
      const VECTOR3 &p = points[i], &d = directions[i];
      EXPECT_LT(std::max(std::fabs(p.x), std::fabs(p.y)), half) << "on the floor";
      // A step of the inset back against the direction reaches the border.
      EXPECT_NEAR(std::max(std::fabs(p.x - 100 * d.x), std::fabs(p.y - 100 * d.y)), half, 1e-3);
      EXPECT_GE(std::hypot(p.x - hero.x, p.y - hero.y), 100);
    }
  }
  stage.Release();
}

}  // namespace
