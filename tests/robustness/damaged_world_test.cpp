// The sample world with one file deleted or cut short, played through the
// part of the game that reads it: the game names the file, ends in a state a
// player can go on from (field, title, game over), and the game saved before
// the damage still loads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cutscene/cut_scene.h"
#include "cutscene/cut_scene_player.h"
#include "cutscene/dialog_actor.h"
#include "cutscene/sg_society.h"
#include "database/game_database.h"
#include "engine/core/main_loop.h"
#include "engine/media/sprites.h"
#include "game/field_walker.h"
#include "game/save_slots.h"
#include "platform/files.h"
#include "platform/window.h"
#include "talk/talk_host.h"
#include "tests/game/game_fixture.h"
#include "tests/support/named_pipe.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "ui/dialog_player_ex.h"
#include "ui/menu_agency.h"
#include "world/map_scene.h"

namespace gametest {
namespace {

using namespace datagen::sample;
using Bytes = std::vector<uint8_t>;

// A named pipe in place of the file: a reader that opens it as a file
// waits for a writer for ever.
enum class Damage { kDelete, kTruncate, kPipe };

// What the player does after the damage.
enum class Play {
  kNewGame,   // title -> new game -> the village
  kPortal,    // a new game, then through the village's portal to the meadow
  kStory,     // a new game, then Mira's talk, the opening and the boss battle
  kBattle,    // a new game, then the boss battle at once
  kWorldMap,  // a new game, then out onto the world map
  kLoad,      // title -> load slot 1
};

struct Row {
  const char* file;
  Damage damage;
  Play play;
  bool readAtStart = false;  // read again only by a fresh run
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.file; }

const char* PlayName(Play p) {
  switch (p) {
    case Play::kNewGame: return "new game";
    case Play::kPortal: return "portal";
    case Play::kStory: return "story";
    case Play::kBattle: return "battle";
    case Play::kWorldMap: return "world map";
    case Play::kLoad: return "load";
  }
  return "?";
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool Resting(int state) {
  return state == GS_FIELD || state == GS_MENU || state == GS_GAMEOVER || state == GS_WORLD_MAP;
}

bool SaneEnd(int state) { return Resting(state) || state == GS_SETTLE; }

class DamagedWorld : public GameTest, public ::testing::WithParamInterface<Row> {
 protected:
  ~DamagedWorld() override {
    EndGame();
    SGSociety::Shutdown();
  }

  // The sample world is written once for every row and copied for each:
  // writing it flushes every file to disk, which is slow.
  static void SetUpTestSuite() {
    World() = std::filesystem::temp_directory_path() / ("tarnwick-damaged-world-" + std::to_string(::getpid()));
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(World().string(), error)) << error;
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(World(), ignored);
  }
  static std::filesystem::path& World() {
    static std::filesystem::path world;
    return world;
  }

  void WriteWorld() {
    std::error_code error;
    std::filesystem::copy(World(), ".", std::filesystem::copy_options::recursive, error);
    ASSERT_FALSE(error) << error.message();
  }

  // The game ended as the program ends it, so the next Start is a fresh run.
  void Quit() {
    EndGame();
    SGSociety::Shutdown();
    if (g_mainWindow && plat::IsWindow(g_mainWindow)) plat::DestroyWindow(g_mainWindow);
    g_mainWindow = 0;
    SetQuitFlag(0);
    plat::ClearMessageQueue();
  }

  // The opening's question, answered with its second choice.
  void AnswerTheOpening() {
    CCutScene* play = Game().cutScene ? Game().cutScene->GetPlay() : nullptr;
    auto* dialog = play ? dynamic_cast<SDialog*>(play->FindActor(ACTOR_DIALOG, kOpeningDialog)) : nullptr;
    if (!dialog || !dialog->IsWaiting()) return;
    CDialogPlayerEx* box = dialog->GetBox();
    if (!box->choicesReady) {
      g_menuAgency.OnLButtonDown(600, 10);
      return;
    }
    int x = 0, y = 0;
    GetSpritePosition(box->choiceSprites[1], &x, &y);
    g_menuAgency.OnMouseMove(x + 4, y + 4);
    g_menuAgency.OnLButtonDown(x + 4, y + 4);
  }

  // Passes until the game rests in a state the player can go on from, doing
  // what a player does on the way: talks are clicked through (the answer
  // that pays), a battle is fled at once. -100 - state when it never rests.
  int Drive(int limit = 600) {
    int battleTicks = 0, resting = 0;
    for (int i = 0; i < limit; ++i) {
      if (!g_game) return GS_QUIT;
      CGame& g = Game();
      seen_.insert(g.state);
      if (g.state == GS_TALK && g.talk && g.talk->player) {
        CTalkPlayer& p = *g.talk->player;
        if (p.state == TALKSTATE_TYPING) p.OnClick(0, 0);
        else if (p.state == TALKSTATE_CHOOSING) {
          p.OnKey(TALKKEY_DOWN);
          p.OnKey(TALKKEY_RETURN);
        }
      }
      if (g.state == GS_SCRIPT) AnswerTheOpening();
      battleTicks = g.state == GS_BATTLE ? battleTicks + 1 : 0;
      if (battleTicks == 3) PressEsc();
      resting = Resting(g.state) ? resting + 1 : 0;
      if (resting >= 3) return g.state;
      Pass();
    }
    return g_game ? -Game().state - 100 : GS_QUIT;
  }

  void PressEsc() {
    Post(plat::WM_KEYDOWN, 27);
    RunMainLoopPass(1);
    Post(plat::WM_KEYUP, 27);
  }

  // The start script is skipped with Esc, as a player in a hurry does.
  void NewGame() {
    Game().OnScreenResult(SR_NEW_GAME);
    Pass();
    PressEsc();
    state_ = Drive();
  }

  void PlayPart(Play play) {
    ASSERT_EQ(Start(), 1);
    state_ = Game().state;
    switch (play) {
      case Play::kNewGame: NewGame(); break;
      case Play::kPortal: {
        NewGame();
        if (state_ != GS_FIELD || !Game().scene) break;
        const VECTOR3 portal{560, -300, 0}, east{1, 0, 0};
        Game().PlaceWalker(&portal, &east, Game().scene->GetTerrain());
        Game().OnWalkerMoved(1);
        state_ = Drive();
        break;
      }
      case Play::kStory:
        NewGame();
        if (state_ != GS_FIELD) break;
        Game().StartApproachEvent(1);
        state_ = Drive(1200);
        break;
      case Play::kBattle:
        NewGame();
        if (state_ != GS_FIELD) break;
        Game().StartBattle(1, kBossId);
        state_ = Drive();
        break;
      case Play::kWorldMap:
        NewGame();
        if (state_ != GS_FIELD) break;
        Game().GoToScene(kWorldMapName, 1);
        state_ = Drive();
        break;
      case Play::kLoad:
        if (Game().LoadGame(1)) state_ = Drive();
        else state_ = Game().state;
        break;
    }
  }

  // A new game saved in slot 1 in the village; its files kept to compare.
  // The game saves once per run of the tests; later rows find its files as
  // a player finds an old save.
  void SaveSlotOne() {
    WriteWorld();
    static std::map<std::string, Bytes> saved;
    if (!saved.empty()) {
      slot_ = saved;
      for (const auto& [path, bytes] : slot_) ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size()));
      return;
    }
    ASSERT_EQ(Start(), 1);
    NewGame();
    ASSERT_EQ(state_, GS_FIELD);
    g_gameDataBase.party.SetMoney(kSavedMoney);
    // Where the hero stands, as the main menu notes it before the player saves.
    ASSERT_NE(Game().walker, nullptr);
    VECTOR3 at{0, 0, 0}, facing{0, 1, 0};
    Game().walker->GetPosition(&at, &facing);
    std::memcpy(Game().menuWalkerPos, &at, sizeof Game().menuWalkerPos);
    std::memcpy(Game().menuWalkerDir, &facing, sizeof Game().menuWalkerDir);
    savedAt_ = at;
    std::vector<SAVESUMMARYDESC> list;
    ASSERT_EQ(SaveToSlot(1, "Before", list), 1);
    Quit();
    for (const char* extension : {".sav", ".map", ".bmp"}) {
      const std::string path = SaveSlotPath(1, extension);
      if (!plat::FileExists(path)) continue;
      ASSERT_TRUE(plat::ReadWholeFile(path, slot_[path])) << path;
    }
    ASSERT_EQ(slot_.count(SaveSlotPath(1, ".sav")), 1u);
    saved = slot_;
  }

