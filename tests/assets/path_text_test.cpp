#include <gtest/gtest.h>

#include <string>

#include "engine/media/path_text.h"

namespace {

TEST(PathText, SplitPathSeparatesAtBackslashesAndTheFirstDot) {
  struct Case {
    const char* path;
    const char* drive;
    const char* dir;
    const char* base;
    const char* ext;
  } cases[] = {
      {"c:\\dir\\sub\\tree.qbt", "c:", "\\dir\\sub\\", "tree", ".qbt"},
      {".\\texture\\ab12", "", ".\\texture\\", "ab12", ""},
      {"a.b.c", "", "", "a", ".b.c"},
      {"tex.v2\\tree", "", "tex.v2\\", "tree", ""},
      {"texture/tree.qbt", "", "", "texture/tree", ".qbt"},  // only '\' separates
      {"d:x.y", "d:", "", "x", ".y"},
      {"\\", "", "\\", "", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    std::string drive = "?", dir = "?", base = "?", ext = "?";
    SplitPath(c.path, &drive, &dir, &base, &ext);
    EXPECT_EQ(drive, c.drive) << c.path;
    EXPECT_EQ(dir, c.dir) << c.path;
    EXPECT_EQ(base, c.base) << c.path;
    EXPECT_EQ(ext, c.ext) << c.path;
    EXPECT_EQ(MakePath(drive, dir, base, ext), c.path);
  }
  std::string base;
  SplitPath("x\\y.z", nullptr, nullptr, &base, nullptr);
  EXPECT_EQ(base, "y");
}

TEST(PathText, MatchTextComparesWholeTextsWithOptionalAsciiCaseFolding) {
  const std::string longA(200, 'a'), longB = std::string(199, 'A') + "a";
  struct Case {
    const char* a;
    const char* b;
    int ignoreCase;
    int expected;
  } cases[] = {
      {"tree", "tree", 0, 1},
      {"tree", "TREE", 0, 0},
      {"tree", "TREE", 1, 1},
      {"tree", "trees", 1, 0},
      {"", "", 0, 1},
      {"\xe4", "\xc4", 1, 0},  // Big5 bytes are not letters
      {"[", "{", 1, 0},
      {longA.c_str(), longB.c_str(), 1, 1},  // longer than the old 128-byte halves
      {longA.c_str(), longB.c_str(), 0, 0},
      {nullptr, "a", 1, 0},
      {"a", nullptr, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchText(c.a, c.b, c.ignoreCase), c.expected)
        << (c.a ? c.a : "(null)") << " / " << (c.b ? c.b : "(null)");
}

TEST(PathText, LowerCaseTouchesOnlyAsciiCapitals) {
  std::string text = "TREE\\Wall_01.QBT\xC4";
  LowerCase(text);
  EXPECT_EQ(text, "tree\\wall_01.qbt\xC4");
}

}  // namespace
