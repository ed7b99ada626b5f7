// The sample world played from the title to the end by timed player input, on
// both render paths: every checkpoint's game state is asserted, its frame is
// kept as a picture, and a second play gives the same values.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "battle/battle_script.h"
#include "battle/battle_sys.h"
#include "cutscene/cut_scene_player.h"
#include "cutscene/sg_society.h"
#include "database/game_database.h"
#include "engine/core/engine_window.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/save_slots.h"
#include "platform/files.h"
#include "talk/talk_host.h"
#include "tests/game/game_fixture.h"
#include "tests/playthrough/playthrough_script.h"
#include "tests/support/frame_png.h"
#include "tests/support/input_script.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "ui/menu_agency.h"
#include "ui/role_page.h"
#include "world/map_scene.h"

namespace gametest {
namespace {

using namespace datagen::sample;

// The test's own working directory, before any test moves to its empty one.
const std::filesystem::path kStartDirectory = std::filesystem::current_path();

// What the game holds at a checkpoint.
struct CheckpointValues {
  std::string name;
  int state = 0;
  std::string scene;
  int money = 0;
  std::vector<PARTYITEMDESC> items;
  int experience = 0;
  int battleResult = 0;
  int battleRunning = 0;
  int bossId = 0;
  int quitRequested = 0;   // the main loop ends
  int savedSlots = 0;      // bit n: slot n's ".sav" is on disk
  int cutSceneFrame = -1;  // the running cut-scene's frame
  float position[3] = {0, 0, 0};
  std::vector<uint8_t> storyFlags;

  bool operator==(const CheckpointValues& o) const {
    auto sameItems = [&] {
      if (items.size() != o.items.size()) return false;
      for (size_t i = 0; i < items.size(); ++i)
        if (items[i].id != o.items[i].id || items[i].count != o.items[i].count || items[i].type != o.items[i].type)
          return false;
      return true;
    };
    return name == o.name && state == o.state && scene == o.scene && money == o.money && sameItems() &&
           experience == o.experience && battleResult == o.battleResult && battleRunning == o.battleRunning &&
           bossId == o.bossId && quitRequested == o.quitRequested && savedSlots == o.savedSlots &&
           cutSceneFrame == o.cutSceneFrame && position[0] == o.position[0] && position[1] == o.position[1] &&
           position[2] == o.position[2] && storyFlags == o.storyFlags;
  }
};

std::ostream& operator<<(std::ostream& out, const CheckpointValues& v) {
  out << v.name << ": state " << v.state << ", scene " << v.scene << ", money " << v.money << ", " << v.items.size()
      << " item stacks, experience " << v.experience << ", battle " << v.battleRunning << "/" << v.battleResult
      << " boss " << v.bossId << ", at (" << v.position[0] << ", " << v.position[1] << ", " << v.position[2]
      << "), items";
  for (const PARTYITEMDESC& item : v.items) out << " " << item.type << ":" << item.id << "x" << item.count;
  out << ", flags";
  for (size_t i = 0; i < v.storyFlags.size() * 8; ++i)
    if (v.storyFlags[i / 8] >> (i % 8) & 1) out << " " << i;
  return out;
}

// One whole play of the script; every play starts from a fresh work directory.
struct PlayRecord {
  std::vector<CheckpointValues> checkpoints;
  std::vector<plat::PresentedFrame> frames;  // the frame shown at each checkpoint
  int talkBox[4] = {0, 0, 0, 0};             // left, top, right, bottom of the talk's box
  int passes = 0;

  // How many of (type, id) the party held.
  static int CountOf(const CheckpointValues& v, int type, int id) {
    for (const PARTYITEMDESC& item : v.items)
      if (item.type == type && item.id == id) return item.count;
    return 0;
  }

  const CheckpointValues* Find(const std::string& name) const {
    for (const CheckpointValues& v : checkpoints)
      if (v.name == name) return &v;
    return nullptr;
  }
  const plat::PresentedFrame* Frame(const std::string& name) const {
    for (size_t i = 0; i < checkpoints.size(); ++i)
      if (checkpoints[i].name == name) return &frames[i];
    return nullptr;
  }
};

// The render path (the game's first argument) and how many plays it gets:
// the repeat play, which must give the same values, runs on one path only to
// keep the test short.
struct RenderPath {
  const char* argument;
  int plays;
};

class PlayThrough : public GameTest, public ::testing::WithParamInterface<RenderPath> {
 protected:
  ~PlayThrough() override {
    plat::CapturePresentedFrames(false);
    EndGame();
    SGSociety::Shutdown();
  }