  // Message boxes, DebugTrace lines and the engine's debugger output.
  std::string Reports() const {
    std::string all;
    for (const testsupport::CapturedBox& box : boxes_.Boxes()) all += "box [" + box.title + "] " + box.text + "\n";
    for (const std::string& line : traces_.Lines()) all += "trace " + line + "\n";
    for (const std::string& line : output_.Lines()) all += "engine " + line + "\n";
    return all;
  }

  bool Named(const std::string& file) const {
    return Lower(Reports()).find(Lower(std::filesystem::path(file).filename().string())) != std::string::npos;
  }

  void ExpectSlotUntouched() {
    for (const auto& [path, bytes] : slot_) {
      Bytes now;
      EXPECT_TRUE(plat::ReadWholeFile(path, now)) << path;
      EXPECT_TRUE(now == bytes) << path << " changed";
    }
  }

  // Slot 1 loaded from the title: the village, with the money saved. A file
  // the game reads only at its start needs a fresh run to be read again.
  void ExpectSlotLoads(bool freshRun) {
    if (freshRun || !g_game) {
      Quit();
      ASSERT_EQ(Start(), 1);
    } else {
      Game().OnScreenResult(SR_TITLE);
      ASSERT_EQ(Game().state, GS_MENU);
    }
    ASSERT_EQ(Game().LoadGame(1), 1) << Reports();
    ASSERT_NE(Game().scene, nullptr);
    EXPECT_EQ(Lower(Game().scene->sceneName), "a004.sb");
    EXPECT_EQ(g_gameDataBase.party.GetMoney(), kSavedMoney);
    VECTOR3 at{0, 0, 0};
    Game().walker->GetPosition(&at, nullptr);
    EXPECT_NEAR(at.x, savedAt_.x, 1e-3);
    EXPECT_NEAR(at.y, savedAt_.y, 1e-3);
    const int state = Drive();
    EXPECT_TRUE(SaneEnd(state)) << "state " << state;
  }

