// The state machine: menu results, the quit, the game tick, the game over,
// the end of a battle and scripts.
#include <gtest/gtest.h>

#include <functional>

#include "battle/battle_sys.h"
#include "components/society_ext.h"
#include "database/system_config.h"
#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "platform/files.h"
#include "platform/window.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/cutscene_writer.h"
#include "tools/datagen/system_config_writer.h"
#include "ui/am_wnd.h"
#include "ui/am_wnd_manager.h"
#include "ui/screen_manager.h"
#include "world/map_scene.h"

namespace gametest {
namespace {

// Counts its passes.
class Counter : public CGCBase {
 public:
  int Update(int) override {
    ++updates;
    return 1;
  }
  int updates = 0;
};

class GameStates : public GameTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), 1); }

  // One game tick, 1/30 s after the last.
  void Tick() {
    clock_->AdvanceSeconds(1.0 / 30);
    Game().Tick(1);
  }

  // A script of finalFrame frames, without actors, in the work directory's "scripts".
  void WriteScript(const char* name, int finalFrame) {
    datagen::CutSceneData scene;
    scene.finalFrame = finalFrame;
    std::string error;
    ASSERT_TRUE(datagen::WriteCutSceneBinary(std::string("scripts/") + name + ".spb", scene, error)) << error;
  }

  // Ticks until the state leaves `from`, at most `limit` ticks; the count.
  int TicksIn(int from, int limit = 200) {
    int ticks = 0;
    while (Game().state == from && ticks < limit) {
      Tick();
      ++ticks;
    }
    return ticks;
  }

  // The title's start menu, open since the start, closes as the player's choice would close it.
  void LeaveTitle() {
    ASSERT_NE(GetTopWnd(), nullptr);
    GetTopWnd()->Close();
    UpdateScreens(1);
  }

  // Passes of the main loop until the state leaves `from`.
  int PassesIn(int from, int limit = 50) {
    int passes = 0;
    while (g_game && Game().state == from && passes < limit) {
      Pass();
      ++passes;
    }
    return passes;
  }
};

TEST_F(GameStates, ANewGamePlaysItsScriptSettlesAndReachesTheField) {
  LeaveTitle();
  Game().OnScreenResult(SR_NEW_GAME);
  EXPECT_EQ(Game().state, GS_SCRIPT);
  EXPECT_EQ(Game().hero, 1) << "GetChosenHero 0: the first hero";
  EXPECT_EQ(g_frameTimers[0].callback, &OnGameFrame);
  EXPECT_EQ(g_frameTimers[0].fixedRate, 1);
  ASSERT_NE(Game().society, nullptr);

  EXPECT_LE(PassesIn(GS_SCRIPT), 3) << "no script file: it ends at once";
  EXPECT_EQ(Game().state, GS_SETTLE);
  EXPECT_LE(PassesIn(GS_SETTLE), 3);
  EXPECT_EQ(Game().state, GS_FIELD);
  EXPECT_EQ(Game().cursorMode, 1);
  EXPECT_EQ(Game().mouse.locked, 1);
  EXPECT_EQ(Game().cameraFollow, 1) << "the field keys were bound";

  Game().NewGame(1);
  EXPECT_EQ(Game().hero, 2);
  EXPECT_EQ(Game().endingEvent, 1679);
}

TEST_F(GameStates, MenuResultsTitleAndTheOnesThatDoNothing) {
  Game().NewGame(0);
  for (int result : {0, 1, 3, 9}) {
    Game().OnScreenResult(result);
    EXPECT_EQ(Game().state, GS_SCRIPT) << result;
  }
  Game().OnScreenResult(SR_TITLE);
  EXPECT_EQ(Game().state, GS_MENU);
  EXPECT_EQ(g_frameTimers[0].callback, nullptr) << "the game tick stops";
  Game().OnMenuResult(1);
  EXPECT_EQ(Game().state, GS_MENU) << "the screens report nothing";
}

