#include <gtest/gtest.h>

#include "engine/media/file_search.h"
#include "engine/media/path_text.h"
#include "tests/assets/asset_fixtures.h"

namespace {

using assets_test::AssetsTest;

void Touch(const std::string& path) { assets_test::WriteFile(path, {1, 2, 3}); }

class FileSearchTest : public AssetsTest {
 protected:
  void SetUp() override {
    AssetsTest::SetUp();
    for (const char* f : {"texture/tree.qbt", "texture/tree.bmp", "texture/tree.qbm", "texture/stone.bmp",
                          "texture/stone.qbm", "texture/leaf.qbt", "extra/leaf.qbt", "texture/ab.qst", "texture/a.qst",
                          "texture/.qst", "image/icons.qsi", "extra/flags.qsi", "image/logo.qbi", "extra/logo.bmp",
                          "image/menu.qbi", "model/ship.qx3", "model/boat.qb3", "extra/boat.qb3", "Data/Deep/Pine.BMP"})
      Touch(f);
    SetTextureDirectory(".\\texture");
    SetImageDirectory(".\\image");
    SetModelDirectory(".\\model");
    SetOverrideDirectory(".\\extra");
  }
};

TEST_F(FileSearchTest, SearchesTheDirectoriesInOrder) {
  using Search = int (*)(std::string&, const char*);
  struct Case {
    Search search;
    const char* name;
    const char* path;  // "" when nothing is found
  } cases[] = {
      {FindTextureFile, "tree", ".\\texture\\tree.qbt"},
      {FindTextureFile, "stone", ".\\texture\\stone.bmp"},
      {FindTextureFile, "leaf", ".\\extra\\leaf.qbt"},  // the override directory first
      {FindTextureFile, "leaf.qbt", ".\\extra\\leaf.qbt"},
      {FindTextureFile, "stone.qbm", ".\\texture\\stone.qbm"},
      {FindTextureFile, "texture\\stone", "texture\\stone.bmp"},  // a path: only there
      {FindTextureFile, "extra\\stone", ""},
      {FindTextureFile, "texture\\stone.qbt", ""},  // path and extension: only as given
      {FindTextureFile, "ab12", ".\\texture\\ab12.qst"},
      {FindTextureFile, "a12", ".\\texture\\a12.qst"},
      {FindTextureFile, "12", ""},  // too short to carry a set number
      {FindTextureFile, "ab1x", ""},
      {FindTextureFile, "bush", ""},
      {FindTextureFile, "", ""},
      {FindTextureFile, nullptr, ""},
      {FindMipmapTextureFile, "stone", ".\\texture\\stone.qbm"},
      {FindMipmapTextureFile, "leaf", ""},
      {FindMipmapTextureFile, "ab07", ".\\texture\\ab07.qst"},
      {FindImageFile, "icons05", ".\\image\\icons05.qsi"},
      {FindImageFile, "flags01", ""},  // sets are not taken from the override directory
      {FindImageFile, "logo", ".\\extra\\logo.bmp"},
      {FindImageFile, "menu", ".\\image\\menu.qbi"},
      {FindImageFile, "menu.qbi", ".\\image\\menu.qbi"},
      {FindModelFile, "ship", ".\\model\\ship.qx3"},
      {FindModelFile, "boat", ".\\extra\\boat.qb3"},
      {FindModelFile, "ship01", ""},
      {FindModelFile, "model\\ship", "model\\ship.qx3"},
  };
  for (const Case& c : cases) {
    std::string path = "untouched";
    const char* label = c.name ? c.name : "(null)";
    EXPECT_EQ(c.search(path, c.name), *c.path ? 1 : 0) << label;
    EXPECT_EQ(path, *c.path ? c.path : "untouched") << label;
  }
}

TEST_F(FileSearchTest, NamesResolveWhateverTheirCaseAndSlashes) {
  std::string path;
  ASSERT_EQ(FindTextureFile(path, "TEXTURE\\Tree.QBT"), 1);
  EXPECT_EQ(path, "TEXTURE\\Tree.QBT");  // found as given
  auto file = plat::File::OpenRead(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Size(), 3);

  ASSERT_EQ(FindTextureFile(path, "data\\deep\\pine"), 1);
  EXPECT_EQ(path, "data\\deep\\pine.bmp");
  EXPECT_TRUE(plat::File::OpenRead(path));

  SetTextureDirectory(".\\TEXTURE");
  ASSERT_EQ(FindTextureFile(path, "TREE"), 1);
  EXPECT_EQ(path, ".\\TEXTURE\\TREE.qbt");
  EXPECT_TRUE(plat::File::OpenRead(path));
}

TEST_F(FileSearchTest, DirectorySlotsEndInABackslashAndHoldLongPaths) {
  struct Case {
    const char* given;
    const char* stored;
  } cases[] = {
      {".\\texture", ".\\texture\\"},
      {".\\texture\\", ".\\texture\\"},
      {"", ".\\"},
      {"data/sounds", "data/sounds\\"},
  };
  for (const Case& c : cases) {
    SetSoundDirectory(c.given);
    EXPECT_EQ(GetSoundDirectory(), c.stored) << c.given;
  }
  SetSoundDirectory(nullptr);
  EXPECT_EQ(GetSoundDirectory(), "data/sounds\\");

  // Well past the old 128-byte slots.
  std::string deep = ".";
  while (deep.size() < 300) deep += "\\level";
  SetImageDirectory(deep.c_str());
  EXPECT_EQ(GetImageDirectory(), deep + "\\");
  Touch(plat::NormalizePath(deep) + "/far.qbi");
  std::string path;
  ASSERT_EQ(FindImageFile(path, "far"), 1);
  EXPECT_EQ(path, deep + "\\far.qbi");
}

}  // namespace
