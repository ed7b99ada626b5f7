// The field walker and the hero forms.
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "base/game_audio.h"
#include "components/sword_man.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "game/encounter_table.h"
#include "game/field_walker.h"
#include "game/pick_manager.h"
#include "platform/crt.h"
#include "platform/files.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/sample_world_swordsman.h"
#include "tools/datagen/wave_writer.h"
#include "ui/screen_manager.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_npc.h"

namespace gametest {
namespace {

constexpr float kStep = 4.345f;

// A flat square of ground from -half to half at height 0, as a terrain.
HOBJECT MakeGround(float half) {
  std::vector<MESHVERTEX> corners(4);
  const float xy[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
  for (int i = 0; i < 4; ++i) corners[i].x = xy[i][0], corners[i].y = xy[i][1], corners[i].nz = 1;
  const std::vector<MESHPRIM> words = {PRIM_TRIANGLE, 0, 0, 0, 1, 2, PRIM_TRIANGLE, 0, 0, 0, 2, 3};
  BeginNode(NODE_MESH);
  AppendMeshData(0, corners.data(), 4, words.data(), static_cast<int>(words.size()), 2, 1);
  return CreateTerrain(EndNode(0), 1, 1);
}

CGDMainManSoul Hero(int id, int speed) {
  CGDMainManSoul hero;
  hero.id = id;
  hero.attributes = {{43, speed, 0}};
  return hero;
}

class WalkerTest : public GameTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), 1);
    plat::CreateDirectories("creature");
    plat::CreateDirectories("waves");
    for (int form = 1; form <= 9; ++form) {
      char name[16];
      std::snprintf(name, sizeof name, "Walk%02d", form);
      plat::ByteWriter out;
      std::string error;
      ASSERT_TRUE(datagen::WriteCreatureBinary(datagen::WalkerModel(name), out, error)) << error;
      ASSERT_TRUE(
          plat::WriteFileAtomic(std::string("creature/") + name + ".MCB", out.Bytes().data(), out.Bytes().size()));
    }
    g_gameDataBase.heroes = {Hero(1, 0), Hero(2, 0), Hero(3, 0), Hero(4, 0)};
    g_gameDataBase.party.members.clear();
    Game().scene = new MScene("none.sb", nullptr);
    sceneCamera_ = Game().scene->camera;
    Game().scene->camera = &camera_;
    ground_ = MakeGround(1000);
    Game().hero = 1;
    Game().state = GS_FIELD;
    Game().SetupWalker();
    ASSERT_NE(Walker().creature, nullptr);
    Place({0, 0, 0}, {0, 1, 0});
  }
  void TearDown() override {
    Game().scene->camera = sceneCamera_;  // the scene deletes its own
    g_gameDataBase.heroes.clear();
    g_gameDataBase.party.members.clear();
  }

  CFieldWalker& Walker() { return *Game().walker; }

  void Place(VECTOR3 position, VECTOR3 facing) { Game().PlaceWalker(&position, &facing, ground_); }

  VECTOR3 Position() {
    VECTOR3 p{0, 0, 0};
    Walker().GetPosition(&p, nullptr);
    return p;
  }

  // The walker's creature through one society tick, then one walker step.
  int Tick(int mask) {
    Walker().creature->Update(1);
    Walker().creature->PostUpdate(1);
    return Walker().Step(mask, 1);
  }

  CGameCamera camera_;
  CGameCamera* sceneCamera_ = nullptr;
  HOBJECT ground_ = 0;
};