  static constexpr int kSavedMoney = 1234;
  static inline VECTOR3 savedAt_{0, 0, 0};
  testsupport::DebugOutputCapture output_;
  int state_ = 0;
  std::set<int> seen_;  // every state Drive passed through
  std::map<std::string, Bytes> slot_;
};

TEST_P(DamagedWorld, TheGameNamesTheFileGoesOnAndTheSaveStillLoads) {
  const Row& row = GetParam();
  SaveSlotOne();
  if (HasFatalFailure()) return;

  Bytes original;
  ASSERT_TRUE(plat::ReadWholeFile(row.file, original)) << row.file;
  std::unique_ptr<testsupport::NamedPipe> pipe;
  if (row.damage == Damage::kDelete) {
    ASSERT_TRUE(plat::RemoveFile(row.file));
  } else if (row.damage == Damage::kPipe) {
    const std::optional<std::filesystem::path> path = plat::ResolvePath(row.file);
    ASSERT_TRUE(path);
    pipe = std::make_unique<testsupport::NamedPipe>(path->string());
    ASSERT_TRUE(pipe->Made());
  } else {
    ASSERT_TRUE(plat::WriteFileAtomic(row.file, original.data(), original.size() / 2));
  }

  PlayPart(row.play);
  if (HasFatalFailure()) return;
  if (pipe) {
    EXPECT_FALSE(pipe->ReaderWaited()) << "the game waited on the pipe";
  }
  EXPECT_TRUE(SaneEnd(state_)) << "state " << state_ << "\n" << Reports();
  EXPECT_TRUE(Named(row.file)) << "nothing names " << row.file << "\n" << Reports();
  ExpectSlotUntouched();

  ASSERT_TRUE(plat::WriteFileAtomic(row.file, original.data(), original.size()));
  ExpectSlotLoads(row.readAtStart);
}

