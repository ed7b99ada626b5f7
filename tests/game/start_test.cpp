// The game's start-up, the title and the user-interface frame.
#include <gtest/gtest.h>

#include "base/game_globals.h"
#include "database/game_database.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "engine/media/data_directories.h"
#include "platform/crt.h"
#include "platform/display.h"
#include "platform/instance.h"
#include "tests/game/game_fixture.h"

namespace gametest {
namespace {

using GameStart = GameTest;

TEST_F(GameStart, WithoutAnyFileTheTitleRunsOnTheInterfaceFrameAlone) {
  ASSERT_EQ(Start(), 1);
  ASSERT_NE(g_game, nullptr);
  EXPECT_EQ(plat::Rand(), 41) << "the game seeds the generator with 1 and draws nothing itself";
  EXPECT_EQ(Game().state, GS_MENU);
  EXPECT_EQ(g_frameTimers[0].callback, nullptr) << "no game tick before a game starts";
  EXPECT_EQ(g_frameTimers[1].callback, &OnUiFrame);
  EXPECT_EQ(g_frameTimers[1].fixedRate, 0);
  EXPECT_EQ(g_dataDirectories[DATADIR_TEXTURE], ".\\texture\\");
  EXPECT_EQ(g_dataDirectories[DATADIR_OVERRIDE], ".\\extra\\");

  plat::CapturePresentedFrames(true);
  int32_t playTime = g_gameDataBase.party.header[CParty::kSummaryValue];
  for (int pass = 1; pass <= 3; ++pass) {
    Pass();
    EXPECT_EQ(plat::LastPresentedFrame().count, pass) << "one present per pass";
    EXPECT_EQ(g_gameDataBase.party.header[CParty::kSummaryValue], playTime + pass);
  }
  plat::CapturePresentedFrames(false);
  EXPECT_EQ(Game().state, GS_MENU);
}

TEST_F(GameStart, TheFirstArgumentChoosesTheRenderer) {
  struct Case {
    std::vector<std::string> args;
    bool has3D;
    int direct3D;      // the engine's path after start-up
    bool textureFlag;  // the flag holds the free texture memory
    int lineDoubling;
  };
  const Case cases[] = {
      {{}, true, 1, true, 0},
      {{"HW"}, true, 1, true, 0},
      {{"h"}, true, 1, true, 0},
      {{"s"}, true, 0, false, 1},
      {{"Soft"}, true, 0, false, 1},
      {{"x"}, true, 0, true, 0},  // detection kept, the engine's own choice (here
                                  // software) kept
      {{"x"}, false, 0, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? std::string("none") : c.args[0]);
    SetRenderMode(0);
    plat::GetDisplayEnvironment().devices[0].has3D = c.has3D;
    ASSERT_EQ(Start(c.args), 1);
    EXPECT_EQ(g_useDirect3D, c.direct3D);
    if (c.textureFlag) {
      EXPECT_EQ(static_cast<uint32_t>(g_hardwareRendering), GetFreeTextureMemory());
      EXPECT_GT(g_hardwareRendering, 1);
    } else {
      EXPECT_EQ(g_hardwareRendering, 0);
    }
    EXPECT_EQ(&g_textureMemory, &g_hardwareRendering);
    EXPECT_EQ(g_lineDoubling, c.lineDoubling);
    EndGame();
    SetLineDoubling(0, 0);
    SetQuitFlag(0);
  }
}

// A copy is running while its window is open or while it holds the running
// copy's claim (from its first step on, before it has a window): a second
// start then opens nothing and says why on standard error.
TEST_F(GameStart, ASecondStartWhileACopyRunsDoesNothingAndSaysSo) {
  const std::string title = "Tarnwick Vf 1.02";
  struct Case {
    const char* what;
    int (*claim)(const std::string&);
    void (*release)(int, const std::string&);
  };
  const Case cases[] = {
      {"its window is open", plat::ClaimWindowTitle, plat::ReleaseWindowTitle},
      {"it has claimed to be the running copy", plat::ClaimProgramCopy,
       [](int claim, const std::string&) { plat::ReleaseProgramCopy(claim); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int claim = c.claim(title);
    ASSERT_GE(claim, 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Start(), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(g_game, nullptr);
    EXPECT_EQ(g_engineOpen, 0) << "nothing was opened";
    EXPECT_NE(said.find("tarnwick: Tarnwick is already running"), std::string::npos) << said;
    c.release(claim, title);
    EndGame();
    ASSERT_EQ(Start(), 1) << "once the other copy has gone";
    EndGame();
    SetQuitFlag(0);
  }
}

}  // namespace
}  // namespace gametest
