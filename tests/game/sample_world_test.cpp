// The game started in the sample world: the opening movie, the boss table,
// the game-over picture and a new game's start script.
#include <gtest/gtest.h>

#include "base/game_audio.h"
#include "cutscene/cut_scene_player.h"
#include "cutscene/sg_society.h"
#include "engine/core/engine_queries.h"
#include "engine/core/node_transforms.h"
#include "engine/media/sprites.h"
#include "game/field_walker.h"
#include "platform/display.h"
#include "tests/game/game_fixture.h"
#include "tests/support/cutscene_recording_actors.h"
#include "tests/support/frame_png.h"
#include "tests/support/input_script.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "ui/role_page.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

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
    plat::CapturePresentedFrames(false);
    EndGame();
    SGSociety::Shutdown();
  }

  void PassUntil(int state, int passes) {
    for (int i = 0; i < passes && Game().state != state; ++i) Pass();
  }

  void Send(testsupport::InputEvent::Kind kind, int code, int x = 0, int y = 0) {
    testsupport::InputEvent event;
    event.kind = kind;
    event.code = code;
    event.x = x;
    event.y = y;
    testsupport::DeliverInputEvent(GetMainWindow(), event, &pointer_);
    Pass();
  }

  // The title's "New game" clicked, played until the hero stands in the village.
  void StartANewGame() {
    using Event = testsupport::InputEvent;
    ASSERT_EQ(Start(), 1);
    Pass(5);
    Send(Event::ButtonDown, 1, 106, 326);
    Send(Event::ButtonUp, 1, 106, 326);
    PassUntil(GS_FIELD, 300);
    ASSERT_EQ(Game().state, GS_FIELD);
  }

  // A new game from the title's button; a random battle met on a walk in
  // the meadow (boss 0) or the story's battle in the village, given up with
  // Escape as a player does. Then the game-over picture must stand with its
  // words over the blacked scene until the title comes back.
  void LoseABattle(int bossId) {
    using Event = testsupport::InputEvent;
    ASSERT_NO_FATAL_FAILURE(StartANewGame());
    if (bossId == 0) {
      const VECTOR3 portal{560, -300, 0}, east{1, 0, 0};
      Game().PlaceWalker(&portal, &east, Game().scene->GetTerrain());
      Game().OnWalkerMoved(1);
      PassUntil(GS_FIELD, 300);
      ASSERT_EQ(Game().scene->sceneName, "e001.SB");
      Send(Event::KeyDown, 'W');
      PassUntil(GS_BATTLE, 600);
      Send(Event::KeyUp, 'W');
    } else {
      Game().StartBattle(1, bossId);
    }
    ASSERT_EQ(Game().state, GS_BATTLE);
    EXPECT_EQ(Game().bossId, bossId);
    Pass(30);
    Send(Event::KeyDown, 0x1B);
    Send(Event::KeyUp, 0x1B);
    plat::CapturePresentedFrames(true);
    PassUntil(GS_GAMEOVER, 900);
    ASSERT_EQ(Game().state, GS_GAMEOVER);
    Pass(2);
    const plat::PresentedFrame frame = plat::LastPresentedFrame();
    const std::vector<uint32_t> rgb = testsupport::FrameToRgb(frame);
    ASSERT_EQ(rgb.size(), static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
    // The picture lies at (170, 140), 300 x 160: a dark red field with its
    // title in near-white letters over the line on the light band.
    int letters = 0, field = 0;
    for (int y = 140; y < 300; ++y)
      for (int x = 170; x < 470; ++x) {
        const uint32_t c = rgb[static_cast<size_t>(y) * static_cast<size_t>(frame.width) + static_cast<size_t>(x)];
        const int red = c >> 16 & 0xFF, green = c >> 8 & 0xFF, blue = c & 0xFF;
        letters += red >= 240 && green >= 224 && blue >= 200;
        field += red >= 48 && red <= 72 && green < 8 && blue < 8;
      }
    EXPECT_GT(letters, 150) << "\"Game over\" stands in the picture";
    EXPECT_GT(field, 300 * 160 / 2) << "the picture is drawn whole";
    PassUntil(GS_MENU, 60);
    EXPECT_EQ(Game().state, GS_MENU) << "the title follows";
  }

  testsupport::PointerPosition pointer_;

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
  EXPECT_EQ(boss->endGame, 1) << "the story battle lost ends the game";
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

// The character page, where one item changes in area 2, learns the area of
// the scene being played from the game.
TEST_F(SampleWorldGame, TheCharacterPageKnowsTheAreaOfTheScenePlayed) {
  ASSERT_NO_FATAL_FAILURE(StartANewGame());
  EXPECT_EQ(GetSceneArea(), kVillageRow);
  const VECTOR3 portal{560, -300, 0}, east{1, 0, 0};
  Game().PlaceWalker(&portal, &east, Game().scene->GetTerrain());
  Game().OnWalkerMoved(1);
  ASSERT_EQ(Game().scene->sceneName, "e001.SB");
  EXPECT_EQ(GetSceneArea(), kMeadowRow);
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

// The meadow on the device path: its glowing motes are drawn opaque through
// their material's colour key, so no part of a quad shows black over the
// ground, and a frame drawn again with no time passing is the same frame.
TEST_F(SampleWorldGame, TheMeadowShowsItsMotesWithoutHolesAndStandsStill) {
  using Event = testsupport::InputEvent;
  plat::CapturePresentedFrames(true);
  ASSERT_EQ(Start({"h"}), 1);
  Pass(5);
  Send(Event::ButtonDown, 1, 106, 326);  // "New game"
  Send(Event::ButtonUp, 1, 106, 326);
  PassUntil(GS_FIELD, 300);
  ASSERT_EQ(Game().state, GS_FIELD);
  const VECTOR3 portal{560, -300, 0}, east{1, 0, 0};
  Game().PlaceWalker(&portal, &east, Game().scene->GetTerrain());
  Game().OnWalkerMoved(1);
  PassUntil(GS_FIELD, 300);
  ASSERT_EQ(Game().scene->sceneName, "e001.SB");
  Pass(30);
  std::vector<uint32_t> frames[2];
  for (std::vector<uint32_t>& frame : frames) {
    RunMainLoopPass(1);  // the clock stands
    frame = testsupport::FrameToRgb(plat::LastPresentedFrame());
    ASSERT_EQ(frame.size(), 640u * 480u);
  }
  EXPECT_TRUE(frames[0] == frames[1]) << "a still scene draws the same frame";
  // Below the far edge of the meadow every pixel is ground, hero or mote;
  // above the horizon the sky is black but for the motes.
  int holes = 0, motes = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const uint32_t c = frames[0][static_cast<size_t>(y) * 640 + static_cast<size_t>(x)];
      if (y >= 300) holes += c == 0;
      const int red = c >> 16 & 0xFF, green = c >> 8 & 0xFF, blue = c & 0xFF;
      if (y < 240) motes += green > 120 && green > red + 20 && green > blue + 20;
    }
  EXPECT_EQ(holes, 0) << "black pixels over the ground";
  EXPECT_GT(motes, 100) << "glowing motes against the sky";
}

TEST_F(SampleWorldGame, ALostRandomBattleEndsInTheGameOverPictureThenTheTitle) { LoseABattle(0); }

TEST_F(SampleWorldGame, ALostStoryBattleEndsInTheGameOverPictureThenTheTitle) { LoseABattle(kBossId); }

TEST_F(SampleWorldGame, WalkingIntoTheWalkingVillagerLetsTheHeroWalkOn) {
  using Event = testsupport::InputEvent;
  ASSERT_NO_FATAL_FAILURE(StartANewGame());

  // Bram talks on approach but has nothing to say: the hero, put in his way
  // and walking into him, must walk on with the keys still his.
  VECTOR3 bram{0, 0, 0};
  GetNodeWorldVectors(Game().scene->content->people[1]->node, &bram, nullptr, nullptr);
  const VECTOR3 from{bram.x, bram.y + 60, 0}, south{0, -1, 0};
  Game().PlaceWalker(&from, &south, Game().scene->GetTerrain());
  Pass();
  Send(Event::KeyDown, 'W');
  int approaches = 0;
  for (int i = 0; i < 60; ++i) {
    Pass();
    approaches += Game().state == GS_APPROACH_NPC;
  }
  Send(Event::KeyUp, 'W');
  EXPECT_EQ(approaches, 0);
  EXPECT_EQ(Game().state, GS_FIELD);
  VECTOR3 to{0, 0, 0};
  Game().walker->GetPosition(&to, nullptr);
  EXPECT_LT(to.y, bram.y - 60) << "walked past him";
}

TEST_F(SampleWorldGame, LookingUpOrDownStopsAtTheCamerasLimitsAboveTheGround) {
  using Event = testsupport::InputEvent;
  ASSERT_NO_FATAL_FAILURE(StartANewGame());
  CGameCamera& camera = *Game().scene->camera;
  ASSERT_EQ(camera.mouseLookLocked, 0);
  // 300 pixels up, then 300 down: far past either limit, the pointer
  // wrapping back into its band on the way.
  struct Case {
    int step;
    float pitch;
  } const cases[] = {{-15, CGameCamera::kPitchLower}, {15, CGameCamera::kPitchUpper}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    for (int i = 0; i < 20; ++i) Send(Event::MouseMove, 0, camera.cursorX, camera.cursorY + c.step);
    Pass(2);
    EXPECT_FLOAT_EQ(camera.pitch, c.pitch);
    VECTOR3 eye{0, 0, 0};
    camera.GetPositionAndDirection(&eye, nullptr);
    EXPECT_GT(eye.z, camera.nearDistance) << "the village's ground lies at 0";
  }
}

}  // namespace
}  // namespace gametest
