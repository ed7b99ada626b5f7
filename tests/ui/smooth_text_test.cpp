#include <cstring>
#include <vector>

#include "tests/ui/ui_fixture.h"
#include "ui/smooth_filter.h"
#include "ui/smooth_text.h"

namespace uitest {
namespace {

// A block of 16-bit pixels owned by the test.
struct Pixels {
  Pixels(int width, int height, uint16_t fill) : width(width), height(height), data(width * height, fill) {}
  PIXELBLOCK Block() { return {reinterpret_cast<uint8_t*>(data.data()), width * 2, width, height}; }
  uint16_t& At(int x, int y) { return data[y * width + x]; }
  int width, height;
  std::vector<uint16_t> data;
};

uint16_t Pack(int code, int r, int g, int b) {
  uint16_t p = 0;
  EXPECT_TRUE(PackPixel(code, {r, g, b}, &p));
  return p;
}

PIXELCHANNELS Unpack(int code, uint16_t p) {
  PIXELCHANNELS c;
  EXPECT_TRUE(UnpackPixel(code, p, &c));
  return c;
}

// One text pixel in the middle of a 5 x 5 rectangle of key colour.
SMOOTHFILTERDESC OnePixel(int code, Pixels& source, Pixels& destination, uint16_t text, uint16_t key) {
  source.At(2, 2) = text;
  SMOOTHFILTERDESC d;
  d.formatCode = code;
  d.source = source.Block();
  d.destination = destination.Block();
  d.key = key;
  return d;
}

TEST(SmoothFilter, FormatsRoundTripTheirChannelsAndOthersAreRefused) {
  struct Case {
    int code;
    PIXELCHANNELS channels;
    uint16_t packed;
  } cases[] = {
      {1, {31, 63, 31}, 0xFFFF},
      {1, {1, 2, 3}, 1 << 11 | 2 << 5 | 3},
      {2, {31, 0, 0}, 0xF800},
      {3, {31, 31, 31}, 0x7FFF},
      {3, {1, 2, 3}, 1 << 10 | 2 << 5 | 3},
      {4, {0, 31, 0}, 0x03E0},
      {5, {15, 15, 15}, 0x0FFF},
      {5, {1, 2, 3}, 0x0123},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Pack(c.code, c.channels.red, c.channels.green, c.channels.blue), c.packed) << c.code;
    PIXELCHANNELS back = Unpack(c.code, c.packed);
    EXPECT_EQ(back.red, c.channels.red);
    EXPECT_EQ(back.green, c.channels.green);
    EXPECT_EQ(back.blue, c.channels.blue);
  }
  EXPECT_EQ(Unpack(5, 0xF123).red, 1) << "the top nibble is not a channel";
  for (int code : {0, 6, 7}) {
    Pixels source(5, 5, 0), destination(5, 5, 0);
    SMOOTHFILTERDESC d = OnePixel(code, source, destination, 1, 0);
    EXPECT_EQ(FilterSmoothText(d), kSmoothBadFormat) << code;
    PIXELCHANNELS unused;
    EXPECT_FALSE(UnpackPixel(code, 0, &unused));
  }
}

TEST(SmoothFilter, ALoneTextPixelMixesSixteenThirtySixthsOfItsColourIntoTheBackground) {
  struct Case {
    int code;
    PIXELCHANNELS white, red, centre;
  } cases[] = {
      {1, {31, 63, 31}, {31, 0, 0}, {31, 35, 17}},
      {3, {31, 31, 31}, {31, 0, 0}, {31, 17, 17}},
      {5, {15, 15, 15}, {15, 0, 0}, {15, 8, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    uint16_t key = Pack(c.code, 0, 0, c.code == 5 ? 15 : 31);
    Pixels source(5, 5, key), destination(5, 5, 0x1234);
    SMOOTHFILTERDESC d = OnePixel(c.code, source, destination, Pack(c.code, c.red.red, c.red.green, c.red.blue), key);
    d.solidColour = Pack(c.code, c.white.red, c.white.green, c.white.blue);
    ASSERT_EQ(FilterSmoothText(d), 1);
    PIXELCHANNELS centre = Unpack(c.code, destination.At(2, 2));
    EXPECT_EQ(centre.red, c.centre.red);
    EXPECT_EQ(centre.green, c.centre.green);
    EXPECT_EQ(centre.blue, c.centre.blue);
    // Neighbours mix less of it; pixels with no text near them stay key colour.
    EXPECT_NE(destination.At(1, 2), key);
    EXPECT_NE(destination.At(1, 1), key);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(destination.At(i, 0), key);
      EXPECT_EQ(destination.At(0, i), key);
    }
    // A threshold above the covered share keeps the edge transparent.
    d.threshold = 0.5f;
    ASSERT_EQ(FilterSmoothText(d), 1);
    EXPECT_EQ(destination.At(1, 2), key);
    EXPECT_EQ(destination.At(2, 2), key) << "16 / 36 is below one half";
  }
}

TEST(SmoothFilter, EmptyPixelsTakeTheBackgroundPictureAndNothingOffIt) {
  constexpr int kCode = 1;
  uint16_t key = Pack(kCode, 0, 0, 31), red = Pack(kCode, 31, 0, 0), green = Pack(kCode, 0, 63, 0);
  Pixels source(5, 5, key), destination(8, 8, 0x1234);
  // The picture covers destination columns 0 to 3 only.
  Pixels background(4, 8, green);
  SMOOTHFILTERDESC d = OnePixel(kCode, source, destination, red, key);
  d.x = 1;
  d.y = 1;
  PIXELBLOCK picture = background.Block();
  d.background = &picture;
  ASSERT_EQ(FilterSmoothText(d), 1);
  // Text pixel (2, 2) lands on (3, 3): 16 parts red, 14 parts green; its
  // right-hand neighbours lie off the picture and count for nothing.
  PIXELCHANNELS centre = Unpack(kCode, destination.At(3, 3));
  EXPECT_EQ(centre.red, 16 * 31 / 30);
  EXPECT_EQ(centre.green, 14 * 63 / 30);
  EXPECT_EQ(Unpack(kCode, destination.At(2, 3)).green, 32 * 63 / 36) << "its left neighbour: all on the picture";
  // Its right neighbour lies off the picture.
  EXPECT_EQ(destination.At(4, 3), key);
  EXPECT_EQ(destination.At(0, 0), 0x1234) << "outside the rectangle";

  d.x = 4;  // the rectangle would run past the destination
  EXPECT_EQ(FilterSmoothText(d), -1);
  d.x = -1;
  EXPECT_EQ(FilterSmoothText(d), -1);
}

class SmoothTextTest : public UiTest {
 protected:
  SMOOTHTEXTDESC Desc() {
    SMOOTHTEXTDESC d;
    d.width = 16;
    d.height = 16;
    d.red = 255;
    return d;
  }
  std::vector<uint16_t> Frame(HOBJECT sprite, int width, int height) {
    std::vector<uint16_t> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) out.push_back(SpritePixel(sprite, x, y));
    return out;
  }
  const uint16_t key = 0x001F;
};

TEST_F(SmoothTextTest, AStringAboveItsHeightIsRefusedAndDrawsNothing) {
  HOBJECT destination = BlankSprite(100, 40, 0, 255, 0);
  std::vector<uint16_t> before = Frame(destination, 100, 40);
  SMOOTHTEXTDESC d = Desc();
  EXPECT_EQ(DrawSmoothText(destination, 0, 15, "Hi", &d, 255, 255, 255), kSmoothAboveTop);
  EXPECT_EQ(Frame(destination, 100, 40), before);
  EXPECT_EQ(DrawSmoothText(0x10000FFFu, 0, 16, "Hi", &d, 255, 255, 255), kSmoothNoDestination);
  EXPECT_EQ(DrawSmoothTextOver(destination, 0, 16, "Hi", &d, 0x10000FFFu), kSmoothNoBackground);
}

TEST_F(SmoothTextTest, AStringPastTheRightEdgeIsCutNotWrapped) {
  HOBJECT destination = BlankSprite(60, 40, 0, 255, 0);
  std::vector<uint16_t> before = Frame(destination, 60, 40);
  SMOOTHTEXTDESC d = Desc();
  ASSERT_EQ(DrawSmoothText(destination, 40, 20, "WWWWWW", &d, 255, 255, 255), 1);
  std::vector<uint16_t> after = Frame(destination, 60, 40);
  int changedRight = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      if (x < 40) {
        EXPECT_EQ(after[y * 60 + x], before[y * 60 + x]) << x << "," << y;
      }
      changedRight += x >= 40 && after[y * 60 + x] != key && after[y * 60 + x] != before[y * 60 + x];
    }
  EXPECT_GT(changedRight, 0);
}

