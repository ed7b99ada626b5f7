#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/media/image_files.h"
#include "engine/media/texture_sets.h"
#include "platform/files.h"
#include "platform/gdi2d.h"
#include "tests/assets/asset_fixtures.h"
#include "tests/support/captures.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_set_writer.h"
#include "tools/datagen/image_writer.h"

namespace {

using assets_test::Encode;
using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// 3 x 2, 8 bits: the first stored row red, the second blue. Its rows of 3
// bytes are not a multiple of 4, so a DIB pads them.
datagen::ImageDesc RedFirstRow(datagen::ImageMagic magic = datagen::ImageMagic::Qbi) {
  datagen::ImageDesc image;
  image.magic = magic;
  image.width = 3;
  image.height = 2;
  image.palette = {{255, 0, 0}, {0, 0, 255}};
  image.pixels = {0, 0, 0, 1, 1, 1};
  return image;
}

// Draws the bitmap onto a 24-bit target the way the sprite layer copies it.
std::vector<uint32_t> Draw(const DIBSECTION& dib) {
  const int rows = dib.height < 0 ? -dib.height : dib.height;
  Bytes pixels(static_cast<size_t>(dib.width) * rows * 3);
  plat::PixelTarget target{pixels.data(), dib.width, rows, dib.width * 3, plat::PixelLayout::Bgr24};
  EXPECT_TRUE(plat::CopyDibToPixels(dib.View(), target, 0, 0));
  std::vector<uint32_t> colours;
  for (size_t i = 0; i < pixels.size(); i += 3)
    colours.push_back(pixels[i + 2] << 16 | pixels[i + 1] << 8 | pixels[i]);  // 0xRRGGBB
  return colours;
}

TEST(ReadImageBitmap, BuildsABottomUpDibWithPaddedRows) {
  Bytes file = Encode(datagen::WriteImage, RedFirstRow());
  int width = 0, height = 0;
  auto dib = ReadImageBitmap(file, 0, &width, &height);
  ASSERT_TRUE(dib);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(dib->bitCount, 8);
  EXPECT_EQ(dib->colorTable.size(), 1024u);
  // Each stored row starts on a 4-byte boundary.
  EXPECT_EQ(dib->bits, Bytes({0, 0, 0, 0, 1, 1, 1, 0}));
  // The first stored row is the bottom of the picture.
  EXPECT_EQ(Draw(*dib), std::vector<uint32_t>({0x0000FF, 0x0000FF, 0x0000FF,  // top
                                               0xFF0000, 0xFF0000, 0xFF0000}));

  datagen::ImageDesc deep;
  deep.magic = datagen::ImageMagic::Qbt;
  deep.width = 1;
  deep.height = 1;
  deep.bitsPerPixel = 24;
  deep.pixels = {0x30, 0x20, 0x10};
  auto dib24 = ReadImageBitmap(Encode(datagen::WriteImage, deep), 0, nullptr, nullptr);
  ASSERT_TRUE(dib24);
  EXPECT_TRUE(dib24->colorTable.empty());
  EXPECT_EQ(Draw(*dib24), std::vector<uint32_t>({0x102030}));
}

TEST(ReadImageBitmap, ReadsAnImageSetEntryAtItsOffset) {
  datagen::ImageDesc other = RedFirstRow();
  other.palette = {{0, 255, 0}, {0, 255, 0}};
  Bytes set =
      Encode(datagen::WriteImageSet,
             datagen::ImageSetDesc{datagen::ImageSetKind::Image,
                                   {Encode(datagen::WriteImage, other), Encode(datagen::WriteImage, RedFirstRow())}});
  size_t offset = 0;
  ASSERT_TRUE(FindSetEntry(set, 1, &offset));
  auto dib = ReadImageBitmap(set, offset, nullptr, nullptr);
  ASSERT_TRUE(dib);
  EXPECT_EQ(Draw(*dib).back(), 0xFF0000u);
  EXPECT_FALSE(FindSetEntry(set, 2, &offset));
  EXPECT_FALSE(FindSetEntry(set, -1, &offset));
}

TEST(SetNames, TakeTheEntryNumberFromTheLastTwoCharacters) {
  struct Case {
    const char* name;
    bool numbered;
    const char* set;
    int number;
  } cases[] = {{"wall07", true, "wall", 7},
               {"a12", true, "a", 12},
               {"12", false, "", 0},
               {"wall7x", false, "", 0},
               {"wallx7", false, "", 0}};
  for (const Case& c : cases) {
    std::string set;
    int number = -1;
    EXPECT_EQ(SplitSetNumber(c.name, &set, &number), c.numbered) << c.name;
    if (!c.numbered) continue;
    EXPECT_EQ(set, c.set) << c.name;
    EXPECT_EQ(number, c.number) << c.name;
  }
}

datagen::BitmapDesc SpriteBitmap() {
  datagen::BitmapDesc bitmap;
  bitmap.width = 4;
  bitmap.height = 2;
  bitmap.palette = {{255, 0, 0}, {0, 0, 255}};
  bitmap.pixels = {0, 0, 0, 0, 1, 1, 1, 1};
  bitmap.forSprites = true;
  return bitmap;
}

TEST(ReadBitmapFile, HonoursTheOffsetToTheRows) {
  Bytes file = Encode(datagen::WriteBitmap, SpriteBitmap());
  // Four bytes of something else between the colour table and the rows.
  const size_t rows = 14 + 40 + 8;
  file.insert(file.begin() + rows, {9, 9, 9, 9});
  PutU32(file, 10, rows + 4);
  int width = 0, height = 0;
  auto dib = ReadBitmapFile(file, &width, &height);
  ASSERT_TRUE(dib);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(dib->colorTable.size(), 8u);
  EXPECT_EQ(Draw(*dib),
            std::vector<uint32_t>({0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}));

  // A top-down bitmap keeps its negative height, as stored.
  Bytes topDown = Encode(datagen::WriteBitmap, SpriteBitmap());
  PutU32(topDown, 22, static_cast<uint32_t>(-2));
  dib = ReadBitmapFile(topDown, &width, &height);
  ASSERT_TRUE(dib);
  EXPECT_EQ(height, -2);
  EXPECT_EQ(Draw(*dib).front(), 0xFF0000u);
}

TEST(ReadBitmapFile, RefusesWidthsTheSpriteLayerCannotTake) {
  datagen::BitmapDesc odd;
  odd.width = 30;
  odd.height = 1;
  odd.bitCount = 24;
  odd.pixels.assign(90, 7);
  EXPECT_FALSE(ReadBitmapFile(Encode(datagen::WriteBitmap, odd), nullptr, nullptr));
}

// Every reader answers null for damaged input, without reading outside it.
TEST(SpriteReaders, AnswerNullForCorruptFiles) {
  testsupport::DebugOutputCapture quiet;
  const Bytes qbi = Encode(datagen::WriteImage, RedFirstRow());
  const Bytes bmp = Encode(datagen::WriteBitmap, SpriteBitmap());
  struct Case {
    const char* label;
    bool bitmap;
    std::function<void(Bytes&)> damage;
    size_t entryOffset = 0;
  } cases[] = {
      {"QBI truncated header", false, [](Bytes& b) { b.resize(10); }},
      {"QBI rows cut short", false, [](Bytes& b) { b.pop_back(); }},
      {"QBI palette cut short", false, [](Bytes& b) { b.resize(16 + 500); }},
      {"QBI wrong magic", false, [](Bytes& b) { b[1] = 'X'; }},
      {"QBI 16 bits", false, [](Bytes& b) { PutU32(b, 12, 16); }},
      {"QBI huge width", false, [](Bytes& b) { PutU32(b, 4, 0x40000000); }},
      {"QBI zero height", false, [](Bytes& b) { PutU32(b, 8, 0); }},
      {"QBI entry offset beyond the file", false, [](Bytes&) {}, 100000},
      {"BMP truncated header", true, [](Bytes& b) { b.resize(30); }},
      {"BMP wrong type", true, [](Bytes& b) { b[0] = 'X'; }},
      {"BMP offset beyond the file", true, [](Bytes& b) { PutU32(b, 10, 0xFFFFFFF0u); }},
      {"BMP rows cut short", true, [](Bytes& b) { b.pop_back(); }},
      {"BMP 300 colours", true, [](Bytes& b) { PutU32(b, 46, 300); }},
      {"BMP colour table past the rows", true, [](Bytes& b) { PutU32(b, 46, 200); }},
      {"BMP image size below the rows", true, [](Bytes& b) { PutU32(b, 34, 4); }},
      {"BMP 4 bits", true, [](Bytes& b) { b[28] = 4; }},
      {"BMP compressed", true, [](Bytes& b) { PutU32(b, 30, 1); }},
      {"BMP info header size 0", true, [](Bytes& b) { PutU32(b, 14, 0); }},
      {"BMP huge height", true, [](Bytes& b) { PutU32(b, 22, 0x7FFFFFFF); }},
  };
  for (const Case& c : cases) {
    Bytes file = c.bitmap ? bmp : qbi;
    c.damage(file);
    if (c.bitmap) EXPECT_FALSE(ReadBitmapFile(file, nullptr, nullptr)) << c.label;
    else EXPECT_FALSE(ReadImageBitmap(file, c.entryOffset, nullptr, nullptr)) << c.label;
  }
  // A set whose count or offsets point past its end.
  Bytes set = Encode(datagen::WriteImageSet, datagen::ImageSetDesc{datagen::ImageSetKind::Image, {qbi}});
  Bytes bigCount = set;
  PutU32(bigCount, 4, 1000);
  size_t offset = 0;
  EXPECT_FALSE(FindSetEntry(bigCount, 5, &offset));
  Bytes farOffset = set;
  PutU32(farOffset, 8, 0x7FFFFFFF);
  EXPECT_FALSE(FindSetEntry(farOffset, 0, &offset));
  EXPECT_FALSE(FindSetEntry(Bytes{1, 2, 3}, 0, &offset));
}

}  // namespace
