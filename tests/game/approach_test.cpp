// Characters reached in the field: the close-up of the examined ones, the
// chaser of map 14 and the talk of a character's group.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/map_special_events.h"
#include "game/pick_manager.h"
#include "platform/files.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world_swordsman.h"
#include "world/chase_event.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace gametest {
namespace {

// The event base puts the chaser's events 1031 and 1036 at table indices 0
// and 5; talk group 1 (Mira's) holds event 6 alone.
constexpr int16_t kEventBase = -1030;
constexpr int kPoorCatchEvent = 0;
constexpr int kPaidCatchEvent = 5;
constexpr int kMiraTalkEvent = 6;

class ApproachTest : public GameTest {
 protected:
  enum { kMira, kEye, kJay, kChaser, kPeople };

  void SetUp() override {
    datagen::GameResourceData data;
    data.npcs = {{'k', "npc", 0, "mira", 1},
                 {'i', "npc", 0, "eye", 3},
                 {'j', "npc", 0, "jay", 4},
                 {'k', "npc", 0, "chaser", 251}};
    data.numbers28[2] = static_cast<uint8_t>(kEventBase & 0xFF);
    data.numbers28[3] = static_cast<uint8_t>((kEventBase >> 8) & 0xFF);
    data.numbers29[0] = kMiraTalkEvent;  // where group 1 starts
    datagen::ResourceSectionData groupEnds;
    groupEnds.kind = 32;
    groupEnds.data = {kMiraTalkEvent + 1, 0};
    data.raw.push_back(groupEnds);
    for (int i = 0; i < kMiraTalkEvent; ++i) data.events.push_back({"e", 0, 0, 0, 0});
    data.events.push_back({"e", 0, 1, 0, 0});  // Mira's talk runs once
    data.actions = {{1, 0, 1}};
    std::string error;
    ASSERT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
    plat::CreateDirectories("creature");
    plat::ByteWriter model;
    ASSERT_TRUE(datagen::WriteCreatureBinary(datagen::WalkerModel("npc"), model, error)) << error;
    ASSERT_TRUE(plat::WriteFileAtomic("creature/npc.MCB", model.Bytes().data(), model.Bytes().size()));
    ASSERT_EQ(Start(), 1);

    ChaseEventStaticInit();
    Game().scene = new MScene("none.sb", Game().gameResource);
    CSceneContent& content = *Game().scene->content;
    const char* names[kPeople] = {"mira", "eye", "jay", "chaser"};
    persons_.resize(kPeople);
    for (int i = 0; i < kPeople; ++i) {
      persons_[i].name = names[i];
      persons_[i].position = {40.0f * static_cast<float>(i), 200, 0};
      content.people.push_back(std::make_unique<CSceneNpc>(persons_[i], *Game().gameResource, 0, i, content.people));
      ASSERT_NE(content.people.back()->node, 0u) << names[i];
    }
    Game().hero = 1;
    Game().state = GS_FIELD;
  }
  void TearDown() override {
    delete Game().scene;
    ChaseEventStaticInit();
  }

  CSceneNpc& Person(int i) { return *Game().scene->content->people[static_cast<size_t>(i)]; }
  CEventRunner& Runner() { return *Game().events; }
  int Runs(int event) { return Runner().Event(event)->runCount; }
  // The walker 20 units from a character who talks on approach.
  void StandCloseTo(int who) {
    Game().npcsK = {who};
    Game().npcVolumes.assign(kPeople, ObjBoundVolume{});
    for (ObjBoundVolume* v : {&Game().walkerVolume, &Game().npcVolumes[static_cast<size_t>(who)]}) v->radius = 10;
    Game().npcVolumes[static_cast<size_t>(who)].centre[1] = 40;
    Person(who).flags = CF_WITHIN;
  }

