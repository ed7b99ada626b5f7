// Save slots: round trips through the real writer, slot files, lengths and
// damaged copies that must leave the game as it was.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cutscene/sg_society.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/main_man_soul.h"
#include "engine/core/engine_queries.h"
#include "engine/core/node_transforms.h"
#include "engine/media/sprites.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/save_slots.h"
#include "game/save_thumbnail.h"
#include "platform/test_caps.h"
#include "tests/game/game_fixture.h"
#include "tests/support/input_script.h"
#include "tools/datagen/sample_world.h"
#include "ui/am_text.h"
#include "ui/am_text_list.h"
#include "ui/am_wnd_manager.h"
#include "ui/save_list.h"
#include "ui/screen_manager.h"
#include "world/game_camera.h"
#include "world/map_scene.h"

namespace gametest {
namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(plat::ReadWholeFile(path, bytes));
  return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size()));
}

int32_t I32At(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
}

void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

class SaveSlots : public GameTest {
 protected:
  SaveSlots() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~SaveSlots() override {
    plat::ClearFailPoints();
    EndGame();
    SGSociety::Shutdown();
  }

  void SetUp() override {
    ASSERT_EQ(Start(), 1);
    Game().OnScreenResult(SR_NEW_GAME);
    ASSERT_FALSE(g_gameDataBase.heroes.empty());
    // At least ten events, as the runner sees them.
    std::vector<EVENTDESC>& table = Game().gameResource->Events();
    if (table.size() < 10) table.resize(10);
    Game().events->eventTable = table.data();
    Game().events->eventCount = static_cast<int>(table.size());
  }

  CGDMainManSoul& FirstHero() { return g_gameDataBase.heroes.front(); }

  // A game state unlike the new game's in every saved part.
  void MakeDistinctState() {
    CParty& party = g_gameDataBase.party;
    party.SetMoney(4321);
    party.header[CParty::kSummaryValue] = 777;
    party.header[5] = 55;
    party.members = {FirstHero().id, FirstHero().id + 100, FirstHero().id + 200};
    party.ChangeItemCount(3, 2, 1, 1);
    Game().itemPool->RebuildSlots();
    FirstHero().learnedActions = {11, 12, 13};
    FirstHero().skillProgress = {{4, 50, 100}};
    if (!FirstHero().attributes.empty()) FirstHero().attributes[0].bonus = 9;
    MODIFIERDESC effect{};
    effect.key = 17;
    FirstHero().activeEffects.push_back(effect);
    FirstHero().conditionStacks[3].push_back(effect);
    Game().events->SetFlag(5, 1);
    Game().events->npcToggles[100] = 0x5A;
    Game().gameResource->Events()[9].runCount = 7;
    Game().pendingNpcVisibility = {{3, 1}, {4, 0}};
    NPCSNAPSHOTDESC snapshot;
    snapshot.flags = 9;
    snapshot.waypoint = 3;
    snapshot.routine[1] = 7;
    snapshot.position[0] = 12.5f;
    snapshot.facing[1] = -1;
    snapshot.pose = 4;
    snapshot.state = 2;
    Game().npcSnapshots = {snapshot};
    Game().menuWalkerPos[0] = 100;
    Game().menuWalkerPos[1] = 200;
    Game().menuWalkerDir[1] = 1;
  }

  // Clobbers every saved part so a load must bring them back.
  void Scramble() {
    CParty& party = g_gameDataBase.party;
    party.SetMoney(1);
    party.header[5] = 0;
    party.itemLists = {};
    FirstHero().learnedActions.clear();
    FirstHero().skillProgress.clear();
    FirstHero().activeEffects.clear();
    FirstHero().conditionStacks[3].clear();
    Game().events->SetFlag(5, 0);
    Game().events->npcToggles[100] = 0;
    Game().gameResource->Events()[9].runCount = 0;
    Game().pendingNpcVisibility.clear();
    Game().npcSnapshots.clear();
  }

  int Save(int slot) {
    std::vector<SAVESUMMARYDESC> list;
    return SaveToSlot(slot, "Traveller", list);
  }
};

