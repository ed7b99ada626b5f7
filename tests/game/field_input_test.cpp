// The field's keys and mouse, injected as window messages.
#include <gtest/gtest.h>

#include "game/field_input.h"
#include "game/pick_manager.h"
#include "platform/window.h"
#include "tests/game/game_fixture.h"
#include "ui/am_wnd.h"
#include "ui/am_wnd_manager.h"
#include "ui/screen_manager.h"

namespace gametest {
namespace {

class FieldInput : public GameTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), 1);
    // The title's start menu closes as the player's choice would.
    ASSERT_NE(GetTopWnd(), nullptr);
    GetTopWnd()->Close();
    UpdateScreens(1);
    Game().state = GS_FIELD;
    g_walkKeyMask = 0;
    Game().BindFieldKeys(1);
  }
  void Key(int key, bool down) {
    Post(down ? plat::WM_KEYDOWN : plat::WM_KEYUP, static_cast<plat::WParam>(key));
    RunMainLoopPass(1);
  }
  void Mouse(uint32_t message, int x, int y) {
    Post(message, 0, plat::MakePointParam(x, y));
    RunMainLoopPass(1);
  }
};

TEST_F(FieldInput, WalkKeysMakeTheMaskAndItsCommand) {
  struct Case {
    const char* keys;
    int mask;
    int command;
  } const cases[] = {
      {"W", 1, 3},    {"S", 8, 6},     {"A", 4, 4},  {"D", 2, 5}, {"WD", 3, 3},
      {"WSD", 11, 5}, {"WSAD", 15, 2}, {"WS", 9, 2}, {"", 0, 2},
  };
  for (const Case& c : cases) {
    for (const char* k = c.keys; *k; ++k) Key(*k, true);
    EXPECT_EQ(g_walkKeyMask, c.mask) << c.keys;
    EXPECT_EQ(WalkCommandOfMask(g_walkKeyMask), c.command) << c.keys;
    for (const char* k = c.keys; *k; ++k) Key(*k, false);
    EXPECT_EQ(g_walkKeyMask, 0) << c.keys << " released";
  }
}

TEST_F(FieldInput, ShiftHandsTheWalkKeysToTheConsole) {
  Key(16, true);
  Key('W', true);
  EXPECT_EQ(g_walkKeyMask, 0);
  Key('W', false);
  Key(16, false);
  Key('W', true);
  EXPECT_EQ(g_walkKeyMask, 1);
}

TEST_F(FieldInput, EscClearsTheMaskAndOpensTheMenuOnlyInTheField) {
  Game().state = GS_BATTLE;
  Key('W', true);
  Key(27, true);
  Key(27, false);
  EXPECT_EQ(g_walkKeyMask, 0);
  EXPECT_EQ(Game().mapHookPaused, 0) << "no menu outside the field";
  Game().state = GS_FIELD;
  Key('D', true);
  Key(27, true);
  EXPECT_EQ(g_walkKeyMask, 0);
  EXPECT_EQ(Game().mapHookPaused, 1) << "the main menu opened";
}

TEST_F(FieldInput, TabCyclesTheAutomapFixedFollowHidden) {
  EXPECT_EQ(Game().automapMode, 2);
  for (int expected : {0, 1, 2, 0}) {
    Key(9, true);
    Key(9, false);
    EXPECT_EQ(Game().automapMode, expected);
  }
}

TEST_F(FieldInput, NothingIsPickedBeforeTheFirstMouseMove) {
  ASSERT_NE(Game().pick, nullptr);
  EXPECT_EQ(Game().pick->pickMode, 0);
  Mouse(plat::WM_MOUSEMOVE, 100, 100);
  EXPECT_EQ(Game().pick->pickMode, 4);
}

TEST_F(FieldInput, ASlowClickIsAPress31To59FramesOnThenADoubleClickWithin25) {
  struct Case {
    unsigned gap;
    unsigned doubleAfter;
    bool slow;
  } const cases[] = {
      {31, 0, true}, {59, 24, true}, {30, 0, false}, {60, 0, false}, {40, 25, false},
  };
  for (const Case& c : cases) {
    Game().mouse.type = CT_DOOR;
    Game().lastLeftPress = Game().uiFrames - c.gap;
    OnFieldLeftPress(320, 240);
    EXPECT_EQ(Game().slowClickArmed, c.gap >= 31 && c.gap <= 59) << c.gap;
    Game().pick->clickType = 0;
    Game().uiFrames += c.doubleAfter;
    Mouse(plat::WM_LBUTTONDBLCLK, 320, 240);
    EXPECT_EQ(Game().pick->clickType, c.slow ? CT_DOOR : 0) << c.gap << " " << c.doubleAfter;
    EXPECT_EQ(Game().slowClickArmed, 0);
  }
}

TEST_F(FieldInput, ACloseUpFadesInTheRightButtonLeavesAndTheFieldReturns) {
  Game().state = GS_CLOSEUP_IN;
  Game().returnState = GS_CLOSEUP;
  Game().leaveCloseUp = 1;
  Game().StepCloseUpIn(1);
  EXPECT_EQ(Game().state, GS_CLOSEUP);
  EXPECT_EQ(Game().cursorMode, 2);
  EXPECT_EQ(Game().leaveCloseUp, 0);
  Game().UpdateCloseUp();
  EXPECT_EQ(Game().state, GS_CLOSEUP) << "stays until the right button";
  Post(plat::WM_RBUTTONDOWN, 0, plat::MakePointParam(10, 10));
  RunMainLoopPass(1);
  EXPECT_EQ(Game().leaveCloseUp, 1);
  Game().UpdateCloseUp();
  EXPECT_EQ(Game().state, GS_CLOSEUP_OUT);
  Game().StepCloseUpOut(1);
  EXPECT_EQ(Game().state, GS_FIELD);
  EXPECT_EQ(Game().returnState, GS_FIELD);
  EXPECT_EQ(Game().cursorMode, 1);
  Key('W', true);
  EXPECT_EQ(g_walkKeyMask, 1) << "walk keys bound again";
}

TEST_F(FieldInput, ScriptEscAsksToSkip) {
  Game().BindScriptKeys();
  Game().skipScript = 0;
  Key(27, true);
  EXPECT_EQ(Game().skipScript, 1);
}

}  // namespace
}  // namespace gametest
