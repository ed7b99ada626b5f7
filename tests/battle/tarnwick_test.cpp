#include "battle/tarnwick.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/node_transforms.h"
#include "tests/battle/battle_fixture.h"

namespace battletest {
namespace {

using datagen::BattlePose;
using datagen::BattlePoseFrames;

TEST_F(BattleTest, SlowMotionStretchesAnActionAndReportsItsHitOnce) {
  auto body = Body();
  ACTIONDESC a = Action(101, 1);
  a[ACTIONDESC::HIT_FIRST] = BattlePoseFrames(1).first + 10;
  a[ACTIONDESC::HIT_COUNT] = 1;
  ASSERT_EQ(body->PlayAction(a), 1);
  body->SetSlowMotion(4);
  int updates = 0, hits = 0;
  while (body->AdvanceFrames(1) && updates < 1000) {
    ++updates;
    hits += body->AtHitFrame();
  }
  const int frames = BattlePoseFrames(1).last - BattlePoseFrames(1).first;
  EXPECT_EQ(updates, frames * 4);
  EXPECT_EQ(hits, 1);
  EXPECT_EQ(body->currentFrame, BattlePoseFrames(1).last);
}

TEST_F(BattleTest, RestartingARepeatingActionIsRefusedAOneShotRestarts) {
  auto body = Body();
  const ACTIONDESC idle = Action(11, 1, 0);
  ASSERT_EQ(body->PlayAction(idle), 1);
  body->AdvanceFrames(3);
  EXPECT_EQ(body->PlayAction(idle), 0);
  EXPECT_EQ(body->currentFrame, BattlePoseFrames(1).first + 3);

  const ACTIONDESC blow = Action(101, 2);
  ASSERT_EQ(body->PlayAction(blow), 1);
  body->AdvanceFrames(5);
  EXPECT_EQ(body->PlayAction(blow), 1);
  EXPECT_EQ(body->currentFrame, BattlePoseFrames(2).first);
}

TEST_F(BattleTest, PendingActionsSwitchAtTheirModesPoint) {
  const BattlePose p = BattlePoseFrames(1);
  struct Case {
    int mode;
    int earliest, latest, start;
    int framesToSwitch;  // updates of one frame until the switch, -1 none
  } cases[] = {
      {1, 0, 0, 0, p.p5 - p.first},         // at the release frame
      {4, p.first + 5, p.first + 8, 0, 5},  // inside earliest..latest
      {3, 0, 0, 0, p.last - p.first},       // at the end
      {4, p.first + 5, p.first + 8, -1, -1},
  };
  for (const Case& c : cases) {
    auto body = Body();
    ASSERT_EQ(body->PlayAction(Action(101, 1)), 1);
    ACTIONDESC next = Action(102, 2, 1, c.mode);
    next.transition.earliest = c.earliest;
    next.transition.latest = c.latest;
    next.transition.start = c.start == 0 ? BattlePoseFrames(2).first + 1 : c.start;
    if (c.mode == 1) next[ACTIONDESC::MOTION_FIRST] = BattlePoseFrames(2).first + 2;
    if (c.mode == 3) next.transition.earliest = BattlePoseFrames(2).first + 3;
    ASSERT_EQ(body->PlayAction(next), 1) << "mode " << c.mode;
    int switched = -1;
    for (int u = 1; u <= 40 && switched < 0; ++u) {
      body->ApplyMotion(1);
      if (body->current[ACTIONDESC::ID] == 102) switched = u;
      body->AdvanceFrames(1);
    }
    EXPECT_EQ(switched, c.framesToSwitch) << "mode " << c.mode;
    if (switched > 0) {
      EXPECT_EQ(body->currentPose, 2);
    }
    EXPECT_EQ(body->pending[ACTIONDESC::MODE], 0) << "mode " << c.mode;
  }
}

TEST_F(BattleTest, ATransitionAskedForTooLateIsRefused) {
  auto body = Body();
  ASSERT_EQ(body->PlayAction(Action(101, 1)), 1);
  body->AdvanceFrames(9);
  ACTIONDESC next = Action(102, 2, 1, 4);
  next.transition.earliest = BattlePoseFrames(1).first + 5;
  next.transition.latest = BattlePoseFrames(1).first + 8;
  EXPECT_EQ(body->PlayAction(next), 0);
  EXPECT_EQ(body->current[ACTIONDESC::ID], 101);
  EXPECT_EQ(body->pending[ACTIONDESC::MODE], 0);
}

// Steps of distance / span are taken only while the frame is inside the
// motion span, so the action travels its distance and no further (stepping
// from the start frame on would carry it past).
TEST_F(BattleTest, ActionMotionCarriesTheNodeItsDistanceOverTheMotionSpan) {
  auto body = Body();
  ACTIONDESC a = Action(101, 1);
  a[ACTIONDESC::ACTION_MOTION] = 1;
  a.SetFloat(ACTIONDESC::FORWARD, 30.0f);
  ASSERT_EQ(body->PlayAction(a), 1);
  VECTOR3 before{}, after{};
  GetNodeWorldVectors(body->Node(), &before, nullptr, nullptr);
  int moving = 0;
  for (int u = 0; u < 30; ++u) {
    VECTOR3 from{};
    GetNodeWorldVectors(body->Node(), &from, nullptr, nullptr);
    body->ApplyMotion(1);
    VECTOR3 to{};
    GetNodeWorldVectors(body->Node(), &to, nullptr, nullptr);
    moving += to.x != from.x || to.y != from.y;
    body->AdvanceFrames(1);
  }
  GetNodeWorldVectors(body->Node(), &after, nullptr, nullptr);
  const float dx = after.x - before.x, dy = after.y - before.y;
  EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 30.0f, 0.5f);
  EXPECT_EQ(moving, a[ACTIONDESC::RELEASE] - a[ACTIONDESC::MOTION_FIRST]) << "one step per frame of the span";
  EXPECT_EQ(body->actionMotion, 0);

