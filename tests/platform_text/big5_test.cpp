#include <gtest/gtest.h>

#include "platform/big5.h"

namespace {

TEST(Big5, DecodesTextToUnicode) {
  struct Case {
    const char* name;
    std::string big5;
    std::u32string expected;
  };
  const Case cases[] = {
      {"empty", "", U""},
      {"ascii", "Go 1!", U"Go 1!"},
      {"one", "\xa4\x40", U"\u4e00"},
      {"middle", "\xa4\xa4", U"\u4e2d"},
      {"face name", "\xb2\xd3\xa9\xfa\xc5\xe9", U"\u7d30\u660e\u9ad4"},
      {"full-width space", "\xa1\x40", U"\u3000"},
      {"mixed",
       "A\xa4\xa4"
       "B",
       U"A\u4e2d"
       "B"},
      // A high byte begins a two-byte character, as the game walks its text.
      {"bad trail",
       "\xa4\x20"
       "B",
       U"\ufffd"
       "B"},
      {"unassigned pair",
       "\xff\xff"
       "C",
       U"\ufffd"
       "C"},
      {"lead at the end", "A\xa4", U"A\ufffd"},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::Big5ToUtf32(c.big5), c.expected) << c.name;
}

TEST(Big5, EncodesUtf8ForFontNames) {
  EXPECT_EQ(plat::Big5ToUtf8("\xa4\xa4"), "\xe4\xb8\xad");
  EXPECT_EQ(plat::Big5ToUtf8("Verdana"), "Verdana");
  EXPECT_EQ(plat::Utf32ToUtf8(U"\U0001F600\u00e9"), "\xf0\x9f\x98\x80\xc3\xa9");
  // Values that are not characters never reach the output as such.
  EXPECT_EQ(plat::Utf32ToUtf8(std::u32string(1, char32_t{0xD800})), "\xef\xbf\xbd");
}

TEST(Big5, TypedTextBecomesBig5AndDropsWhatBig5Lacks) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string big5;
  };
  const Case cases[] = {
      {"ascii", "Go 1!", "Go 1!"},
      {"chinese", "\xe4\xb8\xad\xe4\xb8\x80", "\xa4\xa4\xa4\x40"},
      {"trail byte without the high bit", "\xe5\x8a\x9f", "\xa5\x5c"},
      {"emoji",
       "a\xf0\x9f\x98\x80"
       "b",
       "ab"},
      {"accented latin", "\xc3\xa9", ""},
      {"stray continuation byte",
       "a\x80"
       "b",
       "ab"},
      {"cut sequence", "a\xe4\xb8", "a"},
      {"overlong slash",
       "\xc0\xaf"
       "c",
       "c"},
      {"surrogate",
       "\xed\xa0\x80"
       "d",
       "d"},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::Utf8ToBig5(c.utf8), c.big5) << c.name;
}

TEST(Big5, DecodesGlyphCallCharacterCodes) {
  struct Case {
    uint32_t code;
    char32_t expected;
  };
  const Case cases[] = {
      {0x41, U'A'},    {0x20, U' '}, {0xA440, 0x4E00}, {0xA4A4, 0x4E2D}, {0xA420, 0},  // trail byte out of range
      {0x4141, 0},                                                                     // not a lead byte
      {0x10000, 0},                                                                    // wider than 16 bits
      {0xFFFFFFFF, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::Big5CharToUnicode(c.code), c.expected) << std::hex << c.code;
}

}  // namespace
