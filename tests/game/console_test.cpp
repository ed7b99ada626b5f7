// The developer console: typing, the access code, and commands on the running game.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "cutscene/sg_society.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "engine/core/input_hooks.h"
#include "engine/core/materials.h"
#include "engine/core/world.h"
#include "game/debug_console.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/pick_manager.h"
#include "platform/display.h"
#include "platform/window.h"
#include "tests/game/game_fixture.h"
#include "tests/support/frame_png.h"
#include "tools/datagen/sample_world.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace gametest {
namespace {

using namespace datagen::sample;

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
        case '-':
          Ctrl(1);
          C().OnKey(189, 1);
          Ctrl(0);
          break;
        case '(':
          Ctrl(1);
          C().OnKey('9', 1);
          Ctrl(0);
          break;
        case ')':
          Ctrl(1);
          C().OnKey('0', 1);
          Ctrl(0);
          break;
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
  } cases[] = {{'9', 1, "("}, {'0', 1, ")"}, {187, 1, "+"}, {189, 1, "-"}, {188, 1, ""},  {190, 1, ""},
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

// Where the overlay drew a text starting with prefix; null when it drew none.
const CDebugConsole::OverlayText* Drawn(const CDebugConsole& console, const std::string& prefix) {
  for (const auto& t : console.overlay)
    if (t.text.compare(0, prefix.size(), prefix) == 0) return &t;
  return nullptr;
}

class ConsoleInTheField : public Console {
 protected:
  void SetUp() override {
    Console::SetUp();
    // The title's "New game", as a player starts one.
    Pass(5);
    for (uint32_t message : {plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP}) {
      Post(message, 0, plat::MakePointParam(106, 326));
      Pass();
    }
    for (int i = 0; i < 300 && Game().state != GS_FIELD; ++i) Pass();
    ASSERT_EQ(Game().state, GS_FIELD);
    Unlock();
  }
};

TEST_F(ConsoleInTheField, TheOverlayNamesTheCharacterTheFoesAndTheScriptAndShowsTheCamera) {
  for (const char* toggle : {"NPCNAME", "FOENAME", "AUTONAME", "POSITION"}) Enter(toggle);

  CGameCamera& camera = *Game().scene->camera;
  camera.pitch = 0.5f;
  camera.orbitYaw = 1.0f;
  C().DrawOverlay();
  VECTOR3 eye{0, 0, 0};
  camera.GetPositionAndDirection(&eye, nullptr);
  char expected[64];
  std::snprintf(expected, sizeof expected, "Cam:%4.1f %4.1f %4.1f", eye.x, eye.y, eye.z);
  std::snprintf(expected + 32, sizeof expected - 32, "R: %4.1f", camera.orbitDistance);
  const struct {
    std::string text;
    int y;
  } lines[] = {{expected, 22}, {expected + 32, 42}, {"XA: 28.65 ZA: 57.30", 82},
               {"Man:", 2},    {"Pose:", 62},       {"Mouse:", 102}};
  for (const auto& line : lines) {
    const CDebugConsole::OverlayText* t = Drawn(C(), line.text);
    ASSERT_NE(t, nullptr) << line.text;
    EXPECT_EQ(t->x, 450);
    EXPECT_EQ(t->y, line.y) << line.text;
    EXPECT_EQ(t->green, 255);
  }
  EXPECT_EQ(Drawn(C(), "k "), nullptr) << "names only in a talk";

  // The character being talked to: its record's label and name.
  const auto& people = Game().scene->content->people;
  ASSERT_FALSE(people.empty());
  Game().pick->target = 0;
  Game().state = GS_TALK;
  C().DrawOverlay();
  const std::string label = std::string("k ") + people[0]->npc->Name();
  const CDebugConsole::OverlayText* name = Drawn(C(), label);
  ASSERT_NE(name, nullptr) << label;
  EXPECT_EQ(name->text, label);
  EXPECT_EQ(name->y, 32);
  EXPECT_EQ(Drawn(C(), "Cam:"), nullptr) << "positions only in the field";

  // The rolled foes, one line each.
  Game().encounters->groupSize = 2;
  Game().encounters->group[0] = kEnemyId;
  Game().encounters->group[1] = kShooterId;
  Game().state = GS_BATTLE;
  C().DrawOverlay();
  for (int i = 0; i < 2; ++i) {
    const int id = i == 0 ? kEnemyId : kShooterId;
    const std::string foe = std::to_string(id) + " " + g_gameDataBase.FindEnemy(id)->name;
    const CDebugConsole::OverlayText* t = Drawn(C(), foe);
    ASSERT_NE(t, nullptr) << foe;
    EXPECT_EQ(t->x, 400);
    EXPECT_EQ(t->y, 10 + 20 * i);
  }

  // The script event started last, by its name.
  int named = 0;
  while (Game().events->Event(named) && Game().events->Event(named)->name[0] == '\0') ++named;
  ASSERT_NE(Game().events->Event(named), nullptr);
  Game().events->scriptEventIndex = named;
  Game().state = GS_SCRIPT;
  C().DrawOverlay();
  const CDebugConsole::OverlayText* script = Drawn(C(), Game().events->Event(named)->name);
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(script->x, 80);
  EXPECT_EQ(script->y, 20);
  EXPECT_EQ(script->blue, 255);
  Game().state = GS_FIELD;
}

TEST_F(ConsoleInTheField, FightRollsWithTheWalkersOwnFactor) {
  Game().GoToScene("e001.SB", 1);  // the meadow, whose every roll of 100 succeeds
  for (int i = 0; i < 300 && Game().state != GS_FIELD; ++i) Pass();
  ASSERT_EQ(Game().state, GS_FIELD);
  Game().walker->encounterFactor = 0;  // a form that never meets battles
  Enter("FIGHT");
  EXPECT_EQ(Game().state, GS_FIELD) << "a thousand rolls, none met";
  Game().walker->encounterFactor = 1;
  Enter("FIGHT");
  EXPECT_EQ(Game().state, GS_BATTLE);
}

// How many pixels are clearly brighter in `after`, channel by channel.
int BrighterPixels(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after) {
  int n = 0;
  for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
    bool brighter = true;
    for (int shift : {0, 8, 16})
      brighter &= static_cast<int>(after[i] >> shift & 0xFF) >= static_cast<int>(before[i] >> shift & 0xFF);
    const int gain = static_cast<int>((after[i] & 0xFF) + (after[i] >> 8 & 0xFF) + (after[i] >> 16 & 0xFF)) -
                     static_cast<int>((before[i] & 0xFF) + (before[i] >> 8 & 0xFF) + (before[i] >> 16 & 0xFF));
    n += brighter && gain > 90;
  }
  return n;
}

