#include "battle/fighter_gauge.h"

#include <gtest/gtest.h>

#include "battle/fighting_man.h"
#include "battle/wire_box.h"
#include "database/man_soul.h"
#include "engine/core/cameras.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/action_table_writer.h"

namespace battletest {
namespace {

MESHVERTEX* Vertices(HOBJECT node, int* count) {
  int frames = 0, floats = 0;
  return GetMeshVertices(node, count, &frames, &floats);
}

int Visible(HOBJECT node) { return LookupOpenNode(node)->visible; }

using GaugeTest = BattleTest;

TEST_F(GaugeTest, WireBoxFollowsTheBoxAndGoesWithTheBody) {
  const float box[6] = {-1, -2, -3, 4, 5, 6};
  const HOBJECT wire = CreateWireBox(0, box);
  ASSERT_NE(wire, 0);
  EXPECT_EQ(Visible(wire), 0);
  int count = 0;
  const MESHVERTEX* v = Vertices(wire, &count);
  ASSERT_EQ(count, 8);
  int lines = 0;
  ASSERT_NE(GetMeshPrimitives(wire, &lines), nullptr);
  EXPECT_EQ(lines, 1) << "one list of twelve edges";
  const float bigger[6] = {-10, -20, 0, 10, 20, 40};
  FitWireBox(wire, bigger);
  v = Vertices(wire, &count);
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(v[i].x == -10 || v[i].x == 10);
    EXPECT_TRUE(v[i].y == -20 || v[i].y == 20);
    EXPECT_TRUE(v[i].z == 0 || v[i].z == 40);
  }
  float bounds[6] = {};
  GetNodeBoundingBox(wire, bounds);
  EXPECT_FLOAT_EQ(bounds[0], -10);
  EXPECT_FLOAT_EQ(bounds[5], 40) << "the bounds follow the new corners";
  DestroyNode(wire);

  // A fighter's box hangs under its body and goes with it.
  std::string error;
  ASSERT_TRUE(datagen::WriteActionTable("creature/battle/kbs.acb", {datagen::BattleActionRecord(1, {11})}, error));
  WriteModel("m001", 2);
  CBattleSys sys;
  CGDManSoul soul;
  soul.kind = 1;
  soul.subKind = 1;
  CFightingMan man;
  man.owner = &sys;
  man.soul = &soul;
  man.CreateBody("m001");
  ASSERT_NE(man.boxNode, 0);
  EXPECT_EQ(LookupOpenNode(man.boxNode)->parent, LookupOpenNode(man.body->Node()));
  float frameBox[6] = {};
  ASSERT_EQ(man.body->GetFrameBox(frameBox), 0);
  man.Update(1);
  GetNodeBoundingBox(man.boxNode, bounds);
  EXPECT_FLOAT_EQ(bounds[0], frameBox[0]);
  EXPECT_FLOAT_EQ(bounds[5], frameBox[5]);
  const HOBJECT old = man.boxNode;
  man.ReleaseBody();
  EXPECT_EQ(man.boxNode, 0);
  EXPECT_EQ(LookupOpenNode(old), nullptr);
}

TEST_F(GaugeTest, BarLengthVisibilityAndPlace) {
  CFighterGauge gauge;
  ASSERT_EQ(gauge.Create(nullptr, 16, 3), 1);
  EXPECT_EQ(Visible(gauge.node), 0);
  const struct { float percent, x; } cases[] = {{50, 8}, {120, 8}, {-1, 8}, {0, 0}, {100, 16}};
  for (const auto& c : cases) {
    gauge.SetPercent(c.percent);
    int count = 0;
    const MESHVERTEX* v = Vertices(gauge.node, &count);
    ASSERT_EQ(count, 4);
    EXPECT_FLOAT_EQ(v[gauge.rightVertices[0]].x, c.x) << c.percent;
    EXPECT_FLOAT_EQ(v[gauge.rightVertices[1]].x, c.x) << c.percent;
    EXPECT_FLOAT_EQ(v[0].x, 0) << "the left edge stays";
  }
  gauge.Show(1);
  EXPECT_EQ(Visible(gauge.node), 1);
  gauge.Show(0);
  EXPECT_EQ(Visible(gauge.node), 0);

  const float box[6] = {-10, -4, 0, 10, 6, 40};
  const HOBJECT followed = CreateWireBox(0, box);
  SetNodePosition(followed, 100, 200, 5, 0);
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 1, 1, 1, 1000);
  const VECTOR3 eye{100, 0, 50}, look{0, 1, 0};
  SetNodeDirection(camera, &eye, &look, nullptr);
  gauge.Place(camera);
  VECTOR3 at{}, forward{};
  GetNodeWorldVectors(gauge.node, &at, nullptr, nullptr);
  EXPECT_EQ(at.x, 0) << "nothing to follow yet";
  gauge.Follow(followed);
  gauge.Place(camera);
  GetNodeWorldVectors(gauge.node, &at, &forward, nullptr);
  EXPECT_NEAR(at.x, 100 + 10, 1e-4f);
  EXPECT_NEAR(at.y, 200 + 1, 1e-4f);
  EXPECT_NEAR(at.z, 5 + 40, 1e-4f);
  EXPECT_NEAR(forward.y, -1, 1e-4f) << "facing against the camera";
  DestroyNode(camera);
  DestroyNode(followed);
}

}  // namespace
}  // namespace battletest
