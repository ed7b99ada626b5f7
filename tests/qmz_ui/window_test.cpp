// Sprite windows: children, routing inside a window, layers, timelines,
// positions and images.
#include <algorithm>

#include "tests/qmz_ui/qmz_fixture.h"
#include "ui/qmz/sprite_text.h"

namespace qmztest {
namespace {

using qmz::CSpriteWnd;

constexpr int kShown = CSpriteWnd::kStyleVisible;

TEST_F(QmzTest, AChildThatDoesNotFitIsRefusedAndJoinsNothing) {
  CSpriteWnd parent;
  ASSERT_EQ(parent.Create("", 10, 10, 100, 80, kShown, nullptr), 1);
  struct Case {
    int x, y, width, height, accepted;
  };
  const Case cases[] = {
      {0, 0, 100, 80, 1}, {60, 0, 41, 10, 0}, {0, 70, 10, 11, 0},
      {-1, 0, 10, 10, 0}, {0, 0, -5, 10, 0},  {90, 70, 10, 10, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
    CSpriteWnd child;
    size_t before = parent.Children().Count();
    int counter = parent.ChildCounter();
    EXPECT_EQ(child.Create("", c.x, c.y, c.width, c.height, kShown, &parent), c.accepted);
    EXPECT_EQ(parent.Children().Count(), before + c.accepted);
    EXPECT_EQ(child.Parent(), c.accepted ? &parent : nullptr);
    EXPECT_EQ(parent.ChildCounter(), counter + c.accepted);
    int z = 0;
    EXPECT_EQ(qmz::g_spKernel.GetTopWindowZ(&child, &z), 0) << "a refused child is not a top-level window either";
  }
  EXPECT_EQ(parent.Children().Count(), 0u) << "each child left its parent when destroyed";
}

TEST_F(QmzTest, EventsReachTheDeepestVisibleChildUnderThePointer) {
  RecordingWnd parent, child, grandchild;
  ASSERT_EQ(parent.Create("", 100, 100, 200, 200, kShown, nullptr), 1);
  ASSERT_EQ(child.Create("", 20, 20, 100, 100, kShown, &parent), 1);
  ASSERT_EQ(grandchild.Create("", 10, 10, 20, 20, kShown, &child), 1);

  qmz::SendSpLButtonDown(135, 135);
  EXPECT_EQ(grandchild.messages.back(), (std::array<int, 3>{qmz::SPM_LBUTTONDOWN, 5, 5}));
  EXPECT_EQ(parent.HoveredChild(), &child);
  EXPECT_EQ(child.HoveredChild(), &grandchild);
  EXPECT_EQ(child.Count(qmz::SPM_LBUTTONDOWN), 0);

  grandchild.Show(0);
  qmz::SendSpLButtonDown(135, 135);
  EXPECT_EQ(grandchild.Count(qmz::SPM_LBUTTONDOWN), 1) << "a hidden child is never hit";
  EXPECT_EQ(child.Count(qmz::SPM_LBUTTONDOWN), 1) << "its parent gets the event";
  EXPECT_EQ(child.HoveredChild(), nullptr);
}

TEST_F(QmzTest, RouteNotifySearchesTheTreeForItsTarget) {
  RecordingWnd root, child, grandchild, stranger;
  ASSERT_EQ(root.Create("", 0, 0, 100, 100, kShown, nullptr), 1);
  ASSERT_EQ(child.Create("", 0, 0, 50, 50, kShown, &root), 1);
  ASSERT_EQ(grandchild.Create("", 0, 0, 20, 20, kShown, &child), 1);
  EXPECT_EQ(root.RouteNotify(qmz::SPN_CLICK, 3, 4, 0, &grandchild), 1);
  ASSERT_EQ(grandchild.clicks, 1);
  EXPECT_EQ(grandchild.messages.back(), (std::array<int, 3>{qmz::SPN_CLICK, 3, 4}));
  EXPECT_EQ(root.RouteNotify(qmz::SPN_CLICK, 0, 0, 0, &stranger), 0);
  EXPECT_EQ(stranger.clicks + root.clicks + child.clicks, 0);
}

TEST_F(QmzTest, LeavingAChildSendsItLeave) {
  RecordingWnd parent, left, right;
  ASSERT_EQ(parent.Create("", 0, 0, 200, 100, kShown, nullptr), 1);
  ASSERT_EQ(left.Create("", 0, 0, 50, 50, kShown, &parent), 1);
  ASSERT_EQ(right.Create("", 100, 0, 50, 50, kShown, &parent), 1);
  qmz::SendSpMouseMove(10, 10);
  EXPECT_EQ(left.State() & CSpriteWnd::kHovered, CSpriteWnd::kHovered);
  qmz::SendSpMouseMove(110, 10);
  EXPECT_EQ(left.Count(qmz::SPN_LEAVE), 1);
  EXPECT_EQ(left.State() & CSpriteWnd::kHovered, 0);
  EXPECT_EQ(right.State() & CSpriteWnd::kHovered, CSpriteWnd::kHovered);
  // Leaving the whole window leaves its hovered child too.
  qmz::SendSpMouseMove(400, 400);
  EXPECT_EQ(right.Count(qmz::SPN_LEAVE), 1);
  EXPECT_EQ(parent.Count(qmz::SPN_LEAVE), 1);
  EXPECT_EQ(parent.HoveredChild(), nullptr);
}

int g_calls = 0;
int StopOnThirdCall(int frame, CSpriteWnd*) {
  ++g_calls;
  EXPECT_EQ(frame, g_calls);
  return g_calls < 3;
}
int Never(int, CSpriteWnd*) { return 1; }

TEST_F(QmzTest, ATimelineRunsUntilItsCallbackAnswersZero) {
  g_calls = 0;
  CSpriteWnd window;
  ASSERT_EQ(window.Create("", 0, 0, 10, 10, kShown, nullptr), 1);
  EXPECT_EQ(window.StepTimeline(1), 1) << "nothing runs";
  EXPECT_EQ(window.AddTimeline({1, 30, nullptr}), 0);
  ASSERT_EQ(window.AddTimeline({1, 30, StopOnThirdCall}), 1);
  EXPECT_EQ(window.AddTimeline({1, 30, Never}), 0) << "the id is present";
  EXPECT_EQ(window.PlayTimeline(2), 0);
  ASSERT_EQ(window.PlayTimeline(1), 1) << "the first one was kept";
  std::vector<int> answers;
  for (int tick = 0; tick < 5; ++tick) {
    answers.push_back(window.StepTimeline(4));
    if (tick == 2) {
      EXPECT_EQ(window.TimelineState(), CSpriteWnd::kTimelineFinished);
    }
  }
  EXPECT_EQ(answers, std::vector<int>({0, 0, 1, 1, 1}));
  EXPECT_EQ(g_calls, 3) << "one frame per tick whatever the steps, none after the end";
  window.StopTimeline();
  EXPECT_EQ(window.TimelineState(), CSpriteWnd::kTimelineIdle);
}

TEST_F(QmzTest, LayersGiveEachLevelItsByteAndAFourthLevelIsRefused) {
  CSpriteWnd levels[4];
  ASSERT_EQ(levels[0].Create("", 0, 0, 100, 100, kShown, nullptr), 1);
  for (int i = 1; i < 4; ++i) ASSERT_EQ(levels[i].Create("", 0, 0, 100, 100, kShown, &levels[i - 1]), 1);
  int top = levels[0].Z();
  const int expected[4] = {top << 24, top << 24 | 2 << 16, top << 24 | 2 << 16 | 2 << 8,
                           top << 24 | 2 << 16 | 2 << 8 | 2};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(levels[i].Level(), i);
    EXPECT_EQ(levels[i].CompositeZ(), expected[i]);
    EXPECT_EQ(Layer(levels[i].MainSurface()), expected[i]);
  }
  CSpriteWnd tooDeep;
  EXPECT_EQ(tooDeep.Create("", 0, 0, 10, 10, kShown, &levels[3]), 0);
  EXPECT_EQ(levels[3].Children().Count(), 0u);

  // Text surfaces lie one unit of the next level above; at level 3 one above.
  const int textStep[4] = {1 << 16, 1 << 8, 1, 1};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    qmz::CSpriteText* text = levels[i].AddSpriteText(0, 0, 20, 20);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Layer(text->Sprite()), expected[i] + textStep[i]);
  }
}

