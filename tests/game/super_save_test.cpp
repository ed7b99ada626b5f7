// The super save carried from the first hero's ending into the second hero's game.
#include <gtest/gtest.h>

#include <algorithm>

#include "cutscene/sg_society.h"
#include "database/game_resource.h"
#include "game/event_runner.h"
#include "platform/files.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/sample_world.h"
#include "ui/screen_manager.h"

namespace gametest {
namespace {

constexpr const char* kPath = "save/TWSSave00.sav";
constexpr size_t kMagicAt = 160;

class SuperSave : public GameTest {
 protected:
  SuperSave() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~SuperSave() override {
    EndGame();
    SGSociety::Shutdown();
  }
  void SetUp() override {
    ASSERT_EQ(Start(), 1);
    Game().OnScreenResult(SR_NEW_GAME);
  }
  bool Traced(const char* text) {
    const auto& lines = traces_.Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }
  void RewriteMagic(const char* magic) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::ReadWholeFile(kPath, bytes));
    const char key[] = "VozeDezir";
    for (size_t i = 0; i < 29; ++i) bytes[kMagicAt + i] = static_cast<uint8_t>(magic[i] + key[i % 9]);
    ASSERT_TRUE(plat::WriteFileAtomic(kPath, bytes.data(), bytes.size()));
  }
};

TEST_F(SuperSave, OnlyTheFirstHeroWritesIt) {
  Game().hero = 2;
  EXPECT_EQ(Game().WriteSuperSave(), 0);
  EXPECT_FALSE(plat::FileExists(kPath));
  EXPECT_EQ(Game().CheckSuperSave(), 0) << "missing";
  Game().hero = 1;
  EXPECT_EQ(Game().WriteSuperSave(), 1);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(plat::ReadWholeFile(kPath, bytes));
  EXPECT_EQ(bytes[8] | (bytes[9] << 8), 60) << "summary offset";
  EXPECT_EQ(bytes[12 + 8] | (bytes[12 + 9] << 8), 160) << "magic offset";
  EXPECT_EQ(bytes[24 + 8] | (bytes[24 + 9] << 8), 190) << "flags offset";
  EXPECT_EQ(bytes[36 + 8] | (bytes[36 + 9] << 8), 446) << "events offset";
  EXPECT_EQ(bytes[kMagicAt + 29], 0);
  EXPECT_EQ(Game().CheckSuperSave(), 1);
}

TEST_F(SuperSave, TheMagicIsCheckedWithoutRegardToCase) {
  Game().hero = 1;
  ASSERT_EQ(Game().WriteSuperSave(), 1);
  RewriteMagic("QUORBEXIM tarnwick SUPER save");
  EXPECT_EQ(Game().CheckSuperSave(), 1);
  RewriteMagic("Quorbexim Tarnwick Super Sav!");
  EXPECT_EQ(Game().CheckSuperSave(), 0);
  EXPECT_TRUE(Traced("Illegial Save file!"));
}

TEST_F(SuperSave, ImportRestoresFlagsRunCountsAndRequests) {
  // The sample world has no events; a table of ten stands in.
  std::vector<EVENTDESC>& events = Game().gameResource->Events();
  events.resize(10);
  Game().hero = 1;
  for (size_t i = 0; i < events.size(); ++i) events[i].runCount = static_cast<uint8_t>(i % 5 + 1);
  Game().events->npcToggles[3] = 0x81;
  Game().pendingNpcVisibility = {{6, 1}};
  ASSERT_EQ(Game().WriteSuperSave(), 1);
  for (EVENTDESC& e : events) e.runCount = 0;
  Game().events->npcToggles[3] = 0;
  Game().pendingNpcVisibility.clear();
  Game().ImportSuperSave();
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i].runCount, i % 5 + 1) << i;
  EXPECT_EQ(Game().events->npcToggles[3], 0x81);
  ASSERT_EQ(Game().pendingNpcVisibility.size(), 1u);
  EXPECT_EQ(Game().pendingNpcVisibility[0].npc, 6);
}

}  // namespace
}  // namespace gametest
