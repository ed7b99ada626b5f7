#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "engine/media/file_search.h"
#include "tests/assets/asset_fixtures.h"

namespace {

using assets_test::AssetsTest;
using assets_test::Package;
using assets_test::WriteFile;

class PackageTest : public AssetsTest {
 protected:
  void SetUp() override {
    AssetsTest::SetUp();
    tree_ = assets_test::SmallQbt(200);
    wall_ = assets_test::SmallBmp();
    rock_ = assets_test::SmallQbm();
    texPackage_ = Package({{"wall.bmp", wall_}, {"tree.qbt", tree_}, {"rock.qbm", rock_}});
    WriteFile("texture/tex.qxo", texPackage_);
    SetTextureDirectory(".\\texture");
  }

  // The name of the entry found, "" for -1.
  std::string Lookup(const char* name, int kind, std::string* ext = nullptr) {
    std::string found;
    int index = FindPackageEntry(&g_texturePackage, name, ext ? ext : &found, kind);
    if (index < 0) return "";
    return g_texturePackage.entries.at(index).name;
  }

  std::vector<uint8_t> tree_, wall_, rock_, texPackage_;
};

TEST_F(PackageTest, FindsEntriesByKindWhateverTheCase) {
  OpenTexturePackage("tex");  // not in the working directory: found in the texture directory
  ASSERT_TRUE(g_texturePackage.file);
  const std::string name33(33, 'a');
  struct Case {
    const char* name;
    int kind;
    const char* entry;
    const char* ext;
  } cases[] = {
      {"tree", ASSET_TEXTURE, "tree.qbt", ".qbt"},
      {"TREE.QBT", ASSET_TEXTURE, "tree.qbt", ".qbt"},
      {"Texture\\Tree", ASSET_TEXTURE, "tree.qbt", ".qbt"},  // the directory part is ignored
      {"tree.xyz", ASSET_TEXTURE, "tree.qbt", ".qbt"},       // a foreign extension counts as none
      {"wall", ASSET_TEXTURE, "wall.bmp", ".bmp"},
      {"wall", ASSET_IMAGE, "wall.bmp", ".bmp"},
      {"rock", ASSET_TEXTURE, "rock.qbm", ".qbm"},
      {"rock", ASSET_MIPMAP_TEXTURE, "rock.qbm", ".qbm"},
      {"tree", ASSET_IMAGE, "tree.qbt", ".qbt"},
      {"tree", ASSET_MIPMAP_TEXTURE, "", ""},
      {"tree", ASSET_MODEL, "", ""},
      {"tree.bmp", ASSET_TEXTURE, "", ""},
      {"bush", ASSET_TEXTURE, "", ""},
      {name33.c_str(), ASSET_TEXTURE, "", ""},
      {"tree", 8, "", ""},
      {"tree", -1, "", ""},
  };
  for (const Case& c : cases) {
    std::string ext;
    EXPECT_EQ(Lookup(c.name, c.kind, &ext), c.entry) << c.name << " kind " << c.kind;
    if (*c.entry) {
      EXPECT_EQ(ext, c.ext) << c.name;
    }
  }
  EXPECT_EQ(FindPackageEntry(&g_texturePackage, nullptr, nullptr, ASSET_TEXTURE), -1);
  EXPECT_EQ(FindPackageEntry(&g_modelPackage, "tree", nullptr, ASSET_TEXTURE), -1);  // closed slot
}

TEST_F(PackageTest, LookupPositionsTheFileAndEntryBytesMatch) {
  OpenTexturePackage("TEXTURE\\TEX.QXO");
  for (auto [name, data] : {std::pair{"tree", &tree_}, {"wall", &wall_}, {"rock", &rock_}}) {
    std::string ext;
    int index = FindPackageEntry(&g_texturePackage, name, &ext, ASSET_TEXTURE);
    ASSERT_GE(index, 0) << name;
    EXPECT_EQ(g_texturePackage.file->Tell(), g_texturePackage.entries[index].offset);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadPackageEntry(&g_texturePackage, index, bytes));
    EXPECT_EQ(bytes, *data) << name;
  }
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadPackageEntry(&g_texturePackage, 3, bytes));
  EXPECT_FALSE(ReadPackageEntry(&g_texturePackage, -1, bytes));
  EXPECT_FALSE(ReadPackageEntry(&g_imagePackage, 0, bytes));
}

