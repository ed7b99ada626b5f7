// Sprites: loading, placing, ordering, drawing, hit tests and sharing.
#include "engine/core/world.h"
#include "engine/media/packages.h"
#include "engine/media/sprite_images.h"
#include "tests/media2d/media2d_fixture.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_set_writer.h"
#include "tools/datagen/package_writer.h"

namespace media2dtest {
namespace {

class SpritesTest : public Media2DTest {
 protected:
  SpritesTest() { OpenScreen(); }

  std::vector<HOBJECT> DrawOrder() {
    std::vector<HOBJECT> order;
    for (SPRITEDESC* s = g_gameWorld->spriteFirst; s; s = s->next)
      for (int slot = 1; slot < kSpriteTableSize; ++slot)
        if (g_spriteTable[slot] == s) order.push_back(MakeHandle(OBJTYPE_SPRITE, slot));
    return order;
  }
};

TEST_F(SpritesTest, QbiPictureIsStoredBottomUp) {
  // Row y of the file gets red = 16 y, column x green = 16 x.
  WriteQbi("pic.qbi", 16, 16, [](int x, int y) { return static_cast<uint32_t>((16 * y) << 16 | (16 * x) << 8 | 8); });
  BeginSprite(0);
  SetSpriteImage("pic", 0, 0, 0);
  HOBJECT sprite = EndSprite(0);
  ASSERT_NE(sprite, 0u);
  int width = 0, height = 0, frames = 0, columns = 0, rows = 0;
  GetSpriteSize(sprite, &width, &height);
  GetSpriteGrid(sprite, &frames, &columns, &rows);
  EXPECT_EQ(std::vector<int>({width, height, frames, columns, rows}), std::vector<int>({16, 16, 1, 1, 1}));
  SetSpritePosition(sprite, 10, 10);
  FillBack(0);
  DrawSprites(0, 1);
  ASSERT_EQ(FlipScreen(), 1);
  plat::PresentedFrame frame = plat::LastPresentedFrame();
  auto shown = [&](int x, int y) {
    return static_cast<uint16_t>(frame.pixels[y * frame.pitch + 2 * x] | frame.pixels[y * frame.pitch + 2 * x + 1]
                                                                             << 8);
  };
  EXPECT_EQ(shown(10, 10), MapRGB(16 * 15, 0, 8));  // the last stored row's first pixel
  EXPECT_EQ(shown(25, 25), MapRGB(0, 16 * 15, 8));  // the first stored row's last pixel
  EXPECT_EQ(shown(9, 10), 0);
}

// The first pixel shown by a one-frame sprite of the named picture, or 0.
uint16_t FirstPixelOf(const char* name) {
  BeginSprite(0);
  SetSpriteImage(name, 0, 0, 0);
  HOBJECT sprite = EndSprite(0);
  auto* pixels = static_cast<uint16_t*>(LockSprite(sprite, 0));
  uint16_t first = pixels ? pixels[0] : 0;
  UnlockSprite(sprite, 0);
  DeleteSprite(sprite);
  return first;
}

TEST_F(SpritesTest, PicturesFromSetsBitmapsAndThePackage) {
  std::vector<std::vector<uint8_t>> entries;
  for (uint32_t colour : {0x0000FFu, 0x00FF00u}) {
    datagen::ImageDesc image;
    image.magic = datagen::ImageMagic::Qbi;
    image.width = image.height = 4;
    image.bitsPerPixel = 24;
    for (int i = 0; i < 16; ++i)
      image.pixels.insert(image.pixels.end(), {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)});
    plat::ByteWriter out;
    std::string error;
    ASSERT_TRUE(datagen::WriteImage(image, out, error)) << error;
    entries.push_back(out.Bytes());
  }
  plat::ByteWriter set;
  std::string error;
  ASSERT_TRUE(datagen::WriteImageSet({datagen::ImageSetKind::Image, entries}, set, error)) << error;
  ASSERT_TRUE(plat::WriteFileAtomic("icons.qsi", set.Bytes().data(), set.Size()));

  datagen::BitmapDesc bitmap;
  bitmap.width = 4;
  bitmap.height = 2;
  bitmap.palette = {{255, 0, 0}};
  bitmap.pixels.assign(8, 0);
  bitmap.forSprites = true;
  plat::ByteWriter bmp;
  ASSERT_TRUE(datagen::WriteBitmap(bitmap, bmp, error)) << error;
  ASSERT_TRUE(plat::WriteFileAtomic("flag.bmp", bmp.Bytes().data(), bmp.Size()));

