#include <utility>
#include <vector>

#include "tests/ui/drag_fixture.h"
#include "ui/am_button.h"
#include "ui/am_drag_obj.h"
#include "ui/am_scroll_bar.h"

namespace uitest {
namespace {

// A vertical bar at (100, 50): 20 x 20 buttons, a 20 x 10 thumb, overlaps 2
// and 3, a 100-pixel track, so the thumb travels 95 pixels from y 18.
class ScrollBarTest : public SkinnedTest {
 protected:
  ScrollBarTest() {
    window = new RecordingWnd(640, 480);
    bar = new CAmScrollBar(7, 0, 100, window);
    bar->SetPosition(100, 50);
    Update();
  }
  ~ScrollBarTest() override { delete bar; }

  std::vector<std::pair<int, int>> Posted(int id) {
    std::vector<std::pair<int, int>> found;
    for (const Received& r : window->received)
      if (r.id == id && r.sender == bar) found.emplace_back(r.a, r.b);
    return found;
  }
  int ThumbY() {
    int x = 0, y = 0;
    bar->thumb->GetParentRelativePosition(&x, &y);
    return y;
  }
  // Presses the thumb at its middle and drags it by dy pixels.
  void DragThumb(int dy) {
    int x = 0, y = 0;
    bar->thumb->GetPosition(&x, &y);
    Press(x + 10, y + 3);
    Move(x + 10, y + 4);
    Move(x + 10, y + 4 + dy);
    Update();
  }

  RecordingWnd* window;
  CAmScrollBar* bar;
};

TEST_F(ScrollBarTest, OnePositionLocksTheBar) {
  bar->SetRange(1);
  EXPECT_EQ(bar->locked, 1);
  EXPECT_FLOAT_EQ(Alpha(bar->backButton->sprite), 0.0f);
  EXPECT_FLOAT_EQ(Alpha(bar->forwardButton->sprite), 0.0f);
  Click(110, 60);   // the back button
  Click(110, 180);  // the forward button
  Click(110, 100);  // the track
  UpdateFor(3);
  EXPECT_TRUE(window->received.empty());
  bar->SetRange(3);
  EXPECT_EQ(bar->locked, 0);
  EXPECT_FLOAT_EQ(Alpha(bar->backButton->sprite), 1.0f);
}

TEST_F(ScrollBarTest, AStepTakesSubStepsUpdates) {
  bar->SetRange(5);
  bar->SetSubSteps(5);
  bar->SetBarPosition(4);
  Click(110, 180);  // forward: already at the end
  UpdateFor(6);
  EXPECT_TRUE(Posted(AMM_SCROLL_NEXTSTEP).empty());
  EXPECT_EQ(bar->position, 4);
  const int atEnd = ThumbY();
  EXPECT_EQ(atEnd, 18 + 95);

  Click(110, 60);  // back
  UpdateFor(6);
  EXPECT_EQ(Posted(AMM_SCROLL_PREVSTEP),
            (std::vector<std::pair<int, int>>{{4, -1}, {4, -2}, {4, -3}, {4, -4}, {3, 0}}));
  EXPECT_EQ(bar->position, 3);
  EXPECT_EQ(bar->mode, CAmScrollBar::kIdle);
  EXPECT_EQ(ThumbY(), 18 + 95 * 3 / 4);
}

TEST_F(ScrollBarTest, ThumbPastHalfAStepSnapsForward) {
  struct Case {
    int dy;
    std::pair<int, int> dragged;
    int released;
  } cases[] = {
      {38, {1, 3}, 2},  // sub-position 3 of 5 moves on
      {33, {1, 2}, 1},  // 2 of 5 stays
  };
  bar->SetRange(5);
  bar->SetSubSteps(5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dy);
    bar->SetBarPosition(0);
    window->received.clear();
    DragThumb(c.dy);
    ASSERT_FALSE(Posted(AMM_SCROLLING).empty());
    EXPECT_EQ(Posted(AMM_SCROLLING).back(), c.dragged);
    EXPECT_EQ(bar->mode, CAmScrollBar::kThumbDragged);
    int x = 0, y = 0;
    bar->thumb->GetPosition(&x, &y);
    Release(x, y);
    Update();
    EXPECT_EQ(Posted(AMM_SCROLLING).back(), std::make_pair(c.released, 0));
    EXPECT_EQ(bar->position, c.released);
    EXPECT_EQ(bar->mode, CAmScrollBar::kIdle);
  }
}

TEST_F(ScrollBarTest, RangeRescalesThePosition) {
  bar->SetRange(10);
  bar->SetBarPosition(6);
  bar->SetRange(5);
  EXPECT_EQ(bar->position, 3);
  bar->SetRange(0);
  EXPECT_EQ(bar->position, 0);
  EXPECT_EQ(bar->count, 1);
  EXPECT_EQ(ThumbY(), 18);
}

TEST_F(ScrollBarTest, TrackClicksPage) {
  struct Case {
    int back, forward;
    int clickY;
    int expected;
  } cases[] = {
      {0, 0, 80, 2},                    // the defaults move nothing
      {0, 0, 160, 2},  {1, -1, 80, 1},  // a forward step below 0 takes the back step
      {1, -1, 160, 3}, {5, 9, 80, 0},   // not below 0
      {5, 9, 160, 4},                   // not past the last position
  };
  bar->SetRange(5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clickY);
    bar->SetBarPosition(2);  // the thumb spans y 115 to 125 on the screen
    bar->SetPageSteps(c.back, c.forward);
    window->received.clear();
    Click(110, c.clickY);
    Update();
    EXPECT_EQ(Posted(AMM_SCROLLING), (std::vector<std::pair<int, int>>{{c.expected, 0}}));
  }
  window->received.clear();
  Click(130, 80);  // beside the track
  Update();
  EXPECT_TRUE(Posted(AMM_SCROLLING).empty());
}

TEST_F(ScrollBarTest, NoStepOrTravelDividesByZero) {
  bar->SetRange(5);
  bar->SetSubSteps(0);
  EXPECT_EQ(bar->subSteps, 1);
  bar->SetBarPosition(2);
  EXPECT_EQ(ThumbY(), 18 + 95 * 2 / 4);

  // A thumb as long as the track stays at home whatever happens.
  const int longSkin = RegisterScrollBarSkin({0, "back", "forward", "thumb", 20, 20, 20, 105, 2, 3, 0, 0, 0});
  auto* still = new CAmScrollBar(8, longSkin, 100, window);
  still->SetPosition(300, 50);
  still->SetRange(5);
  still->SetBarPosition(3);
  int x = 0, y = 0;
  still->thumb->GetParentRelativePosition(&x, &y);
  EXPECT_EQ(y, 18);
  Press(310, 70);
  Move(310, 71);
  Move(310, 120);
  Update();
  EXPECT_EQ(still->position, 0);
  EXPECT_EQ(still->subPosition, 0);
  Release(310, 120);
  Update();
  delete still;
}

TEST_F(ScrollBarTest, ASkinOutsideTheRegistryIsARangeError) {
  EXPECT_THROW(new CAmScrollBar(9, 5, 100, window), std::out_of_range);
}

}  // namespace
}  // namespace uitest
