// Overlay elements: the cursor, slides, boards and their text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text_convert.h"
#include "tests/ui/overlay_fixture.h"
#include "ui/gm_board.h"
#include "ui/gm_mouse.h"

namespace uitest {
namespace {

using OverlayElements = OverlayTest;

TEST_F(OverlayElements, TheCursorPutsEachShapesHotSpotOnThePointer) {
  CGMMouse cursor;
  ASSERT_NE(cursor.sprite, 0u);
  int frames = 0, columns = 0, rows = 0;
  GetSpriteGrid(cursor.sprite, &frames, &columns, &rows);
  EXPECT_EQ(columns, 2);
  EXPECT_EQ(rows, 6);
  EXPECT_EQ(Layer(cursor.sprite), 9999);
  for (int shape = 0; shape < CGMMouse::kShapeCount; ++shape) {
    ASSERT_EQ(cursor.SetShape(shape), 1);
    EXPECT_EQ(Row(cursor.sprite), shape);
    cursor.Move(100, 100);
    EXPECT_EQ(Position(cursor.sprite),
              std::make_pair(100 - CGMMouse::kHotSpots[shape][0], 100 - CGMMouse::kHotSpots[shape][1]));
  }
  cursor.SetShape(4);
  cursor.OnDrag(100, 100);
  EXPECT_EQ(Position(cursor.sprite), std::make_pair(96, 70));
  cursor.SetShape(1);
  EXPECT_EQ(Row(cursor.sprite), 1) << "stepping backwards wraps";
  EXPECT_EQ(cursor.SetShape(6), 0);
  EXPECT_EQ(cursor.SetShape(-1), 0);
  EXPECT_EQ(cursor.shape, 1);

  ASSERT_EQ(cursor.AttachTo(&agency_), 1);
  EXPECT_EQ(agency_.extraElement, &cursor);
  EXPECT_EQ(agency_.childCount, 0) << "not one of the children";
  agency_.OnMouseMove(50, 60);
  EXPECT_EQ(Position(cursor.sprite), std::make_pair(46, 49));
  const int column = Column(cursor.sprite);
  clock_->AdvanceSeconds(0.11);
  agency_.Update(1);
  EXPECT_EQ(Column(cursor.sprite), (column + 1) % 2) << "animated at 10 a second";
  EXPECT_EQ(cursor.Detach(), 1);
  EXPECT_EQ(agency_.extraElement, nullptr);
}

TEST_F(OverlayElements, AMissingCursorPictureLeavesAnImagelessCursor) {
  SetImageDirectory("nowhere");
  CGMMouse cursor;
  EXPECT_EQ(cursor.SetShape(3), 1);
  cursor.Move(10, 10);
  cursor.Update(1);
  SUCCEED();
}

TEST_F(OverlayElements, SlidesStartAtTheirPointAndEndExactlyAtHome) {
  CGMBoard board("none", 10, 10, 1);
  SetSpritePosition(board.sprite, 37, 81);
  EXPECT_EQ(board.SlideTo(1, 0, 0, 0), 0) << "no steps";
  ASSERT_EQ(board.SlideTo(1, 500, 300, 10), 1);
  EXPECT_EQ(Position(board.sprite), std::make_pair(500, 300));
  board.PostUpdate(1);
  EXPECT_EQ(Position(board.sprite), std::make_pair(500, 300)) << "the first frame is the start";
  for (int i = 0; i < 20 && board.sliding; ++i) board.PostUpdate(1);
  EXPECT_FALSE(board.sliding);
  EXPECT_EQ(Position(board.sprite), std::make_pair(37, 81));

  ASSERT_EQ(board.SlideTo(0, 137, 181, 10), 1);
  for (int i = 0; i < 5; ++i) board.PostUpdate(1);
  EXPECT_EQ(board.slideDone, 5);
  board.PostUpdate(1);
  EXPECT_EQ(Position(board.sprite), std::make_pair(87, 131)) << "half way at 5 of 10";
  board.PostUpdate(7);
  EXPECT_EQ(board.slideDone, 10) << "kept within the steps";
  board.PostUpdate(1);
  EXPECT_EQ(Position(board.sprite), std::make_pair(37, 81));
  EXPECT_FALSE(board.sliding);
}

TEST_F(OverlayElements, ABoardHitExcludesItsLeftAndTopEdges) {
  CGMBoard board(nullptr, 40, 20, 1);
  SetSpritePosition(board.sprite, 100, 50);
  const struct {
    int x, y, hit;
  } cases[] = {{100, 60, 0}, {101, 60, 1}, {139, 60, 1}, {140, 60, 0},
               {120, 50, 0}, {120, 51, 1}, {120, 69, 1}, {120, 70, 0}};
  for (const auto& c : cases) EXPECT_EQ(board.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
}

TEST_F(OverlayElements, TextsAreCutAt239BytesOnAWholeCharacter) {
  const std::string ascii(300, 'a');
  std::string split(238, 'a');
  split += "\xA7\x41xyz";
  const struct {
    std::string text;
    size_t kept;
  } cases[] = {{ascii, 239}, {split, 238}, {"\xA7\x41\xA6", 3}, {"short", 5}};
  for (const auto& c : cases) EXPECT_EQ(Big5PrefixLength(c.text.c_str(), CGMBoard::kTextBytes), c.kept);

  CGMBoard board(nullptr, 64, 32, 1);
  EXPECT_EQ(board.DrawText(0, 20, ascii.c_str(), 255, 255, 255), 1);
  EXPECT_EQ(board.DrawText(0, 20, split.c_str(), 255, 255, 255), 1);
}

TEST_F(OverlayElements, BoardTextIsSmoothedOverThePictureOrFallsBackToTheGlyphFont) {
  WriteGrid("plate", 64, 32, 1, 1);
  const uint16_t key = static_cast<uint16_t>(MapRGB(0, 0, 255));
  const uint16_t white = static_cast<uint16_t>(MapRGB(255, 255, 255));
  auto mixed = [&](HOBJECT sprite) {
    int count = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) {
        const uint16_t p = SpritePixel(sprite, x, y);
        count += p != key && p != white;
      }
    return count;
  };
  CGMBoard pictured("plate", 64, 32, 1), bare(nullptr, 64, 32, 1);
  for (CGMBoard* board : {&pictured, &bare}) {
    board->SetDepth(0, 0, 5);
    ASSERT_EQ(board->DrawText(2, 22, "Hi", 255, 255, 255), 1);
    ASSERT_NE(board->textSprite, 0u);
    EXPECT_EQ(Layer(board->textSprite), 6) << "one layer above the picture";
    EXPECT_GT(CountNot(board->textSprite, key, 0, 0, 64, 32), 0);
  }
  EXPECT_GT(mixed(pictured.textSprite), 0) << "soft edges";
  EXPECT_EQ(mixed(bare.textSprite), 0) << "no picture to blend with: the plain glyph font";

  pictured.Show(0);
  EXPECT_FALSE(Shown(pictured.sprite));
  EXPECT_FALSE(Shown(pictured.textSprite));
  pictured.ClearText(0);
  EXPECT_EQ(CountNot(pictured.textSprite, key, 0, 0, 64, 32), 0);
  pictured.ClearText(1);
  EXPECT_EQ(pictured.textSprite, 0u);
}

TEST_F(OverlayElements, SetImageKeepsPlaceDepthAndText) {
  WriteGrid("card00", 32, 16, 1, 1);
  CGMBoard board(nullptr, 32, 16, 1);
  SetSpritePosition(board.sprite, 40, 60);
  board.SetDepth(3, 4, 7);
  board.DrawText(0, 18, "x", 255, 255, 255);
  board.SetImage("card");
  EXPECT_EQ(Position(board.sprite), std::make_pair(40, 60));
  EXPECT_EQ(Layer(board.sprite), 7);
  EXPECT_EQ(Position(board.textSprite), std::make_pair(40, 60)) << "the text moved to the new picture";
  EXPECT_EQ(SpritePixel(board.sprite, 5, 5), GridPixel(0, 0));
}

struct NoticeBoard : CGMBoard {
  NoticeBoard() : CGMBoard(nullptr, 10, 10, 2) {}
  int OnNotify(int a, int, int, CGMBase* from) override {
    got = a;
    sender = from;
    return 1;
  }
  int got = 0;
  CGMBase* sender = nullptr;
};
intptr_t g_notified = 0;
int NoteSender(int, int, int, intptr_t c) {
  g_notified = c;
  return 1;
}

TEST_F(OverlayElements, NoticesGoToTheBoardThenToTheOwner) {
  NoticeBoard board;
  CGMBoard sameGroup(nullptr, 10, 10, 2), other(nullptr, 10, 10, 3);
  EXPECT_EQ(sameGroup.SetBoard(&board), 0);
  ASSERT_EQ(other.LinkToBoard(&board), 1);
  EXPECT_EQ(LookupSprite(other.sprite)->parent, LookupSprite(board.sprite));
  other.AttachTo(&agency_);
  agency_.SetCallback(NoteSender);
  EXPECT_EQ(other.Notify(12, 0, 0), 1);
  EXPECT_EQ(board.got, 12);
  EXPECT_EQ(board.sender, &other);
  EXPECT_EQ(g_notified, reinterpret_cast<intptr_t>(&other));
}

}  // namespace
}  // namespace uitest