TEST_F(QmzTest, BringChildToTopRenumbersTheSiblings) {
  CSpriteWnd parent, a, b, c;
  ASSERT_EQ(parent.Create("", 0, 0, 100, 100, kShown, nullptr), 1);
  for (CSpriteWnd* w : {&a, &b, &c}) ASSERT_EQ(w->Create("", 0, 0, 10, 10, kShown, &parent), 1);
  EXPECT_EQ(std::vector<int>({a.Z(), b.Z(), c.Z()}), std::vector<int>({2, 3, 4}));
  parent.BringChildToTop(&a);
  EXPECT_EQ(std::vector<int>({a.Z(), b.Z(), c.Z()}), std::vector<int>({4, 2, 3}));
  EXPECT_EQ(Layer(a.MainSurface()) & 0xFF0000, 4 << 16);
  // The notification form carries the child in a.
  parent.OnMessage(qmz::SPN_BRINGTOTOP, reinterpret_cast<qmz::SPARG>(&b), 0);
  EXPECT_EQ(std::vector<int>({a.Z(), b.Z(), c.Z()}), std::vector<int>({3, 4, 2}));

  // Removing a child closes the gap it leaves, so the next child's z is free.
  EXPECT_EQ(parent.RemoveChild(&c), 1);
  EXPECT_EQ(parent.RemoveChild(&c), 0);
  EXPECT_EQ(std::vector<int>({a.Z(), b.Z()}), std::vector<int>({2, 3}));
  CSpriteWnd d;
  ASSERT_EQ(d.Create("", 0, 0, 10, 10, kShown, &parent), 1);
  EXPECT_EQ(d.Z(), 4);
}

