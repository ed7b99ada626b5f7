// The boss table: its line format and the file as it comes.
#include <gtest/gtest.h>

#include "game/boss_info.h"
#include "tests/support/captures.h"
#include "tools/datagen/boss_table_writer.h"

namespace {

struct LineCase {
  const char* line;
  bool taken;
  std::vector<int32_t> ids;
  int32_t autoEvent;
  int32_t endGame;
};

TEST(BossTable, LinesGiveEntries) {
  testsupport::ScopedWorkDir dir;
  const LineCase cases[] = {
      {"B1 101, 102*2 : AUTO305", true, {101, 102, 102}, 305, 0},
      {"B9 500 : endgame", true, {500}, -1, 1},
      {"Boss list", false, {}, -1, 0},
      {"7 33", true, {33}, -1, 0},
      {"B2 12x3", true, {12, 12, 12}, -1, 0},
      {"B3\t4,5 0 6*0 7*-2 abc", true, {4, 5}, -1, 0},
      {"B4 9 : auto12 ENDGAME other", true, {9}, 12, 1},
      {"B5 1*100000", true, std::vector<int32_t>(TwAppearBossInfo::kMaxRepeat, 1), -1, 0},
      {": AUTO7", true, {}, 7, 0},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    TwAppearBossInfo table;
    EXPECT_TRUE(table.entries.empty()) << "no file";
    EXPECT_EQ(table.AddLine(c.line), c.taken);
    ASSERT_EQ(table.entries.size(), c.taken ? 1u : 0u);
    if (!c.taken) continue;
    EXPECT_EQ(table.entries[0].enemyIds, c.ids);
    EXPECT_EQ(table.entries[0].autoEvent, c.autoEvent);
    EXPECT_EQ(table.entries[0].endGame, c.endGame);
  }
}

TEST(BossTable, TheFileIsReadWholeLineByLine) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture traces;
  std::string longLine = "B7";
  for (int i = 0; i < 75; ++i) longLine += " 901";
  ASSERT_GE(longLine.size(), 300u);
  std::string text =
      datagen::BuildBossTable({{"B", {{101, 2}}, 305, true}, {"B", {{102, 1}}, -1, false}}, "Boss list", "\r\n");
  text += "\r\n" + longLine + "\r\nB 55";  // a blank line, and a last line without its end
  std::string error;
  ASSERT_TRUE(datagen::WriteBossTableText(TwAppearBossInfo::kPath, text, error)) << error;

  TwAppearBossInfo table;
  ASSERT_EQ(table.entries.size(), 4u);
  EXPECT_EQ(table.baseId, 1);
  const BOSSINFODESC* first = table.Find(1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->enemyIds, (std::vector<int32_t>{101, 101}));
  EXPECT_EQ(first->autoEvent, 305);
  EXPECT_EQ(first->endGame, 1) << "the CR does not spoil the last flag";
  EXPECT_EQ(table.Find(3)->enemyIds, std::vector<int32_t>(75, 901)) << "a long line stays one entry";
  EXPECT_EQ(table.Find(4)->enemyIds, std::vector<int32_t>{55});
  EXPECT_EQ(table.Find(5), nullptr);
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_TRUE(traces.Contains("Boss 5"));
}

TEST(BossTable, DamagedCopiesLoadWithoutHarm) {
  testsupport::ScopedWorkDir dir;
  const std::string text = datagen::BuildBossTable({{"B", {{101, 2}, {7, 3}}, 305, true}, {"B", {{102, 1}}, -1, false}},
                                                   "Boss list", "\r\n");
  std::string error;
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    ASSERT_TRUE(datagen::WriteBossTableText(TwAppearBossInfo::kPath, text.substr(0, cut), error));
    TwAppearBossInfo table;
    EXPECT_LE(table.entries.size(), 2u);
  }
  for (size_t at = 0; at < text.size(); ++at) {
    for (char c : {'\0', '\xFF', ':', '*', '\n', '9'}) {
      std::string damaged = text;
      damaged[at] = c;
      ASSERT_TRUE(datagen::WriteBossTableText(TwAppearBossInfo::kPath, damaged, error));
      TwAppearBossInfo table;
      EXPECT_LE(table.entries.size(), 4u);
      for (const BOSSINFODESC& entry : table.entries)
        EXPECT_LE(entry.enemyIds.size(), 3u * TwAppearBossInfo::kMaxRepeat);
    }
  }
}

}  // namespace