  PlayRecord Play() {
    PlayRecord record;
    testsupport::ScopedWorkDir dir;
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
    FinishFirstHeroGame();
    if (HasFatalFailure()) return record;

    plat::CapturePresentedFrames(true);
    if (Start({GetParam().argument}) != 1) {
      ADD_FAILURE() << "the game did not start";
      return record;
    }
    std::vector<testsupport::InputLine> lines;
    EXPECT_TRUE(testsupport::ParseInputScript(kPlayThroughScript, &lines, &error)) << error;
    record.passes = testsupport::PlayInputScript(
        GetMainWindow(), lines, [&] { PassWhileRunning(); },
        [&](const std::string& name) { Checkpoint(name, record); });
    plat::CapturePresentedFrames(false);
    EndProgram();
    return record;
  }

 private:
  // The hero choice is offered once the first hero's game was finished: a
  // game of the first hero leaves its super save behind.
  void FinishFirstHeroGame() {
    ASSERT_EQ(Start({GetParam().argument}), 1);
    Game().hero = 1;
    ASSERT_EQ(Game().WriteSuperSave(), 1);
    EndProgram();
  }

  // Ends the game as the program ends it and leaves the engine as a fresh
  // program finds it, for the next start.
  void EndProgram() {
    EndGame();
    SGSociety::Shutdown();
    CloseEngineAndWindow();
    ResetEngineState();
    // The overlay root outlives games: its clock starts afresh as at start-up.
    g_menuAgency.timer.Reset();
    g_menuAgency.timer.SetRate(g_menuAgency.timer.Rate());
    CRolePage::idleCountdown = 0;
  }

  // The window's close ends the program; passes after that play nothing.
  void PassWhileRunning() {
    if (g_game && !IsQuitRequested()) Pass();
  }

  void Checkpoint(const std::string& name, PlayRecord& record) {
    CheckpointValues v;
    v.name = name;
    v.state = Game().state;
    v.scene = Game().scene ? Game().scene->sceneName : "";
    v.money = g_gameDataBase.party.GetMoney();
    for (const auto& list : g_gameDataBase.party.itemLists) v.items.insert(v.items.end(), list.begin(), list.end());
    const CParty& party = g_gameDataBase.party;
    if (const CGDMainManSoul* leader = party.members.empty() ? nullptr : g_gameDataBase.FindHero(party.members[0]))
      v.experience = leader->GetAttribute(2);
    int result = 0;
    v.battleRunning = Game().battle ? Game().battle->IsRunning(&result) : 0;
    v.battleResult = result;
    v.bossId = Game().bossId;
    v.quitRequested = IsQuitRequested();
    if (const CCutScene* play = Game().cutScene ? Game().cutScene->GetPlay() : nullptr)
      v.cutSceneFrame = play->CurrentFrame();
    for (int slot = 0; slot < 3; ++slot) v.savedSlots |= plat::FileExists(SaveSlotPath(slot, ".sav")) ? 1 << slot : 0;
    VECTOR3 at{0, 0, 0};
    if (Game().walker && Game().walker->creature) Game().walker->GetPosition(&at, nullptr);
    v.position[0] = at.x;
    v.position[1] = at.y;
    v.position[2] = at.z;
    if (Game().events) v.storyFlags.assign(Game().events->storyFlags.begin(), Game().events->storyFlags.end());
    if (name == "talk") KeepTalkBox(record);

    record.frames.push_back(plat::LastPresentedFrame());
    const std::filesystem::path shots = kStartDirectory / "playthrough-shots";
    std::filesystem::create_directories(shots);
    char file[96];
    std::snprintf(file, sizeof file, "%s-%02zu-%s.png", GetParam().argument, record.checkpoints.size(), name.c_str());
    const plat::PresentedFrame& frame = record.frames.back();
    EXPECT_TRUE(
        testsupport::WritePng((shots / file).string(), frame.width, frame.height, testsupport::FrameToRgb(frame)))
        << file;
    record.checkpoints.push_back(v);
  }

