// The game started in the sample world: the opening movie, the boss table,
// the game-over picture and a new game's start script.
#include <gtest/gtest.h>

#include "cutscene/cut_scene_player.h"
#include "cutscene/sg_society.h"
#include "engine/media/sprites.h"
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

}  // namespace
}  // namespace gametest
