#include <cmath>

#include "engine/core/terrain.h"
#include "engine/core/walking.h"
#include "tests/engine/spatial_fixture.h"
#include "world/chase_event.h"
#include "world/chase_path.h"

namespace fieldtest {
namespace {

using enginetest::MakeMesh;
using enginetest::MakeSquare;
using enginetest::WorldPosition;

int g_pose = 2;
int g_counter = 0;
int g_startedKind = 0;
int g_startedEvent = 0;

// A 400 x 400 ground; the character at the origin facing -Y, the player
// 50 units in front of it, also facing -Y (its back to the character).
class ChaseTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    ground_ = CreateTerrain(MakeSquare(-200, -200, 200, 200, 0), 1, 1);
    ASSERT_NE(ground_, 0u);
    const VECTOR3 size = {2, 2, 2};
    npc_ = CreateDummyNode(0, &size);
    player_ = CreateDummyNode(0, &size);
    Stand(npc_, 0, 0);
    Stand(player_, 0, -50);
    g_pose = 2;
    g_counter = 0;
    g_startedKind = g_startedEvent = 0;
    ChaseEventServices services;
    services.walkerPose = [] { return g_pose; };
    services.storyCounter = [](int) { return g_counter; };
    services.startEvent = [](int kind, int number) {
      g_startedKind = kind;
      g_startedEvent = number;
    };
    services.eventBase = [] { return 100; };
    event_.services = services;
    event_.Begin(npc_, player_, ground_, 0);
    event_.switchedOn = 1;
  }

  void Stand(HOBJECT node, float x, float y) {
    SetNodePosition(node, x, y, 5, TRANSFORM_SET);
    ASSERT_EQ(PlaceNodeOnTerrain(node, ground_, 0, 0), MOVE_DONE);
  }
  // One game frame of the event, 1/30 s after the last; the frame's answer.
  void Frame() {
    clock_->AdvanceSeconds(1.0 / 30);
    event_.Update();
    event_.StepPatrol();
  }
  // Frames until the chase starts; -1 when it does not within the limit.
  int FramesUntilChase(int limit = 200) {
    for (int frame = 1; frame <= limit; ++frame) {
      Frame();
      if (event_.chasing) return frame;
    }
    return -1;
  }

  HOBJECT ground_ = 0;
  HOBJECT npc_ = 0;
  HOBJECT player_ = 0;
  CNpcChaseEvent event_;
};

TEST_F(ChaseTest, APlayerOutOfRangeChangesNothing) {
  Stand(player_, 0, -101);
  for (float turn : {0.0f, 90.0f, 90.0f, 90.0f}) {
    RotateNode(player_, 2, turn, TRANSFORM_LOCAL);
    for (int i = 0; i < 200; ++i) Frame();
    EXPECT_EQ(event_.chasing, 0);
    EXPECT_EQ(event_.watchArmed, 0);
    const VECTOR3 p = WorldPosition(npc_);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
  }
}

TEST_F(ChaseTest, AWatchOfFiveSecondsStartsTheChase) {
  const int frame = FramesUntilChase();
  EXPECT_GE(frame, 150);
  EXPECT_LE(frame, 152);
  EXPECT_EQ(event_.watchArmed, 1);
}

TEST_F(ChaseTest, OnlyTheWatchedPosesArmTheTimer) {
  struct Case {
    int pose;
    bool arms;
  };
  for (const Case& c :
       {Case{0, false}, Case{1, false}, Case{2, true}, Case{10, true}, Case{12, true}, Case{13, false}}) {
    g_pose = c.pose;
    event_.watchTimer.Stop();
    event_.watchArmed = 0;
    Frame();
    EXPECT_EQ(event_.watchArmed == 1, c.arms) << c.pose;
  }
  g_pose = 2;
  RotateNode(player_, 2, 180, TRANSFORM_LOCAL);  // the player faces the character
  event_.watchArmed = 0;
  Frame();
  EXPECT_EQ(event_.watchArmed, 0);
}

