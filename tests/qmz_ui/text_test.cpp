// Text surfaces: item placement, refusals, colour entries and redrawing.
#include "tests/qmz_ui/qmz_fixture.h"
#include "ui/qmz/sprite_text.h"

namespace qmztest {
namespace {

using qmz::CSpriteText;
using qmz::CSpriteWnd;

class TextTest : public QmzTest {
 protected:
  TextTest() {
    EXPECT_EQ(window_.Create("", 0, 0, 200, 100, CSpriteWnd::kStyleVisible, nullptr), 1);
    text_ = window_.AddSpriteText(10, 10, 160, 60);
    EXPECT_NE(text_, nullptr);
    for (int id : {1, 2}) window_.AddTextItem(text_, id);
  }
  static qmz::SPTEXTPARAM Param(int id, int x, int y, int width, int height, int flags = 0) {
    qmz::SPTEXTPARAM param;
    param.id = id;
    param.x = x;
    param.y = y;
    param.width = width;
    param.height = height;
    param.flags = flags;
    return param;
  }
  static uint16_t Pixel(int32_t colour) {
    qmz::SPRGB rgb = qmz::SplitColour(colour);
    return static_cast<uint16_t>(MapRGB(rgb.red, rgb.green, rgb.blue));
  }
  // The rows and columns holding pixels of the colour: {left, top, right, bottom}, or all -1.
  std::array<int, 4> Extent(int32_t colour) {
    std::array<int, 4> box{-1, -1, -1, -1};
    auto rows = Pixels(text_->Sprite());
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
      for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
        if (rows[y][x] == Pixel(colour)) {
          if (box[0] < 0 || x < box[0]) box[0] = x;
          if (box[1] < 0) box[1] = y;
          box[2] = std::max(box[2], x);
          box[3] = y;
        }
    return box;
  }

  CSpriteWnd window_;
  CSpriteText* text_ = nullptr;
};

TEST_F(TextTest, ItemsStandOnTheirBottomEdgeAndAlignByTheirFlags) {
  struct Case {
    const char* what;
    int flags;
    int drawX;
  };
  const Case cases[] = {
      {"left", 0, 20},
      {"right, tight advance", qmz::kTextAlignRight | qmz::kTextRightTight, 20 + 64 - 27},
      {"right, loose advance", qmz::kTextAlignRight | qmz::kTextRightLoose, 20 + 1 + 64 - 24},
      {"right without an advance flag stays left", qmz::kTextAlignRight, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(text_->SetItemDesc("123", Param(1, 20, 8, 64, 24, c.flags)), 1);
    const CSpriteText::TEXTDESC* item = text_->FindItem(1);
    EXPECT_EQ(item->drawX, c.drawX);
    EXPECT_EQ(item->drawY, 8 + 24);
  }
  std::array<int, 4> box = Extent(0x000000);
  ASSERT_GE(box[0], 0) << "the text was drawn";
  EXPECT_GE(box[1], 8 + 24 - 16) << "the glyphs lie inside the item's rectangle";
  EXPECT_LT(box[3], 8 + 24);
}

TEST_F(TextTest, DescriptionsThatDoNotFitAreRefused) {
  struct Case {
    const char* what;
    qmz::SPTEXTPARAM param;
  };
  qmz::SPTEXTPARAM narrowFont = Param(1, 0, 0, 15, 20);
  qmz::SPTEXTPARAM lowFont = Param(1, 0, 0, 40, 15);
  const Case cases[] = {
      {"narrower than the font", narrowFont},
      {"lower than the font", lowFont},
      {"beyond the right edge", Param(1, 100, 0, 61, 20)},
      {"beyond the bottom", Param(1, 0, 41, 40, 20)},
      {"no item has the id", Param(9, 0, 0, 40, 20)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(text_->SetItemDesc("x", c.param), 0);
  }
  EXPECT_EQ(text_->SetItemDesc("x", Param(1, 100, 40, 60, 20)), 1) << "exactly up to the edges";
  CSpriteText loose;
  EXPECT_EQ(loose.SetItemDesc("x", Param(1, 0, 0, 40, 20)), 0) << "no surface";
  EXPECT_EQ(loose.SetRect(0, 0, 10, 10, nullptr), 0);
}

TEST_F(TextTest, ColourEntriesPickTheColourAndAMissingOneDrawsBlack) {
  qmz::SPTEXTPARAM param = Param(1, 0, 0, 100, 30);
  param.colours[0] = 0x0000FF;
  param.colours[1] = 0x00FF00;
  ASSERT_EQ(text_->SetItemDesc("Hi", param), 1);
  EXPECT_GT(CountPixels(text_->Sprite(), static_cast<uint16_t>(MapRGB(255, 0, 0))), 0) << "0x0000FF is red";
  EXPECT_LT(Extent(0x000000)[0], 0);
  text_->Redraw(4);
  EXPECT_GE(Extent(0x000000)[0], 0) << "entry 4 is missing: black";
  EXPECT_LT(Extent(0x0000FF)[0], 0);
  EXPECT_EQ(text_->Items().Count(), 2u);
  EXPECT_EQ(CountPixels(text_->Sprite(), Pixel(CSpriteText::kDefaultBackground)) > 0, true)
      << "the rest is the keyed background";
}

TEST_F(TextTest, SetTextFindsItsItemAndMinusOneMeansTheFirst) {
  ASSERT_EQ(text_->SetItemDesc("a", Param(1, 0, 0, 40, 20)), 1);
  ASSERT_EQ(text_->SetItemDesc("b", Param(2, 0, 30, 40, 20)), 1);
  EXPECT_EQ(window_.SetText("first", -1), 1);
  EXPECT_EQ(text_->FindItem(1)->text, "first");
  EXPECT_EQ(window_.SetText("second", 2), 1);
  EXPECT_EQ(text_->FindItem(2)->text, "second");
  EXPECT_EQ(window_.SetText("none", 3), 0);
  EXPECT_EQ(text_->SetItemText(nullptr, 1), 0);
  EXPECT_EQ(text_->FindItem(1)->text, "first");
}

TEST_F(TextTest, DisablingTheWindowRedrawsItsItemsWithEntryOne) {
  qmz::SPTEXTPARAM param = Param(1, 0, 0, 100, 30);
  param.colours[0] = 0x0000FF;
  param.colours[1] = 0x00FF00;
  ASSERT_EQ(window_.SetTextDesc("Go", param), 1);
  window_.Enable(0);
  EXPECT_GE(Extent(0x00FF00)[0], 0);
  EXPECT_LT(Extent(0x0000FF)[0], 0) << "cleared before the redraw";
  window_.Enable(1);
  EXPECT_GE(Extent(0x0000FF)[0], 0);
  EXPECT_LT(Extent(0x00FF00)[0], 0);
}

}  // namespace
}  // namespace qmztest
