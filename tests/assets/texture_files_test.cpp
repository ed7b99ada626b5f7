#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/media/lightmap_files.h"
#include "engine/media/packages.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_files.h"
#include "engine/media/texture_table.h"
#include "tests/assets/asset_fixtures.h"
#include "tests/assets/engine_assets_fixture.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_set_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/lightmap_writer.h"
#include "tools/datagen/mipmap_writer.h"

namespace {

using assets_test::Encode;
using assets_test::EngineAssetsTest;
using assets_test::Texel;
using assets_test::WriteFile;
using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Images whose first stored row is red and whose other rows are blue.
Bytes Indices(int width, int height) {
  Bytes pixels(static_cast<size_t>(width) * height, 1);
  std::fill(pixels.begin(), pixels.begin() + width, 0);
  return pixels;
}

Bytes Triples(int width, int height) {
  Bytes pixels;
  for (int i = 0; i < width * height; ++i) {
    const Bytes bgr = i < width ? Bytes{0, 0, 255} : Bytes{255, 0, 0};
    pixels.insert(pixels.end(), bgr.begin(), bgr.end());
  }
  return pixels;
}

Bytes RedRowQbt(uint32_t width, uint32_t height, uint32_t bits = 8,
                datagen::ImageMagic magic = datagen::ImageMagic::Qbt) {
  datagen::ImageDesc image;
  image.magic = magic;
  image.width = width;
  image.height = height;
  image.bitsPerPixel = bits;
  if (bits == 8) {
    image.palette = {{255, 0, 0}, {0, 0, 255}};
    image.pixels = Indices(width, height);
  } else {
    image.pixels = Triples(width, height);
  }
  return Encode(datagen::WriteImage, image);
}

Bytes RedRowBmp(uint32_t width, uint32_t height, uint32_t bits = 8) {
  datagen::BitmapDesc bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bitCount = bits;
  if (bits == 8) {
    bitmap.palette = {{255, 0, 0}, {0, 0, 255}};
    bitmap.pixels = Indices(width, height);
  } else {
    bitmap.pixels = Triples(width, height);
  }
  return Encode(datagen::WriteBitmap, bitmap);
}

// A 16 x 16 QBM of four levels; level k is filled with colour k.
const datagen::PaletteColour kLevelColours[] = {{10, 0, 0}, {0, 20, 0}, {0, 0, 30}, {40, 40, 0}};
Bytes LevelQbm() {
  datagen::MipmapDesc mipmap;
  mipmap.width = 16;
  mipmap.height = 16;
  mipmap.palette.assign(std::begin(kLevelColours), std::end(kLevelColours));
  for (uint8_t k = 0; k < 4; ++k) mipmap.levels.push_back(Bytes((16 >> k) * (16 >> k), k));
  return Encode(datagen::WriteMipmap, mipmap);
}

// A texture set whose entry k is a 1-pixel-high image k + 1 pixels wide.
Bytes WidthSet(int entries) {
  datagen::ImageSetDesc set;
  for (int k = 0; k < entries; ++k) set.entries.push_back(RedRowQbt(k + 1, 1));
  return Encode(datagen::WriteImageSet, set);
}

uint32_t Red() { return PackTexturePixel(255, 0, 0); }
uint32_t Blue() { return PackTexturePixel(0, 0, 255); }

class TextureFilesTest : public EngineAssetsTest {};

TEST_F(TextureFilesTest, SharesTexturesByBaseNameFromThePackage) {
  WriteFile("texture/tex.qxo", assets_test::Package({{"tree.qbt", RedRowQbt(8, 2)}, {"wall.bmp", RedRowBmp(4, 4)}}));
  OpenTexturePackage("tex");
  ASSERT_TRUE(g_texturePackage.file);
  TEXTUREDESC* tree = LoadTexture("tree", 0, 0, 0, 0);
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->width, 8);
  EXPECT_EQ(tree->height, 2);
  EXPECT_STREQ(tree->name, "tree");
  EXPECT_EQ(tree->refCount, 1);
  EXPECT_EQ(tree->keyIndex, -1);
  EXPECT_EQ(g_textureTable[tree->slot], tree);
  // Sharing goes by base name only, whatever extension or key is asked for.
  EXPECT_EQ(LoadTexture("TREE.bmp", 1, 255, 0, 255), tree);
  EXPECT_EQ(tree->refCount, 2);
  TEXTUREDESC* wall = LoadTexture("wall", 1, 0, 0, 255);
  ASSERT_TRUE(wall);
  EXPECT_EQ(wall->width, 4);
  EXPECT_EQ(wall->keyIndex, 1);
  EXPECT_EQ(wall->keyBlue, 255);
  EXPECT_EQ(LoadTexture("bush", 0, 0, 0, 0), nullptr);
  EXPECT_EQ(LoadTexture(nullptr, 0, 0, 0, 0), nullptr);
  ReleaseTexture(tree);
  ReleaseTexture(tree);
  ReleaseTexture(wall);
  EXPECT_EQ(FindTexture("tree"), nullptr);
}

