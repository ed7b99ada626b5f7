#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fonts.h"

namespace {

constexpr uint32_t kMiddle = 0xA4A4;  // a square, dense Chinese character
constexpr uint32_t kOne = 0xA440;     // a single horizontal stroke
const char kBig5FaceName[] = "\xb2\xd3\xa9\xfa\xc5\xe9";

int CountSet(const plat::GlyphBits& g) {
  int count = 0;
  for (int y = 0; y < g.blackBoxHeight; ++y)
    for (int x = 0; x < g.blackBoxWidth; ++x) count += g.PixelSet(x, y);
  return count;
}

// Every byte of the glyph is accounted for: rows are whole 32-bit words and
// nothing is set right of the black box.
void ExpectWellFormed(const plat::GlyphBits& g) {
  ASSERT_GT(g.blackBoxWidth, 0);
  ASSERT_GT(g.blackBoxHeight, 0);
  EXPECT_EQ(g.pitch % 4, 0);
  EXPECT_GE(g.pitch * 8, g.blackBoxWidth);
  ASSERT_EQ(g.bits.size(), static_cast<size_t>(g.pitch) * g.blackBoxHeight);
  for (int y = 0; y < g.blackBoxHeight; ++y)
    for (int x = g.blackBoxWidth; x < g.pitch * 8; ++x) {
      uint8_t byte = g.bits[static_cast<size_t>(y) * g.pitch + x / 8];
      EXPECT_EQ(byte & (0x80 >> (x % 8)), 0) << "ink outside the black box at " << x << "," << y;
    }
}

class GlyphFont : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = plat::Font::Create("", 32);
    ASSERT_NE(font_, nullptr);
  }
  plat::GlyphBits Render(uint32_t code, plat::GlyphScale scale = {}) {
    plat::GlyphBits g;
    EXPECT_TRUE(font_->RenderGlyph(code, scale, &g)) << std::hex << code;
    return g;
  }
  std::unique_ptr<plat::Font> font_;
};

TEST(FontFiles, EveryFaceNameResolvesToAnInstalledFont) {
  plat::FontFile chinese;
  ASSERT_TRUE(plat::FindChineseFontFile(&chinese));
  EXPECT_EQ(chinese.family, "AR PL UMing TW");

  for (std::string name :
       {std::string(), std::string(kBig5FaceName), std::string("No Such Face 4711"), std::string("Verdana")}) {
    plat::FontFile file;
    ASSERT_TRUE(plat::FindFontFile(name, &file)) << name;
    EXPECT_TRUE(std::filesystem::exists(file.path)) << name << " -> " << file.path;
  }
  // Faces that are not installed take the Chinese font, which draws the game's text.
  for (std::string name : {std::string(), std::string(kBig5FaceName), std::string("No Such Face 4711")}) {
    plat::FontFile file;
    ASSERT_TRUE(plat::FindFontFile(name, &file));
    EXPECT_EQ(file.path, chinese.path) << name;
    EXPECT_EQ(file.index, chinese.index) << name;
  }
}

TEST(FontFiles, AnInstalledFaceIsFoundByItsOwnName) {
  // The Chinese package holds several faces in one collection.
  plat::FontFile chinese, simplified, anyCase, padded;
  ASSERT_TRUE(plat::FindChineseFontFile(&chinese));
  ASSERT_TRUE(plat::FindFontFile("AR PL UMing CN", &simplified));
  EXPECT_EQ(simplified.family, "AR PL UMing CN");
  EXPECT_NE(simplified.index, chinese.index);
  ASSERT_TRUE(plat::FindFontFile("ar pl uming cn", &anyCase));
  EXPECT_EQ(anyCase.index, simplified.index);
  // A name from a fixed-size field ends at its first NUL.
  ASSERT_TRUE(plat::FindFontFile(std::string("AR PL UMing CN\0junk", 19), &padded));
  EXPECT_EQ(padded.index, simplified.index);
}

TEST(FontFiles, FontsOfUnusableHeightsAreRefused) {
  EXPECT_EQ(plat::Font::Create("", 0), nullptr);
  EXPECT_EQ(plat::Font::Create("", plat::Font::kMaxFontHeight + 1), nullptr);
  EXPECT_EQ(plat::Font::Create("", -plat::Font::kMaxFontHeight - 1), nullptr);
  EXPECT_NE(plat::Font::Create(kBig5FaceName, 16), nullptr);
  EXPECT_NE(plat::Font::Create("No Such Face 4711", -12), nullptr);
}