  bitmap.palette = {{255, 255, 255}};
  plat::ByteWriter packed, package;
  ASSERT_TRUE(datagen::WriteBitmap(bitmap, packed, error)) << error;
  ASSERT_TRUE(datagen::WritePackage({{"boxed.bmp", packed.Bytes()}, {"plain.qbi", entries[0]}}, package, error))
      << error;
  ASSERT_TRUE(plat::WriteFileAtomic("ui.qxo", package.Bytes().data(), package.Size()));
  OpenImagePackage("ui.qxo");

  struct Case {
    const char* name;
    uint16_t expected;
  } cases[] = {
      {"icons01", 0x07E0},                     // entry 1 of the set
      {"icons00", 0x001F}, {"icons02", 0},     // beyond the set's count
      {"flag", 0xF800},    {"boxed", 0xFFFF},  // a bitmap in the package
      {"plain", 0},                            // the package holds it, but not as a bitmap
  };
  for (const Case& c : cases) EXPECT_EQ(FirstPixelOf(c.name), c.expected) << c.name;
}

TEST_F(SpritesTest, SetsOfFramesAndMissingFiles) {
  for (int i = 0; i < 2; ++i)
    WriteQbi("walk0" + std::to_string(i) + ".qbi", 8, 4, [i](int, int) { return i ? 0xFF0000u : 0x00FF00u; });
  BeginSprite(0);
  SetSpriteImage("walk", 2, 4, 4);  // two frames, two cells each
  HOBJECT sprite = EndSprite(0);
  int frames = 0, columns = 0, rows = 0;
  GetSpriteGrid(sprite, &frames, &columns, &rows);
  EXPECT_EQ(std::vector<int>({frames, columns, rows}), std::vector<int>({2, 2, 1}));
  int frame = 1;
  SetSpriteFrame(sprite, &frame, nullptr, nullptr);
  FillBack(0);
  DrawSprites(0, 0);
  EXPECT_EQ(BackPixel(0, 0), 0xF800);

  BeginSprite(0);
  SetSpriteImage("nothing", 0, 0, 0);
  HOBJECT missing = EndSprite(0);
  ASSERT_NE(missing, 0u);
  FillBack(0x0011);
  DrawSprites(0, 0);  // a frame without a picture draws nothing
  EXPECT_EQ(BackPixel(0, 0), 0xF800);
}

TEST_F(SpritesTest, HigherLayerCoversWhateverThePosition) {
  HOBJECT top = BlankSprite(8, 8, 255, 0, 0, 2);
  HOBJECT below = BlankSprite(8, 8, 0, 0, 255, 1);
  SetSpritePosition(top, 0, 0);
  SetSpritePosition(below, 4, 4);  // sorts later by position, but in a lower layer
  DrawSprites(0, 1);
  EXPECT_EQ(BackPixel(5, 5), 0xF800);
  EXPECT_EQ(BackPixel(10, 10), 0x001F);
  EXPECT_EQ(DrawOrder(), std::vector<HOBJECT>({below, top}));
}

TEST_F(SpritesTest, EqualKeysSwapOnEveryResort) {
  HOBJECT a = BlankSprite(4, 4, 255, 0, 0);
  HOBJECT b = BlankSprite(4, 4, 0, 0, 255);
  EXPECT_EQ(DrawOrder(), std::vector<HOBJECT>({a, b}));
  DrawSprites(0, 0);
  EXPECT_EQ(DrawOrder(), std::vector<HOBJECT>({b, a}));
  EXPECT_EQ(BackPixel(0, 0), 0xF800);  // a, drawn last
  DrawSprites(0, 0);                   // nothing changed: no re-sort
  EXPECT_EQ(DrawOrder(), std::vector<HOBJECT>({b, a}));
  SetSpriteDepth(a, 0, 0, 0);
  DrawSprites(0, 0);
  EXPECT_EQ(DrawOrder(), std::vector<HOBJECT>({a, b}));
}

TEST_F(SpritesTest, ParentsCarryTheirChildren) {
  HOBJECT parent = BlankSprite(2, 2, 255, 0, 0);
  HOBJECT child = BlankSprite(2, 2, 0, 0, 255);
  SetSpritePosition(parent, 100, 50);
  SetSpriteParent(child, parent);
  SetSpritePosition(child, 5, 6);
  int x = 0, y = 0, layer = -1;
  GetSpritePosition(child, &x, &y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(105, 56));
  SetSpriteDepth(child, 1, 2, 3);
  GetSpriteDepth(child, &x, &y, &layer);
  EXPECT_EQ(std::vector<int>({x, y, layer}), std::vector<int>({106, 58, 3}));
  DrawSprites(0, 1);
  EXPECT_EQ(BackPixel(105, 56), 0x001F);

  SetSpriteParent(parent, child);  // would close a loop: refused
  GetSpritePosition(parent, &x, &y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(100, 50));

  DeleteSprite(parent);  // the child stays, now counting from the viewport origin
  GetSpritePosition(child, &x, &y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(5, 6));
  DrawSprites(0, 1);
  EXPECT_EQ(BackPixel(5, 6), 0x001F);
  EXPECT_EQ(LookupSprite(parent), nullptr);
}

TEST_F(SpritesTest, HitTests) {
  HOBJECT sprite = BlankSprite(16, 16, 255, 255, 255);
  SetSpritePosition(sprite, 20, 30);
  LookupSprite(sprite)->scaleX = LookupSprite(sprite)->scaleY = 0.5f;
  struct Case {
    int x, y, pixelTest, expected;
  } cases[] = {
      {30, 30, 0, 0},  // 10 >= 16 x 0.5
      {27, 30, 0, 1}, {27, 37, 1, 1}, {19, 30, 0, 0}, {27, 38, 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HitTestSprite(sprite, c.x, c.y, c.pixelTest), c.expected) << c.x << "," << c.y;
  SetSpriteColorKey(sprite, 255, 255, 255, 1);
  EXPECT_EQ(HitTestSprite(sprite, 27, 37, 1), 0);  // on a key pixel
  EXPECT_EQ(HitTestSprite(sprite, 27, 37, 0), 1);

  BeginSprite(0);
  HOBJECT empty = EndSprite(0);
  EXPECT_EQ(HitTestSprite(empty, 0, 0, 1), 0);
  EXPECT_EQ(LookupSprite(MakeHandle(OBJTYPE_SPRITE, 2048)), nullptr);
  EXPECT_EQ(LookupSprite(MakeHandle(OBJTYPE_NODE, 1)), nullptr);
}

TEST_F(SpritesTest, ClonesSharePixels) {
  HOBJECT original = BlankSprite(4, 4, 0, 0, 0);
  SetSpritePosition(original, 7, 7);
  HOBJECT clone = CloneSprite(original);
  ASSERT_NE(clone, 0u);
  int x = -1, y = -1;
  GetSpritePosition(clone, &x, &y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));
  FillSprite(original, 0, 0, 255, 0);
  auto* pixels = static_cast<uint16_t*>(LockSprite(clone, 0));
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[0], 0x07E0);
  EXPECT_GT(GetSpriteLockPitch(), 0);
  UnlockSprite(clone, 0);
  EXPECT_EQ(GetSpriteLockPitch(), 0);
  DeleteSprite(original);  // the clone keeps the picture
  DrawSprites(0, 1);
  EXPECT_EQ(BackPixel(0, 0), 0x07E0);
  EXPECT_EQ(LockSprite(clone, 1), nullptr);  // no such frame
}