  std::vector<SCENEPERSONDESC> persons_;
};

VECTOR3 NodePosition(HOBJECT node) {
  VECTOR3 p{0, 0, 0};
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  return p;
}

TEST_F(ApproachTest, ExaminedCharactersBringTheCameraCloseAndHoldTheirTriggerGroup) {
  CGameCamera& camera = *Game().scene->camera;
  VECTOR3 arrived[2];
  for (const int who : {kEye, kJay}) {
    SCOPED_TRACE(who);
    Game().state = GS_FIELD;
    Game().pick->closeUpActive = 0;
    camera.mouseLookLocked = 0;
    ASSERT_EQ(Game().ApproachTarget(who, 1), 1);
    EXPECT_EQ(Game().state, GS_CLOSEUP_IN);
    EXPECT_EQ(Game().returnState, GS_CLOSEUP);
    EXPECT_EQ(Game().pick->closeUpActive, 1);
    EXPECT_EQ(Game().pick->closeUpGroup, Person(who).npc->Role());
    EXPECT_EQ(camera.mouseLookLocked, 1);
    for (int tick = 0; tick < 60 && Game().state == GS_CLOSEUP_IN; ++tick) Game().Tick(1);
    ASSERT_EQ(Game().state, GS_CLOSEUP);
    VECTOR3 centre{0, 0, 0};
    GetNodeWorldBox(Person(who).node, &centre, nullptr, nullptr);
    const VECTOR3 eye = NodePosition(camera.node);
    EXPECT_NEAR(std::hypot(eye.x - centre.x, eye.y - centre.y, eye.z - centre.z), 50, 0.01) << "50 before it";
    arrived[who == kJay] = {eye.x - centre.x, eye.y - centre.y, eye.z - centre.z};
  }
  EXPECT_GT(std::hypot(arrived[0].x - arrived[1].x, arrived[0].y - arrived[1].y), 10) << "'j' from another side";
}

TEST_F(ApproachTest, Map14BindsTheChaserAndChasesOnlyTheFirstHero) {
  CSceneContent& content = *Game().scene->content;
  content.ShowNpc(Person(kChaser).person.npcId, 0);
  ASSERT_TRUE(Person(kChaser).flags & CF_HIDDEN);

  UpdateMapSpecialEvents(14, 0);
  EXPECT_EQ(g_chaseEvent.npcIndex, kChaser);
  EXPECT_EQ(g_chaseEvent.npcNode, Person(kChaser).node);
  EXPECT_FALSE(Person(kChaser).flags & CF_HIDDEN) << "shown";
  EXPECT_EQ(g_chaseEvent.switchedOn, 1);
  ASSERT_NE(g_fieldFrameHook, nullptr);
  ASSERT_NE(g_fieldPauseHook, nullptr);
  g_chaseEvent.watchTimer.Set(150, CCountdownTimer::kOnce);
  g_fieldPauseHook(1);
  EXPECT_EQ(g_chaseEvent.watchTimer.IsPaused(), 1);
  g_fieldPauseHook(0);
  EXPECT_EQ(g_chaseEvent.watchTimer.IsPaused(), 0);
  g_fieldFrameHook(1);

  UpdateMapSpecialEvents(14, 1);
  EXPECT_EQ(g_fieldFrameHook, nullptr);
  EXPECT_EQ(g_fieldPauseHook, nullptr);
  EXPECT_EQ(g_chaseEvent.switchedOn, 0);

  Game().hero = 2;
  g_chaseEvent.npcIndex = -1;
  UpdateMapSpecialEvents(14, 0);
  EXPECT_EQ(g_chaseEvent.npcIndex, kChaser) << "bound all the same";
  EXPECT_EQ(g_chaseEvent.switchedOn, 0);
  EXPECT_EQ(g_fieldFrameHook, nullptr);
}

TEST_F(ApproachTest, TheChaseAsksTheGameThroughTheServicesItInstalled) {
  // SetUp remade the event after the game's start: it keeps the game's services.
  const ChaseEventServices& services = g_chaseEvent.services;
  ASSERT_TRUE(services.walkerPose && services.storyCounter && services.startEvent && services.eventBase &&
              services.content);
  EXPECT_EQ(services.content(), Game().scene->content.get());
  EXPECT_EQ(services.eventBase(), kEventBase);
  Runner().Event(kMiraTalkEvent)->runCount = 3;
  EXPECT_EQ(services.storyCounter(kMiraTalkEvent + 1 - Runner().EventBase()), 3);
  EXPECT_EQ(g_chaseEvent.CheckWalkerPose(), 0) << "no walker";
  Game().walker = new CFieldWalker(&g_gameDataBase);
  for (const int pose : {0, 2, 11, 13}) {
    Game().walker->action = pose;
    EXPECT_EQ(services.walkerPose(), pose);
  }

  CGame* const game = g_game;
  g_game = nullptr;
  EXPECT_EQ(services.content(), nullptr);
  EXPECT_EQ(services.walkerPose(), -1);
  EXPECT_EQ(services.storyCounter(1), 0);
  EXPECT_EQ(services.eventBase(), 0);
  services.startEvent(6, 1);
  g_game = game;
}

TEST_F(ApproachTest, TheChaserCaughtOnItsWayHomeStartsTheEventTheMoneyChooses) {
  struct Case {
    int money;
    int event;
  } const cases[] = {{499, kPoorCatchEvent}, {500, kPaidCatchEvent}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.money);
    Runner().Reset();
    Game().state = GS_FIELD;
    g_gameDataBase.party.SetMoney(c.money);
    g_chaseEvent.switchedOn = 1;
    g_chaseEvent.state = CNpcChaseEvent::kGoingHome;
    g_chaseEvent.stopped = 0;
    ASSERT_EQ(IsChaseEventChasing(), 1);
    EXPECT_EQ(Game().ApproachTarget(kChaser, 0), 1);
    EXPECT_EQ(Runs(c.event), 1);
    EXPECT_EQ(Runs(kPoorCatchEvent) + Runs(kPaidCatchEvent), 1);
    EXPECT_EQ(g_chaseEvent.stopped, 1);
    EXPECT_EQ(IsChaseEventChasing(), 0);
  }