TEST_F(WalkerTest, MasksMoveByTheirDisplacements) {
  const float d = 0.707f * kStep;
  struct Case {
    int mask;
    float x, y;
  };
  const Case facingNorth[] = {{1, 0, kStep}, {8, 0, -kStep}, {2, kStep, 0}, {4, -kStep, 0},
                              {3, d, d},     {5, -d, d},     {10, d, -d},   {12, -d, -d}};
  for (const Case& c : facingNorth) {
    Place({0, 0, 0}, {0, 1, 0});
    Walker().SetAction(3);
    EXPECT_EQ(Walker().Step(c.mask, 1), 1) << c.mask;
    EXPECT_NEAR(Position().x, c.x, 1e-3) << c.mask;
    EXPECT_NEAR(Position().y, c.y, 1e-3) << c.mask;
  }
  // Facing east, forward is +x and right is -y.
  const Case facingEast[] = {{1, kStep, 0}, {2, 0, -kStep}, {5, d, d}};
  for (const Case& c : facingEast) {
    Place({0, 0, 0}, {1, 0, 0});
    Walker().SetAction(4);
    EXPECT_EQ(Walker().Step(c.mask, 1), 1) << c.mask;
    EXPECT_NEAR(Position().x, c.x, 1e-3) << c.mask;
    EXPECT_NEAR(Position().y, c.y, 1e-3) << c.mask;
  }
  for (int mask : {0, 9, 6, 7, 11, 13, 15, 16}) {
    Place({0, 0, 0}, {0, 1, 0});
    Walker().SetAction(3);
    EXPECT_EQ(Walker().Step(mask, 1), 0) << mask;
    EXPECT_NEAR(Position().x, 0, 1e-4) << mask;
    EXPECT_NEAR(Position().y, 0, 1e-4) << mask;
  }
  // Two ticks at once go twice as far.
  Place({0, 0, 0}, {0, 1, 0});
  Walker().SetAction(3);
  Walker().Step(1, 2);
  EXPECT_NEAR(Position().y, 2 * kStep, 1e-3);
  EXPECT_EQ(Walker().idleTimer, 240);
}

TEST_F(WalkerTest, FacingsAreMadeHorizontal) {
  struct Case {
    VECTOR3 given, kept;
  };
  const Case cases[] = {{{3, 4, 9}, {0.6f, 0.8f, 0}}, {{0, 0, 0}, {0, 1, 0}}, {{0, 0, -2}, {0, 1, 0}}};
  for (const Case& c : cases) {
    const VECTOR3 at{5, 6, 0};
    Walker().SetDirection(&at, &c.given);
    VECTOR3 p, facing;
    Walker().GetPosition(&p, &facing);
    EXPECT_NEAR(facing.x, c.kept.x, 1e-4);
    EXPECT_NEAR(facing.y, c.kept.y, 1e-4);
    EXPECT_NEAR(facing.z, 0, 1e-4);
    EXPECT_NEAR(p.x, 5, 1e-4);
  }
  const VECTOR3 at{1, 2, 0};
  Walker().SetPose(CFieldWalker::kStanding, &at, nullptr, 0);
  VECTOR3 facing;
  Walker().GetPosition(nullptr, &facing);
  EXPECT_NEAR(facing.y, 1, 1e-4);
}

TEST_F(WalkerTest, SpeedIsTheBestOfTheFirstThreeMembers) {
  struct Case {
    std::vector<int> speeds;
    float walkSpeed;
  };
  const Case cases[] = {
      {{}, kStep}, {{5, 9, 3}, kStep}, {{150, 20, 7}, 6.5175f}, {{10}, 0.4345f}, {{20, 30, 40, 300}, 1.738f}};
  for (const Case& c : cases) {
    g_gameDataBase.heroes.clear();
    g_gameDataBase.party.members.clear();
    for (size_t i = 0; i < c.speeds.size(); ++i) {
      g_gameDataBase.heroes.push_back(Hero(static_cast<int>(i) + 1, c.speeds[i]));
      g_gameDataBase.party.members.push_back(static_cast<int>(i) + 1);
    }
    Walker().SetSpeeds(1);
    EXPECT_NEAR(Walker().walkSpeed, c.walkSpeed, 1e-4) << c.speeds.size();
  }
  Walker().SetSpeeds(6);
  EXPECT_EQ(Walker().walkSpeed, 0);
}

TEST_F(WalkerTest, FormsSixAndNineNeverMove) {
  for (int form : {6, 9}) {
    Game().ChangeHeroForm(form);
    Place({0, 0, 0}, {0, 1, 0});
    for (int mask : {1, 2, 3, 8, 12}) {
      Walker().SetAction(3);
      Walker().Step(mask, 1);
      EXPECT_NEAR(Position().x, 0, 1e-4) << form;
      EXPECT_NEAR(Position().y, 0, 1e-4) << form;
    }
  }
}

