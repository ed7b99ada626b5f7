#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/assets/asset_fixtures.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_set_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/lightmap_writer.h"
#include "tools/datagen/mipmap_writer.h"
#include "tools/datagen/model_binary_writer.h"
#include "tools/datagen/model_text_writer.h"
#include "tools/datagen/package_writer.h"

namespace {

using assets_test::Encode;
using Bytes = std::vector<uint8_t>;

uint32_t U32At(const Bytes& b, size_t at) {
  plat::ByteReader r(b);
  r.Seek(at);
  return r.U32();
}

std::string TextAt(const Bytes& b, size_t at, size_t n) { return std::string(b.begin() + at, b.begin() + at + n); }

Bytes Slice(const Bytes& b, size_t at, size_t n) { return Bytes(b.begin() + at, b.begin() + at + n); }

// Each case describes an input its writer must refuse.
template <class Desc, class Writer>
void ExpectRefused(Writer writer, const char* label, const Desc& desc) {
  plat::ByteWriter out;
  std::string error;
  EXPECT_FALSE(writer(desc, out, error)) << label;
  EXPECT_FALSE(error.empty()) << label;
  EXPECT_EQ(out.Size(), 0u) << label;
}

TEST(PackageWriter, SortsLowerCasedNamesAndLaysOutTheData) {
  Bytes wall = {1, 2, 3}, tree = {4, 5}, rock = {6};
  Bytes b = Encode(datagen::WritePackage,
                   std::vector<datagen::PackageFile>{{"wall.bmp", wall}, {"tree.qbt", tree}, {"Rock.QBM", rock}});
  ASSERT_EQ(b.size(), 16 + 3 * 44 + 6u);
  EXPECT_EQ(Slice(b, 0, 12), Bytes({'q', 'x', 'o', ' ', 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(U32At(b, 12), 3u);
  const char* order[] = {"rock.qbm", "tree.qbt", "wall.bmp"};
  const Bytes* data[] = {&rock, &tree, &wall};
  uint32_t offset = 16 + 3 * 44;
  for (int i = 0; i < 3; ++i) {
    size_t e = 16 + 44 * i;
    EXPECT_EQ(U32At(b, e), 0u);
    Bytes field(32, 0);
    std::copy(order[i], order[i] + 8, field.begin());
    EXPECT_EQ(Slice(b, e + 4, 32), field) << order[i];
    EXPECT_EQ(U32At(b, e + 36), offset) << order[i];
    EXPECT_EQ(U32At(b, e + 40), data[i]->size()) << order[i];
    EXPECT_EQ(Slice(b, offset, data[i]->size()), *data[i]) << order[i];
    offset += static_cast<uint32_t>(data[i]->size());
  }
  Encode(datagen::WritePackage, std::vector<datagen::PackageFile>{{std::string(27, 'x') + ".qbt", {}}});  // 31 fits
}

TEST(PackageWriter, RefusesNamesTheLookupCannotFind) {
  const char* names[][2] = {
      {"32 characters", nullptr}, {"two dots", "a.b.qbt"},           {"directory", "sub\\tree.qbt"},
      {"slash", "sub/tree.qbt"},  {"unknown extension", "tree.txt"}, {"no extension", "tree"},
      {"no base name", ".qbt"},
  };
  const std::string name32 = std::string(28, 'x') + ".qbt";
  for (auto& [label, name] : names)
    ExpectRefused(datagen::WritePackage, label, std::vector<datagen::PackageFile>{{name ? name : name32, {1}}});
  ExpectRefused(datagen::WritePackage, "duplicate",
                std::vector<datagen::PackageFile>{{"Tree.qbt", {1}}, {"tree.QBT", {2}}});
}

datagen::ImageDesc Image8() {
  datagen::ImageDesc image;
  image.magic = datagen::ImageMagic::Qbt;
  image.width = 3;
  image.height = 2;
  image.palette = {{10, 20, 30}, {40, 50, 60}};
  image.pixels = {0, 1, 0, 1, 1, 0};
  return image;
}

TEST(ImageWriter, WritesHeaderPaletteAndRowsInFileOrder) {
  Bytes b = Encode(datagen::WriteImage, Image8());
  ASSERT_EQ(b.size(), 16 + 1024 + 6u);
  EXPECT_EQ(TextAt(b, 0, 4), std::string("QBT\0", 4));
  EXPECT_EQ(U32At(b, 4), 3u);
  EXPECT_EQ(U32At(b, 8), 2u);
  EXPECT_EQ(U32At(b, 12), 8u);
  EXPECT_EQ(Slice(b, 16, 8), Bytes({30, 20, 10, 0, 60, 50, 40, 0}));  // blue, green, red, 0
  EXPECT_EQ(Slice(b, 16 + 8, 4), Bytes({0, 0, 0, 0}));                // unused entries black
  EXPECT_EQ(Slice(b, 1040, 6), Bytes({0, 1, 0, 1, 1, 0}));

  datagen::ImageDesc rgb;
  rgb.magic = datagen::ImageMagic::Qbi;
  rgb.width = 1;
  rgb.height = 2;
  rgb.bitsPerPixel = 24;
  rgb.pixels = {1, 2, 3, 4, 5, 6};
  b = Encode(datagen::WriteImage, rgb);
  ASSERT_EQ(b.size(), 16 + 6u);
  EXPECT_EQ(TextAt(b, 0, 4), std::string("QBI\0", 4));
  EXPECT_EQ(U32At(b, 12), 24u);
  EXPECT_EQ(Slice(b, 16, 6), rgb.pixels);
}

TEST(ImageWriter, RefusesImagesTheReadersCannotRead) {
  struct Case {
    const char* label;
    std::function<void(datagen::ImageDesc&)> edit;
  } cases[] = {
      {"short pixels", [](auto& i) { i.pixels.pop_back(); }},
      {"16 bits", [](auto& i) { i.bitsPerPixel = 16; }},
      {"zero width", [](auto& i) { i.width = 0; }},
      {"palette on 24 bits",
       [](auto& i) {
         i.bitsPerPixel = 24;
         i.pixels.resize(18);
       }},
      {"257 colours", [](auto& i) { i.palette.resize(257); }},
  };
  for (const Case& c : cases) {
    datagen::ImageDesc image = Image8();
    c.edit(image);
    ExpectRefused(datagen::WriteImage, c.label, image);
  }
}

TEST(BitmapWriter, WritesWindowsHeadersAndPaddedRows) {
  datagen::BitmapDesc bmp;
  bmp.width = 4;
  bmp.height = 2;
  bmp.palette = {{1, 2, 3}, {4, 5, 6}};
  bmp.pixels = {0, 1, 1, 0, 1, 1, 0, 0};
  bmp.forSprites = true;
  Bytes b = Encode(datagen::WriteBitmap, bmp);
  const uint32_t bits = 14 + 40 + 8;
  ASSERT_EQ(b.size(), bits + 8u);
  EXPECT_EQ(TextAt(b, 0, 2), "BM");
  EXPECT_EQ(U32At(b, 2), b.size());
  EXPECT_EQ(U32At(b, 6), 0u);
  EXPECT_EQ(U32At(b, 10), bits);
  EXPECT_EQ(U32At(b, 14), 40u);
  EXPECT_EQ(U32At(b, 18), 4u);
  EXPECT_EQ(U32At(b, 22), 2u);
  EXPECT_EQ(Slice(b, 26, 4), Bytes({1, 0, 8, 0}));  // planes 1, bit count 8
  EXPECT_EQ(U32At(b, 30), 0u);                      // no compression
  EXPECT_EQ(U32At(b, 34), 8u);                      // image size
  EXPECT_EQ(U32At(b, 46), 2u);                      // colours used
  EXPECT_EQ(Slice(b, 54, 8), Bytes({3, 2, 1, 0, 6, 5, 4, 0}));
  EXPECT_EQ(Slice(b, bits, 8), bmp.pixels);

  // Width 30: rows of 90 bytes padded to 92; the sprite readers refuse it.
  datagen::BitmapDesc odd;
  odd.width = 30;
  odd.height = 1;
  odd.bitCount = 24;
  odd.pixels.assign(90, 7);
  b = Encode(datagen::WriteBitmap, odd);
  EXPECT_EQ(b.size(), 14 + 40 + 92u);
  EXPECT_EQ(U32At(b, 10), 54u);
  EXPECT_EQ(U32At(b, 34), 92u);
  EXPECT_EQ(Slice(b, 54 + 88, 4), Bytes({7, 7, 0, 0}));
  EXPECT_EQ(U32At(b, 46), 0u);
  odd.forSprites = true;
  ExpectRefused(datagen::WriteBitmap, "sprite width 30", odd);
  datagen::BitmapDesc noPalette = bmp;
  noPalette.palette.clear();
  ExpectRefused(datagen::WriteBitmap, "8 bits without colours", noPalette);
}

TEST(ImageSetWriter, WritesCountOffsetsAndEntries) {
  Bytes qbt = assets_test::SmallQbt(1), bmp = assets_test::SmallBmp(), qbm = assets_test::SmallQbm();
  Bytes b = Encode(datagen::WriteImageSet, datagen::ImageSetDesc{datagen::ImageSetKind::Texture, {qbt, bmp, qbm}});
  EXPECT_EQ(U32At(b, 4), 3u);
  uint32_t offset = 8 + 12;
  for (const Bytes* entry : {&qbt, &bmp, &qbm}) {
    size_t i = entry == &qbt ? 0 : entry == &bmp ? 1 : 2;
    EXPECT_EQ(U32At(b, 8 + 4 * i), offset);
    EXPECT_EQ(Slice(b, offset, entry->size()), *entry);
    offset += static_cast<uint32_t>(entry->size());
  }
  EXPECT_EQ(b.size(), offset);

  datagen::ImageDesc qbi = Image8();
  qbi.magic = datagen::ImageMagic::Qbi;
  Bytes qbiBytes = Encode(datagen::WriteImage, qbi);
  Encode(datagen::WriteImageSet, datagen::ImageSetDesc{datagen::ImageSetKind::Image, {qbiBytes, qbt}});
  ExpectRefused(datagen::WriteImageSet, "QBI magic in a texture set",
                datagen::ImageSetDesc{datagen::ImageSetKind::Texture, {qbiBytes}});
  ExpectRefused(datagen::WriteImageSet, "bitmap in an image set",
                datagen::ImageSetDesc{datagen::ImageSetKind::Image, {bmp}});
  ExpectRefused(datagen::WriteImageSet, "101 entries",
                datagen::ImageSetDesc{datagen::ImageSetKind::Texture, std::vector<Bytes>(101, qbt)});
}

TEST(MipmapWriter, WritesLevelTableHeadersAndLevels) {
  datagen::MipmapDesc m;
  m.width = 4;
  m.height = 4;
  m.palette = {{1, 2, 3}};
  m.levels = {Bytes(16, 1), Bytes(4, 2), Bytes(1, 3)};
  Bytes b = Encode(datagen::WriteMipmap, m);
  const uint32_t fileHeader = 28 + 3 * 8, first = fileHeader + 14 + 40 + 1024;
  ASSERT_EQ(b.size(), first + 21u);
  EXPECT_EQ(TextAt(b, 0, 3), "QBM");
  EXPECT_EQ(U32At(b, 20), 3u);
  EXPECT_EQ(U32At(b, 24), 1u);
  uint32_t offsets[] = {first, first + 16, first + 20}, sizes[] = {16, 4, 1};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(U32At(b, 28 + 8 * k), offsets[k]);
    EXPECT_EQ(U32At(b, 32 + 8 * k), sizes[k]);
    EXPECT_EQ(Slice(b, offsets[k], sizes[k]), m.levels[k]);
  }
  EXPECT_EQ(TextAt(b, fileHeader, 2), "BM");
  EXPECT_EQ(U32At(b, fileHeader + 10), 14 + 40 + 1024u);  // what the reader skips to the rows
  EXPECT_EQ(U32At(b, fileHeader + 14), 40u);
  EXPECT_EQ(U32At(b, fileHeader + 18), 4u);
  EXPECT_EQ(U32At(b, fileHeader + 22), 4u);
  EXPECT_EQ(b[fileHeader + 28], 8);
  EXPECT_EQ(Slice(b, fileHeader + 54, 4), Bytes({3, 2, 1, 0}));

  datagen::MipmapDesc rgb;
  rgb.width = 2;
  rgb.height = 2;
  rgb.bitCount = 24;
  rgb.levels = {Bytes(12, 9), Bytes(3, 8)};
  b = Encode(datagen::WriteMipmap, rgb);
  EXPECT_EQ(U32At(b, 24), 0u);
  EXPECT_EQ(U32At(b, 28), 28 + 16 + 54u);
  EXPECT_EQ(U32At(b, 36), 28 + 16 + 54 + 12u);
  EXPECT_EQ(b.size(), 28 + 16 + 54 + 15u);

  datagen::MipmapDesc bad = m;
  bad.levels[1].pop_back();
  ExpectRefused(datagen::WriteMipmap, "short level", bad);
  bad = rgb;
  bad.width = 2;
  bad.height = 1;
  bad.levels = {Bytes(6, 9), Bytes(0)};
  ExpectRefused(datagen::WriteMipmap, "level of no rows", bad);
  bad = m;
  bad.levels.clear();
  ExpectRefused(datagen::WriteMipmap, "no levels", bad);
}

TEST(LightMapWriter, WritesHeaderAndMaps) {
  std::vector<datagen::LightMapDesc> maps = {{2, Bytes(12, 5)}, {1, {1, 2, 3}}};
  Bytes b = Encode(datagen::WriteLightMapSet, maps);
  ASSERT_EQ(b.size(), 14 + 4 + 12 + 4 + 3u);
  EXPECT_EQ(TextAt(b, 0, 4), std::string("QMP\0", 4));
  EXPECT_EQ(Slice(b, 4, 2), Bytes({1, 0}));
  EXPECT_EQ(U32At(b, 6), 2u);
  EXPECT_EQ(U32At(b, 10), 8u);
  EXPECT_EQ(U32At(b, 14), 2u);
  EXPECT_EQ(Slice(b, 18, 12), maps[0].pixels);
  EXPECT_EQ(U32At(b, 30), 1u);
  EXPECT_EQ(Slice(b, 34, 3), maps[1].pixels);
  ExpectRefused(datagen::WriteLightMapSet, "short map", std::vector<datagen::LightMapDesc>{{2, Bytes(11, 5)}});
  ExpectRefused(datagen::WriteLightMapSet, "empty map", std::vector<datagen::LightMapDesc>{{0, {}}});
}

datagen::Qb3Model SmallQb3() {
  datagen::Qb3Model model;
  datagen::Qb3Material textured;
  textured.texture = "wall00";
  textured.textureFrames = 4;
  textured.colourKey = true;
  textured.keyRed = 255;
  textured.keyBlue = 255;
  datagen::Qb3Material plain;
  plain.power = 5.0f;
  model.materials = {textured, plain};
  model.vertices = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
  model.primitives = {{datagen::ModelPrimitive::Triangle, 0, 1, {0, 1, 2}},
                      {datagen::ModelPrimitive::Lines, -1, 0, {0, 1, 1, 2}}};
  return model;
}

TEST(BinaryModelWriter, WritesEveryFieldInOrder) {
  Bytes b = Encode(datagen::WriteBinaryModel, SmallQb3());
  plat::ByteReader r(b);
  EXPECT_EQ(r.FixedString(4), "QB3");
  EXPECT_EQ(r.U32(), 0u);  // format word
  EXPECT_EQ(r.U32(), 2u);
  auto colour = [&r](float a, float b2, float c) {
    EXPECT_EQ(r.F32(), a);
    EXPECT_EQ(r.F32(), b2);
    EXPECT_EQ(r.F32(), c);
  };
  // Textured material: frames 4, name with its length, the key.
  colour(0.7f, 0.7f, 0.7f);
  colour(1, 1, 1);
  colour(0, 0, 0);
  colour(0, 0, 0);
  EXPECT_EQ(r.F32(), 20.0f);
  EXPECT_EQ(r.U32(), 4u);
  EXPECT_EQ(r.U32(), 6u);
  char name[6];
  r.Bytes(name, 6);
  EXPECT_EQ(std::string(name, 6), "wall00");
  EXPECT_EQ(r.U32(), 1u);
  EXPECT_EQ(r.U8(), 255);
  EXPECT_EQ(r.U8(), 0);
  EXPECT_EQ(r.U8(), 255);
  // Untextured material: no name, but the key fields are there.
  r.Skip(48);
  EXPECT_EQ(r.F32(), 5.0f);
  EXPECT_EQ(r.U32(), 0u);
  EXPECT_EQ(r.U32(), 0u);
  r.Skip(3);
  EXPECT_EQ(r.U32(), 1u);  // frames
  EXPECT_EQ(r.U32(), 3u);  // vertices per frame
  r.Skip(8 * 4);
  EXPECT_EQ(r.F32(), 1.0f);  // second vertex x
  r.Skip(7 * 4 + 8 * 4);
  EXPECT_EQ(r.U32(), 2u);      // primitives
  EXPECT_EQ(r.U32(), 6 + 7u);  // words: triangle 6, line list 3 + 2 x 2
  for (uint32_t w : {1u, 0u, 1u, 0u, 1u, 2u}) EXPECT_EQ(r.U32(), w);
  EXPECT_EQ(r.U32(), 2u);
  EXPECT_EQ(r.I32(), -1);
  for (uint32_t w : {2u, 0u, 1u, 1u, 2u}) EXPECT_EQ(r.U32(), w);
  EXPECT_EQ(r.U32(), 0u);  // extra-data flag
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_FALSE(r.Failed());
}

TEST(BinaryModelWriter, RefusesModelsBeyondTheReadersLimits) {
  struct Case {
    const char* label;
    std::function<void(datagen::Qb3Model&)> edit;
  } cases[] = {
      {"257 materials", [](auto& m) { m.materials.resize(257); }},
      {"64-character name", [](auto& m) { m.materials[0].texture = std::string(62, 'w') + "00"; }},
      {"animated name without a number", [](auto& m) { m.materials[0].texture = "wall"; }},
      {"name without frames", [](auto& m) { m.materials[1].texture = "rock"; }},
      {"index past the frame", [](auto& m) { m.primitives[0].indices[2] = 3; }},
      {"undefined material", [](auto& m) { m.primitives[0].material = 2; }},
      {"odd line list", [](auto& m) { m.primitives[1].indices.pop_back(); }},
      {"partial frame", [](auto& m) { m.frames = 2; }},
      {"no vertices",
       [](auto& m) {
         m.vertices.clear();
         m.primitives.clear();
       }},
  };
  for (const Case& c : cases) {
    datagen::Qb3Model model = SmallQb3();
    c.edit(model);
    ExpectRefused(datagen::WriteBinaryModel, c.label, model);
  }
  datagen::Qb3Model longest = SmallQb3();
  longest.materials[0].texture = std::string(61, 'w') + "00";
  Encode(datagen::WriteBinaryModel, longest);
}

datagen::Qx3Model SmallQx3() {
  datagen::Qx3Model model;
  datagen::Qx3Object hull;
  hull.index = 1;
  hull.name = "hull";
  datagen::Qx3Material bark;
  bark.number = 3;
  bark.texture = "bark";
  bark.diffuse[1] = 0.5f;
  bark.colourKey = true;
  bark.keyRed = 255;
  bark.mipLevels = 2;
  hull.materials = {bark};
  for (int i = 0; i < 3; ++i) {
    datagen::Qx3Vertex v;
    v.x = static_cast<float>(i);
    v.y = 0.25f;
    v.hasUv = true;
    v.u = 0.1f * i;
    hull.vertices.push_back(v);
  }
  hull.faces = {{3, {0, 1, 2}, true, -1}};
  datagen::Qx3Object sail;
  sail.index = 2;
  sail.smoothNormals = false;
  sail.lightMap = "sails";
  datagen::Qx3Material plain;
  plain.number = 0;
  plain.frames = 0;
  datagen::Qx3Material flag;
  flag.number = 1;
  flag.texture = "flag";
  flag.frames = 4;
  sail.materials = {plain, flag};
  sail.vertices.resize(4);
  sail.faces = {{1, {0, 1, 2, 3}, false, 0}};
  sail.lines = {{-1, {{0, 1}, {2, 3}}}};
  model.objects = {hull, sail};
  model.dummies = {5};
  model.links = {{2, 1}, {5, 0}};
  return model;
}

TEST(TextModelWriter, WritesObjectsDummiesAndLinksAsLfLines) {
  Bytes b = Encode(datagen::WriteTextModel, SmallQx3());
  std::string text(b.begin(), b.end());
  EXPECT_EQ(text,
            "BeginObject 1 hull\n"
            "Material 3 bark DIFFUSE 1 0.5 1 TextureKeyRGB 255 0 0 MipMap 2\n"
            "v 0 0.25 0 vt 0 0\n"
            "v 1 0.25 0 vt 0.1 0\n"
            "v 2 0.25 0 vt 0.2 0\n"
            "f 3 3 0 1 2 BOTH\n"
            "EndObject\n"
            "BeginObject 2\n"
            "Normal_Smooth FALSE\n"
            "Material 0 NULL\n"
            "Material 1 MultipleTexture flag 4\n"
            "LightMap sails\n"
            "v 0 0 0\n"
            "v 0 0 0\n"
            "v 0 0 0\n"
            "v 0 0 0\n"
            "f 4 1 0 1 2 3 L 0\n"
            "l 2 -1 0 1 2 3\n"
            "EndObject\n"
            "BeginDummy 5\n"
            "EndDummy\n"
            "BeginRelationship\n"
            "o 2 1\n"
            "o 5 0\n"
            "EndRelationship\n");

  datagen::Qx3Model lit;
  datagen::Qx3Object screen;
  screen.transformed = true;
  screen.liteVertex = true;
  screen.smoothNormals = false;
  screen.morph = 2;
  datagen::Qx3Vertex v;
  v.w = 0.5f;
  v.hasColour = true;
  v.red = 1;
  v.hasUv = true;
  v.u = 0.25f;
  screen.vertices = {v, v};
  lit.objects = {screen};
  b = Encode(datagen::WriteTextModel, lit);
  EXPECT_EQ(std::string(b.begin(), b.end()),
            "BeginObject 1\nLite_Vertex\nTransformed_Vertex\nMorph 2\n"
            "v 0 0 0 0.5 vc 1 0 0 vt 0.25 0\nv 0 0 0 0.5 vc 1 0 0 vt 0.25 0\nEndObject\n");
}

TEST(TextModelWriter, RefusesWhatTheReaderCannotTakeBack) {
  struct Case {
    const char* label;
    std::function<void(datagen::Qx3Model&)> edit;
  } cases[] = {
      {"line over 243 characters",
       [](auto& m) {
         auto& o = m.objects[0];
         o.vertices.resize(120);
         o.faces[0].indices.clear();
         for (int i = 0; i < 120; ++i) o.faces[0].indices.push_back(119 - i);
       }},
      {"texture with a backslash", [](auto& m) { m.objects[0].materials[0].texture = "tex\\bark"; }},
      {"texture with a blank", [](auto& m) { m.objects[0].materials[0].texture = "old bark"; }},
      {"128-character texture", [](auto& m) { m.objects[0].materials[0].texture = std::string(128, 't'); }},
      {"texture named NULL", [](auto& m) { m.objects[0].materials[0].texture = "null"; }},
      {"material 256", [](auto& m) { m.objects[0].materials[0].number = 256; }},
      {"material twice", [](auto& m) { m.objects[1].materials[1].number = 0; }},
      {"object index 1024", [](auto& m) { m.objects[0].index = 1024; }},
      {"index twice", [](auto& m) { m.dummies = {2}; }},
      {"face index out of range", [](auto& m) { m.objects[0].faces[0].indices[1] = 3; }},
      {"two-vertex face", [](auto& m) { m.objects[0].faces[0].indices.pop_back(); }},
      {"material of another object", [](auto& m) { m.objects[1].faces[0].material = 3; }},
      {"light map on a triangle", [](auto& m) { m.objects[0].faces[0].lightMap = 0; }},
      {"light-map face without a light map", [](auto& m) { m.objects[1].lightMap.clear(); }},
      {"link to an undefined node",
       [](auto& m) {
         m.links.push_back({7, 1});
       }},
      {"smooth normals over given normals", [](auto& m) { m.objects[0].vertices[0].hasNormal = true; }},
      {"partial morph frame", [](auto& m) { m.objects[0].morph = 2; }},
      {"129 line pairs",
       [](auto& m) {
         m.objects[1].lines[0].pairs.assign(129, {0, 1});
       }},
      {"infinite coordinate", [](auto& m) { m.objects[0].vertices[0].x = 1.0f / 0.0f; }},
      {"empty model", [](auto& m) { m = datagen::Qx3Model(); }},
  };
  for (const Case& c : cases) {
    datagen::Qx3Model model = SmallQx3();
    c.edit(model);
    ExpectRefused(datagen::WriteTextModel, c.label, model);
  }
}

TEST(OutputFile, CreatesDirectoriesAndReplacesOldFiles) {
  testsupport::ScopedWorkDir dir;
  std::string error;
  ASSERT_TRUE(datagen::WriteOutputFile("a/b/c.qxo", {1, 2}, error)) << error;
  ASSERT_TRUE(datagen::WriteOutputFile("A\\B\\C.QXO", {3}, error)) << error;
  Bytes bytes;
  ASSERT_TRUE(plat::ReadWholeFile("a/b/c.qxo", bytes));
  EXPECT_EQ(bytes, Bytes({3}));
  EXPECT_EQ(plat::ListFiles("a/b/*").size(), 1u);
}

}  // namespace