TEST_F(SmoothTextTest, TextOverABackgroundSpriteMixesWithItsPixelsAtTheSameScreenPlace) {
  WriteQbi("under.qbi", 40, 40, [](int, int) { return 0x00FF00u; });
  BeginSprite(0);
  SetSpriteImage("under", 0, 0, 0);
  HOBJECT under = EndSprite(0);
  SetSpritePosition(under, 100, 100);
  HOBJECT destination = BlankSprite(80, 40, 0, 0, 255);
  SetSpritePosition(destination, 90, 100);  // its columns 10 to 49 lie over the picture
  SMOOTHTEXTDESC d = Desc();
  ASSERT_EQ(DrawSmoothTextOver(destination, 0, 20, "IIIIIIIIII", &d, under), 1);
  int mixed = 0, offPicture = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) {
      uint16_t p = SpritePixel(destination, x, y);
      PIXELCHANNELS c = Unpack(1, p);
      if (x >= 10 && x < 50 && p != key && c.red > 0 && c.green > 0) ++mixed;
      if (x < 10 && p != key) ++offPicture;
    }
  EXPECT_GT(mixed, 0) << "red text mixed with green";
  EXPECT_EQ(offPicture, 0) << "places off the picture are key colour";
  // Over the back buffer the same call works too.
  EXPECT_EQ(DrawSmoothTextOver(destination, 0, 20, "I", &d, 0), 1);
}

}  // namespace
}  // namespace uitest
