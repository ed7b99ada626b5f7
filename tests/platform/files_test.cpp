#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/crt.h"
#include "platform/file_sync.h"
#include "platform/files.h"
#include "tests/support/captures.h"
#include "tests/support/named_pipe.h"

namespace {

void Touch(const std::filesystem::path& p, const std::string& content = "x") {
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

TEST(Files, ResolvesAnyCaseAndBackslashes) {
  testsupport::ScopedWorkDir dir;
  Touch("texture/tree.qbt");
  struct Case {
    const char* name;
    bool found;
  } cases[] = {
      {"texture/tree.qbt", true},   {"TEXTURE\\Tree.QBT", true},  {".\\texture\\TREE.qbt", true},
      {"texture\\tree.qbx", false}, {"textures/tree.qbt", false},
  };
  for (const auto& c : cases) {
    auto p = plat::ResolvePath(c.name);
    EXPECT_EQ(p.has_value(), c.found) << c.name;
    if (p) {
      EXPECT_EQ(p->filename(), "tree.qbt");
    }
  }
}

// The game's own writes reach the disk before the rename; the test programs
// skip that flush everywhere else.
struct SyncedCommits {
  SyncedCommits() { plat::SetSyncOnCommit(true); }
  ~SyncedCommits() { plat::SetSyncOnCommit(false); }
};

TEST(Files, AtomicWriteKeepsOldFileUntilCommit) {
  testsupport::ScopedWorkDir dir;
  SyncedCommits synced;
  ASSERT_TRUE(plat::CreateDirectories("Save"));
  const char first[] = "first";
  ASSERT_TRUE(plat::WriteFileAtomic("save\\a.sav", first, 5));
  {
    auto f = plat::File::CreateWrite("SAVE/A.SAV");
    ASSERT_TRUE(f);
    f->Write("second", 6);
    // Destroyed without Commit: a crash mid-write.
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(plat::ReadWholeFile("save/a.sav", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "first");
  EXPECT_EQ(plat::ListFiles("save/*").size(), 1u);  // no temporary left behind
  {
    auto f = plat::File::CreateWrite("SAVE/A.SAV");
    f->Write("second", 6);
    EXPECT_TRUE(f->Commit());
  }
  ASSERT_TRUE(plat::ReadWholeFile("save/a.sav", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "second");
}

// Every way in to a file refuses a named pipe at once: opening one to read
// would wait for a writer for ever.
TEST(Files, ANamedPipeIsNoFileAndIsNeverWaitedOn) {
  testsupport::ScopedWorkDir dir;
  Touch("scenes/keep.txt");
  testsupport::NamedPipe pipe("scenes/a004.sb");
  ASSERT_TRUE(pipe.Made());
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(plat::ReadWholeFile("SCENES\\A004.SB", bytes));
  EXPECT_EQ(plat::File::OpenRead("scenes/a004.sb"), nullptr);
  std::vector<std::string> lines;
  EXPECT_FALSE(plat::ReadTextLines("scenes/a004.sb", lines));
  EXPECT_FALSE(plat::FileExists("scenes/a004.sb"));
  EXPECT_EQ(plat::FileSize("scenes/a004.sb"), -1);
  EXPECT_EQ(plat::ListFiles("scenes/*"), std::vector<std::string>{"keep.txt"});
  EXPECT_FALSE(pipe.ReaderWaited());
  EXPECT_TRUE(plat::ReadWholeFile("scenes/keep.txt", bytes)) << "a regular file still reads";
}

TEST(Files, TextLinesLoseCarriageReturns) {
  testsupport::ScopedWorkDir dir;
  Touch("a.txt", "one\r\ntwo\n\nthree");
  std::vector<std::string> lines;
  ASSERT_TRUE(plat::ReadTextLines("A.TXT", lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "three"}));
}

TEST(Files, SmallTextFilesReadToTheirEndWhateverSizeTheyTell) {
  testsupport::ScopedWorkDir dir;
  std::string text;
  // A file under /proc tells a size of 0 and still has lines to read.
  ASSERT_TRUE(plat::ReadSmallTextFile("/proc/self/status", text));
  EXPECT_NE(text.find("Threads:"), std::string::npos);

  Touch("small.txt", std::string(5000, 'a'));
  EXPECT_TRUE(plat::ReadSmallTextFile("small.txt", text));
  EXPECT_EQ(text.size(), 5000u);
  EXPECT_FALSE(plat::ReadSmallTextFile("small.txt", text, 4999));
  EXPECT_TRUE(text.empty()) << "a refused file leaves nothing half read";
  EXPECT_FALSE(plat::ReadSmallTextFile("missing.txt", text));
  testsupport::NamedPipe pipe("pipe.txt");
  ASSERT_TRUE(pipe.Made());
  EXPECT_FALSE(plat::ReadSmallTextFile("pipe.txt", text));
  EXPECT_FALSE(pipe.ReaderWaited());
}

TEST(Files, AppendStreamsAddToWhatIsThere) {
  testsupport::ScopedWorkDir dir;
  for (const char* line : {"one\n", "two\n"}) {
    std::FILE* f = plat::OpenAppendStream("log.txt");
    ASSERT_NE(f, nullptr);
    std::fputs(line, f);
    std::fclose(f);
  }
  std::vector<std::string> lines;
  ASSERT_TRUE(plat::ReadTextLines("log.txt", lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(plat::OpenAppendStream("no-such-folder/log.txt"), nullptr);
}

TEST(Files, LockFilesAreMadeOnlyWhenAskedAndOnlyForTheirOwner) {
  testsupport::ScopedWorkDir dir;
  EXPECT_EQ(plat::OpenLockFile("a.lock", false), -1) << "testing for a lock makes no file";
  EXPECT_FALSE(std::filesystem::exists("a.lock"));
  const int made = plat::OpenLockFile("a.lock", true);
  ASSERT_GE(made, 0);
  EXPECT_EQ(std::filesystem::status("a.lock").permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const int opened = plat::OpenLockFile("a.lock", false);
  EXPECT_GE(opened, 0);
  ::close(opened);
  ::close(made);
  EXPECT_EQ(plat::OpenLockFile("no-such-folder/a.lock", true), -1);
}

TEST(Files, Wildcards) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {{"*.sav", "TWSave01.SAV", true},
               {"TWSave??.sav", "twsave01.sav", true},
               {"TWSave??.sav", "twsave1.sav", false},
               {"*", "", true},
               {"a*b*c", "axxbyyc", true},
               {"a*b*c", "axxbyy", false}};
  for (const auto& c : cases) EXPECT_EQ(plat::MatchWildcard(c.pattern, c.name), c.match) << c.pattern;
}

TEST(ByteReader, ReadsLittleEndianAndFailsPastTheEnd) {
  const uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 'a', 'b', 0, 'z', 0xFF};
  plat::ByteReader r(data, sizeof data);
  EXPECT_EQ(r.U32(), 0x04030201u);
  EXPECT_EQ(r.FixedString(4), "ab");
  EXPECT_FALSE(r.Failed());
  EXPECT_EQ(r.U16(), 0u);  // one byte left
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(r.U8(), 0u);
}

TEST(ByteReader, WriterRoundTrip) {
  plat::ByteWriter w;
  w.I32(-5);
  w.F32(1.5f);
  w.FixedString("a-name-too-long", 8);
  w.U16(0xBEEF);
  plat::ByteReader r(w.Bytes());
  EXPECT_EQ(r.I32(), -5);
  EXPECT_EQ(r.F32(), 1.5f);
  EXPECT_EQ(r.FixedString(8), "a-name-");
  EXPECT_EQ(r.U16(), 0xBEEF);
  EXPECT_EQ(r.Remaining(), 0u);
}

TEST(Crt, ClassicSequence) {
  plat::Srand(1);
  // The first values of the classic runtime generator seeded with 1.
  EXPECT_EQ(plat::Rand(), 41);
  EXPECT_EQ(plat::Rand(), 18467);
  EXPECT_EQ(plat::Rand(), 6334);
}

}  // namespace
