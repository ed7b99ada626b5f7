#include "battle/battle_sys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "battle/battle_arena.h"
#include "battle/hero_states.h"
#include "battle/kbs_state.h"
#include "battle/tarnwick.h"
#include "platform/crt.h"
#include "tests/battle/battle_sys_fixture.h"
#include "tools/datagen/scene_file_writer.h"
#include "ui/qmz/sp_kernel.h"
#include "world/battle_scene.h"

namespace battletest {
namespace {

constexpr const char* kInvalidScene = "Invalid scene data!!! Game will crash";

float GroundDistance(const VECTOR3& a, const VECTOR3& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A state that only counts what reaches it.
class CountingState : public CKBSState {
 public:
  int Update(CBattleSys*, int) override { return ++updates; }
  int Input(CBattleSys*, int type, int, int) override {
    lastType = type;
    return ++inputs;
  }
  int updates = 0;
  int inputs = 0;
  int lastType = 0;
};

TEST_F(BattleSysTest, StartRefusesAndChangesNothing) {
  // A stage with an object but no terrain.
  datagen::SceneFileData bare;
  std::string error;
  ASSERT_TRUE(datagen::WriteSceneFile("BattleScene/bare.sb", bare, error)) << error;

  struct Case {
    const char* name;
    bool overlay;
    bool attach;
    const char* arena;
    bool box;
  };
  const Case cases[] = {
      {"no society", true, false, kArena, false},     {"no owner", false, true, kArena, false},
      {"empty scene name", true, true, "", false},    {"arena without terrain", true, true, "bare", true},
      {"arena missing", true, true, "nowhere", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = BoxesWith(kInvalidScene);
    Make(c.overlay ? &g_menuAgency : nullptr, c.attach);
    const HOBJECT view = society_.ViewCamera();
    EXPECT_EQ(sys_->Start(Desc({101, 102}, 3, c.arena), 0), 0);
    EXPECT_EQ(sys_->IsRunning(nullptr), 0);
    EXPECT_EQ(sys_->desc.battleId, 0);
    EXPECT_TRUE(sys_->desc.enemies.empty());
    EXPECT_EQ(sys_->desc.sceneName[0], 0);
    EXPECT_TRUE(sys_->spawnList.empty());
    EXPECT_EQ(sys_->scene, nullptr);
    EXPECT_EQ(sys_->hero, nullptr);
    EXPECT_EQ(sys_->enemyCount, 0);
    EXPECT_EQ(sys_->state, nullptr);
    EXPECT_EQ(society_.ViewCamera(), view);
    EXPECT_EQ(BoxesWith(kInvalidScene) - before, c.box ? 1 : 0);
    sys_.reset();
  }
}

TEST_F(BattleSysTest, ARunningBattleIsNotStartedAgain) {
  ASSERT_EQ(StartWith({101, 102}, 2), 1);
  CFMaster* hero = sys_->hero;
  EXPECT_EQ(sys_->Start(Desc({103}, 5), 0), 0);
  EXPECT_EQ(sys_->desc.battleId, 2);
  EXPECT_EQ(sys_->hero, hero);
  EXPECT_EQ(sys_->enemyCount, 2);
}

TEST_F(BattleSysTest, ArenaNamesWithAndWithoutTheirExtension) {
  Make();
  EXPECT_EQ(sys_->Start(Desc({101}, 0, "BA01.SB"), 0), 1) << "a map record's name as it stands";
  sys_->End();
  // A name that fills its field without an end is read within it.
  BATTLEDESC full = Desc({101});
  std::fill(std::begin(full.sceneName), std::end(full.sceneName), 'x');
  EXPECT_EQ(sys_->Start(full, 0), 0);
  EXPECT_EQ(BoxesWith(kInvalidScene), 1);
}

TEST_F(BattleSysTest, StartPlacesTheHeroAndTheFirstWave) {
  plat::Srand(5);
  ASSERT_EQ(StartWith({101, 102, 103, 101, 102}), 1);
  EXPECT_EQ(sys_->IsRunning(nullptr), 1);
  EXPECT_EQ(sys_->state, CSysState::Instance());
  EXPECT_EQ(sys_->phaseCode, PHASE_START);
  EXPECT_EQ(society_.ViewCamera(), 0u) << "the battle camera shows the arena";
  ASSERT_NE(sys_->hero, nullptr);
  EXPECT_EQ(sys_->hero->kind, CFightingMan::kFirstHero);
  const VECTOR3 hero = NodePosition(sys_->HeroBodyNode());
  EXPECT_NEAR(GroundDistance(hero, {0, 0, 0}), 0, 0.01f) << "at the arena's origin";
  const VECTOR3 facing = NodeForward(sys_->HeroBodyNode());
  EXPECT_NEAR(facing.y, -1, 0.01f);
  EXPECT_EQ(BoxesWith(kInvalidScene), 0);

  ASSERT_EQ(sys_->enemyCount, 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(sys_->enemies[i], nullptr);
    EXPECT_EQ(sys_->enemies[i]->soul->id, sys_->spawnList[static_cast<size_t>(i)].enemyId);
    const HOBJECT node = sys_->enemies[i]->body->Node();
    const VECTOR3 at = NodePosition(node);
    const float r = GroundDistance(at, hero);
    EXPECT_GE(r, 150 - 0.01f);
    EXPECT_LE(r, 250 + 0.01f);
    const VECTOR3 f = NodeForward(node);
    EXPECT_GT((f.x * (hero.x - at.x) + f.y * (hero.y - at.y)) / r, 0.99f) << "facing the hero";
    if (i > 0) {
      EXPECT_GE(GroundDistance(at, NodePosition(sys_->enemies[i - 1]->body->Node())), 60 - 0.01f);
    }
  }
}

TEST_F(BattleSysTest, ScriptPlacesTheFirstEnemy) {
  const int v = (120 << 16) | 40;
  WriteScript({{}, {{4, 101, 0x20005, v}}, {}});
  ASSERT_EQ(StartWith({101, 102}, 4), 1);
  const VECTOR3 first = NodePosition(sys_->enemies[0]->body->Node());
  EXPECT_NEAR(first.x, 120, 0.01f);
  EXPECT_NEAR(first.y, 40, 0.01f);
  const VECTOR3 f = NodeForward(sys_->enemies[0]->body->Node());
  EXPECT_NEAR(f.x, -120 / std::hypot(120.0f, 40.0f), 0.01f) << "towards the hero";
  EXPECT_NEAR(f.y, -40 / std::hypot(120.0f, 40.0f), 0.01f);
}

TEST_F(BattleSysTest, SevenEnemiesComeInWavesOfFiveAndTwo) {
  ASSERT_EQ(StartWith({101, 101, 101, 101, 101, 102, 103}), 1);
  EXPECT_EQ(sys_->enemyCount, 5);
  EXPECT_EQ(sys_->spawnCursor, 5u);
  for (int i = 0; i < 5; ++i) sys_->enemies[i]->flags |= CFightingMan::kDown;

  // The second wave stands where the arena puts it, around the hero.
  const VECTOR3 hero = NodePosition(sys_->HeroBodyNode());
  VECTOR3 points[2];
  VECTOR3 directions[2];
  ASSERT_EQ(sys_->arena->PickPoints(hero, 100, 50, 100, 2, points, directions), 1);
  ASSERT_EQ(sys_->NextWave(), 1);
  EXPECT_EQ(sys_->state, CMVekState::Instance()) << "back to the hero's turn";
  ASSERT_EQ(sys_->enemyCount, 2);
  EXPECT_EQ(sys_->enemies[2], nullptr);
  for (int i = 0; i < 2; ++i) {
    const VECTOR3 at = NodePosition(sys_->enemies[i]->body->Node());
    EXPECT_NEAR(GroundDistance(at, points[i]), 0, 0.01f);
  }
  EXPECT_EQ(sys_->enemies[1]->soul->id, 103);
  EXPECT_EQ(sys_->NextWave(), 0) << "the last wave was the last";
  EXPECT_EQ(sys_->enemyCount, 0);

  sys_.reset();
  ASSERT_EQ(StartWith({101, 102, 103, 101, 102}), 1);
  EXPECT_EQ(sys_->enemyCount, 5);
  EXPECT_EQ(sys_->NextWave(), 0) << "five or fewer: one wave";
}

TEST_F(BattleSysTest, WaveOutcomesAreRecordedPerSpawnEntry) {
  ASSERT_EQ(StartWith({101, 101, 101, 101, 101}), 1);
  const int flags[] = {0x1000 | CFightingMan::kDown, CFightingMan::kDown, CFightingMan::kParalysed, 0x8000, 0};
  const int outcomes[] = {0xB000, 2, 512, 0xB000, 0};
  for (int i = 0; i < 5; ++i) sys_->enemies[i]->flags = flags[i];
  EXPECT_EQ(sys_->CountEnemies(2), 2);
  EXPECT_EQ(sys_->CountEnemies(1), 3);
  EXPECT_EQ(sys_->CountEnemies(0), 0);
  EXPECT_EQ(sys_->NextWave(), 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(sys_->spawnList[static_cast<size_t>(i)].outcome, outcomes[i]) << i;
}

TEST_F(BattleSysTest, TooFewPlacesShowTheBoxAndStillPlaceEveryone) {
  // A floor of one 100-unit square: no place 150 out, outline edges too short.
  datagen::SceneFileData small;
  datagen::SceneObjectData floor;
  floor.name = "terrain";
  floor.kind = 1;
  floor.parts.resize(1);
  for (const auto& p : {std::array<float, 2>{-50, -50}, {50, -50}, {50, 50}, {-50, 50}}) {
    datagen::SceneVertexData v;
    v.position = {p[0], p[1], 0};
    floor.vertices.push_back(v);
  }
  floor.triangles = {{0, 0, 1, 2}, {0, 0, 2, 3}};
  small.objects = {floor};
  std::string error;
  ASSERT_TRUE(datagen::WriteSceneFile("BattleScene/small.sb", small, error)) << error;

  Make();
  ASSERT_EQ(sys_->Start(Desc({101, 101, 101, 101, 101, 102, 103}, 0, "small"), 0), 1);
  EXPECT_EQ(BoxesWith(kInvalidScene), 1);
  for (int wave : {5, 2}) {
    SCOPED_TRACE(wave);
    ASSERT_EQ(sys_->enemyCount, wave);
    std::vector<VECTOR3> places;
    for (int i = 0; i < wave; ++i) {
      const VECTOR3 at = NodePosition(sys_->enemies[i]->body->Node());
      EXPECT_NEAR(std::hypot(at.x, at.y), 200, 0.5f) << "on the ring";
      for (const VECTOR3& other : places) EXPECT_GT(GroundDistance(at, other), 100) << "spread around it";
      places.push_back(at);
      sys_->enemies[i]->flags |= CFightingMan::kDown;
    }
    sys_->NextWave();
  }
  EXPECT_EQ(BoxesWith(kInvalidScene), 2) << "once for each wave";
}

TEST_F(BattleSysTest, TheSceneAdvancesOnEveryDividerthUpdate) {
  ASSERT_EQ(StartWith({101}), 1);
  CBattleSys::updateCounter = 0;
  sys_->updateDivider = 6;
  std::vector<int> advanced;
  for (int call = 1; call <= 12; ++call) {
    sys_->Update(1);
    if (CBattleSys::updateCounter == 0) advanced.push_back(call);
  }
  EXPECT_EQ(advanced, (std::vector<int>{6, 12}));

  // The divider drops from 10 to 1 with the count at 4: the next call advances.
  sys_->updateDivider = 10;
  for (int call = 0; call < 4; ++call) sys_->Update(1);
  EXPECT_EQ(CBattleSys::updateCounter, 4);
  sys_->updateDivider = 1;
  for (int call = 0; call < 3; ++call) {
    sys_->Update(1);
    EXPECT_EQ(CBattleSys::updateCounter, 0) << "keeps advancing";
  }

  sys_->sceneFrozen = 1;
  EXPECT_EQ(sys_->Update(1), 0);
}

TEST_F(BattleSysTest, InputWhilePausedReachesOnlyTheSpriteWindows) {
  ASSERT_EQ(StartWith({101}), 1);
  CountingState spy;
  sys_->SetState(&spy, 201);
  CBattleSys::OnInput(20, 100 | 90 << 16, 0, 0);
  EXPECT_EQ(spy.inputs, 1);
  EXPECT_EQ(spy.lastType, 20);

  ASSERT_EQ(sys_->Pause(), 1);
  EXPECT_EQ(sys_->paused, 1);
  EXPECT_EQ(sys_->hero->frozen, 1);
  EXPECT_EQ(sys_->enemies[0]->frozen, 1);
  EXPECT_EQ(sys_->sceneFrozen, 1);
  CBattleSys::OnInput(16, 200 | 150 << 16, 0, 0);
  CBattleSys::OnInput(21, 210 | 160 << 16, 0, 0);
  EXPECT_EQ(qmz::g_spKernel.MouseX(), 210);
  EXPECT_EQ(qmz::g_spKernel.MouseY(), 160);
  EXPECT_EQ(spy.inputs, 1) << "the state hears nothing while paused";
  EXPECT_EQ(sys_->TickState(1), 0);
  EXPECT_EQ(spy.updates, 0);

  sys_->savedPhaseCode = 231;
  ASSERT_EQ(sys_->Resume(), 1);
  EXPECT_EQ(sys_->phaseCode, 231);
  EXPECT_EQ(sys_->hero->frozen, 0);
  EXPECT_EQ(sys_->sceneFrozen, 0);
  EXPECT_EQ(Camera()->cameraMode, CBattleCamera::MODE_ORBIT);
  CBattleSys::OnInput(17, 0, 0, 0);
  EXPECT_EQ(spy.inputs, 2);
  EXPECT_EQ(sys_->TickState(1), 1);
  EXPECT_EQ(spy.updates, 1);
}

TEST_F(BattleSysTest, ControllerCameraShotAndItsEnd) {
  ASSERT_EQ(StartWith({101}), 1);
  sys_->phaseCode = 201;
  const float matrix[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
  sys_->PlayControllerCamera({0, -100, 50}, {0, 1, 0}, matrix);
  EXPECT_EQ(sys_->phaseCode, 320);
  EXPECT_EQ(sys_->savedPhaseCode, 201);
  EXPECT_EQ(sys_->updateDivider, 10);
  EXPECT_EQ(Camera()->cameraMode, CBattleCamera::MODE_CONTROLLER);
  EXPECT_EQ(Camera()->controllerMatrix[9], 5);

  sys_->EndControllerCamera();
  EXPECT_EQ(sys_->phaseCode, 201);
  EXPECT_EQ(sys_->updateDivider, 1);
  EXPECT_EQ(Camera()->cameraMode, CBattleCamera::MODE_ORBIT);

  // A hold keeps the code to come back to, once.
  sys_->HoldState(0);
  EXPECT_EQ(sys_->phaseCode, 240);
  EXPECT_EQ(sys_->savedPhaseCode, 201);
  sys_->HoldState(777);
  EXPECT_EQ(sys_->savedPhaseCode, 201) << "already held";
}

TEST_F(BattleSysTest, EndGivesEverythingBack) {
  const HOBJECT view = CreateDummyNode(0, nullptr);
  society_.SetViewCamera(view);
  ASSERT_EQ(StartWith({101, 102}), 1);
  EXPECT_EQ(sys_->savedViewCamera, view);
  ASSERT_EQ(sys_->End(), 1);
  EXPECT_EQ(sys_->End(), 0) << "nothing runs any more";
  EXPECT_EQ(society_.ViewCamera(), view);
  EXPECT_EQ(sys_->hero, nullptr);
  EXPECT_EQ(sys_->enemyCount, 0);
  EXPECT_EQ(sys_->scene, nullptr);
  EXPECT_EQ(sys_->state, nullptr);
  EXPECT_EQ(sys_->music, nullptr);
  EXPECT_TRUE(sys_->arena->Edges().empty());

  // ForceWin ends a running battle as won.
  ASSERT_EQ(StartWith({101}), 1);
  EXPECT_EQ(sys_->ForceWin(), 1);
  EXPECT_EQ(sys_->IsRunning(nullptr), 0);
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(sys_->ForceWin(), 0);
}

}  // namespace
}  // namespace battletest
