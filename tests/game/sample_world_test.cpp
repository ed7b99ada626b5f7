// The game started in the sample world: the opening movie, the boss table,
// the game-over picture and a new game's start script.
#include <gtest/gtest.h>

#include "cutscene/cut_scene_player.h"
#include "cutscene/sg_society.h"
#include "engine/media/sprites.h"
#include "game/field_walker.h"
#include "game/game_audio.h"
#include "tools/datagen/sample_world_maps.h"
#include "world/map_scene.h"
#include "tests/game/game_fixture.h"
#include "tests/support/cutscene_recording_actors.h"
#include "tools/datagen/sample_world.h"

namespace gametest {
namespace {

using namespace datagen::sample;

class SampleWorldGame : public GameTest {
 protected:
  SampleWorldGame() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~SampleWorldGame() override {
    EndGame();
    SGSociety::Shutdown();
  }

  cstest::RecordingFactory actors_;
};

TEST_F(SampleWorldGame, StartsThroughTheMovieToTheTitleWithTheBossTable) {
  plat::CapturePresentedFrames(true);
  ASSERT_EQ(Start(), 1);
  EXPECT_GE(plat::LastPresentedFrame().count, kStartingMovieFrames) << "the movie played";
  plat::CapturePresentedFrames(false);
  EXPECT_EQ(Game().state, GS_MENU);
  const BOSSINFODESC* boss = Game().bosses.Find(kBossId);
  ASSERT_NE(boss, nullptr);
  EXPECT_EQ(boss->enemyIds, (std::vector<int32_t>{kEnemyId, kEnemyId, kShooterId}));
  EXPECT_EQ(boss->autoEvent, -1);
  EXPECT_EQ(Game().bosses.entries.size(), 1u);

  Game().GameOver();
  int width = 0, height = 0, x = 0, y = 0;
  GetSpriteSize(Game().gameOverSprite, &width, &height);
  GetSpritePosition(Game().gameOverSprite, &x, &y);
  EXPECT_EQ(width, kGameOverWidth);
  EXPECT_EQ(height, kGameOverHeight);
  EXPECT_EQ(x, 170);
  EXPECT_EQ(y, 140);
}

TEST_F(SampleWorldGame, ANewGamePlaysTheStartScriptToItsEnd) {
  ASSERT_EQ(Start(), 1);
  Game().OnScreenResult(SR_NEW_GAME);
  ASSERT_EQ(Game().state, GS_SCRIPT);
  ASSERT_NE(Game().cutScene->GetPlay(), nullptr);
  EXPECT_EQ(Game().cutScene->GetPlay()->FinalFrame(), kCutSceneFrames);
  int ticks = 0;
  while (Game().state == GS_SCRIPT && ticks < 200) {
    clock_->AdvanceSeconds(1.0 / 30);
    Game().Tick(1);
    ++ticks;
  }
  EXPECT_EQ(ticks, kCutSceneFrames + 1);
  EXPECT_EQ(Game().state, GS_SETTLE);
}

TEST_F(SampleWorldGame, ANewGameStartsInTheVillageAndItsPortalLeadsToTheMeadow) {
  ASSERT_EQ(Start(), 1);
  Game().OnScreenResult(SR_NEW_GAME);
  ASSERT_NE(Game().scene, nullptr);
  EXPECT_EQ(Game().scene->sceneName, "a004.SB");
  EXPECT_EQ(Game().scene->mapIndex, kVillageRow);
  EXPECT_EQ(Game().dayPhase, 1);
  ASSERT_NE(Game().walker->creature, nullptr) << "the sample hero's walker";
  VECTOR3 at{0, 0, 0};
  Game().walker->GetPosition(&at, nullptr);
  EXPECT_NEAR(at.x, -300, 1e-3);
  EXPECT_NEAR(at.y, -100, 1e-3);
  for (int i = 0; i < 200 && Game().state != GS_FIELD; ++i) {
    clock_->AdvanceSeconds(1.0 / 30);
    Game().Tick(1);
  }
  ASSERT_EQ(Game().state, GS_FIELD);
  EXPECT_EQ(Game().audio->currentTrack, kVillageCdTrack);

  // The village's portal, east of the houses, opens on the meadow's point 1.
  const VECTOR3 portal{560, -300, 0}, east{1, 0, 0};
  Game().PlaceWalker(&portal, &east, Game().scene->GetTerrain());
  Game().OnWalkerMoved(1);
  EXPECT_EQ(Game().scene->sceneName, "e001.SB");
  EXPECT_EQ(Game().scene->mapIndex, kMeadowRow);
  Game().walker->GetPosition(&at, nullptr);
  EXPECT_NEAR(at.x, -450, 1e-3);
  EXPECT_NEAR(at.y, 0, 1e-3);

  // Events and saves name scenes by map row: the row's name plus ".SB".
  Game().GoToSceneIndex(kVillageRow - 1, 2);
  EXPECT_EQ(Game().scene->sceneName, "a004.SB");
  Game().walker->GetPosition(&at, nullptr);
  EXPECT_NEAR(at.x, 450, 1e-3);
  EXPECT_NEAR(at.y, -300, 1e-3);
}

}  // namespace
}  // namespace gametest