TEST_F(TextureFilesTest, TakesEntriesOfTextureSets) {
  WriteFile("texture/wall.qst", WidthSet(8));
  WriteFile("texture/ab.qst", WidthSet(13));
  struct Case {
    const char* name;
    int width;  // 0: not loaded
  } cases[] = {{"wall07", 8}, {"wall00", 1}, {"ab12", 13}, {"wall08", 0}, {"wall", 0}};
  for (const Case& c : cases) {
    TEXTUREDESC* t = LoadTexture(c.name, 0, 0, 0, 0);
    EXPECT_EQ(t ? t->width : 0, c.width) << c.name;
    if (!t) continue;
    EXPECT_STREQ(t->name, c.name);
    EXPECT_EQ(Texel(t, 0, 0), Red()) << c.name;
    ReleaseTexture(t);
  }
}

// The first stored row of every format becomes texture row 0.
TEST_F(TextureFilesTest, PutsTheFirstStoredRowAtTextureRowZero) {
  Bytes gapped = RedRowBmp(3, 3);  // rows of 3 bytes padded to 4, then moved by a gap
  const size_t rows = 14 + 40 + 8;
  gapped.insert(gapped.begin() + rows, {7, 7, 7, 7, 7, 7});
  PutU32(gapped, 10, rows + 6);
  datagen::MipmapDesc mipmap;
  mipmap.width = 4;
  mipmap.height = 2;
  mipmap.palette = {{255, 0, 0}, {0, 0, 255}};
  mipmap.levels = {Indices(4, 2), Indices(2, 1)};
  struct Case {
    const char* file;
    Bytes bytes;
    int width, height;
  } cases[] = {
      {"texture/q8.qbt", RedRowQbt(4, 4), 4, 4},
      {"texture/q24.qbi", RedRowQbt(3, 2, 24, datagen::ImageMagic::Qbi), 3, 2},
      {"texture/b8.bmp", gapped, 3, 3},
      {"texture/b24.bmp", RedRowBmp(5, 2, 24), 5, 2},
      {"texture/b30.bmp", RedRowBmp(30, 2, 24), 30, 2},
      {"texture/m8.qbm", Encode(datagen::WriteMipmap, mipmap), 4, 2},
  };
  for (const Case& c : cases) {
    WriteFile(c.file, c.bytes);
    TEXTUREDESC* t = LoadTexture(c.file + 8, 0, 0, 0, 0);
    ASSERT_TRUE(t) << c.file;
    EXPECT_EQ(t->width, c.width) << c.file;
    EXPECT_EQ(t->height, c.height) << c.file;
    EXPECT_EQ(t->mipLevels, 0) << c.file;
    for (int x = 0; x < c.width; ++x) {
      EXPECT_EQ(Texel(t, x, 0), Red()) << c.file << " x " << x;
      EXPECT_EQ(Texel(t, x, c.height - 1), Blue()) << c.file << " x " << x;
    }
    ReleaseTexture(t);
  }
}

