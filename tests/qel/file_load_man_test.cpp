#include "platform/qel/file_load_man.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/captures.h"

namespace {

void WriteText(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

TEST(FileLoadMan, ReadsRowsOfOneBlockWithRemarksAndMixedCase) {
  testsupport::ScopedWorkDir dir;
  WriteText("Ai.txt",
            "// behaviour switches\r\n"
            "E999 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"  // outside any block: not a record
            "#begin_sty\r\n"
            "\r\n"
            "  e101 1 0 2 0 0 0 0 0 0 0 0 0 1 // trailing remark\r\n"
            "// a whole remark line\r\n"
            "E102 0 0 0 0 0 0 0 0 0 0 0 0 0 extra words are dropped\r\n"
            "#END_STY\r\n"
            "E103 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n");
  qmz::CFileLoadMan file(1024, 128);
  ASSERT_NE(file.Open("ai.TXT"), 0);
  file.AddFileBlockItem(210, "#BEGIN_STY", "#END_STY", 0);  // after Open, as the enemy loader does
  file.AddRemarksSymbol("//");

  struct Row {
    std::string name;
    std::vector<int> values;
  };
  std::vector<Row> rows;
  while (file.Flip()) {
    EXPECT_EQ(file.GetFlipValue(), 210);
    Row row;
    char name[128];
    file >> name;
    row.name = name;
    for (int i = 0; i < 13; ++i) {
      int v;
      file >> v;
      row.values.push_back(v);
    }
    EXPECT_FALSE(file.Failed()) << row.name;
    rows.push_back(row);
  }
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, "e101");
  EXPECT_EQ(rows[0].values, (std::vector<int>{1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(rows[1].name, "E102");
  EXPECT_EQ(rows[1].values[12], 0);
  EXPECT_EQ(file.Flip(), 0);  // stays at the end
}

TEST(FileLoadMan, TellsBlocksApartAndKeepsExpressionWords) {
  testsupport::ScopedWorkDir dir;
  WriteText("sbe.sc",
            "begin-script-item\n"
            "0 65535 262145 0 0 ; every enemy down\n"
            "1 65536 65537 65538 -30\n"
            "end-script-item\n"
            "begin-script-limit\n"
            "0 8 65536 131075 0\n"
            "end-script-limit\n"
            "begin-script-exp\n"
            "0 8 1 (0|1)&!2;remark glued to the word\n"
            "end-script-exp\n");
  qmz::CFileLoadMan file(1024, 128);
  file.AddRemarksSymbol("//");
  file.AddRemarksSymbol(";");
  file.AddFileBlockItem(100, "begin-script-item", "end-script-item", 0);
  file.AddFileBlockItem(200, "begin-script-limit", "end-script-limit", 0);
  file.AddFileBlockItem(300, "begin-script-exp", "end-script-exp", 0);
  ASSERT_NE(file.Open("sbe.sc"), 0);

  std::vector<int> blocks;
  std::vector<std::vector<int>> ints;
  std::string expression;
  while (file.Flip()) {
    blocks.push_back(file.GetFlipValue());
    int skip, a, b, c = 0, d = 0;
    file >> skip >> a >> b;
    if (file.GetFlipValue() == 300) {
      file >> expression;
      ints.push_back({a, b});
    } else {
      file >> c >> d;
      ints.push_back({a, b, c, d});
    }
    EXPECT_FALSE(file.Failed());
  }
  EXPECT_EQ(blocks, (std::vector<int>{100, 100, 200, 300}));
  EXPECT_EQ(ints[0], (std::vector<int>{65535, 262145, 0, 0}));
  EXPECT_EQ(ints[1], (std::vector<int>{65536, 65537, 65538, -30}));
  EXPECT_EQ(ints[2], (std::vector<int>{8, 65536, 131075, 0}));
  EXPECT_EQ(ints[3], (std::vector<int>{8, 1}));
  EXPECT_EQ(expression, "(0|1)&!2");
}

TEST(FileLoadMan, RecordsRunOverLinesUpToTheEndMark) {
  testsupport::ScopedWorkDir dir;
  WriteText("scriptdata.txt",
            "begin_throw\n"
            "2 3\n"
            "1.5 -2 +3e1\n"
            "; a remark between positions\n"
            "4 5\n"
            "6\n"
            "1 7 10 20 30\n"
            "end_throw\n");
  qmz::CFileLoadMan file(1024, 128);
  file.AddRemarksSymbol(";");
  file.AddFileBlockItem(100, "begin_throw", "end_throw", 0);
  ASSERT_NE(file.Open("scriptdata.txt"), 0);

  std::vector<float> positions;
  std::vector<int> levels;
  while (file.Flip()) {
    int count, level;
    file >> count >> level;
    levels.push_back(level);
    for (int i = 0; i < count * 3; ++i) {
      float v;
      file >> v;
      positions.push_back(v);
    }
    EXPECT_FALSE(file.Failed());
  }
  EXPECT_EQ(levels, (std::vector<int>{3, 7}));
  EXPECT_EQ(positions, (std::vector<float>{1.5f, -2.0f, 30.0f, 4.0f, 5.0f, 6.0f, 10.0f, 20.0f, 30.0f}));
}

TEST(FileLoadMan, TellsAFileCutInsideABlock) {
  testsupport::ScopedWorkDir dir;
  const struct {
    const char* text;
    bool cut;
  } cases[] = {
      {"#BEGIN_STY\nE101 1 0\n#END_STY\n", false},
      {"#BEGIN_STY\nE101 1 0\n", true},
      {"#BEGIN_STY\nE1", true},
      {"#BEGIN_STY\n", true},
      {"// only a remark\n", false},
      {"", false},
  };
  for (const auto& c : cases) {
    WriteText("Ai.txt", c.text);
    qmz::CFileLoadMan file(1024, 128);
    file.AddRemarksSymbol("//");
    file.AddFileBlockItem(210, "#BEGIN_STY", "#END_STY", 0);
    ASSERT_NE(file.Open("Ai.txt"), 0) << c.text;
    EXPECT_FALSE(file.EndedInsideBlock()) << "nothing read yet";
    while (file.Flip()) {
    }
    EXPECT_EQ(file.EndedInsideBlock(), c.cut) << c.text;
  }
}

TEST(FileLoadMan, CutsWordsAndLinesAtTheirSizes) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugOutputCapture output;
  WriteText("cut.txt", "begin\nABCDEFGHIJ 12345\nend\n");
  qmz::CFileLoadMan file(13, 6);  // lines keep 12 bytes, words 5
  file.AddFileBlockItem(1, "begin", "end", 0);
  ASSERT_NE(file.Open("cut.txt"), 0);
  EXPECT_TRUE(output.Contains("cut"));

  char word[8] = "#######";
  int v = -1;
  ASSERT_EQ(file.Flip(), 1);
  file >> word >> v;
  EXPECT_STREQ(word, "ABCDE");
  EXPECT_EQ(word[6], '#');  // nothing written past the word size
  EXPECT_EQ(v, 1);          // the line lost "2345"
  EXPECT_FALSE(file.Failed());
  EXPECT_EQ(file.Flip(), 0);
}

TEST(FileLoadMan, CorruptFilesFailWithoutHarm) {
  struct Case {
    const char* what;
    std::string text;
    int records;     // records before the end
    bool readFails;  // reading three ints from the first record fails
  } cases[] = {
      {"empty file", "", 0, false},
      {"no block", "1 2 3\n4 5 6\n", 0, false},
      {"no end mark", "BEGIN\n1 2 3\n4 5 6", 2, false},
      {"record cut by its end mark", "BEGIN\n1 2 END\n7 8 9\n", 1, true},
      {"not a number", "BEGIN\n1 x 3\n", 1, true},
      {"a broken record spares the next line", "BEGIN\n1 x\n2 3 4\n", 2, true},
      {"too large", "BEGIN\n1 99999999999 3\n", 1, true},
      {"hex is not decimal", "BEGIN\n0x10 2 3\n", 1, true},
      {"fraction for an int", "BEGIN\n1.5 2 3\n", 1, true},
      {"record at the file's end", "BEGIN\n1", 1, true},
      {"binary bytes", std::string("BEGIN\n\x01\xff\x00\x7f 2\n\n\x00\x00", 15), 1, true},
      {"marks only", "BEGIN END BEGIN END\nEND END\n", 0, false},
  };
  for (const auto& c : cases) {
    testsupport::ScopedWorkDir dir;
    WriteText("bad.txt", c.text);
    qmz::CFileLoadMan file(1024, 128);
    file.AddFileBlockItem(5, "begin", "end", 0);
    ASSERT_NE(file.Open("bad.txt"), 0) << c.what;
    int records = 0;
    bool firstFailed = false;
    while (file.Flip()) {
      int a = -1, b = -1, d = -1;
      file >> a >> b >> d;
      if (records == 0) firstFailed = file.Failed();
      if (file.Failed()) {
        EXPECT_TRUE(a == 0 || b == 0 || d == 0) << c.what;
      }
      ASSERT_LT(++records, 100) << c.what;
    }
    EXPECT_EQ(records, c.records) << c.what;
    EXPECT_EQ(firstFailed, c.readFails) << c.what;
  }
}

TEST(FileLoadMan, MissingFileOrReadsOutsideARecordGiveNothing) {
  testsupport::ScopedWorkDir dir;
  qmz::CFileLoadMan file(1024, 128);
  file.AddFileBlockItem(5, "begin", "end", 0);
  EXPECT_EQ(file.Open("missing.txt"), 0);
  EXPECT_EQ(file.Flip(), 0);
  int v = 7;
  std::string s = "x";
  file >> v >> s;
  EXPECT_EQ(v, 0);
  EXPECT_EQ(s, "");
  EXPECT_TRUE(file.Failed());
}

}  // namespace