constexpr Damage kDel = Damage::kDelete;
constexpr Damage kCut = Damage::kTruncate;
constexpr Damage kPipe = Damage::kPipe;

const Row kRows[] = {
    {kVillageScene, kDel, Play::kNewGame},
    {kVillageScene, kCut, Play::kNewGame},
    {kVillageScene, kDel, Play::kLoad},
    {kMeadowScene, kDel, Play::kPortal},
    {kMeadowScene, kCut, Play::kPortal},
    {kTalkFile, kDel, Play::kStory},
    {kTalkFile, kCut, Play::kStory},
    {kDialogueFile, kDel, Play::kStory},
    {kCutSceneFile, kDel, Play::kStory},
    {kCutSceneFile, kCut, Play::kStory},
    {"creature/battle/sbe.sc", kDel, Play::kBattle},
    {"creature/battle/sbe.sc", kCut, Play::kBattle},
    {"creature/battle/kbs.acb", kDel, Play::kBattle},
    {"creature/battle/kbs.acb", kCut, Play::kBattle},
    {"creature/battle/HitVertice.txt", kDel, Play::kBattle},
    {"creature/battle/Ai.txt", kDel, Play::kBattle},
    {"creature/battle/Ai.txt", kCut, Play::kBattle},
    {kDatabaseFile, kDel, Play::kNewGame, true},
    {kDatabaseFile, kCut, Play::kNewGame, true},
    {kDatabaseFile, kDel, Play::kLoad, true},
    {kGameResourceFile, kDel, Play::kNewGame, true},
    {kGameResourceFile, kCut, Play::kNewGame, true},
    {kGameResourceFile, kDel, Play::kLoad, true},
    {"image/ui.qxo", kCut, Play::kNewGame, true},
    {"image/map.qxo", kCut, Play::kWorldMap},
    {kNpcModelFile, kCut, Play::kNewGame},
    {"creature/battle/E101.MCB", kCut, Play::kBattle},
    {kStreamFile, kCut, Play::kNewGame},
    {kStreamFile, kDel, Play::kNewGame},
    {kVillageScene, kPipe, Play::kNewGame},
    {kTalkFile, kPipe, Play::kStory},
    {kNpcModelFile, kPipe, Play::kNewGame},
    {kDatabaseFile, kPipe, Play::kNewGame, true},
};

// The intact world played through the story names none of the table's
// files, so a name in the reports above comes from the damage.
class IntactWorld : public DamagedWorld {};

TEST_F(IntactWorld, TheStoryNamesNoneOfTheTablesFiles) {
  SaveSlotOne();
  if (HasFatalFailure()) return;
  PlayPart(Play::kStory);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(SaneEnd(state_)) << state_;
  for (int state : {GS_TALK, GS_SCRIPT, GS_BATTLE}) EXPECT_EQ(seen_.count(state), 1u) << "never in state " << state;
  for (const Row& row : kRows) EXPECT_FALSE(Named(row.file)) << row.file << "\n" << Reports();
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  const char* damage = info.param.damage == kDel ? "Deleted_" : info.param.damage == kCut ? "Cut_" : "Pipe_";
  std::string name = std::string(damage) + std::filesystem::path(info.param.file).filename().string() + "_" +
                     PlayName(info.param.play);
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(OneFile, DamagedWorld, ::testing::ValuesIn(kRows), RowName);

}  // namespace
}  // namespace gametest