TEST_F(QmzTest, MovingAWindowMovesItsSurfacesTextsAndChildren) {
  CSpriteWnd parent, child;
  ASSERT_EQ(parent.Create("", 10, 20, 100, 100, kShown, nullptr), 1);
  ASSERT_EQ(child.Create("", 5, 6, 20, 20, kShown, &parent), 1);
  qmz::CSpriteText* text = child.AddSpriteText(2, 3, 10, 10);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(Position(child.MainSurface()), std::make_pair(15, 26));
  parent.Move(50, 60);
  EXPECT_EQ(Position(parent.MainSurface()), std::make_pair(50, 60));
  EXPECT_EQ(Position(child.MainSurface()), std::make_pair(55, 66));
  EXPECT_EQ(Position(text->Sprite()), std::make_pair(57, 69));
  EXPECT_EQ(child.AddSpriteText(15, 0, 10, 10), nullptr) << "a text surface must fit its window";
}

TEST_F(QmzTest, ShowAndDestroyReachTheWholeTree) {
  CSpriteWnd parent, child;
  ASSERT_EQ(parent.Create("", 0, 0, 100, 100, 0, nullptr), 1);
  ASSERT_EQ(child.Create("", 0, 0, 20, 20, 0, &parent), 1);
  qmz::CSpriteText* text = child.AddSpriteText(0, 0, 10, 10);
  EXPECT_FALSE(Visible(parent.MainSurface())) << "style bit 2 was clear";
  EXPECT_FALSE(Visible(text->Sprite()));
  parent.Show(1);
  EXPECT_TRUE(Visible(parent.MainSurface()));
  EXPECT_TRUE(Visible(child.MainSurface()));
  EXPECT_TRUE(Visible(text->Sprite()));
  EXPECT_EQ(child.State() & CSpriteWnd::kVisible, CSpriteWnd::kVisible);

  HOBJECT childSurface = child.MainSurface();
  parent.Destroy();
  EXPECT_EQ(LookupSprite(childSurface), nullptr) << "children are destroyed with it";
  EXPECT_EQ(child.Parent(), nullptr);
  EXPECT_EQ(child.TextSurfaces().Count(), 0u);
  EXPECT_EQ(child.MainSurface(), 0u);
}

TEST_F(QmzTest, SetImageRefusesANameThatDoesNotFitAndKeepsTheOldSurfaces) {
  WriteImage("panel00", 16, 8, 0x0000FF);
  CSpriteWnd window;
  ASSERT_EQ(window.Create("", 0, 0, 16, 8, kShown, nullptr), 1);
  HOBJECT blank = window.MainSurface();
  window.SetImage(std::string(30, 'x').c_str());
  EXPECT_EQ(window.MainSurface(), blank) << "30 characters and \"00\" do not fit 32 bytes";
  EXPECT_NE(LookupSprite(blank), nullptr);
  auto sprites = [] { return std::count_if(g_spriteTable.begin(), g_spriteTable.end(), [](auto* s) { return s; }); };
  long before = sprites();
  window.SetImage("panel");
  ASSERT_NE(window.MainSurface(), 0u);
  EXPECT_EQ(sprites(), before) << "the old surface made way for the new one";
  EXPECT_EQ(CountPixels(window.MainSurface(), MapRGB(255, 0, 0)), 16 * 8);
  EXPECT_EQ(Layer(window.MainSurface()), window.CompositeZ());
}

TEST_F(QmzTest, ABlankSurfaceIsKeyedWithTheWindowsColourKey) {
  CSpriteWnd window;
  ASSERT_EQ(window.Create("", 0, 0, 8, 8, kShown, nullptr), 1);
  EXPECT_EQ(LookupSprite(window.MainSurface())->colorKeyOn, 1);
  window.SetColorKey(0x00FF00, 1);
  EXPECT_EQ(window.ColorKey(), 0x00FF00);
  EXPECT_EQ(LookupSprite(window.MainSurface())->image->frames[0]->colorKey, MapRGB(0, 255, 0));
}

}  // namespace
}  // namespace qmztest
