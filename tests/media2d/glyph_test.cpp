// The glyph font and sprite text.
#include "engine/media/glyph_font.h"
#include "tests/media2d/media2d_fixture.h"

namespace media2dtest {
namespace {

class GlyphTest : public Media2DTest {
 protected:
  GlyphTest() { OpenScreen(); }

  // Where text drawn at (x, y) on a black 64 x 48 sprite set pixels: the
  // bounding box of the set pixels, or an empty box.
  struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
  };
  Box TextBox(const char* text, int x, int y) {
    HOBJECT sprite = BlankSprite(64, 48, 0, 0, 0);
    DrawSpriteText(sprite, 0, x, y, text, 255, 255, 255);
    Box box;
    auto* pixels = static_cast<uint16_t*>(LockSprite(sprite, 0));
    int pitch = GetSpriteLockPitch() / 2;
    for (int row = 0; row < 48; ++row)
      for (int col = 0; col < 64; ++col)
        if (pixels[row * pitch + col]) {
          box.left = std::min(box.left, col);
          box.right = std::max(box.right, col);
          box.top = std::min(box.top, row);
          box.bottom = std::max(box.bottom, row);
        }
    UnlockSprite(sprite, 0);
    DeleteSprite(sprite);
    return box;
  }
};

TEST_F(GlyphTest, TextNeedsAFont) {
  EXPECT_TRUE(TextBox("A", 8, 8).Empty());
  std::vector<uint8_t> bits;
  EXPECT_EQ(GetGlyphBitmap('A', bits, nullptr), nullptr);
}

TEST_F(GlyphTest, LatinAndBig5TextStayInTheirCells) {
  ASSERT_NE(SetTextFont("MingLiU", 16, 16), nullptr);
  EXPECT_EQ(g_glyphFont.lineStep, 14);
  for (const char* text : {"A", "\xA4\xA4"}) {  // a Latin letter and one Big5 character
    Box box = TextBox(text, 10, 20);
    ASSERT_FALSE(box.Empty()) << text;
    EXPECT_GE(box.left, 10) << text;
    EXPECT_LT(box.right, 10 + 16) << text;
    EXPECT_GE(box.top, 20) << text;
    EXPECT_LT(box.bottom, 20 + 16) << text;
  }
  Box two = TextBox("\xA4\xA4\xA4\xA4", 0, 0);  // the pen moves by at most the cell width
  EXPECT_GE(two.right, 16);
  EXPECT_LT(two.right, 32);
  EXPECT_TRUE(TextBox("", 0, 0).Empty());
  Box edge = TextBox("\xA4\xA4", 56, 40);  // clipped to the frame
  EXPECT_EQ(edge.right, 63);
}

TEST_F(GlyphTest, CellSizeScalesTheGlyph) {
  std::vector<uint8_t> bits;
  GLYPHMETRICS full, scaled;
  ASSERT_NE(SetTextFont("MingLiU", 32, 32), nullptr);
  ASSERT_NE(GetGlyphBitmap(0xA5D0, bits, &full), nullptr);  // a square character
  ASSERT_EQ(bits.size(), static_cast<size_t>(GlyphRowBytes(full.width) * full.height));
  ASSERT_NE(SetTextFont("MingLiU", 16, 24), nullptr);
  bits.assign(1, 0);  // a buffer too small grows to the glyph
  ASSERT_NE(GetGlyphBitmap(0xA5D0, bits, &scaled), nullptr);
  EXPECT_EQ(bits.size(), static_cast<size_t>(GlyphRowBytes(scaled.width) * scaled.height));
  EXPECT_NEAR(scaled.width, full.width / 2.0, 1.5);
  EXPECT_NEAR(scaled.height, full.height * 0.75, 1.5);
  EXPECT_EQ(g_glyphFont.cellWidth, 16);

  SetTextFont("MingLiU", 64, 40);  // each side limited to 32
  EXPECT_EQ(g_glyphFont.cellWidth, 32);
  EXPECT_EQ(g_glyphFont.cellHeight, 32);
  EXPECT_STREQ(g_glyphFont.faceName, "MingLiU");
}

TEST_F(GlyphTest, FontGoesWithTheEngine) {
  ASSERT_NE(SetTextFont("MingLiU", 16, 16), nullptr);
  CloseEngine(1);
  EXPECT_EQ(g_glyphFont.font, nullptr);
  EXPECT_EQ(SetTextFont("MingLiU", 16, 16), nullptr);  // closed
}

}  // namespace
}  // namespace media2dtest