TEST_F(GameStates, TheMainMenuOpensOnlyInTheFieldAndResumesIntoSettling) {
  Game().state = GS_SCRIPT;
  Game().OpenMainMenu();
  EXPECT_EQ(Game().state, GS_SCRIPT) << "not from a script";

  int pauses = 0;
  static int* pauseLog;
  pauseLog = &pauses;
  g_fieldPauseHook = [](int on) { *pauseLog += on ? 1 : 100; };
  LeaveTitle();
  Game().state = GS_FIELD;
  Game().OpenMainMenu();
  EXPECT_EQ(Game().state, GS_MENU);
  EXPECT_EQ(Game().returnState, GS_FIELD);
  EXPECT_EQ(Game().mapHookPaused, 1);
  EXPECT_EQ(pauses, 1);
  ASSERT_NE(Game().menuShot, nullptr);

  Game().OnScreenResult(SR_RESUME);
  EXPECT_EQ(Game().state, GS_SETTLE);
  EXPECT_EQ(Game().menuShot, nullptr);
  Tick();
  EXPECT_EQ(Game().state, GS_FIELD) << "settled back";
  EXPECT_EQ(Game().mapHookPaused, 0);
  EXPECT_EQ(pauses, 101) << "the map hook resumed";
  g_fieldPauseHook = nullptr;

  Game().state = GS_MENU;
  Game().OnScreenResult(SR_USE_ITEM);
  EXPECT_EQ(Game().state, GS_SETTLE);
}

// The slot the list checked may change before it loads: a refused load goes
// back to the title or to the game in play, never to a black screen where no
// window is open.
TEST_F(GameStates, ARefusedLoadGoesBackToWhereItWasChosen) {
  LeaveTitle();
  Game().OnScreenResult(SR_LOAD);
  EXPECT_EQ(Game().state, GS_MENU);
  EXPECT_EQ(IsScreenIdle(), 0) << "the start menu is back";

  LeaveTitle();
  Game().OnScreenResult(SR_NEW_GAME);
  Game().state = GS_FIELD;
  Game().OpenMainMenu();
  ASSERT_EQ(Game().state, GS_MENU);
  LeaveTitle();  // the main window, closed on a load
  Game().OnScreenResult(SR_LOAD);
  EXPECT_EQ(Game().state, GS_SETTLE) << "back into the game in play";
  EXPECT_EQ(IsScreenIdle(), 1);
}

std::vector<uint8_t> ConfigFile() {
  std::vector<uint8_t> bytes;
  plat::ReadWholeFile("TwSys.cfg", bytes);
  return bytes;
}

TEST_F(GameStates, QuitEndsTheGameAtTheNextPassAndSavesTheSettings) {
  for (bool gameTickDue : {false, true}) {
    SCOPED_TRACE(gameTickDue ? "with the game tick due" : "title");
    if (!g_game) {
      SetQuitFlag(0);
      ASSERT_EQ(Start(), 1);
    }
    plat::RemoveFile("TwSys.cfg");
    if (gameTickDue) Game().NewGame(0);
    Game().OnScreenResult(SR_QUIT);
    EXPECT_EQ(Game().state, GS_QUIT);
    EXPECT_EQ(Game().skipUiFrame, 1);
    if (gameTickDue) {
      OnGameFrame(1);  // slot 0 runs first in a pass and clears the skip flag
      EXPECT_EQ(Game().skipUiFrame, 0);
    }
    Pass();
    EXPECT_EQ(g_game, nullptr);
    EXPECT_EQ(g_engineOpen, 0);
    EXPECT_NE(IsQuitRequested(), 0);
    EXPECT_EQ(ConfigFile(), datagen::BuildSystemConfig({}));
  }
}

TEST_F(GameStates, ClosingTheWindowSavesTheSettingsToo) {
  Game().config->SetViewDistanceSlider(0);
  plat::PostMessage(g_mainWindow, plat::WM_CLOSE, 0, 0);
  RunMainLoop(1);
  ASSERT_NE(g_game, nullptr) << "the loop ended with the game alive";
  EndGame();
  EXPECT_EQ(g_game, nullptr);
  datagen::SystemConfigSpec expected;
  expected.viewDistance = 3000;
  EXPECT_EQ(ConfigFile(), datagen::BuildSystemConfig(expected));
}

TEST_F(GameStates, APendingHeroFormTakesTheWholeTickAndTheMenuTicksNoSociety) {
  Game().society = new CSocietyExt(0);
  Counter member;
  ASSERT_EQ(member.Attach(Game().society), 1);

  Game().state = GS_FIELD;
  Game().skipUiFrame = 1;
  Game().pendingHeroForm = 6;
  Tick();
  EXPECT_EQ(Game().pendingHeroForm, 0);
  EXPECT_EQ(Game().skipUiFrame, 1) << "nothing else ran";
  EXPECT_EQ(member.updates, 0);

  Game().state = GS_MENU;
  Tick();
  EXPECT_EQ(member.updates, 0);
  Game().state = GS_FIELD;
  Tick();
  EXPECT_EQ(member.updates, 1);
  EXPECT_EQ(Game().skipUiFrame, 0);
  EXPECT_EQ(Game().sceneTicks, 3) << "every tick since the society began, in one pass";
  member.Detach();
}

