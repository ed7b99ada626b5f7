// The "Talk Data" block: its bytes, reading it back, and damaged blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "talk/base_talk_player.h"
#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"

namespace {

using talktest::Declare;
using talktest::ValueOf;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File WithBytes(const std::string& bytes) {
  File f(std::tmpfile());
  std::fwrite(bytes.data(), 1, bytes.size(), f.get());
  std::rewind(f.get());
  return f;
}

std::string Written(CBaseTalkPlayer& player, int* length) {
  File f(std::tmpfile());
  *length = player.WriteTalkData(f.get());
  std::string bytes(static_cast<size_t>(std::ftell(f.get())), '\0');
  std::rewind(f.get());
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f.get()), bytes.size());
  return bytes;
}

TEST(TalkData, TwoVariablesMakeTheTwentySixBytesInNameOrder) {
  CBaseTalkPlayer player;
  Declare(player, "b", 2);
  Declare(player, "a", 1);
  int length = 0;
  const std::string bytes = Written(player, &length);
  const std::string expected(
      "Talk Data\0\x02\0\0\0\x01"
      "a\x01\0\0\0\x01"
      "b\x02\0\0\0",
      26);
  EXPECT_EQ(length, 26);
  EXPECT_EQ(bytes, expected);
}

TEST(TalkData, ReadingRestoresValuesAndCreatesUndeclaredVariables) {
  CBaseTalkPlayer saved;
  Declare(saved, "gold", -70000);
  Declare(saved, "seen", 3);
  int length = 0;
  const std::string block = Written(saved, &length);

  CBaseTalkPlayer loaded;
  Declare(loaded, "gold", 5);
  Declare(loaded, "other", 9);
  File f = WithBytes(block + "tail");
  EXPECT_EQ(loaded.ReadTalkData(f.get()), length);
  EXPECT_EQ(std::ftell(f.get()), length);
  EXPECT_EQ(ValueOf(loaded, "gold"), -70000);
  EXPECT_EQ(ValueOf(loaded, "seen"), 3);
  EXPECT_EQ(ValueOf(loaded, "other"), 9) << "a variable the block does not name keeps its value";
}

TEST(TalkData, DamagedBlocksChangeNothing) {
  CBaseTalkPlayer saved;
  Declare(saved, "gold", 40);
  Declare(saved, "seen", 3);
  int length = 0;
  const std::string block = Written(saved, &length);

  auto fresh = [] {
    auto p = std::make_unique<CBaseTalkPlayer>();
    Declare(*p, "gold", 1);
    return p;
  };

  {
    std::string wrong = block;
    wrong[0] = 't';
    auto p = fresh();
    File f = WithBytes(wrong);
    EXPECT_EQ(p->ReadTalkData(f.get()), 0);
    EXPECT_EQ(std::ftell(f.get()), 10) << "nothing read after the magic";
  }
  for (size_t cut = 0; cut < block.size(); ++cut) {
    auto p = fresh();
    File f = WithBytes(block.substr(0, cut));
    EXPECT_EQ(p->ReadTalkData(f.get()), 0) << cut;
    EXPECT_EQ(ValueOf(*p, "gold"), 1) << cut;
    EXPECT_EQ(p->FindVariable("seen"), nullptr) << cut;
  }
  {
    // A count far beyond the bytes there are.
    std::string huge = block;
    huge[10] = '\xFF';
    huge[13] = '\x7F';
    auto p = fresh();
    File f = WithBytes(huge);
    EXPECT_EQ(p->ReadTalkData(f.get()), 0);
    EXPECT_EQ(ValueOf(*p, "gold"), 1);
  }
}

TEST(TalkData, NamesTooLongToSaveAreLeftOut) {
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  Declare(player, std::string(300, 'v'), 7);
  Declare(player, "ok", 1);
  int length = 0;
  const std::string bytes = Written(player, &length);
  EXPECT_EQ(length, 14 + 2 + 5);
  EXPECT_EQ(bytes.substr(10, 4), std::string("\x01\0\0\0", 4));

  CBaseTalkPlayer loaded;
  File f = WithBytes(bytes);
  EXPECT_EQ(loaded.ReadTalkData(f.get()), length);
  EXPECT_EQ(ValueOf(loaded, "ok"), 1);
  EXPECT_EQ(loaded.variables.size(), 1u);
  EXPECT_EQ(trace.Lines().size(), 1u);
}

}  // namespace
