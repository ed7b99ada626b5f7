// Translucent sprites: the fast and general 16-bit blends, bit for bit.
#include "engine/media/sprite_blend.h"
#include "tests/media2d/media2d_fixture.h"

namespace media2dtest {
namespace {

class BlendTest : public Media2DTest {
 protected:
  BlendTest() { OpenScreen(); }
};

TEST_F(BlendTest, OpacityBandsPickTheirFormula) {
  struct Case {
    float alpha;
    uint16_t expected;  // red 0xF800 over blue 0x001F
  } cases[] = {
      {0.03f, 0x001F},  // below 5 %: nothing
      {0.5f, 0x780F},   // ((s >> 1) & H) + ((d >> 1) & H)
      {0.25f, 0x3818},  // d + (s >> 2 & Q) - (d >> 2 & Q)
      {0.75f, 0xC007},  // s + (d >> 2 & Q) - (s >> 2 & Q)
      {0.6f, 0x880B},   // general: S = 9, D = 6
      {1.0f, 0xF800},   // opaque: a plain copy
  };
  for (const Case& c : cases) {
    HOBJECT sprite = BlankSprite(7, 3, 255, 0, 0);
    SetSpriteAlpha(sprite, c.alpha);
    FillBack(0x001F);
    DrawSprites(0, 0);
    EXPECT_EQ(BackPixel(0, 0), c.expected) << c.alpha;
    EXPECT_EQ(BackPixel(6, 2), c.expected) << c.alpha << ": an odd width's last column";
    EXPECT_EQ(BackPixel(7, 0), 0x001F) << c.alpha;
    DeleteSprite(sprite);
  }
}

TEST_F(BlendTest, KeyedBlendsSkipKeyPixels) {
  HOBJECT sprite = BlankSprite(3, 1, 255, 0, 0);
  auto* pixels = static_cast<uint16_t*>(LockSprite(sprite, 0));
  ASSERT_NE(pixels, nullptr);
  pixels[1] = 0;  // black, the key
  UnlockSprite(sprite, 0);
  SetSpriteColorKey(sprite, 0, 0, 0, 1);
  for (float alpha : {0.5f, 0.6f}) {
    SetSpriteAlpha(sprite, alpha);
    FillBack(0x001F);
    DrawSprites(0, 0);
    EXPECT_NE(BackPixel(0, 0), 0x001F) << alpha;
    // In a pair the fast blend mixes the destination with itself.
    EXPECT_EQ(BackPixel(1, 0), alpha == 0.5f ? 0x001E : 0x001F) << alpha;
  }
}

TEST_F(BlendTest, BlendsStayInsideBothSurfaces) {
  HOBJECT sprite = BlankSprite(16, 16, 255, 0, 0);
  SetSpriteAlpha(sprite, 0.5f);
  SetSpritePosition(sprite, 632, 472);
  FillBack(0x001F);
  DrawSprites(0, 0);
  EXPECT_EQ(BackPixel(639, 479), 0x780F);
  SetSpritePosition(sprite, -8, -8);
  DrawSprites(0, 0);
  EXPECT_EQ(BackPixel(0, 0), 0x780F);
  // Called directly with an area larger than either surface.
  BlendSpriteFrame(0.5f, 0, g_gameWorld->backBuffer.get(), 630, 470, g_gameWorld->backBuffer.get(), -5, -5, 100, 100);
}

}  // namespace
}  // namespace media2dtest