TEST_F(TextureFilesTest, ClampsMipmapRequestsToTheFileLevels) {
  WriteFile("texture/stone.qbm", LevelQbm());
  WriteFile("texture/tex.qxo", assets_test::Package({{"moss.qbm", LevelQbm()}}));
  OpenTexturePackage("tex");
  struct Case {
    const char* name;
    int first, count;
    int width, mipLevels, firstColour;
  } cases[] = {
      {"stone", 9, 4, 2, 0, 3},  // level 3, one level
      {"stone", 1, 0, 8, 3, 1},  // every level from 1
      {"stone", 2, 7, 4, 2, 2},  // the count is cut at the last level
      {"moss", 0, 1, 16, 0, 0},  // from the package
  };
  for (const Case& c : cases) {
    TEXTUREDESC* t = LoadMipmapTexture(c.name, c.first, c.count, 0, 0, 0, 0);
    ASSERT_TRUE(t) << c.name << " " << c.first;
    EXPECT_EQ(t->width, c.width) << c.name << " " << c.first;
    EXPECT_EQ(t->mipLevels, c.mipLevels) << c.name << " " << c.first;
    const int levels = c.mipLevels ? c.mipLevels : 1;
    for (int i = 0; i < levels; ++i) {
      const datagen::PaletteColour& colour = kLevelColours[c.firstColour + i];
      EXPECT_EQ(Texel(t, 0, 0, i), PackTexturePixel(colour.red, colour.green, colour.blue)) << c.name << " level " << i;
    }
    ReleaseTexture(t);
  }
}

TEST_F(TextureFilesTest, LoadsLightMapSets) {
  datagen::LightMapDesc small{2, Triples(2, 2)};
  datagen::LightMapDesc large{4, Triples(4, 4)};
  Bytes qmp = Encode(datagen::WriteLightMapSet, std::vector<datagen::LightMapDesc>{small, large});
  WriteFile("texture/room.qmp", qmp);
  LIGHTMAPSETDESC set;
  std::string name = "room";
  ASSERT_EQ(LoadLightMap(name.c_str(), &set), 1);
  EXPECT_EQ(name, "room");
  ASSERT_EQ(set.lightMapCount, 2);
  ASSERT_EQ(set.lightMaps.size(), 2u);
  EXPECT_EQ(set.lightMaps[0]->width, 2);
  EXPECT_EQ(set.lightMaps[1]->height, 4);
  for (TEXTUREDESC* map : set.lightMaps) {
    EXPECT_STREQ(map->name, "room");
    EXPECT_EQ(map->refCount, 1);
    EXPECT_EQ(Texel(map, 1, 0), Red());
    EXPECT_EQ(Texel(map, 1, 1), Blue());
    ReleaseTexture(map);
  }

  Bytes version11 = qmp;
  version11[5] = 1;
  WriteFile("texture/v11.qmp", version11);
  LIGHTMAPSETDESC refused;
  EXPECT_EQ(LoadLightMap("v11", &refused), 0);
  EXPECT_EQ(refused.lightMapCount, 0);
  EXPECT_EQ(LoadLightMap("nowhere", &refused), 0);
}

TEST_F(TextureFilesTest, ReportsAFullTable) {
  WriteFile("texture/tree.qbt", RedRowQbt(2, 2));
  WriteFile("texture/room.qmp",
            Encode(datagen::WriteLightMapSet, std::vector<datagen::LightMapDesc>{{2, Triples(2, 2)}}));
  std::vector<TEXTUREDESC*> fillers;
  while (g_textureCount < kTextureTableSize || fillers.size() < static_cast<size_t>(kTextureTableSize)) {
    auto* t = new TEXTUREDESC;
    if (EnterTexture(t) < 0) {
      delete t;
      break;
    }
    fillers.push_back(t);
  }
  EXPECT_EQ(LoadTexture("tree", 0, 0, 0, 0), nullptr);
  EXPECT_TRUE(debug_.Contains("No more texture available."));
  LIGHTMAPSETDESC set;
  EXPECT_EQ(LoadLightMap("room", &set), 0);
  EXPECT_TRUE(debug_.Contains("No more texture available when loading LightMap."));
  EXPECT_TRUE(set.lightMaps.empty());
  for (TEXTUREDESC* t : fillers) ReleaseTexture(t);
  TEXTUREDESC* tree = LoadTexture("tree", 0, 0, 0, 0);
  EXPECT_TRUE(tree);
  ReleaseTexture(tree);
}