TEST_F(PackageTest, OpensByNameWithOrWithoutTheExtension) {
  WriteFile("ui.qxo", Package({{"a.qbi", tree_}}));
  WriteFile("ui.dat.qxo", Package({{"b.qbi", tree_}}));
  WriteFile("image/menu.qxo", Package({{"c.qbi", tree_}}));
  SetImageDirectory(".\\image");
  struct Case {
    const char* open;
    const char* holds;  // "" when the slot must stay closed
  } cases[] = {
      {"ui", "a"}, {"UI.QXO", "a"}, {"ui.dat", "b"}, {"ui.dat.qxo", "b"}, {"Menu", "c"}, {"missing", ""}, {nullptr, ""},
  };
  for (const Case& c : cases) {
    OpenImagePackage("ui");  // something open first: every call closes it
    OpenImagePackage(c.open);
    const char* label = c.open ? c.open : "(null)";
    EXPECT_EQ(static_cast<bool>(g_imagePackage.file), *c.holds != 0) << label;
    if (*c.holds) {
      EXPECT_GE(FindPackageEntry(&g_imagePackage, c.holds, nullptr, ASSET_IMAGE), 0) << label;
      EXPECT_EQ(GetImagePackageName(), c.open);  // as given, not as opened
    } else {
      EXPECT_EQ(GetImagePackageName(), "");
      EXPECT_EQ(FindPackageEntry(&g_imagePackage, "a", nullptr, ASSET_IMAGE), -1) << label;
    }
  }
}

TEST_F(PackageTest, LooseOverrideFilesWinOnlyWhenPresentAtSetTime) {
  OpenTexturePackage("tex");
  WriteFile("extra/tree.qbt", assets_test::SmallQbt(7));
  SetOverrideDirectory(".\\extra");
  EXPECT_EQ(g_looseFilesFirst, 1);
  EXPECT_EQ(Lookup("tree", ASSET_TEXTURE), "");
  EXPECT_EQ(Lookup("TREE.qbt", ASSET_TEXTURE), "");
  std::string path;
  ASSERT_EQ(FindTextureFile(path, "tree"), 1);
  EXPECT_EQ(path, ".\\extra\\tree.qbt");
  EXPECT_EQ(Lookup("wall", ASSET_TEXTURE), "wall.bmp");

  // Kind 0 lets only a loose ".qbt" beat a bare name; an explicit name, or the
  // image kind, checks the loose ".bmp" too.
  WriteFile("extra2/wall.bmp", assets_test::SmallBmp());
  SetOverrideDirectory(".\\extra2");
  EXPECT_EQ(Lookup("wall", ASSET_TEXTURE), "wall.bmp");
  EXPECT_EQ(Lookup("wall.bmp", ASSET_TEXTURE), "");
  EXPECT_EQ(Lookup("wall", ASSET_IMAGE), "");
  EXPECT_EQ(Lookup("tree", ASSET_TEXTURE), "tree.qbt");

  // Copied in after the directory was set: the package still answers.
  ASSERT_TRUE(plat::CreateDirectories("late"));
  SetOverrideDirectory(".\\late");
  EXPECT_EQ(g_looseFilesFirst, 0);
  WriteFile("late/tree.qbt", assets_test::SmallQbt(9));
  EXPECT_EQ(Lookup("tree", ASSET_TEXTURE), "tree.qbt");

  // A directory that holds only directories does not count; a missing one neither.
  ASSERT_TRUE(plat::CreateDirectories("dirs/sub"));
  SetOverrideDirectory(".\\dirs");
  EXPECT_EQ(g_looseFilesFirst, 0);
  SetOverrideDirectory(".\\nowhere");
  EXPECT_EQ(g_looseFilesFirst, 0);
}

TEST_F(PackageTest, NameFieldIsComparedOverAtMost32Bytes) {
  const std::string base27(27, 'n');
  std::vector<uint8_t> bytes = Package({{base27 + ".qbt", tree_}});
  // Widen the stored name to 32 characters, filling the field with no terminator.
  const std::string name32 = base27 + "n.qbt";
  std::copy(name32.begin(), name32.end(), bytes.begin() + 16 + 4);
  WriteFile("long.qxo", bytes);
  OpenTexturePackage("long");
  ASSERT_TRUE(g_texturePackage.file);
  EXPECT_EQ(Lookup((base27 + "n").c_str(), ASSET_TEXTURE), name32);
  EXPECT_EQ(Lookup(name32.c_str(), ASSET_TEXTURE), name32);
  EXPECT_EQ(Lookup((base27 + "nn").c_str(), ASSET_TEXTURE), "");  // key of 33 characters
  EXPECT_EQ(Lookup((name32 + "x").c_str(), ASSET_TEXTURE), "");   // name of 33 characters
}