TEST_F(GlyphFont, CellOfAPositiveHeightIsThatHeight) {
  EXPECT_EQ(font_->CellHeight(), 32);
  EXPECT_GT(font_->Ascent(), font_->Descent());
  EXPECT_GT(font_->Descent(), 0);
  // A negative height is the em, so the cell is taller.
  auto em = plat::Font::Create("", -32);
  ASSERT_NE(em, nullptr);
  EXPECT_GT(em->CellHeight(), 32);
}

TEST_F(GlyphFont, LatinAndChineseGlyphsComeOutAsBitmapsWithTheirMetrics) {
  plat::GlyphBits a = Render('A');
  ExpectWellFormed(a);
  EXPECT_GT(CountSet(a), 20);
  // A capital stands on (this font: just above) the baseline and reaches well up the cell.
  EXPECT_GE(a.originY - a.blackBoxHeight, -1);
  EXPECT_LE(a.originY - a.blackBoxHeight, 3);
  EXPECT_GT(a.blackBoxHeight, 12);
  EXPECT_LE(a.originY, font_->Ascent());
  EXPECT_GT(a.advanceX, 0);
  EXPECT_LE(a.originX + a.blackBoxWidth, a.advanceX + 2);

  plat::GlyphBits one = Render(kOne);
  ExpectWellFormed(one);
  EXPECT_GT(CountSet(one), 0);
  EXPECT_GT(one.blackBoxWidth, 3 * one.blackBoxHeight) << "a flat stroke";
  EXPECT_GT(one.originY, one.blackBoxHeight) << "drawn above the baseline";

  plat::GlyphBits middle = Render(kMiddle);
  ExpectWellFormed(middle);
  EXPECT_GT(middle.blackBoxHeight, 20);
  EXPECT_GT(middle.advanceX, a.advanceX) << "Chinese characters take a full cell";
  // The vertical stroke of the character runs through its middle column.
  int column = middle.blackBoxWidth / 2;
  int inked = 0;
  for (int y = 0; y < middle.blackBoxHeight; ++y) inked += middle.PixelSet(column, y) || middle.PixelSet(column - 1, y);
  EXPECT_GT(inked, middle.blackBoxHeight * 3 / 4);
}

TEST_F(GlyphFont, ScaleShrinksGlyphsByTheTransform) {
  plat::GlyphBits full = Render(kMiddle);
  plat::GlyphBits scaled = Render(kMiddle, {16 * 65536 / 32, 24 * 65536 / 32});
  ExpectWellFormed(scaled);
  EXPECT_NEAR(scaled.blackBoxWidth, full.blackBoxWidth / 2.0, 2.0);
  EXPECT_NEAR(scaled.blackBoxHeight, full.blackBoxHeight * 0.75, 2.0);
  EXPECT_NEAR(scaled.advanceX, full.advanceX / 2.0, 1.5);
  EXPECT_NEAR(scaled.originY, full.originY * 0.75, 2.0);

  plat::GlyphBits narrow = Render('A', {65536 / 2, 65536});
  plat::GlyphBits a = Render('A');
  EXPECT_NEAR(narrow.blackBoxWidth, a.blackBoxWidth / 2.0, 2.0);
  EXPECT_NEAR(narrow.blackBoxHeight, a.blackBoxHeight, 1.0);
}

TEST_F(GlyphFont, BlanksAndUnknownCodesStillGiveAGlyph) {
  plat::GlyphBits space = Render(' ');
  EXPECT_EQ(space.blackBoxWidth, 1);
  EXPECT_EQ(space.blackBoxHeight, 1);
  EXPECT_EQ(space.bits.size(), 4u);
  EXPECT_EQ(CountSet(space), 0);
  EXPECT_GT(space.advanceX, 0);

  for (uint32_t code : {0xA420u, 0xFFFFu, 0x80u, 0x123456u, 0u}) {
    plat::GlyphBits g = Render(code);
    ExpectWellFormed(g);
  }
}

TEST_F(GlyphFont, UnusableScalesAreRefused) {
  plat::GlyphBits g;
  for (plat::GlyphScale scale :
       {plat::GlyphScale{0, 65536}, plat::GlyphScale{65536, 0}, plat::GlyphScale{-65536, 65536},
        plat::GlyphScale{65536, -1}, plat::GlyphScale{plat::Font::kMaxGlyphScale + 1, 65536}})
    EXPECT_FALSE(font_->RenderGlyph('A', scale, &g)) << scale.x << " " << scale.y;
  // The smallest scale still answers.
  EXPECT_TRUE(font_->RenderGlyph('A', {1, 1}, &g));
}