// Damaged files give the loader's failure value, never a read outside them.
TEST_F(TextureFilesTest, RefusesCorruptFiles) {
  const Bytes qbt = RedRowQbt(4, 4), bmp = RedRowBmp(4, 4), qbm = LevelQbm();
  const Bytes qst = WidthSet(3);
  const Bytes qmp =
      Encode(datagen::WriteLightMapSet, std::vector<datagen::LightMapDesc>{{2, Triples(2, 2)}, {2, Triples(2, 2)}});
  struct Case {
    const char* file;
    Bytes base;
    std::function<void(Bytes&)> damage;
    const char* name;
  } cases[] = {
      {"texture/a.qbt", qbt, [](Bytes& b) { b.resize(12); }, "a"},
      {"texture/b.qbt", qbt, [](Bytes& b) { b.pop_back(); }, "b"},
      {"texture/c.qbt", qbt, [](Bytes& b) { PutU32(b, 4, 0x10000000); }, "c"},
      {"texture/d.qbt", qbt, [](Bytes& b) { PutU32(b, 12, 16); }, "d"},
      {"texture/e.qbt", qbt, [](Bytes& b) { b[0] = 'X'; }, "e"},
      {"texture/f.bmp", bmp, [](Bytes& b) { PutU32(b, 10, 0xFFFFFF00u); }, "f"},
      {"texture/g.bmp", bmp, [](Bytes& b) { PutU32(b, 46, 300); }, "g"},
      {"texture/h.bmp", bmp, [](Bytes& b) { b.resize(40); }, "h"},
      {"texture/i.bmp", bmp, [](Bytes& b) { PutU32(b, 22, static_cast<uint32_t>(-4)); }, "i"},
      {"texture/j.qbm", qbm, [](Bytes& b) { PutU32(b, 20, 100000); }, "j"},
      {"texture/k.qbm", qbm, [](Bytes& b) { b.resize(30); }, "k"},
      {"texture/l.qbm", qbm, [](Bytes& b) { PutU32(b, 28 + 4 * 8 + 10, 0x7FFFFFFF); }, "l"},
      {"texture/m.qst", qst, [](Bytes& b) { PutU32(b, 4, 0x40000000); }, "m02"},
      {"texture/n.qst", qst, [](Bytes& b) { PutU32(b, 8 + 4, 0x7FFFFFF0); }, "n01"},
      {"texture/o.qst", qst, [](Bytes& b) { PutU32(b, 8, 2); }, "o00"},
      {"texture/p.qst", qst, [](Bytes&) {}, "p03"},
      {"texture/q.qst", qst, [](Bytes& b) { b.resize(6); }, "q00"},
  };
  for (const Case& c : cases) {
    Bytes bytes = c.base;
    c.damage(bytes);
    WriteFile(c.file, bytes);
    EXPECT_EQ(LoadTexture(c.name, 0, 0, 0, 0), nullptr) << c.file;
  }
  // The mip-mapped reader: a level table entry that points past the file.
  Bytes farLevel = qbm;
  PutU32(farLevel, 28 + 8 * 2, 0x7FFFFF00);
  WriteFile("texture/far.qbm", farLevel);
  EXPECT_EQ(LoadMipmapTexture("far", 0, 0, 0, 0, 0, 0), nullptr);
  TEXTUREDESC* top = LoadMipmapTexture("far", 0, 1, 0, 0, 0, 0);  // level 2 is never read
  EXPECT_TRUE(top);
  ReleaseTexture(top);

  struct LightCase {
    const char* name;
    std::function<void(Bytes&)> damage;
  } lightCases[] = {
      {"l1", [](Bytes& b) { PutU32(b, 6, 0x40000000); }},  // count beyond the file
      {"l2", [](Bytes& b) { PutU32(b, 14, 0x10000); }},    // side beyond the file
      {"l3", [](Bytes& b) { b.pop_back(); }},              // second map cut short
      {"l4", [](Bytes& b) { PutU32(b, 10, 24); }},         // bits not 8
      {"l5", [](Bytes& b) { b.resize(9); }},               // truncated header
  };
  for (const LightCase& c : lightCases) {
    Bytes bytes = qmp;
    c.damage(bytes);
    WriteFile(std::string("texture/") + c.name + ".qmp", bytes);
    LIGHTMAPSETDESC set;
    EXPECT_EQ(LoadLightMap(c.name, &set), 0) << c.name;
    EXPECT_TRUE(set.lightMaps.empty()) << c.name;
  }
}