TEST_F(SaveSlots, ARoundTripRestoresEverySavedPart) {
  MakeDistinctState();
  ASSERT_EQ(Save(0), 1);
  Scramble();
  ASSERT_EQ(Game().LoadGame(0), 1);

  const CParty& party = g_gameDataBase.party;
  EXPECT_EQ(party.GetMoney(), 4321);
  EXPECT_EQ(party.header[CParty::kSummaryValue], 777);
  EXPECT_EQ(party.header[5], 55);
  EXPECT_EQ(party.members, std::vector<int32_t>{FirstHero().id}) << "a party of three comes back as the leader";
  EXPECT_EQ(party.GetItemCount(1, 3), 2);
  EXPECT_EQ(FirstHero().learnedActions, (std::vector<int32_t>{11, 12, 13}));
  ASSERT_EQ(FirstHero().skillProgress.size(), 1u);
  EXPECT_EQ(FirstHero().skillProgress[0].points, 50);
  ASSERT_EQ(FirstHero().activeEffects.size(), 1u);
  EXPECT_EQ(FirstHero().activeEffects.front().key, 17);
  ASSERT_EQ(FirstHero().conditionStacks[3].size(), 1u);
  if (!FirstHero().attributes.empty()) {
    EXPECT_EQ(FirstHero().attributes[0].bonus, 9);
  }
  EXPECT_EQ(Game().events->TestFlag(5), 1);
  EXPECT_EQ(Game().events->npcToggles[100], 0x5A);
  EXPECT_EQ(Game().gameResource->Events()[9].runCount, 7);
  ASSERT_EQ(Game().pendingNpcVisibility.size(), 2u);
  EXPECT_EQ(Game().pendingNpcVisibility[1].npc, 4);
  ASSERT_EQ(Game().npcSnapshots.size(), 1u);
  EXPECT_EQ(Game().npcSnapshots[0].flags, 9);
  EXPECT_EQ(Game().npcSnapshots[0].waypoint, 3);
  EXPECT_EQ(Game().npcSnapshots[0].routine[1], 7);
  EXPECT_FLOAT_EQ(Game().npcSnapshots[0].position[0], 12.5f);
  EXPECT_FLOAT_EQ(Game().npcSnapshots[0].facing[1], -1);
  EXPECT_EQ(Game().npcSnapshots[0].pose, 4);
  EXPECT_EQ(Game().npcSnapshots[0].state, 2);

  uint8_t summary[SAVESUMMARYDESC::kSize];
  ASSERT_EQ(Game().ReadSlotSummary(summary, 0), 1);
  plat::ByteReader r(summary, sizeof summary);
  SAVESUMMARYDESC read;
  read.Read(r);
  EXPECT_STREQ(read.header, "Tarnwick Save File Ver 1.00");
  EXPECT_EQ(read.Name(), "Traveller");
  EXPECT_EQ(read.money, 4321);
  EXPECT_FLOAT_EQ(read.position[1], 200);
}

TEST_F(SaveSlots, ThePartyChunkComingAfterTheSummaryDecidesTheMoney) {
  MakeDistinctState();
  ASSERT_EQ(Save(0), 1);
  std::vector<uint8_t> bytes = ReadBytes("save/TWSave00.sav");
  // A summary (entry 0) that disagrees with the party chunk (entry 1).
  const size_t values = static_cast<size_t>(I32At(bytes, 8)) + sizeof(SAVESUMMARYDESC{}.header) + 12;
  ASSERT_EQ(I32At(bytes, values), 777);
  ASSERT_EQ(I32At(bytes, values + 4), 4321);
  PutI32(bytes, values, 1);
  PutI32(bytes, values + 4, 99);
  WriteBytes("save/TWSave00.sav", bytes);
  Scramble();
  ASSERT_EQ(Game().LoadGame(0), 1);
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 4321);
  EXPECT_EQ(g_gameDataBase.party.header[CParty::kSummaryValue], 777);
}

