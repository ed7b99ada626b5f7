#include <gtest/gtest.h>

#include <string_view>

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

TEST(Big5, CharLengthStepsOverLeadAndTrailBytes) {
  using namespace std::string_view_literals;
  constexpr unsigned char kGame = plat::kBig5LeastLead;
  constexpr unsigned char kStandard = plat::kBig5StandardLead;
  struct Case {
    const char* name;
    std::string_view text;
    size_t at;
    unsigned char leastLead;
    size_t expected;
  };
  const Case cases[] = {
      {"ascii", "az", 0, kGame, 1},
      {"valid pair", "\xa4\x40z", 0, kGame, 2},
      {"after the pair", "\xa4\x40z", 2, kGame, 1},
      {"lead at the very end", "z\xa4", 1, kGame, 1},
      // Trail bytes are not checked: the pair stays whole.
      {"lead before a non-trail byte", "\xa4 ", 0, kGame, 2},
      {"lead before a zero inside the text", "\xa4\0"sv, 0, kGame, 2},
      {"a trail byte read as a start", "\xa4\xa4", 1, kGame, 1},
      {"0x7f", "\x7fz", 0, kGame, 1},
      {"0x80", "\x80z", 0, kGame, 2},
      {"0xff", "\xffz", 0, kGame, 2},
      {"0xa0 under the standard rows", "\xa0z", 0, kStandard, 1},
      {"0xa1 under the standard rows", "\xa1z", 0, kStandard, 2},
      {"at the end", "az", 2, kGame, 0},
      {"past the end", "az", 5, kGame, 0},
      {"empty", "", 0, kGame, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::Big5CharLength(c.text, c.at, c.leastLead), c.expected) << c.name;
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
