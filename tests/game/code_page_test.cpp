#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/language_converter.h"
#include "base/text_convert.h"
#include "tests/game/game_fixture.h"

namespace {

TEST(CodePage, ConvertTextLeavesBig5AloneWithoutDirection) {
  char text[] = "\xA4\xA4\xA4\xE5 ok";
  ConvertText(text);
  EXPECT_STREQ(text, "\xA4\xA4\xA4\xE5 ok");
  ConvertText(nullptr);
}

TEST(CodePage, ConfiguredTableConvertsPairsAndCopiesTheRest) {
  // A Big5 to GB2312 table: the pair A4 41 sits at 2 x (191 x 3 + 1).
  std::vector<uint8_t> table(2 * (191 * 3 + 2), 0);
  table[2 * (191 * 3 + 1)] = 0xD6;
  table[2 * (191 * 3 + 1) + 1] = 0xD0;
  CLanguageConverter converter;
  converter.Configure(CLanguageConverter::kBig5, CLanguageConverter::kGb2312, table);
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"\xA4\x41", "\xD6\xD0"},                    // a pair in the table
      {"a\x7F\xA0\xA4\x41", "a\x7F\xA0\xD6\xD0"},  // bytes below 0xA1 copied
      {"\xA4\x30", "\xA4\x30"},                    // a trail below 0x40 is copied
      {"\xF9\xFE", "\xF9\xFE"},                    // beyond the table: copied
      {"\xA4", "\xA4"},                            // a lone lead at the end
  };
  for (const Case& c : cases) {
    char text[16];
    std::strcpy(text, c.in);
    converter.Convert(text);
    EXPECT_STREQ(text, c.out) << c.in;
  }
}

TEST(CodePage, GbToBig5UsesTheNinetyFourColumnRows) {
  std::vector<uint8_t> table(2 * (94 * 1 + 3), 0);
  table[2 * (94 * 1 + 2)] = 0xA4;
  table[2 * (94 * 1 + 2) + 1] = 0xA4;
  CLanguageConverter converter;
  converter.Configure(CLanguageConverter::kGb2312, CLanguageConverter::kBig5, table);
  char text[] = "\xA2\xA3\xA1\xA3x";
  converter.Convert(text);
  // A lead of 0xA1 is outside the converted rows.
  EXPECT_STREQ(text, "\xA4\xA4\xA1\xA3x");
}

class FontNameTest : public gametest::GameTest {};

TEST_F(FontNameTest, SimplifiedChineseSwapsOnlyBig5Faces) {
  struct Case {
    const char* locale;
    const char* face;
    const char* used;
  } cases[] = {
      {"zh_CN.UTF-8", "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9", "Verdana"},
      {"zh_CN.UTF-8", "Arial", "Arial"},
      {"zh_TW.UTF-8", "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9", "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9"},
      {"C", "Arial", "Arial"},
  };
  for (const Case& c : cases) {
    testsupport::ScopedEnv locale("LC_ALL", c.locale);
    char used[256] = "";
    SelectFontName(c.face, 16, 16, used);
    EXPECT_STREQ(used, c.used) << c.locale << " " << c.face;
  }
}

}  // namespace