// How far the camera stands from the walker, on the ground plane.
float CameraGap(CGame& game) {
  VECTOR3 camera{0, 0, 0}, walker{0, 0, 0};
  GetNodeWorldVectors(game.scene->camera->node, &camera, nullptr, nullptr);
  game.walker->GetPosition(&walker, nullptr);
  return std::hypot(camera.x - walker.x, camera.y - walker.y);
}

TEST_F(SaveSlots, TheCameraFollowsTheLoadedWalker) {
  for (int i = 0; i < 200 && Game().state != GS_FIELD; ++i) Pass();
  ASSERT_EQ(Game().state, GS_FIELD);
  ASSERT_NE(Game().scene->camera, nullptr);
  const float followGap = CameraGap(Game());
  // Saved far from where a new game starts the walker.
  Game().menuWalkerPos[0] = 300;
  Game().menuWalkerPos[1] = -400;
  Game().menuWalkerDir[0] = 1;
  Game().menuWalkerDir[1] = 0;
  ASSERT_EQ(Save(0), 1);
  ASSERT_EQ(Game().LoadGame(0), 1);
  Pass(3);
  VECTOR3 at{0, 0, 0};
  Game().walker->GetPosition(&at, nullptr);
  EXPECT_NEAR(at.x, 300, 0.01f);
  EXPECT_NEAR(CameraGap(Game()), followGap, 1.0f) << "the camera stands behind the walker, not where it was";
}

TEST_F(SaveSlots, ChunkLengthsComeFromTheOffsets) {
  // Enough learned actions to push the characters' chunk past 16 bits.
  FirstHero().learnedActions.assign(17000, 5);
  // An NPC chunk of exactly 65,536 bytes: 4 + 8n + 4 + 60m.
  Game().npcSnapshots.assign(1092, {});
  Game().pendingNpcVisibility.assign(1, {});
  ASSERT_EQ(4 + 8 * Game().pendingNpcVisibility.size() + 4 + 60 * Game().npcSnapshots.size(), 65536u);
  ASSERT_EQ(Save(0), 1);
  FirstHero().learnedActions.clear();
  Game().npcSnapshots.clear();
  ASSERT_EQ(Game().LoadGame(0), 1);
  EXPECT_EQ(FirstHero().learnedActions.size(), 17000u);
  EXPECT_EQ(Game().npcSnapshots.size(), 1092u);
}

TEST_F(SaveSlots, AShortFlagsChunkClearsTheSecondSet) {
  ASSERT_EQ(Save(0), 1);
  std::vector<uint8_t> bytes = ReadBytes("save/TWSave00.sav");
  // Cut the flags chunk (entry 3) to its first 64 bytes.
  const size_t at = static_cast<size_t>(I32At(bytes, 3 * 12 + 8));
  bytes.erase(bytes.begin() + static_cast<long>(at + 64), bytes.begin() + static_cast<long>(at + 320));
  for (int e = 4; e < kSaveEntries; ++e) PutI32(bytes, e * 12 + 8, I32At(bytes, e * 12 + 8) - 256);
  WriteBytes("save/TWSave00.sav", bytes);
  Game().events->npcToggles[7] = 0xFF;
  ASSERT_EQ(Game().LoadGame(0), 1);
  EXPECT_EQ(Game().events->npcToggles[7], 0);
}