  void KeepTalkBox(PlayRecord& record) {
    const CTalkPlayer* player = Game().talk ? Game().talk->player.get() : nullptr;
    if (!player || !player->current) return;
    const TalkStyle& s = player->current->style;
    record.talkBox[0] = static_cast<int>(s.position.v[0] * player->xScale);
    record.talkBox[1] = static_cast<int>(s.position.v[1] * player->yScale);
    record.talkBox[2] = record.talkBox[0] + static_cast<int>(s.size.v[0] * player->xScale);
    record.talkBox[3] = record.talkBox[1] + static_cast<int>(s.size.v[1] * player->yScale);
  }
};

// Distinct colours in the frame, counted up to limit.
int CountColours(const std::vector<uint32_t>& rgb, int limit) {
  std::vector<uint32_t> seen;
  for (uint32_t c : rgb) {
    bool known = false;
    for (uint32_t s : seen) known = known || s == c;
    if (!known) seen.push_back(c);
    if (static_cast<int>(seen.size()) >= limit) break;
  }
  return static_cast<int>(seen.size());
}

TEST_P(PlayThrough, TheSampleWorldPlaysFromTheTitleToTheEnd) {
  const PlayRecord first = Play();
  ASSERT_FALSE(HasFatalFailure());
  for (const CheckpointValues& v : first.checkpoints) SCOPED_TRACE(testing::Message() << v);

  struct Expect {
    const char* name;
    int state;
    const char* scene;
    int battleRunning;
  };
  const Expect expected[] = {
      {"title", GS_MENU, "", 0},
      {"start-script", GS_SCRIPT, "a004.SB", 0},
      {"field", GS_FIELD, "a004.SB", 0},
      {"first-save", GS_FIELD, "a004.SB", 0},
      {"talk", GS_TALK, "a004.SB", 0},
      {"cut-scene", GS_SCRIPT, "a004.SB", 0},
      {"boss-battle", GS_BATTLE, "a004.SB", 1},
      {"boss-won", GS_FIELD, "a004.SB", 0},
      {"before-save", GS_FIELD, "a004.SB", 0},
      {"saved", GS_FIELD, "a004.SB", 0},
      {"meadow", GS_FIELD, "e001.SB", 0},
      {"random-battle", GS_BATTLE, "e001.SB", 1},
      {"game-over", GS_GAMEOVER, "e001.SB", 0},
      {"title-again", GS_MENU, "e001.SB", 0},
      {"loaded", GS_FIELD, "a004.SB", 0},
      {"quit", GS_FIELD, "a004.SB", 0},
  };
  ASSERT_EQ(first.checkpoints.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const CheckpointValues& v = first.checkpoints[i];
    SCOPED_TRACE(v);
    EXPECT_EQ(v.name, expected[i].name);
    EXPECT_EQ(v.state, expected[i].state);
    EXPECT_EQ(v.scene, expected[i].scene);
    EXPECT_EQ(v.battleRunning, expected[i].battleRunning);
    EXPECT_EQ(v.quitRequested, v.name == "quit" ? 1 : 0);
  }
  const CheckpointValues& field = *first.Find("field");
  const CheckpointValues& talk = *first.Find("talk");
  const CheckpointValues& cutScene = *first.Find("cut-scene");
  const CheckpointValues& boss = *first.Find("boss-battle");
  const CheckpointValues& won = *first.Find("boss-won");
  const CheckpointValues& beforeSave = *first.Find("before-save");
  const CheckpointValues& random = *first.Find("random-battle");
  const CheckpointValues& over = *first.Find("game-over");
  const CheckpointValues& loaded = *first.Find("loaded");

  // The start script runs; "opening" holds on its question until answered.
  EXPECT_GE(first.Find("start-script")->cutSceneFrame, 0);
  EXPECT_EQ(cutScene.cutSceneFrame, kOpeningAskFrame + kOpeningStopCount);
  EXPECT_EQ(boss.cutSceneFrame, -1) << "the answered play ran to its end";

  // Money: the start, the talk's reward, the boss's reward, kept by the save.
  EXPECT_EQ(field.money, kStartingMoney);
  EXPECT_EQ(talk.money, kStartingMoney);
  EXPECT_EQ(cutScene.money, kStartingMoney + kTalkReward) << "the first answer pays";
  EXPECT_GT(won.money, cutScene.money) << "the boss's reward";
  EXPECT_EQ(over.money, won.money);
  EXPECT_EQ(loaded.money, won.money);
  EXPECT_EQ(loaded.items.size(), beforeSave.items.size());

  // Slot 0 holds the game at the start (its money), slot 1 the one loaded.
  EXPECT_EQ(first.Find("field")->savedSlots, 0);
  EXPECT_EQ(first.Find("first-save")->savedSlots, 1);
  EXPECT_EQ(first.Find("saved")->savedSlots, 3);
  EXPECT_NE(loaded.money, field.money) << "slot 1 was loaded, not slot 0";

  // Experience comes from the won battle only.
  EXPECT_EQ(boss.experience, field.experience);
  EXPECT_GT(won.experience, boss.experience);
  EXPECT_EQ(loaded.experience, won.experience);

  // Battles: the story battle against boss 1 won by the hero's throws (each
  // landed one spends a blade of the equipped stack), the random one lost.
  EXPECT_EQ(boss.bossId, kBossId);
  EXPECT_EQ(won.battleResult, 1);
  EXPECT_EQ(PlayRecord::CountOf(boss, kWeaponType, kSwordId), kStartingBlades);
  EXPECT_LT(PlayRecord::CountOf(won, kWeaponType, kSwordId), kStartingBlades);
  EXPECT_EQ(random.bossId, 0);
  EXPECT_EQ(over.battleResult, -1);

  // The talk's greeting set story flag 101; loading brings back the saved
  // flags and the place the walker stood when the menu opened.
  EXPECT_EQ(field.storyFlags[101 / 8] >> (101 % 8) & 1, 0);
  EXPECT_EQ(cutScene.storyFlags[101 / 8] >> (101 % 8) & 1, 1);
  EXPECT_EQ(loaded.storyFlags, beforeSave.storyFlags);
  EXPECT_NE(over.position[0], beforeSave.position[0]) << "the walker was elsewhere before loading";
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(loaded.position[k], beforeSave.position[k], 0.01f) << k;

  // The pictures: the field shows a scene, the talk's box changes its place.
  const plat::PresentedFrame* fieldFrame = first.Frame("field");
  const plat::PresentedFrame* talkFrame = first.Frame("talk");
  ASSERT_NE(fieldFrame, nullptr);
  ASSERT_NE(talkFrame, nullptr);
  const std::vector<uint32_t> fieldRgb = testsupport::FrameToRgb(*fieldFrame);
  const std::vector<uint32_t> talkRgb = testsupport::FrameToRgb(*talkFrame);
  ASSERT_FALSE(fieldRgb.empty());
  ASSERT_EQ(fieldRgb.size(), talkRgb.size());
  EXPECT_GT(CountColours(fieldRgb, 16), 1) << "the field frame is more than one colour";
  const int* box = first.talkBox;
  ASSERT_LT(box[0], box[2]) << "the talk's box";
  ASSERT_LT(box[1], box[3]);
  int changed = 0, inside = 0;
  for (int y = std::max(box[1], 0); y < std::min(box[3], fieldFrame->height); ++y)
    for (int x = std::max(box[0], 0); x < std::min(box[2], fieldFrame->width); ++x) {
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(fieldFrame->width) + static_cast<size_t>(x);
      changed += fieldRgb[i] != talkRgb[i];
      ++inside;
    }
  // The sample talk's style draws its lines without a panel, so what changes
  // in the box is the text: one line of glyphs is about 1 % of the box.
  EXPECT_GT(changed, inside / 200) << "the dialogue box shows over the field";

  // A second play from scratch gives the same values at every checkpoint.
  if (GetParam().plays < 2) return;
  const PlayRecord second = Play();
  ASSERT_EQ(second.checkpoints.size(), first.checkpoints.size());
  for (size_t i = 0; i < first.checkpoints.size(); ++i)
    EXPECT_EQ(second.checkpoints[i], first.checkpoints[i]) << "checkpoint " << i;
  EXPECT_EQ(second.passes, first.passes);
}

INSTANTIATE_TEST_SUITE_P(RenderPaths, PlayThrough, ::testing::Values(RenderPath{"h", 1}, RenderPath{"s", 2}),
                         [](const ::testing::TestParamInfo<RenderPath>& info) {
                           return std::string(info.param.argument[0] == 'h' ? "Device" : "Software");
                         });

}  // namespace
}  // namespace gametest
