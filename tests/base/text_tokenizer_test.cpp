#include "base/text_tokenizer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/files.h"
#include "tests/support/captures.h"

namespace {

class TokenizerTest : public ::testing::Test {
 protected:
  // Writes the text as "data\Tok.txt" and opens it by another letter case.
  void OpenText(CTextTokenizer& tokenizer, const std::string& text) {
    ASSERT_TRUE(plat::CreateDirectories("data"));
    ASSERT_TRUE(plat::WriteFileAtomic("data/Tok.txt", text.data(), text.size()));
    ASSERT_GE(tokenizer.Open("DATA\\tok.TXT"), 0);
  }

  testsupport::ScopedWorkDir dir_;
};

TEST_F(TokenizerTest, ReadersAndSkipModes) {
  struct Case {
    const char* name;
    std::string text;
    std::function<void(CTextTokenizer&)> check;
  };
  const Case cases[] = {
      {"int in mode 2 passes a comment and the comment lines after it", "12 ; note\n\n# more\n  34 x\n",
       [](CTextTokenizer& t) {
         int32_t value = 0;
         t.ReadInt(&value, 2);
         EXPECT_EQ(value, 12);
         EXPECT_EQ(std::string(t.Cursor()), "34 x\n");
       }},
      {"a comment line after blank lines is skipped whole", "\n  \n   # a comment 1 2\r\nword\n",
       [](CTextTokenizer& t) {
         EXPECT_GT(t.SkipLine(1), 0);
         EXPECT_EQ(std::string(t.Cursor()), "word\n");
       }},
      {"mode 1 stops a word on the space", "abc def",
       [](CTextTokenizer& t) {
         char word[CTextTokenizer::kWordSize];
         EXPECT_EQ(t.ReadWord(word, 1), 3);
         EXPECT_STREQ(word, "abc");
         EXPECT_EQ(std::string(t.Cursor()), " def");
       }},
      {"mode 1 leaves the cursor on a number", "-42 7",
       [](CTextTokenizer& t) {
         int16_t value = 0;
         EXPECT_EQ(t.ReadShort(&value, 1), 0);
         EXPECT_EQ(value, -42);
         EXPECT_EQ(t.Tell(), 0);
       }},
      {"a word of 70 characters is cut to 63 inside the word", std::string(70, 'w') + " end",
       [](CTextTokenizer& t) {
         char word[CTextTokenizer::kWordSize];
         EXPECT_EQ(t.ReadWord(word, 1), 63);
         EXPECT_EQ(std::string(word), std::string(63, 'w'));
         EXPECT_EQ(t.Tell(), 63);
       }},
      {"mode 3 peeks", "peek next",
       [](CTextTokenizer& t) {
         char word[CTextTokenizer::kWordSize];
         EXPECT_EQ(t.ReadWord(word, 3), 4);
         EXPECT_STREQ(word, "peek");
         EXPECT_EQ(t.Tell(), 0);
       }},
      {"floats and rows, then nothing left once all is consumed", "1.5 -2 3e2 ; c\n4 5\n",
       [](CTextTokenizer& t) {
         float row[3] = {};
         t.ReadFloats(row, 0, 3);
         EXPECT_FLOAT_EQ(row[0], 1.5f);
         EXPECT_FLOAT_EQ(row[1], -2.0f);
         EXPECT_FLOAT_EQ(row[2], 300.0f);
         int32_t pair[2] = {};
         t.ReadInts(pair, 0, 2);
         EXPECT_EQ(pair[0], 4);
         EXPECT_EQ(pair[1], 5);
         EXPECT_EQ(t.Refill(), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTextTokenizer tokenizer;
    OpenText(tokenizer, c.text);
    c.check(tokenizer);
  }
}

TEST_F(TokenizerTest, FindKeyword) {
  const std::string text = "# cameras\nName x\nTotalCamera 5\nBeginCamera cam01\n";
  CTextTokenizer tokenizer;
  int32_t count = 0;

  // Mode 0 compares the first word of each line and then leaves the line.
  OpenText(tokenizer, text);
  tokenizer.SkipLine(1);
  EXPECT_GT(tokenizer.FindKeyword("totalcamera", 0), 0);
  EXPECT_EQ(std::string(tokenizer.Cursor()), "BeginCamera cam01\n");

  // Another mode leaves the current line first; a prefix of a word matches it.
  OpenText(tokenizer, text);
  tokenizer.SkipLine(1);
  EXPECT_GT(tokenizer.FindKeyword("TOTAL", 2), 0);
  tokenizer.ReadInt(&count, 0);
  EXPECT_EQ(count, 5);

  // A missing keyword stops at the end of the data.
  OpenText(tokenizer, text);
  EXPECT_EQ(tokenizer.FindKeyword("EndCamera", 0), -1);
  EXPECT_EQ(tokenizer.Tell(), static_cast<int64_t>(text.size()));
  EXPECT_EQ(tokenizer.FindKeyword("EndCamera", 1), -1);
}

TEST_F(TokenizerTest, NothingIsReadPastTheData) {
  CTextTokenizer tokenizer;
  char word[CTextTokenizer::kWordSize];
  int32_t value = 99;

  // An unterminated last token.
  OpenText(tokenizer, "7 last");
  tokenizer.ReadInt(&value, 2);
  EXPECT_EQ(tokenizer.ReadWord(word, 2), 4);
  EXPECT_STREQ(word, "last");
  EXPECT_EQ(tokenizer.ReadWord(word, 0), 0);
  EXPECT_STREQ(word, "");
  tokenizer.ReadInt(&value, 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(tokenizer.Tell(), 6);

  // A token longer than the look-ahead, and one longer than the buffer.
  OpenText(tokenizer, std::string(2000, '9') + " 5");
  tokenizer.ReadInt(&value, 2);
  EXPECT_EQ(value, INT32_MAX);
  tokenizer.ReadInt(&value, 0);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(tokenizer.Refill(), 0);

  OpenText(tokenizer, std::string(12000, 'y') + " 6");
  int steps = 0;
  while (tokenizer.Refill() > 0 && steps < 100) {
    tokenizer.ReadWord(word, 2);
    ++steps;
  }
  EXPECT_LT(steps, 100);
  EXPECT_EQ(tokenizer.Tell(), 12002);
}

TEST_F(TokenizerTest, RowAcrossTheRefill) {
  // The row starts 136 bytes before the end of the first buffer.
  std::string text = "pad" + std::string(10101, ' ');
  for (int i = 0; i < 40; ++i) text += std::to_string(1000 + i) + " ";
  text += "\nEND\n";
  CTextTokenizer tokenizer;
  OpenText(tokenizer, text);
  char word[CTextTokenizer::kWordSize];
  tokenizer.ReadWord(word, 2);
  ASSERT_EQ(tokenizer.Tell(), 10104);
  int32_t row[40] = {};
  tokenizer.ReadInts(row, 0, 40);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(row[i], 1000 + i) << i;
  tokenizer.ReadWord(word, 0);
  EXPECT_STREQ(word, "END");
}

TEST_F(TokenizerTest, MissingFileAndClose) {
  CTextTokenizer missing("nowhere.txt");
  EXPECT_EQ(missing.IsOpen(), 0);
  EXPECT_EQ(missing.Refill(), 0);
  int32_t value = 3;
  missing.ReadInt(&value, 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(missing.FindKeyword("x", 0), -1);
  EXPECT_EQ(missing.Close(), -1);

  CTextTokenizer tokenizer;
  OpenText(tokenizer, "1\n");
  EXPECT_EQ(tokenizer.Close(), 0);
  EXPECT_EQ(tokenizer.Close(), -1);
}

}  // namespace
