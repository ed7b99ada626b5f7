#include "tools/datagen/battle_text_writer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/qel/file_load_man.h"
#include "tests/support/captures.h"

namespace {

std::vector<std::string> Lines(const char* path) {
  std::vector<std::string> lines;
  EXPECT_TRUE(plat::ReadTextLines(path, lines));
  return lines;
}

TEST(BattleTextWriter, AiTableReadsBackAsTheEnemyLoaderReadsIt) {
  testsupport::ScopedWorkDir dir;
  std::vector<datagen::AiRow> rows = {
      {"E101", {1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
      {"e311", {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0}},
  };
  std::string error;
  ASSERT_TRUE(datagen::WriteAiTable("Ai.txt", rows, error)) << error;

  qmz::CFileLoadMan file(1024, 128);
  ASSERT_NE(file.Open("Ai.txt"), 0);
  file.AddFileBlockItem(210, "#BEGIN_STY", "#END_STY", 0);
  file.AddRemarksSymbol("//");
  std::vector<datagen::AiRow> read;
  while (file.Flip()) {
    ASSERT_EQ(file.GetFlipValue(), 210);
    char name[128];
    datagen::AiRow row;
    file >> name;
    row.name = name;
    for (int& v : row.switches) file >> v;
    EXPECT_FALSE(file.Failed());
    read.push_back(row);
  }
  ASSERT_EQ(read.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(read[i].name, rows[i].name);
    EXPECT_EQ(read[i].switches, rows[i].switches);
  }
}

TEST(BattleTextWriter, BattleScriptReadsBackBlockByBlock) {
  testsupport::ScopedWorkDir dir;
  datagen::BattleScript script;
  script.items = {{0xffff, 0x40001, 0, 0}, {0x10000, 0x10001, 0x10002, -30}};
  script.limits = {{8, 0x10000, 0x20001, 0}, {3, 311, 0x20005, (150 << 16) | 20}};
  script.expressions = {{8, 1, "0"}, {8, 2, "!(1|-0)&&+1"}};
  std::string error;
  ASSERT_TRUE(datagen::WriteBattleScript("sbe.sc", script, error)) << error;

  qmz::CFileLoadMan file(1024, 128);
  file.AddRemarksSymbol("//");
  file.AddRemarksSymbol(";");
  file.AddFileBlockItem(100, "begin-script-item", "end-script-item", 0);
  file.AddFileBlockItem(200, "begin-script-limit", "end-script-limit", 0);
  file.AddFileBlockItem(300, "begin-script-exp", "end-script-exp", 0);
  ASSERT_NE(file.Open("sbe.sc"), 0);
  datagen::BattleScript read;
  while (file.Flip()) {
    int ignored;
    file >> ignored;
    if (file.GetFlipValue() == 100) {
      datagen::ScriptItemRow r;
      file >> r.subject >> r.test >> r.comparison >> r.value;
      read.items.push_back(r);
    } else if (file.GetFlipValue() == 200) {
      datagen::ScriptLimitRow r;
      file >> r.battleId >> r.subject >> r.code >> r.value;
      read.limits.push_back(r);
    } else {
      datagen::ScriptExpRow r;
      file >> r.battleId >> r.kind >> r.text;
      read.expressions.push_back(r);
    }
    EXPECT_FALSE(file.Failed());
  }
  ASSERT_EQ(read.items.size(), 2u);
  ASSERT_EQ(read.limits.size(), 2u);
  ASSERT_EQ(read.expressions.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(read.items[i].subject, script.items[i].subject);
    EXPECT_EQ(read.items[i].test, script.items[i].test);
    EXPECT_EQ(read.items[i].comparison, script.items[i].comparison);
    EXPECT_EQ(read.items[i].value, script.items[i].value);
    EXPECT_EQ(read.limits[i].battleId, script.limits[i].battleId);
    EXPECT_EQ(read.limits[i].subject, script.limits[i].subject);
    EXPECT_EQ(read.limits[i].code, script.limits[i].code);
    EXPECT_EQ(read.limits[i].value, script.limits[i].value);
    EXPECT_EQ(read.expressions[i].battleId, script.expressions[i].battleId);
    EXPECT_EQ(read.expressions[i].kind, script.expressions[i].kind);
    EXPECT_EQ(read.expressions[i].text, script.expressions[i].text);
  }
}

TEST(BattleTextWriter, ThrowDataReadsBackExactly) {
  testsupport::ScopedWorkDir dir;
  std::vector<datagen::ThrowRecord> records = {
      {2, {{1.5f, -2.25f, 0.1f}, {1e-3f, 12345.678f, -0.0f}}},
      {4, {{3, 4, 5}}},
  };
  std::string error;
  ASSERT_TRUE(datagen::WriteThrowData("scriptdata.txt", records, error)) << error;
  qmz::CFileLoadMan file(1024, 128);
  file.AddRemarksSymbol("//");
  file.AddRemarksSymbol(";");
  file.AddFileBlockItem(100, "begin_throw", "end_throw", 0);
  ASSERT_NE(file.Open("scriptdata.txt"), 0);
  std::vector<datagen::ThrowRecord> read;
  while (file.Flip()) {
    int count;
    datagen::ThrowRecord r;
    file >> count >> r.level;
    r.positions.resize(static_cast<size_t>(count));
    for (auto& p : r.positions) file >> p[0] >> p[1] >> p[2];
    EXPECT_FALSE(file.Failed());
    read.push_back(r);
  }
  ASSERT_EQ(read.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(read[i].level, records[i].level);
    EXPECT_EQ(read[i].positions, records[i].positions);  // bit for bit
  }
}

TEST(BattleTextWriter, InfoNamesAreOneWordPerNumber) {
  testsupport::ScopedWorkDir dir;
  std::vector<std::string> names = {"None", "Approach1", "\xa7\xf0\xc0\xbb", std::string(63, 'x')};
  std::string error;
  ASSERT_TRUE(datagen::WriteInfoNames("Info.txt", names, error)) << error;
  // The monitor reads word after word, each stored under the next number.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(plat::ReadWholeFile("Info.txt", bytes));
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::vector<std::string> read;
  for (std::string word; in >> word;) read.push_back(word);
  EXPECT_EQ(read, names);
  for (const std::string& line : Lines("Info.txt")) EXPECT_TRUE(line[0] != '#' && line[0] != ';');
}

TEST(BattleTextWriter, HitVerticesFollowTheDescriptionLines) {
  testsupport::ScopedWorkDir dir;
  std::vector<datagen::HitVertexRow> rows = {
      {"101", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"311", {-0.5f, 0.25f, 100.125f, 0, 0, 0, 1e-4f, -7, 8, 9, 10, 11}},
  };
  std::string error;
  ASSERT_TRUE(datagen::WriteHitVertices("HitVertice.txt", rows, error)) << error;
  // "#Describle", then a word and the count, then "#Begin" and the rows, up to "#EndDescrible".
  std::vector<std::string> lines = Lines("HitVertice.txt");
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "#Describle");
  std::istringstream head(lines[1]);
  std::string word;
  int count = 0;
  head >> word >> count;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(lines[2], "#Begin");
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_LE(lines[3 + i].size(), 255u);
    std::istringstream row(lines[3 + i]);
    std::string id;
    row >> id;
    EXPECT_EQ(id, rows[i].id);
    for (float expected : rows[i].values) {
      float v;
      row >> v;
      EXPECT_EQ(v, expected);
    }
  }
  EXPECT_EQ(lines[3 + rows.size()], "#EndDescrible");
}

TEST(BattleTextWriter, RefusesWhatTheReadersWouldMisread) {
  testsupport::ScopedWorkDir dir;
  std::string error;
  datagen::HitVertexRow wide{"1", {}};
  wide.values.fill(-1e30f);  // 12 numbers of 32 digits overrun a 256-byte line
  struct Case {
    const char* what;
    bool written;
  } cases[] = {
      {"Ai name with a blank", datagen::WriteAiTable("a1", {{"E 101", {}}}, error)},
      {"Ai name with a remark", datagen::WriteAiTable("a2", {{"E//1", {}}}, error)},
      {"Ai name equal to a mark", datagen::WriteAiTable("a3", {{"#end_sty", {}}}, error)},
      {"Ai name too long", datagen::WriteAiTable("a4", {{std::string(128, 'E'), {}}}, error)},
      {"expression with a blank", datagen::WriteBattleScript("s1", {{}, {}, {{1, 1, "0 & 1"}}}, error)},
      {"expression with a remark", datagen::WriteBattleScript("s2", {{}, {}, {{1, 1, "0;1"}}}, error)},
      {"empty expression", datagen::WriteBattleScript("s3", {{}, {}, {{1, 1, ""}}}, error)},
      {"position not finite", datagen::WriteThrowData("t1", {{1, {{0, 1.0f / 0.0f, 0}}}}, error)},
      {"info name with a blank", datagen::WriteInfoNames("i1", {"a b"}, error)},
      {"info name starting a comment", datagen::WriteInfoNames("i2", {"#x"}, error)},
      {"info name too long", datagen::WriteInfoNames("i3", {std::string(64, 'n')}, error)},
      {"hit id too long", datagen::WriteHitVertices("h1", {{std::string(64, '1'), {}}}, error)},
      {"hit row too long", datagen::WriteHitVertices("h2", {wide}, error)},
      {"camera shot without keys", datagen::WriteCameraControllers("c1", {{1, 10, {}}}, error)},
      {"camera shot without frames",
       datagen::WriteCameraControllers("c2", {{1, 0, {{0, {0, 0, 0}, {1, 0, 0}, 0}}}}, error)},
      {"camera eye on its target",
       datagen::WriteCameraControllers("c3", {{1, 5, {{0, {1, 1, 1}, {1, 1, 1}, 0}}}}, error)},
  };
  for (const auto& c : cases) EXPECT_FALSE(c.written) << c.what;
  EXPECT_TRUE(plat::ListFiles("*").empty()) << "nothing half-written";
  EXPECT_FALSE(error.empty());
}

}  // namespace