TEST_F(GameStates, TheGameOverHoldsFortySixCountedTicksAndWaitsForTheFade) {
  Game().state = GS_FIELD;
  Game().GameOver();
  EXPECT_EQ(Game().state, GS_GAMEOVER);
  HOBJECT sprite = Game().gameOverSprite;
  EXPECT_NE(sprite, 0u);
  Game().GameOver();
  EXPECT_EQ(Game().gameOverSprite, sprite) << "a second game over changes nothing";

  Game().scene = new MScene("none.sb", nullptr);
  Game().scene->fadeActive = 1;
  for (int i = 0; i < 100; ++i) Tick();
  EXPECT_EQ(Game().state, GS_GAMEOVER) << "paused while the scene fades";
  EXPECT_EQ(Game().tickCounter, 0);
  Game().scene->fadeActive = 0;
  EXPECT_EQ(TicksIn(GS_GAMEOVER), 46);
  EXPECT_EQ(Game().state, GS_MENU);
  EXPECT_EQ(Game().gameOverSprite, 0u);
}

TEST_F(GameStates, TheEndOfABattle) {
  Game().bosses.entries = {{{101}, 5, 1}, {{102}, -1, 1}, {{103}, -1, 0}};
  struct Case {
    const char* name;
    int result;
    int bossId;
    int scriptedBattle;
    int state;  // after the end
    int gameOverAfter;
    int lastResult;
  };
  const Case cases[] = {
      {"lost, no boss", -1, 0, 0, GS_GAMEOVER, 0, 0},
      {"lost, auto event with end flag", -1, 1, 0, GS_BATTLE, 1, 0},
      {"lost, end flag only", -1, 2, 0, GS_GAMEOVER, 0, 0},
      {"lost, neither", -1, 3, 0, GS_SETTLE, 0, 0},
      {"lost, unknown boss", -1, 9, 0, GS_SETTLE, 0, 0},
      {"won boss battle", 1, 2, 0, GS_SETTLE, 0, 0},
      {"scripted, won", 1, 0, 7, GS_SETTLE, 0, 14},
      {"scripted, lost", -1, 3, 7, GS_SETTLE, 0, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Game().state = GS_BATTLE;
    Game().bossId = c.bossId;
    Game().gameOverAfter = 0;
    Game().events->lastResult = 0;
    delete Game().encounters;
    Game().encounters = new CEncounterTable;
    Game().encounters->currentBattleId = c.scriptedBattle;
    Game().OnBattleEnded(c.result);
    EXPECT_EQ(Game().state, c.state);
    EXPECT_EQ(Game().gameOverAfter, c.gameOverAfter);
    EXPECT_EQ(Game().events->lastResult, c.lastResult);
  }
  EXPECT_TRUE(traces_.Contains("Boss 9"));

  Game().state = GS_BATTLE;
  Game().bossId = 0;
  Tick();
  EXPECT_EQ(Game().state, GS_SETTLE) << "the battle system reports a won battle";
}

TEST_F(GameStates, AScriptHoldsItsFramesAndEndsOnEscOrIntoTheEnding) {
  WriteScript("play", 5);
  Game().StartScript("play", -1);
  ASSERT_EQ(Game().state, GS_SCRIPT);
  // Five ticks play the frames; the tick after them ends the script.
  EXPECT_EQ(TicksIn(GS_SCRIPT), 6);
  EXPECT_EQ(Game().state, GS_SETTLE);

  Game().StartScript("play", -1);
  Tick();
  Tick();
  EXPECT_EQ(Game().state, GS_SCRIPT);
  Game().skipScript = 1;
  Tick();
  EXPECT_EQ(Game().state, GS_SETTLE) << "Esc ends it";

  Game().StartScript("play", 7);
  Game().endingEvent = Game().scriptEvent;
  EXPECT_EQ(TicksIn(GS_SCRIPT), 6);
  EXPECT_EQ(Game().state, GS_ENDING);
  Tick();
  EXPECT_EQ(Game().state, GS_MENU) << "after the credits, the title";

  Game().StartScript("play", -1);
  Game().gameOverAfter = 1;
  EXPECT_EQ(TicksIn(GS_SCRIPT), 6);
  EXPECT_EQ(Game().state, GS_GAMEOVER);
  EXPECT_EQ(Game().gameOverAfter, 0);
}

}  // namespace
}  // namespace gametest