TEST_F(SaveSlots, DamagedCopiesAreRefusedAndChangeNothing) {
  MakeDistinctState();
  ASSERT_EQ(Save(0), 1);
  const std::vector<uint8_t> good = ReadBytes("save/TWSave00.sav");
  const size_t charactersAt = static_cast<size_t>(I32At(good, 2 * 12 + 8));
  const size_t partyAt = static_cast<size_t>(I32At(good, 1 * 12 + 8));
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"truncated in the directory", std::vector<uint8_t>(good.begin(), good.begin() + 60)});
  cases.push_back({"truncated in the characters",
                   std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(charactersAt + 10))});
  auto badOffset = good;
  PutI32(badOffset, 5 * 12 + 8, 0x7FFFFFF0);
  cases.push_back({"an offset past the end", badOffset});
  auto backwards = good;
  PutI32(backwards, 2 * 12 + 8, 40);
  cases.push_back({"an offset inside the directory", backwards});
  auto badCount = good;
  badCount[partyAt + 32] = 0xFF;  // member count
  badCount[partyAt + 33] = 0x7F;
  cases.push_back({"a member count beyond the chunk", badCount});
  auto badSummary = good;
  PutI32(badSummary, 1 * 12 + 8, I32At(good, 1 * 12 + 8) - 1);
  cases.push_back({"a summary of 99 bytes", badSummary});
  for (const Case& c : cases) {
    WriteBytes("save/TWSave00.sav", c.bytes);
    Scramble();
    EXPECT_EQ(Game().LoadGame(0), 0) << c.what;
    EXPECT_EQ(g_gameDataBase.party.GetMoney(), 1) << c.what;
    EXPECT_TRUE(FirstHero().learnedActions.empty()) << c.what;
    EXPECT_EQ(Game().events->TestFlag(5), 0) << c.what;
    EXPECT_EQ(g_gameDataBase.party.members.size(), 3u) << c.what;
  }
  EXPECT_EQ(Game().LoadGame(9), 0) << "a missing slot";
}

TEST_F(SaveSlots, AFailedWriteKeepsThePreviousSlot) {
  g_gameDataBase.party.SetMoney(111);
  ASSERT_EQ(Save(0), 1);
  g_gameDataBase.party.SetMoney(222);
  plat::SetFailPoint(plat::FailPoint::WriteFile, 3);
  EXPECT_EQ(Save(0), 0);
  plat::ClearFailPoints();
  g_gameDataBase.party.SetMoney(5);
  ASSERT_EQ(Game().LoadGame(0), 1);
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 111);
  EXPECT_EQ(plat::ListFiles("save\\*.tmp*").size(), 0u) << "no temporary file is left";
}

// The ".map" and the ".bmp" go before the ".sav": either not written (here
// a folder stands where the file goes) fails the save, which then leaves the
// old ".sav" alone.
TEST_F(SaveSlots, ASaveWithoutItsAutomapOrThumbnailFailsAndKeepsTheOldSlot) {
  ASSERT_NE(Game().scene, nullptr);
  ASSERT_NE(Game().scene->automap, nullptr);
  delete Game().menuShot;
  Game().menuShot = new CSaveThumbnail(220, 160);
  const std::vector<uint16_t> screen(640 * 480, 0x07E0);
  Game().menuShot->TakePixels(screen.data(), 640, 480, 1);
  for (const char* extension : {".map", ".bmp"}) {
    SCOPED_TRACE(extension);
    g_gameDataBase.party.SetMoney(111);
    ASSERT_EQ(Save(0), 1);
    ASSERT_TRUE(plat::FileExists(SaveSlotPath(0, extension)));
    ASSERT_TRUE(plat::RemoveFile(SaveSlotPath(0, extension)));
    ASSERT_TRUE(plat::CreateDirectories(SaveSlotPath(0, extension)));
    g_gameDataBase.party.SetMoney(222);
    EXPECT_EQ(Save(0), 0) << "a slot without its " << extension << " is no whole save";
    EXPECT_TRUE(traces_.Contains("Save slot 0 was not written"));
    g_gameDataBase.party.SetMoney(5);
    ASSERT_EQ(Game().LoadGame(0), 1);
    EXPECT_EQ(g_gameDataBase.party.GetMoney(), 111) << "the old slot stays";
    std::filesystem::remove(plat::NormalizePath(SaveSlotPath(0, extension)));
  }
  EXPECT_EQ(plat::ListFiles("save\\*.tmp*").size(), 0u) << "no temporary file is left";
}