TEST_F(SpritesTest, GridStepsAndSourceRectangles) {
  BeginSprite(0);
  SetSpriteBlankImage(1, 2, 4, 8, 8);  // 4 columns, 2 rows
  HOBJECT sprite = EndSprite(0);
  int column = 3;
  SetSpriteFrame(sprite, nullptr, &column, nullptr);
  EXPECT_EQ(StepSpriteColumn(sprite, 2, 1), 1);
  SPRITEIMAGEDESC& image = *LookupSprite(sprite)->image;
  EXPECT_EQ(image.currentColumn, 1);
  column = 3;
  SetSpriteFrame(sprite, nullptr, &column, nullptr);
  EXPECT_EQ(StepSpriteColumn(sprite, 2, 0), 0);
  EXPECT_EQ(image.currentColumn, 3);
  column = 3;
  SetSpriteFrame(sprite, nullptr, &column, nullptr);
  EXPECT_EQ(StepSpriteColumn(sprite, 9, 1), 1);  // one wrap is not enough: held in range
  EXPECT_EQ(image.currentColumn, 3);
  EXPECT_EQ(StepSpriteRow(sprite, 1, 0), 1);
  EXPECT_EQ(image.frames[0]->source.top, 8);

  SetSpriteSourceRect(sprite, -5, 0, 100, 100);
  EXPECT_EQ(std::vector<int>({image.sourceLeft, image.sourceTop, image.sourceRight, image.sourceBottom}),
            std::vector<int>({0, 0, 8, 8}));
  SetSpriteGrid(sprite, 2, 0);  // rows kept
  int width = 0, height = 0;
  GetSpriteSize(sprite, &width, &height);
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(16, 8));
  EXPECT_EQ(image.sourceRight, 16);  // the whole old cell becomes the whole new one
  BeginSprite(0);
  HOBJECT bare = EndSprite(0);
  EXPECT_EQ(StepSpriteColumn(bare, 1, 1), 0);
}