TEST_F(WalkerTest, OnlyAClosedBlockTriggerStopsTheWalker) {
  TRIGGERDESC trigger;
  trigger.type = TRIGGER_BLOCK;
  trigger.zone.corners = {{{0, 8}, {2, 4}, {0, 1}, {-2, 4}}};
  trigger.zone.zMin = -10;
  trigger.zone.zMax = 10;
  std::vector<TRIGGERDESC> triggers = {trigger};
  Walker().SetTriggers(&triggers);
  struct Case {
    int16_t type;
    uint8_t state;
    bool blocks;
  };
  for (const Case c : {Case{TRIGGER_BLOCK, 0, false}, Case{TRIGGER_BLOCK, 1, true}, Case{TRIGGER_AUTO, 1, false}}) {
    triggers[0].type = c.type;
    triggers[0].CurrentState() = c.state;
    Place({0, 0, 0}, {0, 1, 0});
    Walker().SetAction(3);
    EXPECT_EQ(Walker().Step(1, 1), c.blocks ? 0 : 1) << c.type << " " << int{c.state};
    EXPECT_NEAR(Position().y, c.blocks ? 0 : kStep, 1e-3);
    EXPECT_EQ(Walker().action, c.blocks ? CFieldWalker::kStanding : 3);
  }
  Walker().SetTriggers(nullptr);
}

TEST_F(WalkerTest, NpcsAreHeldNearTheWalker) {
  // People without a record of the game's tables: positions only.
  CGameResource tables;
  SCENEPERSONDESC person{};
  std::vector<std::unique_ptr<CSceneNpc>> built;
  CSceneNpc near(person, tables, 0, 0, built), far(person, tables, 0, 1, built);
  Game().ChangeHeroForm(3);
  Walker().SetObstacles({&near, &far});
  EXPECT_EQ(near.positionHook, &CFieldWalker::NpcCollision);
  EXPECT_EQ(far.positionHook, &CFieldWalker::NpcCollision);
  Place({0, 0, 0}, {0, 1, 0});
  Walker().SetAction(3);
  ASSERT_EQ(Walker().Step(1, 1), 1);
  const float y = kStep;
  struct Case {
    VECTOR3 at;
    int answer;
  };
  const Case cases[] = {{{10, y + 10, 0}, -2}, {{12, y + 12, 0}, 0},      {{0, y + 15.9f, 29}, -2},
                        {{0, y, 30.5f}, 0},    {{0, y - 15.9f, -29}, -2}, {{16, y, 0}, 0}};
  for (const Case& c : cases) EXPECT_EQ(CFieldWalker::NpcCollision(&c.at), c.answer) << c.at.x << " " << c.at.y;
  Walker().SetObstacles({});
  EXPECT_EQ(near.positionHook, nullptr);
}

TEST_F(WalkerTest, TheFirstHeroLandsWithASound) {
  datagen::WaveSpec step;
  step.samples = datagen::ConstantSamples(1000, 1, 100);
  ASSERT_TRUE(datagen::WriteWave("waves/step02a.wav", step));
  g_gameDataBase.party.members = {1};
  Place({0, 0, 50}, {0, 1, 0});
  Walker().Drop();
  EXPECT_EQ(Walker().action, CFieldWalker::kFalling);
  // Falling while the creature's move runs; the tick that finds it done lands.
  int ticks = 0;
  while (Walker().action == CFieldWalker::kFalling && ticks < 20) {
    Walker().creature->Update(1);
    Walker().creature->PostUpdate(1);
    const int moving = Walker().creature->moveToState;
    EXPECT_EQ(Walker().Step(0, 1), 1);
    EXPECT_EQ(Walker().action, moving ? CFieldWalker::kFalling : CFieldWalker::kStanding);
    ++ticks;
  }
  EXPECT_GT(ticks, 1);
  EXPECT_EQ(Walker().action, CFieldWalker::kStanding);
  EXPECT_NEAR(Position().z, 0, 1e-3);
  ASSERT_EQ(Game().audio->effectCount, 1);
  EXPECT_NE(Game().audio->effects[0], 0u);
  EXPECT_FALSE(traces_.Contains("Can't put on terrain."));

  // Off the ground the landing is traced.
  Place({5000, 5000, 0}, {0, 1, 0});
  Walker().Drop();
  for (int i = 0; i < 20 && Walker().action == CFieldWalker::kFalling; ++i) Tick(0);
  EXPECT_TRUE(traces_.Contains("Can't put on terrain."));
}

TEST_F(WalkerTest, OtherLeadersStandWhenTheFallIsDone) {
  g_gameDataBase.party.members = {2};
  Walker().Drop();
  int ticks = 0;
  while (Walker().action == CFieldWalker::kFalling && ticks < 20) {
    EXPECT_EQ(Tick(0), 1);
    ++ticks;
  }
  EXPECT_EQ(Walker().action, CFieldWalker::kStanding);
  EXPECT_EQ(Walker().creature->moveToState, 0);
  EXPECT_EQ(Game().audio->effectCount, 0);
}

