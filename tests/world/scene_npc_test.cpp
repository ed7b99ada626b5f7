#include "world/scene_npc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "components/mix_creature.h"
#include "components/society.h"
#include "database/scene_records.h"
#include "engine/core/node_transforms.h"
#include "tests/world/live_scene_fixture.h"

namespace {

using namespace datagen;
using worldtest::Ground;
using worldtest::LiveSceneTest;
using worldtest::Person;

using SceneNpcTest = LiveSceneTest;

// A routine of three waypoints 10 frames apart, followed frame by frame.
ScenePersonData Walker(uint8_t repeat, int16_t plays) {
  ScenePersonData p = Person("Bram", {0, 0, 0});
  p.flags = 0x1;
  SceneAnimData a;
  a.mode = 1;
  a.repeat = repeat;
  a.plays = plays;
  a.positionKeys = {{0, {0, 0, 0}}, {10, {0, 50, 0}}, {20, {50, 50, 0}}};
  p.routine = a;
  return p;
}

TEST_F(SceneNpcTest, PeopleStandOnTheTerrainFacingTheirDirectionAndShareTheirModel) {
  SceneFileData s;
  ScenePersonData mira = Person("mira", {10, 20, 50});
  mira.direction = {0, 0, 0};
  ScenePersonData bram = Person("Bram", {-30, 0, 0});
  bram.direction = {1, 0, 0};
  s.people = {mira, bram, Person("Zed", {0, 0, 0})};
  s.objects = {Ground(500)};
  CSceneContent& c = Content(s);
  ASSERT_EQ(c.people.size(), 3u);
  CSceneNpc& first = *c.people[0];
  ASSERT_NE(first.creature, nullptr);
  EXPECT_EQ(data_->people[0].npcId, 1) << "matched without regard to case";
  EXPECT_TRUE(first.flags & NPC_ON_TERRAIN);
  EXPECT_FLOAT_EQ(first.position.z, 0) << "dropped onto the ground";
  VECTOR3 forward{};
  GetNodeWorldVectors(first.node, nullptr, &forward, nullptr);
  EXPECT_NEAR(forward.x, 0, 1e-5);
  EXPECT_NEAR(forward.y, 1, 1e-5) << "no direction faces +y";
  GetNodeWorldVectors(c.people[1]->node, nullptr, &forward, nullptr);
  EXPECT_NEAR(forward.x, 1, 1e-5);

  CSceneNpc& second = *c.people[1];
  ASSERT_NE(second.creature, nullptr);
  EXPECT_EQ(second.creature->modelData, first.creature->modelData) << "one model, a shared clone";
  EXPECT_NE(second.node, first.node);
  EXPECT_EQ(first.creature->SharedCount(), 1);

  CSceneNpc& stranger = *c.people[2];
  EXPECT_EQ(stranger.creature, nullptr) << "no NPC record, no creature";
  EXPECT_EQ(data_->people[2].npcId, 0);
  c.Update(1);
  c.ShowNpc(0, 1);
  c.ShowNpcs(1);
}

TEST_F(SceneNpcTest, AMissingModelLeavesThePersonOut) {
  WriteResource({{'k', "ghost", 0, "Mira", 1}}, {"a004.SB"});
  SceneFileData s;
  s.people = {Person("Mira", {0, 0, 0})};
  CSceneContent& c = Content(s);
  EXPECT_NE(c.people[0]->npc, nullptr);
  EXPECT_EQ(c.people[0]->creature, nullptr);
  c.Update(1);
}

TEST_F(SceneNpcTest, RoutinesWalkTheirWaypointsAndStop) {
  struct Case {
    uint8_t repeat;
    int16_t plays;
    VECTOR3 end;
    bool reachedLast;
    uint8_t direction;
  };
  const Case cases[] = {{0, 1, {50, 50, 0}, true, 1}, {1, 2, {0, 0, 0}, true, 0}, {1, 1, {50, 50, 0}, true, 1}};
  for (const Case& k : cases) {
    SceneFileData s;
    s.people = {Walker(k.repeat, k.plays)};
    s.objects = {Ground(500)};
    CSceneContent& c = Content(s);
    CSceneNpc& npc = *c.people[0];
    bool reachedLast = false;
    int ticks = 0;
    while (npc.state != NPCR_FINISHED && ticks < 500) {
      c.Update(1);
      reachedLast |= std::fabs(npc.position.x - 50) < 1e-3 && std::fabs(npc.position.y - 50) < 1e-3;
      ++ticks;
    }
    EXPECT_EQ(npc.state, NPCR_FINISHED) << int(k.repeat) << " " << k.plays;
    EXPECT_LT(ticks, 80);
    EXPECT_EQ(reachedLast, k.reachedLast);
    EXPECT_NEAR(npc.position.x, k.end.x, 1e-3) << int(k.repeat) << " " << k.plays;
    EXPECT_NEAR(npc.position.y, k.end.y, 1e-3) << int(k.repeat) << " " << k.plays;
    EXPECT_EQ(npc.pose, 0) << "idle once finished";
    EXPECT_EQ(npc.direction, k.direction);
    EXPECT_GE(npc.waypoint, 0);
    EXPECT_LT(npc.waypoint, 3);
    const VECTOR3 at = npc.position;
    for (int i = 0; i < 20; ++i) c.Update(1);
    EXPECT_FLOAT_EQ(npc.position.x, at.x) << "a finished routine stays";
  }
}

TEST_F(SceneNpcTest, PeopleWithoutFollowKeyWalkToTheirWaypointsOnTheirOwnStride) {
  SceneFileData s;
  ScenePersonData p = Walker(0, 1);
  p.flags = 0;
  s.people = {p};
  s.objects = {Ground(500)};
  CSceneContent& c = Content(s);
  CSceneNpc& npc = *c.people[0];
  EXPECT_FALSE(npc.flags & NPC_FOLLOWS_KEYS);
  EXPECT_EQ(npc.creature->rootMotion, 1);
  for (int i = 0; i < 200 && npc.state != NPCR_FINISHED; ++i) c.Update(1);
  EXPECT_EQ(npc.state, NPCR_FINISHED);
  EXPECT_EQ(npc.waypoint, 2);
  EXPECT_NEAR(npc.position.x, 50, 5);
  EXPECT_NEAR(npc.position.y, 50, 5);
}

TEST_F(SceneNpcTest, AOnceRoutineWithPlaysLeftStartsAgainFromItsFirstWaypoint) {
  SceneFileData s;
  s.people = {Walker(0, 2)};
  s.objects = {Ground(500)};
  CSceneContent& c = Content(s);
  CSceneNpc& npc = *c.people[0];
  int restarts = 0;
  for (int i = 0; i < 200 && npc.state != NPCR_FINISHED; ++i) {
    const int before = npc.counter;
    c.Update(1);
    if (npc.counter < before && npc.state != NPCR_FINISHED) ++restarts;
    ASSERT_GE(npc.waypoint, -1);
    ASSERT_LT(npc.waypoint, 3);
  }
  EXPECT_EQ(npc.state, NPCR_FINISHED);
  EXPECT_EQ(restarts, 1);
  EXPECT_NEAR(npc.position.x, 50, 1e-3);
}

TEST_F(SceneNpcTest, APausedRoutineAnimatesInPlaceAndAHoldingHookSkipsTheFrame) {
  SceneFileData s;
  s.people = {Walker(1, 5)};
  s.objects = {Ground(500)};
  CSceneContent& c = Content(s);
  CSceneNpc& npc = *c.people[0];
  for (int i = 0; i < 4; ++i) c.Update(1);
  npc.PauseRoutine();
  EXPECT_TRUE(npc.IsPaused());
  const VECTOR3 at = npc.position;
  const int frame = npc.creature->currentFrame;
  c.Update(1);
  EXPECT_NE(npc.creature->currentFrame, frame) << "the creature still animates";
  EXPECT_FLOAT_EQ(npc.position.y, at.y) << "but does not move";
  npc.ResumeRoutine();
  EXPECT_FALSE(npc.IsPaused());

  ASSERT_EQ(npc.pose, 1);
  static int calls = 0;
  npc.positionHook = [](const VECTOR3*) { return ++calls, -2; };
  const int held = npc.creature->currentFrame;
  c.Update(1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(npc.creature->currentFrame, held) << "skipped that frame";
  EXPECT_FLOAT_EQ(npc.position.y, at.y);
  npc.positionHook = [](const VECTOR3*) { return 0; };
  c.Update(1);
  EXPECT_GT(npc.position.y, at.y);
}

TEST_F(SceneNpcTest, HiddenPeopleAndShowingByNpcId) {
  SceneFileData s;
  ScenePersonData mira = Person("Mira", {0, 0, 0});
  mira.flags = 0x8000;
  s.people = {mira, Person("Bram", {30, 0, 0})};
  CSceneContent& c = Content(s);
  CSceneNpc& hidden = *c.people[0];
  EXPECT_TRUE(hidden.flags & NPC_HIDDEN);
  EXPECT_FALSE(hidden.creature->shown);
  c.ShowNpcs(1);
  EXPECT_FALSE(hidden.creature->shown) << "only active people";
  EXPECT_TRUE(c.people[1]->creature->shown);
  c.ShowNpc(1, 1);
  EXPECT_FALSE(hidden.flags & NPC_HIDDEN);
  EXPECT_TRUE(hidden.creature->shown);
  c.ShowNpc(2, 0);
  EXPECT_TRUE(c.people[1]->flags & NPC_HIDDEN);
  EXPECT_FALSE(c.people[1]->creature->shown);
}

TEST_F(SceneNpcTest, IdlePeoplePlayAOneShotPoseNowAndThen) {
  SceneFileData s;
  ScenePersonData mira = Person("Mira", {0, 0, 0});
  mira.routine = SceneAnimData{};  // no key track, start mode 3
  s.people = {mira};
  CSceneContent& c = Content(s);
  CSceneNpc& npc = *c.people[0];
  bool oneShot = false;
  for (int i = 0; i < 2000 && !oneShot; ++i) {
    c.Update(1);
    oneShot = npc.pose == 2 || npc.pose == 3;
  }
  EXPECT_TRUE(oneShot);
  for (int i = 0; i < 40 && npc.pose != 0; ++i) c.Update(1);
  EXPECT_EQ(npc.pose, 0) << "back to idle once the pose has played";
}

}  // namespace
