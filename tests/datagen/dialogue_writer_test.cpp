// The dialogue file writer: its header, index and texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/dialogue_writer.h"

namespace {

TEST(DialogueWriter, HeaderIndexAndTextsLieWhereTheReaderLooks) {
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(datagen::BuildDialogueFile({{"greet", "A:hi#/"}, {"ask", "B:q#:y#/"}}, bytes, error)) << error;
  plat::ByteReader in(bytes);
  EXPECT_EQ(in.U32(), datagen::kDialogueMagic);
  EXPECT_EQ(in.U32(), 0u);
  EXPECT_EQ(in.U32(), 0u);
  EXPECT_EQ(in.U32(), 2u);
  EXPECT_EQ(in.U32(), 0u);
  EXPECT_EQ(in.FixedString(12), "greet");
  const uint32_t first = in.U32();
  EXPECT_EQ(in.FixedString(12), "ask");
  const uint32_t second = in.U32();
  EXPECT_EQ(first, 20u + 2 * 16);
  EXPECT_EQ(second, first + 6);
  EXPECT_EQ(std::string(bytes.begin() + second, bytes.end()), "B:q#:y#/");
  EXPECT_FALSE(datagen::BuildDialogueFile({{"twelve chars", "x"}}, bytes, error));
}

}  // namespace