TEST_F(WalkerTest, IdleActionsFollowTheTimerAndTheRoll) {
  ASSERT_EQ(Walker().idleActions, std::vector<int>{12});
  // Seeds whose first draw passes the one-half roll and fails it.
  const auto firstDraws = [](unsigned seed, int* second) {
    plat::Srand(seed);
    const int first = plat::Rand();
    *second = plat::Rand();
    return first;
  };
  unsigned pass = 1, fail = 1;
  int second = 0;
  while (firstDraws(pass, &second) <= 16383) ++pass;
  while (firstDraws(fail, &second) > 16383) ++fail;

  Walker().idleTimer = 3;
  plat::Srand(pass);
  EXPECT_EQ(Walker().Step(0, 2), 0);
  EXPECT_EQ(Walker().action, CFieldWalker::kStanding) << "the timer has not run out";
  EXPECT_EQ(Walker().Step(0, 1), 0);
  EXPECT_EQ(Walker().action, 12);
  EXPECT_EQ(Walker().creature->currentPose, 12);
  firstDraws(pass, &second);
  EXPECT_EQ(Walker().idleTimer, 30 + static_cast<int>(static_cast<float>(second) * 0.0036622211f));
  EXPECT_GE(Walker().idleTimer, 30);
  EXPECT_LE(Walker().idleTimer, 150);
  // The one-shot action ends by itself.
  for (int i = 0; i < 10 && Walker().action == 12; ++i) Tick(0);
  EXPECT_EQ(Walker().action, CFieldWalker::kStanding);

  Walker().idleTimer = 0;
  plat::Srand(fail);
  Walker().Step(0, 1);
  EXPECT_EQ(Walker().action, CFieldWalker::kStanding);
  Walker().idleTimer = 0;
  Walker().idleAllowed = 0;
  plat::Srand(pass);
  Walker().Step(0, 1);
  EXPECT_EQ(Walker().action, CFieldWalker::kStanding);
}

TEST_F(WalkerTest, AnEmptyPartyGetsTheChosenHero) {
  EXPECT_EQ(g_gameDataBase.party.members, std::vector<int32_t>{1});
  EXPECT_EQ(g_gameDataBase.FindHero(1)->subKind, 1);
  EXPECT_EQ(Walker().form, 1);
  g_gameDataBase.party.members.clear();
  Game().hero = 2;
  Game().SetupWalker();
  EXPECT_EQ(g_gameDataBase.party.members, std::vector<int32_t>{2});
  EXPECT_EQ(g_gameDataBase.FindHero(2)->subKind, 3);
  EXPECT_EQ(Walker().form, 3);
  EXPECT_EQ(Game().endingEvent, 1679);
  EXPECT_EQ(Game().leaderCreature, Walker().creature);
  EXPECT_EQ(Walker().creature->Society(), Game().society);
}