  // A motion span of no frames does not divide by zero: no motion.
  auto still = Body("still");
  a[ACTIONDESC::RELEASE] = a[ACTIONDESC::MOTION_FIRST];
  a[ACTIONDESC::END] = a[ACTIONDESC::RELEASE] + 5;
  ASSERT_EQ(still->PlayAction(a), 1);
  GetNodeWorldVectors(still->Node(), &before, nullptr, nullptr);
  still->ApplyMotion(1);
  GetNodeWorldVectors(still->Node(), &after, nullptr, nullptr);
  EXPECT_FLOAT_EQ(after.x, before.x);
  EXPECT_FLOAT_EQ(after.y, before.y);
}

TEST_F(BattleTest, TrackMotionAtTheTracksLastFrameReadsNoFurther) {
  auto body = Body("tracked", 1);
  ACTIONDESC a = Action(101, 1, 0);
  a[ACTIONDESC::TRACK_MOTION] = 1;
  a[ACTIONDESC::END] = BattlePoseFrames(1).last;
  ASSERT_EQ(body->PlayAction(a), 1);
  body->SetFrame(BattlePoseFrames(1).last - 1);
  body->currentFrame = BattlePoseFrames(1).last - 1;
  VECTOR3 before{}, after{};
  GetNodeWorldVectors(body->Node(), &before, nullptr, nullptr);
  for (int u = 0; u < 3; ++u) body->AdvanceFrames(1);
  GetNodeWorldVectors(body->Node(), &after, nullptr, nullptr);
  EXPECT_TRUE(std::isfinite(after.x) && std::isfinite(after.y));
}

TEST_F(BattleTest, HitVerticesMatchWithinATenth) {
  auto body = Body();
  std::vector<float> points = datagen::BattleHitVertices();
  points[0] += 0.05f;
  body->SetHitVertices(&points[0], &points[3], &points[6], &points[9]);
  EXPECT_TRUE(boxes_.Boxes().empty());
  for (const MESHVERTEX* v : body->hitVertices) EXPECT_NE(v, nullptr);

  points[0] += 0.15f;
  body->SetHitVertices(&points[0], &points[3], &points[6], &points[9]);
  EXPECT_TRUE(boxes_.Contains("Warning", "tester cannot find hit head vertex(Front)"));
  EXPECT_EQ(body->hitVertices[0], nullptr);

  // The missing head falls back to the top of the body's box.
  VECTOR3 out[6] = {};
  body->GetHitPoints(out, 0xffff);
  EXPECT_TRUE(std::isfinite(out[0].z));
  VECTOR3 arm{};
  GetNodeWorldVectors(body->FindPartNode("_larm"), &arm, nullptr, nullptr);
  EXPECT_FLOAT_EQ(out[2].x, arm.x);
}

TEST_F(BattleTest, AModelWithoutOneVertexAnimatedPartWarnsAndGoesOn) {
  for (int parts : {0, 2}) {
    testsupport::MessageBoxCapture boxes;
    auto body = Body("va" + std::to_string(parts), 2, parts);
    EXPECT_TRUE(boxes.Contains("WARNING", "Invalid VAPart Number")) << parts;
    EXPECT_EQ(body->PlayAction(Action(101, 1)), 1);
    EXPECT_EQ(body->AdvanceFrames(1), 1);
  }
}

TEST_F(BattleTest, WeaponsShowByKeyAndWeaponPartsAreCounted) {
  auto body = Body();
  EXPECT_EQ(body->ShowWeapon(1), 0);
  WriteModel("weapon/sword", 1);
  ASSERT_EQ(body->LoadWeapon("sword"), 1);
  EXPECT_EQ(body->ShowWeapon(1), 1);
  EXPECT_EQ(body->ShowWeapon(5), 0);
  EXPECT_NE(body->currentWeapon, nullptr) << "a missing key leaves the current weapon";
  EXPECT_EQ(body->RemoveWeapon(), body->weapons[1].get());
  EXPECT_EQ(body->currentWeapon, nullptr);
}

TEST_F(BattleTest, WeaponPartsArePlainAndVertexAnimatedInModelOrder) {
  datagen::CreatureModel model = datagen::BattleModel("archer", 1, 3);
  model.objects[1].name = "_bowW";
  model.objects[3].name = "_quiverw";
  model.parts[2].name = "_stringW";
  model.parts[0].name = "_headWx";  // "W" not at the end
  plat::ByteWriter out;
  std::string error;
  ASSERT_TRUE(datagen::WriteCreatureBinary(model, out, error)) << error;
  ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/archer.MCB", out.Bytes().data(), out.Size()));
  CTarnwick body("archer", 1, "creature/battle");
  const HOBJECT expected[] = {body.FindPartNode("_bowW"), body.FindPartNode("_quiverw"), body.FindPartNode("_stringW")};
  for (HOBJECT node : expected) ASSERT_NE(node, 0u);
  HOBJECT parts[4] = {};
  ASSERT_EQ(body.GetWeaponParts(parts, 4), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(parts[i], expected[i]) << i;
  HOBJECT two[2] = {};
  ASSERT_EQ(body.GetWeaponParts(two, 2), 2) << "at most the count asked for";
  EXPECT_EQ(two[1], expected[1]);
  EXPECT_EQ(body.GetWeaponParts(nullptr, 2), 0);
}

}  // namespace
}  // namespace battletest