TEST_F(GlyphFont, MissingCharactersComeFromTheChineseFont) {
  auto latin = plat::Font::Create("DejaVu Sans", 32);
  ASSERT_NE(latin, nullptr);
  if (latin->File().family != "DejaVu Sans") GTEST_SKIP() << "no Latin-only face installed";
  plat::GlyphBits borrowed;
  ASSERT_TRUE(latin->RenderGlyph(kMiddle, {}, &borrowed));
  plat::GlyphBits chinese = Render(kMiddle);
  EXPECT_EQ(borrowed.blackBoxWidth, chinese.blackBoxWidth);
  EXPECT_EQ(borrowed.blackBoxHeight, chinese.blackBoxHeight);
  EXPECT_EQ(borrowed.originY, chinese.originY);
  EXPECT_EQ(borrowed.bits, chinese.bits);
}

TEST_F(GlyphFont, MeasuresBig5TextByItsAdvances) {
  plat::GlyphBits a = Render('A'), b = Render('B'), middle = Render(kMiddle);
  plat::TextExtent extent = font_->MeasureText("AB\xa4\xa4");
  EXPECT_EQ(extent.width, a.advanceX + b.advanceX + middle.advanceX);
  EXPECT_EQ(extent.height, 32);
  EXPECT_EQ(font_->MeasureText("").width, 0);

  // An 18-point font on the screen: the em is 24 pixels; so is a Chinese character.
  auto points = plat::Font::Create(kBig5FaceName, -(18 * plat::kScreenPixelsPerInch / 72));
  ASSERT_NE(points, nullptr);
  plat::TextExtent two = points->MeasureText("\xa4\xa4\xa4\xe5");
  EXPECT_NEAR(two.width, 48, 2);
  EXPECT_GT(two.height, 24);
}

TEST_F(GlyphFont, DrawsTextInItsColourOnlyWhereGlyphsHaveInk) {
  constexpr int kWidth = 80, kHeight = 40, kPitch = kWidth * 2 + 4;
  const uint16_t background = 0x1234;
  std::vector<uint8_t> pixels(kPitch * kHeight);
  for (size_t i = 0; i < pixels.size(); i += 2) {
    pixels[i] = background & 0xFF;
    pixels[i + 1] = background >> 8;
  }
  plat::PixelTarget target{pixels.data(), kWidth, kHeight, kPitch, plat::PixelLayout::Rgb565};
  auto font = plat::Font::Create("", 16);
  ASSERT_NE(font, nullptr);
  const int x = 4, y = 6;
  font->DrawText(target, x, y, "A\xa4\xa4", 0x0000FF);  // red
  plat::TextExtent extent = font->MeasureText("A\xa4\xa4");
  int red = 0;
  for (int py = 0; py < kHeight; ++py)
    for (int px = 0; px < kWidth; ++px) {
      uint16_t p = pixels[py * kPitch + px * 2] | pixels[py * kPitch + px * 2 + 1] << 8;
      if (p == background) continue;
      EXPECT_EQ(p, 0xF800) << px << "," << py;
      EXPECT_TRUE(px >= x && px < x + extent.width + 1 && py >= y && py < y + extent.height) << px << "," << py;
      ++red;
    }
  EXPECT_GT(red, 30);
  // The row padding is never written.
  for (int py = 0; py < kHeight; ++py) EXPECT_EQ(pixels[py * kPitch + kWidth * 2], background & 0xFF);

  // Half outside the target: clipped, not wrapped.
  std::vector<uint8_t> small(8 * 8 * 4, 0);
  plat::PixelTarget corner{small.data(), 8, 8, 32, plat::PixelLayout::Xrgb8888};
  font->DrawText(corner, -6, -6, "\xa4\xa4\xa4\xa4", 0xFFFFFF);
  font->DrawText(corner, 100000, 3, "A", 0xFFFFFF);
  int lit = 0;
  for (size_t i = 0; i < small.size(); i += 4) lit += small[i] == 0xFF;
  EXPECT_GT(lit, 0);
  EXPECT_LT(lit, 64);
}

}  // namespace
