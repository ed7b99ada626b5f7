// The developer console: typing, the access code, and commands on the running game.
#include <gtest/gtest.h>

#include <cctype>

#include "cutscene/sg_society.h"
#include "engine/core/input_hooks.h"
#include "engine/core/world.h"
#include "game/database/game_database.h"
#include "game/debug_console.h"
#include "game/encounter_table.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/sample_world.h"
#include "world/game_resource.h"

namespace gametest {
namespace {

void NoKey(int, int) {}

class Console : public GameTest {
 protected:
  Console() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~Console() override {
    EndGame();
    SGSociety::Shutdown();
  }
  void SetUp() override { ASSERT_EQ(Start(), 1); }

  CDebugConsole& C() { return *Game().console; }

  void Ctrl(int down) {
    SetKeyHook(17, NoKey, 0);
    g_gameWorld->keyHooks[17]->down = down;
  }
  // Types text as key codes: letters as upper-case codes, '_' '(' ')' ',' '.' as the console expects them.
  void Type(const std::string& text) {
    for (char ch : text) {
      switch (ch) {
        case '_': C().OnKey(189, 1); break;
        case ',': C().OnKey(188, 1); break;
        case '.': C().OnKey(190, 1); break;
        case '-': Ctrl(1); C().OnKey(189, 1); Ctrl(0); break;
        case '(': Ctrl(1); C().OnKey('9', 1); Ctrl(0); break;
        case ')': Ctrl(1); C().OnKey('0', 1); Ctrl(0); break;
        default: C().OnKey(std::toupper(static_cast<unsigned char>(ch)), 1); break;
      }
    }
  }
  void Enter(const std::string& text) {
    Type(text);
    C().OnKey(13, 1);
  }
  void Unlock() {
    Enter("P_LORN");
    ASSERT_EQ(C().cheatMode, 1);
  }
};

TEST_F(Console, TheAccessCodeUnlocksAndEarlierLinesDoNothing) {
  const int money = g_gameDataBase.party.GetMoney();
  Enter("MONEY 100");
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), money) << "locked";
  EXPECT_EQ(C().lineLength, 0) << "the line is cleared";
  EXPECT_EQ(C().cheatMode, 0);
  Enter("P_LORN");
  EXPECT_EQ(C().cheatMode, 1);
  EXPECT_EQ(C().message, "Cheat Mode On");
  C().message.clear();
  Enter("P_LORN");
  EXPECT_EQ(C().cheatMode, 1);
  EXPECT_EQ(C().message, "") << "run as an unknown command";
  Enter("MONEY 100");
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), money + 100);
}

TEST_F(Console, TheLineHoldsThirtyOneCharactersAndKeysMapByCtrl) {
  C().OnKey(8, 1);
  EXPECT_EQ(C().lineLength, 0) << "Backspace on an empty line";
  Type(std::string(40, 'A'));
  EXPECT_EQ(C().lineLength, 31);
  EXPECT_EQ(std::string(C().line), std::string(31, 'A'));
  C().OnKey(8, 1);
  EXPECT_EQ(C().lineLength, 30);
  C().ClearLine();
  const struct {
    int key;
    int ctrl;
    const char* line;
  } cases[] = {{'9', 1, "("}, {'0', 1, ")"}, {187, 1, "+"}, {189, 1, "-"}, {188, 1, ""}, {190, 1, ""},
               {187, 0, ""},  {188, 0, ","}, {189, 0, "_"}, {190, 0, "."}, {'9', 0, "9"}, {200, 0, ""}};
  for (const auto& c : cases) {
    C().ClearLine();
    Ctrl(c.ctrl);
    C().OnKey(c.key, 1);
    EXPECT_STREQ(C().line, c.line) << c.key << " ctrl " << c.ctrl;
  }
  Ctrl(0);
  C().ClearLine();
  C().OnKey('A', 0);
  EXPECT_EQ(C().lineLength, 0) << "releases type nothing";
}

TEST_F(Console, CommandsMatchInOrderWithoutRegardToCase) {
  Unlock();
  Game().encountersOn = 0;
  Enter("FIGHTON");
  EXPECT_EQ(Game().encountersOn, 1);
  EXPECT_EQ(C().message, "Enable Fight!!");
  Enter("fightoff");
  EXPECT_EQ(Game().encountersOn, 0);
  EXPECT_EQ(C().message, "Disable Fight!!");
  Enter("FLAG 7");
  EXPECT_EQ(C().message, "FLAG 7 On");
  Enter("FLAG -7");
  EXPECT_EQ(C().message, "FLAG 7 Off");
  Enter("NOFIGHT");
  EXPECT_EQ(Game().debugSwitches & 1, 1);
  Enter("MAN3");
  EXPECT_EQ(Game().pendingHeroForm, 3);
  Enter("FRAMERATE");
  EXPECT_EQ(C().showFrameRate, 1);
}

TEST_F(Console, SysQueriesAVariable) {
  Unlock();
  g_gameDataBase.party.SetMoney(345);
  Enter("SYS(Q,MONEY)");
  EXPECT_EQ(C().message, "MONEY = 345 ");
  Enter("SYS(S,MONEY,12)");
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 12);
  C().message.clear();
  Enter("SYS MONEY");
  EXPECT_EQ(C().message, "") << "no bracket: nothing";
}

TEST_F(Console, FightOnAMapThatNeverRollsReturns) {
  Unlock();
  MAPDESC quiet;  // rate 0, threshold 0
  CEncounterTable table;
  CEncounterTable* kept = Game().encounters;
  Game().encounters = &table;
  table.mapRecord = &quiet;
  table.candidateCount = 1;
  const int state = Game().state;
  Enter("FIGHT");
  EXPECT_EQ(table.enabled, 1);
  EXPECT_EQ(Game().state, state) << "no battle starts";
  Game().encounters = kept;
}

TEST_F(Console, TheOverlayShowsOnlyInCheatMode) {
  Type("AB");
  C().DrawOverlay();
  EXPECT_TRUE(C().overlay.empty());
  C().ClearLine();
  Unlock();
  Type("AB");
  C().DrawOverlay();
  ASSERT_FALSE(C().overlay.empty());
  bool lineShown = false;
  for (const auto& t : C().overlay) lineShown |= t.text == "AB" && t.x == 5 && t.y == 460;
  EXPECT_TRUE(lineShown);
}

}  // namespace
}  // namespace gametest
