// A random encounter in the sample world's meadow, played to its end.
#include <gtest/gtest.h>

#include "battle/battle_camera.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/phase_codes.h"
#include "battle/sys_state.h"
#include "components/society_ext.h"
#include "cutscene/sg_society.h"
#include "database/game_database.h"
#include "engine/core/node_transforms.h"
#include "game/encounter_table.h"
#include "game/game_state.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "ui/screen_manager.h"
#include "world/scene_content.h"

namespace gametest {
namespace {

using namespace datagen::sample;

class SampleWorldBattle : public GameTest {
 protected:
  SampleWorldBattle() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~SampleWorldBattle() override {
    EndGame();
    SGSociety::Shutdown();
  }

  // A new game past its start script, in the meadow, one step from a battle.
  void ReadyForEncounter() {
    ASSERT_EQ(Start(), 1);
    Game().OnScreenResult(SR_NEW_GAME);
    for (int i = 0; i < 300 && Game().state != GS_SETTLE; ++i) Pass();
    ASSERT_EQ(Game().state, GS_SETTLE);
    if (!Game().encounters) Game().encounters = new CEncounterTable;
    Game().encounters->Reset(*Game().gameResource, kMeadowRow);
    CBattleSys* battle = Game().battle;
    // The scene's society takes the battle system in when a scene opens.
    if (!battle->IsAttached()) {
      ASSERT_EQ(battle->Attach(Game().society), 1);
    }
  }

  // Rolls until the meadow's encounter starts a battle.
  void Encounter() {
    for (int i = 0; i < 100 && Game().state != GS_BATTLE; ++i) {
      Game().state = GS_FIELD;
      Game().tickCounter = 1000;
      Game().TryRandomEncounter();
    }
    ASSERT_EQ(Game().state, GS_BATTLE);
  }

  int Ticks(int limit, int state) {
    for (int i = 0; i < limit; ++i) {
      if (Game().state == state) return i;
      Pass();
    }
    return -1;
  }
};

TEST_F(SampleWorldBattle, AWonEncounterPaysAndSettles) {
  ReadyForEncounter();
  CGDMainManSoul* leader = g_gameDataBase.FindHero(g_gameDataBase.party.members[0]);
  ASSERT_NE(leader, nullptr);
  const int money = g_gameDataBase.party.GetMoney();
  const int experience = leader->GetAttribute(2);
  Encounter();

  CBattleSys* battle = Game().battle;
  ASSERT_EQ(battle->IsRunning(nullptr), 1);
  ASSERT_NE(battle->ArenaContent(), nullptr);
  ASSERT_NE(battle->ArenaContent()->terrain, 0u) << "the arena loaded";
  VECTOR3 hero{1, 1, 1};
  GetNodeWorldVectors(battle->HeroBodyNode(), &hero, nullptr, nullptr);
  EXPECT_NEAR(hero.x, 0, 0.01f);
  EXPECT_NEAR(hero.y, 0, 0.01f);
  ASSERT_GE(battle->enemyCount, 1);

  Pass(2);
  EXPECT_EQ(battle->phaseCode, PHASE_INTRO);
  EXPECT_EQ(CBattleCamera::Instance()->track.GetCurrentTrack(), 1) << "the introduction plays";

  for (int i = 0; i < battle->enemyCount; ++i) battle->enemies[i]->flags |= CFightingMan::kDown;
  for (int i = 0; i < 1000 && battle->phaseCode != PHASE_REWARDS; ++i) Pass();
  ASSERT_EQ(battle->phaseCode, PHASE_REWARDS) << "the win expression held";
  for (int click = 0; click < 2 && battle->phaseCode == PHASE_REWARDS; ++click) {
    CBattleSys::OnInput(16, 320 | 240 << 16, 0, 0);
  }
  EXPECT_GE(Ticks(10, GS_SETTLE), 0);
  EXPECT_EQ(Game().state, GS_SETTLE);
  EXPECT_GT(g_gameDataBase.party.GetMoney(), money);
  EXPECT_GT(leader->GetAttribute(2), experience);
}

TEST_F(SampleWorldBattle, EscapeLeadsToTheGameOver) {
  ReadyForEncounter();
  Encounter();
  Pass(3);
  ASSERT_EQ(Game().battle->IsRunning(nullptr), 1);
  // The key the player presses, through the engine's key hooks and the overlay.
  Post(plat::WM_KEYDOWN, 27);
  RunMainLoopPass(1);
  Post(plat::WM_KEYUP, 27);
  EXPECT_GE(Ticks(5, GS_GAMEOVER), 0);
  EXPECT_EQ(Game().state, GS_GAMEOVER);
}

}  // namespace
}  // namespace gametest