TEST_F(PackageTest, CorruptPackagesAnswerFailureWithoutCrashing) {
  // Directory of texPackage_: rock.qbm, tree.qbt, wall.bmp; the tree entry starts at 16 + 44.
  const size_t treeEntry = 16 + 44;
  auto patch32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  struct Case {
    const char* label;
    std::function<void(std::vector<uint8_t>&)> corrupt;
    bool opens;
  } cases[] = {
      {"empty file", [](auto& b) { b.clear(); }, false},
      {"truncated header", [](auto& b) { b.resize(10); }, false},
      {"wrong magic", [](auto& b) { b[0] = 'Q'; }, false},
      {"count beyond the file", [&](auto& b) { patch32(b, 12, 1000); }, false},
      {"count of 2^32 - 1", [&](auto& b) { patch32(b, 12, 0xFFFFFFFFu); }, false},
      {"truncated directory", [](auto& b) { b.resize(16 + 44 + 20); }, false},
      {"offset beyond the file", [&](auto& b) { patch32(b, treeEntry + 36, static_cast<uint32_t>(b.size() + 100)); },
       true},
      {"size beyond the file", [&](auto& b) { patch32(b, treeEntry + 40, static_cast<uint32_t>(b.size())); }, true},
      {"offset + size wrapping 32 bits", [&](auto& b) { patch32(b, treeEntry + 40, 0xFFFFFFF0u); }, true},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = texPackage_;
    c.corrupt(bytes);
    WriteFile("bad.qxo", bytes);
    OpenTexturePackage("bad");
    EXPECT_EQ(static_cast<bool>(g_texturePackage.file), c.opens) << c.label;
    EXPECT_EQ(Lookup("tree", ASSET_TEXTURE), "") << c.label;
    std::vector<uint8_t> data;
    EXPECT_FALSE(ReadPackageEntry(&g_texturePackage, 1, data)) << c.label;
    if (c.opens) {
      // Only the damaged entry is lost.
      EXPECT_EQ(Lookup("wall", ASSET_TEXTURE), "wall.bmp") << c.label;
    }
  }
}

TEST_F(PackageTest, CorruptDirectoriesAreReportedToTheDebugger) {
  testsupport::DebugOutputCapture capture;
  std::vector<uint8_t> bytes = texPackage_;
  bytes.resize(30);
  WriteFile("short.qxo", bytes);
  OpenTexturePackage("short");
  EXPECT_TRUE(capture.Contains("Corrupt package short"));
}

TEST_F(PackageTest, CloseAllAndResetEmptyEverySlot) {
  for (const char* name : {"a", "b", "c", "d", "e"}) WriteFile(std::string(name) + ".qxo", texPackage_);
  OpenTexturePackage("a");
  OpenImagePackage("b");
  OpenModelPackage("c");
  OpenKind3Package("d");
  OpenKind4Package("e");
  PACKAGEDESC* all[] = {&g_texturePackage, &g_imagePackage, &g_modelPackage, &g_kind3Package, &g_kind4Package};
  for (PACKAGEDESC* p : all) ASSERT_TRUE(p->file);
  CloseAllPackages();
  for (PACKAGEDESC* p : all) {
    EXPECT_FALSE(p->file);
    EXPECT_TRUE(p->name.empty());
    EXPECT_TRUE(p->entries.empty());
  }
  OpenTexturePackage("a");
  OpenKind4Package("e");
  ResetPackages();
  for (PACKAGEDESC* p : all) EXPECT_FALSE(p->file);
}

TEST_F(PackageTest, NothingAnswersWhileTheEngineIsClosed) {
  OpenTexturePackage("tex");
  WriteFile("texture/pine.qbt", tree_);
  g_engineOpen = 0;
  EXPECT_EQ(FindPackageEntry(&g_texturePackage, "tree", nullptr, ASSET_TEXTURE), -1);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadPackageEntry(&g_texturePackage, 0, bytes));
  std::string path;
  EXPECT_EQ(FindTextureFile(path, "pine"), 0);
  OpenTexturePackage(nullptr);  // ignored: the package stays open
  CloseAllPackages();
  SetTextureDirectory(".\\elsewhere");
  EXPECT_EQ(GetTextureDirectory(), "");
  g_engineOpen = 1;
  EXPECT_TRUE(g_texturePackage.file);
  EXPECT_EQ(GetTextureDirectory(), ".\\texture\\");
  EXPECT_EQ(Lookup("tree", ASSET_TEXTURE), "tree.qbt");
}

}  // namespace
