#include <gtest/gtest.h>

#include <functional>

#include "tests/support/captures.h"
#include "tools/datagen/talk_writer.h"

namespace {

using datagen::TalkWriter;
using datagen::TextAttr;

TEST(TalkWriter, TextsAreWrittenInBig5) {
  std::string big5;
  ASSERT_TRUE(datagen::Utf8ToBig5("玩家 ok", big5));
  EXPECT_EQ(big5, "\xAA\xB1\xAE\x61 ok");
  EXPECT_FALSE(datagen::Utf8ToBig5("\xF0\x9F\x98\x80", big5));  // no Big5 form

  TalkWriter w;
  w.Open("talk", {TextAttr("aname", "Ab"), datagen::NumberAttr("size", {700, 0.5f})});
  w.Sentence({TextAttr("speaker", "玩家")}, "家");
  w.Close();
  EXPECT_EQ(w.Markup(),
            "<talk aname=\"Ab\" size=(700 0.5)>\n"
            "  <li speaker=\"\xAA\xB1\xAE\x61\">\xAE\x61</li>\n"
            "</talk>\n");
}

TEST(TalkWriter, RefusesMarkupTheReaderWouldMisread) {
  const std::function<void(TalkWriter&)> builds[] = {
      [](TalkWriter& w) { w.Sentence({}, "a < b"); },
      [](TalkWriter& w) { w.Sentence({TextAttr("speaker", "say \"hi\"")}, "x"); },
      [](TalkWriter& w) { w.Sentence({}, "\xF0\x9F\x98\x80"); },
      [](TalkWriter& w) { w.Comment("a > b"); },
      [](TalkWriter& w) { w.Close(); },
      [](TalkWriter& w) { w.Open("talk"); },
  };
  for (const auto& build : builds) {
    testsupport::ScopedWorkDir dir;
    TalkWriter w;
    build(w);
    std::string error;
    EXPECT_FALSE(w.Write("resource/talk.pt", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists("resource/talk.pt"));
  }
}

}  // namespace