TEST_F(ConsoleInTheField, TerrainShowsTheGroundAsWhiteWires) {
  const HOBJECT ground = Game().scene->GetTerrainNode();
  ASSERT_NE(ground, 0u);
  plat::CapturePresentedFrames(true);
  Pass();
  const std::vector<uint32_t> plain = testsupport::FrameToRgb(plat::LastPresentedFrame());
  ASSERT_FALSE(plain.empty());

  Enter("TERRAIN");
  std::vector<HOBJECT> materials;
  GetNodeMaterials(ground, &materials, nullptr);
  ASSERT_EQ(materials.size(), 1u) << "one material for the whole ground";
  float diffuse[3] = {0, 0, 0};
  GetMaterialColors(materials[0], nullptr, diffuse, nullptr, nullptr, nullptr);
  EXPECT_EQ(diffuse[0] + diffuse[1] + diffuse[2], 3.0f) << "white";
  Pass();
  const std::vector<uint32_t> wired = testsupport::FrameToRgb(plat::LastPresentedFrame());
  const int lines = BrighterPixels(plain, wired);
  EXPECT_GT(lines, 200) << "white lines over the ground";

  Enter("TERRAIN");
  Pass();
  const std::vector<uint32_t> hidden = testsupport::FrameToRgb(plat::LastPresentedFrame());
  EXPECT_LT(BrighterPixels(plain, hidden), lines / 10) << "hidden again";
  plat::CapturePresentedFrames(false);
}

}  // namespace
}  // namespace gametest