// Saves killed mid-write leave "<file>.tmp<pid>" behind: the next save removes
// those of ended processes, and no other file.
TEST_F(SaveSlots, TheNextSaveRemovesTemporariesOfEndedWrites) {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ASSERT_GT(ended, 0);
  ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
  const std::string dead = std::to_string(ended), mine = std::to_string(::getpid());
  ASSERT_TRUE(plat::CreateDirectories("save"));
  const std::vector<std::string> stale = {"TWSave00.sav.tmp" + dead, "TWSave03.bmp.tmp" + dead};
  const std::vector<std::string> kept = {"TWSave01.sav.tmp" + mine, "TWSave01.sav.tmp1", "notes.tmp",
                                         "TWSave02.sav.tmpx", "TWSave02.sav"};
  for (const std::string& name : stale) std::ofstream("save/" + name) << "cut";
  for (const std::string& name : kept) std::ofstream("save/" + name) << "kept";
  ASSERT_EQ(Save(0), 1);
  for (const std::string& name : stale) EXPECT_FALSE(plat::FileExists("save/" + name)) << name;
  for (const std::string& name : kept) EXPECT_TRUE(plat::FileExists("save/" + name)) << name;
}

// A slot cut after its summary lists well (the list reads only the summary)
// but would not load. Chosen from the title's load list with the mouse, it
// is refused there with a line that says so, and the list stays to choose
// another; the other then loads.
TEST_F(SaveSlots, TheTitlesLoadListRefusesACutSlotAndLoadsAnother) {
  g_gameDataBase.party.SetMoney(111);
  ASSERT_EQ(Save(0), 1);
  g_gameDataBase.party.SetMoney(222);
  ASSERT_EQ(Save(1), 1);
  std::vector<uint8_t> bytes = ReadBytes("save/TWSave01.sav");
  bytes.resize(static_cast<size_t>(I32At(bytes, 8)) + SAVESUMMARYDESC::kSize);
  WriteBytes("save/TWSave01.sav", bytes);

  // The start menu the game began with is still open under the new game.
  while (GetTopWnd()) {
    GetTopWnd()->Close();
    UpdateScreens(1);
  }
  Game().OnScreenResult(SR_TITLE);
  const auto play = [this](const std::string& script) {
    std::vector<testsupport::InputLine> lines;
    std::string error;
    ASSERT_TRUE(testsupport::ParseInputScript(script, &lines, &error)) << error;
    testsupport::PlayInputScript(
        GetMainWindow(), lines, [this] { Pass(); }, [](const std::string&) {});
  };
  // The start menu's Load, then the list's Load on its last row (slot 1) and OK.
  play("5 lclick 100 360\n10 lclick 134 325\n10 lclick 272 250\n10 check done\n");
  auto* list = dynamic_cast<CRecordWnd*>(GetTopWnd());
  ASSERT_NE(list, nullptr) << "the list is still open";
  EXPECT_EQ(list->notice->text, CRecordWnd::kNotLoadedNotice);
  EXPECT_EQ(Game().state, GS_MENU);
  ASSERT_EQ(list->slotList->rowCount, 2);

  // Row 00, then Load and OK.
  int x = 0, y = 0;
  GetSpritePosition(list->slotList->GetRow(0)->sprite, &x, &y);
  play("0 lclick " + std::to_string(x + 10) + " " + std::to_string(y + 5) + "\n10 check done\n");
  EXPECT_EQ(list->selected, 0) << x << " " << y;
  play("0 lclick 134 325\n10 lclick 272 250\n30 check done\n");
  EXPECT_EQ(IsScreenIdle(), 1);
  EXPECT_NE(Game().state, GS_MENU);
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 111);
}