class SoftTextureFilesTest : public EngineAssetsTest {
 protected:
  void SetUp() override { OpenWith(0); }
};

TEST_F(SoftTextureFilesTest, BuildsIndexPixelsAndFoldsLookAlikeColours) {
  datagen::ImageDesc image;
  image.width = 4;
  image.height = 2;
  // Index 2 looks like index 0 on a 16-bit display.
  image.palette = {{255, 0, 0}, {0, 0, 255}, {254, 1, 1}};
  image.pixels = {2, 0, 2, 0, 1, 1, 1, 1};
  WriteFile("texture/flag.qbt", Encode(datagen::WriteImage, image));
  TEXTUREDESC* t = LoadTexture("flag", 0, 0, 0, 0);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->paletteSize, 256);
  EXPECT_EQ(t->uShift, 14);
  EXPECT_EQ(t->widthLog2, 2);
  ASSERT_EQ(t->pixels.size(), 8u);
  EXPECT_EQ(t->pixels, Bytes({0, 0, 0, 0, 1, 1, 1, 1}));  // first stored row first
  EXPECT_EQ(t->shadeTable[0 * 16 + 15], PackScreenPixel(255, 0, 0));
  ReleaseTexture(t);
  EXPECT_EQ(LoadTexture("flag", 1, 0, 0, 255)->keyIndex, 1);
  ReleaseTexture(FindTexture("flag"));
  // A key colour that no palette colour shows makes no index transparent.
  TEXTUREDESC* unkeyed = LoadTexture("flag", 1, 0, 255, 0);
  ASSERT_TRUE(unkeyed);
  EXPECT_EQ(unkeyed->keyIndex, -1);
  ReleaseTexture(unkeyed);
}

TEST_F(SoftTextureFilesTest, TakesOnlyPalettisedSources) {
  WriteFile("texture/deep.qbi", RedRowQbt(4, 2, 24, datagen::ImageMagic::Qbi));
  WriteFile("texture/deep2.bmp", RedRowBmp(4, 2, 24));
  WriteFile("texture/room.qmp",
            Encode(datagen::WriteLightMapSet, std::vector<datagen::LightMapDesc>{{2, Triples(2, 2)}}));
  EXPECT_EQ(LoadTexture("deep.qbi", 0, 0, 0, 0), nullptr);
  EXPECT_EQ(LoadTexture("deep2", 0, 0, 0, 0), nullptr);
  LIGHTMAPSETDESC set;
  EXPECT_EQ(LoadLightMap("room", &set), 0);
  EXPECT_EQ(LoadMipmapTexture("room", 0, 0, 0, 0, 0, 0), nullptr);
  WriteFile("texture/tex.qxo", assets_test::Package({{"bark.bmp", RedRowBmp(4, 2)}}));
  OpenTexturePackage("tex");
  TEXTUREDESC* bark = LoadTexture("bark", 0, 0, 0, 0);
  ASSERT_TRUE(bark);
  EXPECT_EQ(bark->paletteSize, 2);
  EXPECT_EQ(bark->pixels[0], 0);
  EXPECT_EQ(bark->pixels[4], 1);
  ReleaseTexture(bark);
}

}  // namespace