TEST_F(ChaseTest, TurningRoundEndsTheChaseUntilTheCharacterIsHome) {
  ASSERT_GT(FramesUntilChase(), 0);
  Stand(npc_, 0, -20);  // drawn away from home by the chase
  RotateNode(player_, 2, 180, TRANSFORM_LOCAL);
  Frame();
  EXPECT_EQ(event_.chasing, 0);
  EXPECT_EQ(event_.state, CNpcChaseEvent::kGoingHome);
  g_chaseEvent.switchedOn = 1;
  g_chaseEvent.state = event_.state;
  EXPECT_EQ(IsChaseEventChasing(), 1);
  g_chaseEvent.switchedOn = 0;
  EXPECT_EQ(IsChaseEventChasing(), 0) << "only where the event is switched on";
  Stand(npc_, 0, -3);
  Frame();
  EXPECT_EQ(event_.state, CNpcChaseEvent::kHome);
  EXPECT_EQ(event_.returning, 0);
  EXPECT_EQ(WorldPosition(npc_).y, 0.0f) << "back on its home matrix";
}

TEST_F(ChaseTest, ThreeCatchesUseUpTheAttempts) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    event_.Begin(npc_, player_, ground_, 0);
    ASSERT_GT(FramesUntilChase(), 0) << attempt;
    Stand(player_, 0, -5);
    Frame();
    EXPECT_EQ(event_.state, CNpcChaseEvent::kCaught);
    EXPECT_EQ(event_.stopped, 1);
    EXPECT_EQ(g_startedKind, 6);
    EXPECT_EQ(g_startedEvent, 100 + 1049);
    EXPECT_NEAR(WorldPosition(npc_).z, 600, 1e-3) << "lifted out of sight";
    EXPECT_EQ(event_.attempts, 3 - attempt);
    event_.RestoreNpc();
    Stand(player_, 0, -50);
  }
  event_.Begin(npc_, player_, ground_, 0);
  for (int i = 0; i < 200; ++i) Frame();
  EXPECT_EQ(event_.chasing, 0);
  EXPECT_EQ(event_.watchArmed, 0) << "idle for the rest of the run";
}

TEST_F(ChaseTest, AStoryCounterOfOneEndsTheWatch) {
  g_counter = 1;
  Frame();
  EXPECT_EQ(event_.result, 1);
  EXPECT_EQ(event_.watchArmed, 0);
}

TEST_F(ChaseTest, ProbeReachableStopsAtAGap) {
  const HOBJECT islands =
      MakeMesh({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {20, 0, 0}, {30, 0, 0}, {30, 10, 0}, {20, 10, 0}},
               {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}});
  const HOBJECT terrain = CreateTerrain(islands, 1, 1);
  SetNodePosition(npc_, 2, 5, 5, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(npc_, terrain, 0, 0), MOVE_DONE);
  EXPECT_EQ(ProbeReachable(npc_, terrain, {8, 5, 0}), 1);
  EXPECT_EQ(ProbeReachable(npc_, terrain, {25, 5, 0}), 0);
  const VECTOR3 p = WorldPosition(npc_);
  EXPECT_EQ(p.x, 2.0f) << "only the probe walks";
}

TEST_F(ChaseTest, StepNodeTowardsFacesTheTarget) {
  for (VECTOR3 target : {VECTOR3{30, 0, 0}, VECTOR3{-30, 10, 0}, VECTOR3{0, 40, 0}}) {
    Stand(npc_, 0, 0);
    EXPECT_EQ(StepNodeTowards(npc_, target, 1), 3);
    const VECTOR3 p = WorldPosition(npc_);
    const float length = std::hypot(target.x, target.y);
    EXPECT_NEAR(p.x, target.x / length, 1e-3) << target.x;
    EXPECT_NEAR(p.y, target.y / length, 1e-3) << target.y;
  }
  Stand(npc_, 5, 5);
  EXPECT_EQ(StepNodeTowards(npc_, {5.0004f, 4.9996f, 0}, CChasePath::kStep), 1);
}

}  // namespace
}  // namespace fieldtest