  Runner().Reset();
  Game().state = GS_FIELD;
  ASSERT_EQ(IsChaseEventChasing(), 0);
  EXPECT_EQ(Game().ApproachTarget(kChaser, 0), 1);
  EXPECT_EQ(Game().state, GS_APPROACH_NPC) << "at home it is talked to";
  EXPECT_EQ(Runs(kPoorCatchEvent) + Runs(kPaidCatchEvent), 0);
}

TEST_F(ApproachTest, AnApproachTalksWithThePickedCharactersGroup) {
  Game().state = GS_APPROACH_NPC;
  Game().pick->target = kMira;
  Game().StartApproachEvent(0);
  EXPECT_EQ(Game().state, GS_TALK);
  EXPECT_EQ(Runner().approachRunning, 1);
  EXPECT_EQ(Runs(kMiraTalkEvent), 1);

  Runner().Reset();
  Game().state = GS_APPROACH_NPC;
  Game().pick->target = -2;
  Game().StartApproachEvent(0);
  EXPECT_EQ(Game().state, GS_SETTLE) << "nothing picked: nothing to say";
  EXPECT_TRUE(traces_.Contains("Talk group 0"));

  Game().pick->target = kEye;
  Game().StartApproachEvent(1);
  EXPECT_EQ(Game().pick->target, -1);
  EXPECT_EQ(Game().state, GS_TALK);
  EXPECT_EQ(Runs(kMiraTalkEvent), 1);
}

TEST_F(ApproachTest, ACharacterWhoseEventsAreSpentLetsTheWalkerPass) {
  // The walker stands close to Mira, who talks on approach.
  StandCloseTo(kMira);

  EXPECT_EQ(Game().pick->Scan(), 1);
  EXPECT_EQ(Game().state, GS_APPROACH_NPC);
  Game().StartApproachEvent(0);
  EXPECT_EQ(Game().state, GS_TALK);
  EXPECT_EQ(Runs(kMiraTalkEvent), 1);

  Game().state = GS_FIELD;
  EXPECT_EQ(Game().FindApproachEvent(1), CGame::kApproachEventsSpent);
  EXPECT_EQ(Game().pick->Scan(), 0) << "her one talk is spent";
  EXPECT_EQ(Game().state, GS_FIELD);
  EXPECT_EQ(Game().FindApproachEvent(2), CGame::kNoApproachEvents);
}

TEST_F(ApproachTest, ACharacterWithNothingToStartLetsTheWalkerPass) {
  // The chaser talks on approach but its group holds no event: only caught
  // on its way home does reaching it start anything.
  StandCloseTo(kChaser);
  ASSERT_EQ(Game().FindApproachEvent(Person(kChaser).npc->Role()), CGame::kNoApproachEvents);

  struct Case {
    int chasing;
    int approaches;
  } const cases[] = {{0, 0}, {1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chasing);
    Runner().Reset();
    Game().state = GS_FIELD;
    g_chaseEvent.switchedOn = c.chasing;
    g_chaseEvent.state = CNpcChaseEvent::kGoingHome;
    g_chaseEvent.stopped = 0;
    EXPECT_EQ(Game().pick->Scan(), c.approaches);
    EXPECT_EQ(Runs(kPoorCatchEvent) + Runs(kPaidCatchEvent), c.approaches);
    EXPECT_EQ(Game().state == GS_FIELD, !c.approaches);
  }
}

}  // namespace
}  // namespace gametest