TEST_F(SpritesTest, MirroredAndStretchedDrawing) {
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, 4, 1);
  HOBJECT sprite = EndSprite(0);
  auto* pixels = static_cast<uint16_t*>(LockSprite(sprite, 0));
  ASSERT_NE(pixels, nullptr);
  for (int i = 0; i < 4; ++i) pixels[i] = static_cast<uint16_t>(i + 1);
  UnlockSprite(sprite, 0);
  SPRITEDESC& record = *LookupSprite(sprite);
  record.mirrored = 1;
  FillBack(0);
  DrawSprites(0, 0);
  EXPECT_EQ(std::vector<int>({BackPixel(0, 0), BackPixel(1, 0), BackPixel(3, 0)}), std::vector<int>({4, 3, 1}));
  record.mirrored = 0;
  record.scaleX = 2.0f;
  SetSpritePosition(sprite, -2, 0);  // off the left edge
  FillBack(0);
  DrawSprites(0, 0);
  EXPECT_EQ(std::vector<int>({BackPixel(0, 0), BackPixel(1, 0), BackPixel(5, 0), BackPixel(6, 0)}),
            std::vector<int>({2, 2, 4, 0}));
}

TEST_F(SpritesTest, DrawingOntoAnotherSprite) {
  HOBJECT canvas = BlankSprite(8, 8, 0, 0, 0);
  HOBJECT stamp = BlankSprite(2, 2, 255, 0, 0);
  SetSpritePosition(canvas, 100, 100);
  SetSpritePosition(stamp, 3, 3);
  DrawSpriteOnto(stamp, canvas);
  auto* pixels = static_cast<uint16_t*>(LockSprite(canvas, 0));
  ASSERT_NE(pixels, nullptr);
  int pitch = GetSpriteLockPitch() / 2;
  EXPECT_EQ(pixels[3 * pitch + 3], 0xF800);
  EXPECT_EQ(pixels[2 * pitch + 2], 0);
  UnlockSprite(canvas, 0);
  FillBack(0);
  DrawSprites(0, 0);  // the stamp now draws only onto the canvas
  EXPECT_EQ(BackPixel(3, 3), 0);
  EXPECT_EQ(BackPixel(103, 103), 0xF800);
  DeleteSprite(canvas);
  DrawSpriteOnto(stamp, canvas);  // the target is gone: onto the back buffer
  EXPECT_EQ(BackPixel(3, 3), 0xF800);
}

TEST_F(SpritesTest, BlankFramesBeyondAnyPictureStayEmpty) {
  BeginSprite(0);
  SetSpriteBlankImage(1, 100000, 100000, 100, 100);
  HOBJECT sprite = EndSprite(0);
  ASSERT_NE(sprite, 0u);
  EXPECT_EQ(LookupSprite(sprite)->image->frames[0]->surface, nullptr);
  EXPECT_EQ(LockSprite(sprite, 0), nullptr);
  DrawSprites(0, 1);  // draws nothing, and nothing breaks
}

TEST_F(SpritesTest, FullTableAndConstruction) {
  for (int i = 1; i < kSpriteTableSize; ++i) {
    BeginSprite(0);
    ASSERT_NE(EndSprite(0), 0u) << i;
  }
  BeginSprite(0);
  EXPECT_EQ(EndSprite(0), 0u);
  EXPECT_NE(LookupSprite(0), nullptr);  // still under construction
  EXPECT_EQ(CloneSprite(MakeHandle(OBJTYPE_SPRITE, 1)), 0u);
  EXPECT_EQ(LookupSprite(MakeHandle(OBJTYPE_SPRITE, 1))->visible, 0);  // filed without an image
}

}  // namespace
}  // namespace media2dtest