TEST_F(SaveSlots, DeletingRenumbersAndListingSkipsGaps) {
  for (int slot = 0; slot < 4; ++slot) {
    g_gameDataBase.party.SetMoney(1000 + slot);
    ASSERT_EQ(Save(slot), 1);
    std::ofstream("save/TWSave0" + std::to_string(slot) + ".map") << "map" << slot;
    std::ofstream("save/TWSave0" + std::to_string(slot) + ".bmp") << "bmp" << slot;
  }
  EXPECT_EQ(Game().DeleteSaveFiles(1), 0);
  EXPECT_FALSE(plat::FileExists("save/TWSave03.sav"));
  std::ifstream map("save/TWSave01.map");
  std::string text;
  map >> text;
  EXPECT_EQ(text, "map2");
  std::ifstream bmp("save/TWSave01.bmp");
  bmp >> text;
  EXPECT_EQ(text, "bmp2");
  EXPECT_EQ(Game().DeleteSaveFiles(7), -1);

  // Slots 0, 1 and 3; a name of too many digits and one of another prefix are ignored.
  std::filesystem::rename("save/TWSave02.sav", "save/TWSave03.sav");
  std::filesystem::copy_file("save/TWSave00.sav", "save/TWSave2000000000.sav");
  std::filesystem::copy_file("save/TWSave00.sav", "save/Other05.sav");
  std::vector<SAVESUMMARYDESC> list;
  std::vector<int> slots;
  EnumerateSaveSlots(list, slots);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].money, 1000);
  EXPECT_EQ(list[1].money, 1002);
  EXPECT_EQ(list[2].money, 1003);
  EXPECT_EQ(slots, (std::vector<int>{0, 1, 3})) << "each summary keeps its slot's number";

  uint8_t summary[SAVESUMMARYDESC::kSize];
  std::memset(summary, 0xEE, sizeof summary);
  EXPECT_EQ(Game().ReadSlotSummary(summary, 2), 0);
  EXPECT_EQ(summary[0], 0);
  EXPECT_EQ(summary[99], 0);
}

TEST_F(SaveSlots, ProviderTexts) {
  EXPECT_EQ(GetSaveTitleText(100), "Tarnwick Save File Ver 1.00");
  EXPECT_EQ(GetSaveTitleText(207), "Tarnwick Save File Ver 2.07");
  EXPECT_EQ(GetSaveThumbnailPath(3), ".\\save\\TWSave03.bmp");
  int w = 0, h = 0;
  GetSlotThumbnailSourceSize(0, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
}

TEST(SaveThumbnail, BitmapLayoutAndPixelFormats) {
  testsupport::ScopedWorkDir dir;
  CSaveThumbnail shot(220, 160);
  EXPECT_EQ(shot.WriteBmp("none.bmp"), -1);
  const struct {
    int code;
    uint16_t pixel;
    uint8_t bgr[3];
  } cases[] = {
      {1, 0xF800, {0, 0, 248}}, {1, 0x07E0, {0, 252, 0}}, {1, 0x001F, {248, 0, 0}}, {3, 0x7C00, {0, 0, 248}},
      {3, 0x03E0, {0, 248, 0}}, {3, 0x0001, {8, 0, 0}},   {2, 0xFFFF, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    testsupport::DebugOutputCapture output;
    std::vector<uint16_t> screen(640 * 480, c.pixel);
    shot.TakePixels(screen.data(), 640, 480, c.code);
    ASSERT_EQ(shot.pixels.size(), 220u * 160u * 3u);
    EXPECT_EQ(shot.pixels[0], c.bgr[0]) << c.code << " " << c.pixel;
    EXPECT_EQ(shot.pixels[1], c.bgr[1]) << c.code << " " << c.pixel;
    EXPECT_EQ(shot.pixels[2], c.bgr[2]) << c.code << " " << c.pixel;
    EXPECT_EQ(output.Lines().empty(), c.code != 2);
  }
  // A box filter: a screen whose top half is white and bottom half black.
  std::vector<uint16_t> screen(640 * 480, 0);
  std::fill(screen.begin(), screen.begin() + 640 * 240, 0xFFFF);
  shot.TakePixels(screen.data(), 640, 480, 1);
  ASSERT_EQ(shot.WriteBmp("shot.bmp"), 0);
  const std::vector<uint8_t> bmp = ReadBytes("shot.bmp");
  ASSERT_EQ(bmp.size(), 105654u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(I32At(bmp, 2), 105654);
  EXPECT_EQ(I32At(bmp, 10), 54);
  EXPECT_EQ(I32At(bmp, 14), 40);
  EXPECT_EQ(I32At(bmp, 18), 220);
  EXPECT_EQ(I32At(bmp, 22), 160);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp[54], 0) << "the first row written is the bottom one";
  EXPECT_EQ(bmp[bmp.size() - 1], 248) << "the last row written is the top one";
}

}  // namespace
}  // namespace gametest