TEST_F(WalkerTest, HeroFormsChooseLeaderCameraRangesAndEvents) {
  struct Case {
    int form, hero;
    float yaw;
    int turns;
    int leader;  // 0 none, 1 the walker's creature, 2 a separate one
    float range;
    int milestone, ending;
  };
  const Case cases[] = {
      {3, 2, 180, 1, 1, 100, 1594, 1679}, {1, 1, 180, 1, 1, 100, 135, 335}, {2, 1, 180, 1, 1, 100, 135, 335},
      {4, 2, 180, 1, 1, 100, 1594, 1679}, {5, 1, 180, 1, 1, 100, 135, 335}, {6, 1, 80, 0, 2, FLT_MAX, 135, 335},
      {7, 1, 180, 1, 0, 100, 135, 335},   {8, 1, 180, 1, 0, 100, 135, 335}, {9, 1, 80, 0, 2, FLT_MAX, 135, 335}};
  for (const Case& c : cases) {
    camera_.accumulatedYaw = 33;
    Game().ChangeHeroForm(c.form);
    EXPECT_EQ(Walker().form, c.form);
    EXPECT_EQ(Game().hero, c.hero) << c.form;
    EXPECT_EQ(camera_.yawLimit, c.yaw) << c.form;
    EXPECT_EQ(camera_.accumulatedYaw, 0) << c.form;
    EXPECT_EQ(camera_.turnsWalker, c.turns) << c.form;
    EXPECT_EQ(Game().npcRange, c.range) << c.form;
    EXPECT_EQ(Game().objectRange, c.range) << c.form;
    EXPECT_EQ(Game().triggerRange, c.range == 100 ? 200 : FLT_MAX) << c.form;
    EXPECT_EQ(Game().milestoneEvent, c.milestone) << c.form;
    EXPECT_EQ(Game().endingEvent, c.ending) << c.form;
    EXPECT_EQ(g_gameDataBase.party.members[0], c.hero) << c.form;
    EXPECT_EQ(g_gameDataBase.FindHero(c.hero)->subKind, c.form) << c.form;
    EXPECT_EQ(GetScreenHero(), Game().leaderCreature) << c.form;
    EXPECT_EQ(Walker().encounterFactor, c.form <= 4 ? 1 : 0) << c.form;
    switch (c.leader) {
      case 0: EXPECT_EQ(Game().leaderCreature, nullptr) << c.form; break;
      case 1: EXPECT_EQ(Game().leaderCreature, Walker().creature) << c.form; break;
      default: {
        auto* leader = dynamic_cast<CMSwordMan*>(Game().leaderCreature);
        ASSERT_NE(leader, nullptr) << c.form;
        EXPECT_NE(leader, Walker().creature);
        EXPECT_EQ(leader->fileName, c.form == 6 ? "Walk01.MCB" : "Walk02.MCB");
        EXPECT_EQ(leader->shown, 0);
      }
    }
  }
  // The same form again changes nothing.
  Game().ChangeHeroForm(4);
  CMSwordMan* creature = Walker().creature;
  camera_.accumulatedYaw = 12;
  Game().ChangeHeroForm(4);
  EXPECT_EQ(Walker().creature, creature);
  EXPECT_EQ(Game().leaderCreature, creature);
  EXPECT_EQ(camera_.accumulatedYaw, 12);
  // A form change keeps the walker where it stood.
  Place({30, 40, 0}, {1, 0, 0});
  Game().ChangeHeroForm(1);
  EXPECT_NEAR(Position().x, 30, 1e-3);
  EXPECT_NEAR(Position().y, 40, 1e-3);
}

TEST_F(WalkerTest, OnlyFormsSevenAndEightSwitchRandomBattlesOff) {
  Game().encounters = new CEncounterTable;  // the game deletes it
  for (int form = 1; form <= 9; ++form) {
    for (int before : {0, 1}) {
      Game().encounters->enabled = before;
      Game().ApplyHeroForm(form);
      EXPECT_EQ(Game().encounters->enabled, form == 7 || form == 8 ? 0 : before) << form << " from " << before;
    }
  }
  // A load sets the walker up again: battles switched off stay off.
  for (int form : {1, 3, 6}) {
    Game().encounters->enabled = 0;
    g_gameDataBase.FindHero(form == 3 ? 2 : 1)->subKind = form;
    g_gameDataBase.party.members = {form == 3 ? 2 : 1};
    Game().SetupWalker();
    EXPECT_EQ(Walker().form, form);
    EXPECT_EQ(Game().encounters->enabled, 0) << form;
  }
}

TEST_F(WalkerTest, FormsOutsideTheTableKeepTheLeader) {
  Game().ChangeHeroForm(3);
  CMSwordMan* creature = Walker().creature;
  for (int form : {0, 10, -1}) {
    Game().ChangeHeroForm(form);
    EXPECT_EQ(Walker().creature, creature) << form;
    EXPECT_EQ(Walker().form, 3);
    Game().ApplyHeroForm(form);
    EXPECT_EQ(g_gameDataBase.party.members, std::vector<int32_t>{2}) << form;
    EXPECT_EQ(g_gameDataBase.FindHero(2)->subKind, 3);
    EXPECT_EQ(Game().endingEvent, 1679);
    EXPECT_EQ(Game().hero, 2);
    EXPECT_EQ(Game().npcRange, 100);
  }
  // A leader record without a walker form gets the hero's starting form.
  g_gameDataBase.FindHero(2)->subKind = 0;
  Game().SetupWalker();
  EXPECT_EQ(Walker().form, 3);
  EXPECT_EQ(g_gameDataBase.FindHero(2)->subKind, 3);
}

}  // namespace
}  // namespace gametest
