// The kernel: which top-level window a mouse event reaches, the pending
// release, stacking numbers, UI sounds and the font registry.
#include "tests/qmz_ui/qmz_fixture.h"

namespace qmztest {
namespace {

using qmz::CSpriteWnd;
using qmz::g_spKernel;

constexpr int kShown = CSpriteWnd::kStyleVisible;

TEST_F(QmzTest, TheEventGoesToTheVisibleWindowWithTheLargestZ) {
  RecordingWnd first, second;
  ASSERT_EQ(first.Create("", 0, 0, 100, 100, kShown, nullptr), 1);
  ASSERT_EQ(second.Create("", 50, 50, 100, 100, kShown, nullptr), 1);
  ASSERT_GT(second.Z(), first.Z());

  struct Case {
    const char* what;
    int x, y;
    bool hideSecond, equalZ;
    RecordingWnd* expected;
  };
  const Case cases[] = {
      {"overlap: the larger z", 60, 60, false, false, &second},
      {"only the first under the point", 10, 10, false, false, &first},
      {"the last column and row still hit", 149, 149, false, false, &second},
      {"past the rectangle: nobody", 150, 150, false, false, nullptr},
      {"a hidden window is skipped", 60, 60, true, false, &first},
      {"equal z: the earlier registered", 60, 60, false, true, &first},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    second.Show(c.hideSecond ? 0 : 1);
    int secondZ = second.Z();
    if (c.equalZ) second.SetZ(first.Z());
    first.messages.clear();
    second.messages.clear();
    qmz::SendSpLButtonDown(c.x, c.y);
    qmz::SendSpLButtonUp(c.x, c.y);
    EXPECT_EQ(first.Count(qmz::SPM_LBUTTONDOWN), c.expected == &first ? 1 : 0);
    EXPECT_EQ(second.Count(qmz::SPM_LBUTTONDOWN), c.expected == &second ? 1 : 0);
    second.SetZ(secondZ);
  }
}

TEST_F(QmzTest, MouseCoordinatesArriveRelativeToTheWindow) {
  RecordingWnd window;
  ASSERT_EQ(window.Create("", 40, 30, 100, 100, kShown, nullptr), 1);
  qmz::SendSpMouseMove(45, 37);
  ASSERT_FALSE(window.messages.empty());
  EXPECT_EQ(window.messages[0], (std::array<int, 3>{qmz::SPM_MOUSEMOVE, 5, 7}));
  EXPECT_EQ(g_spKernel.HoverWindow(), &window);
  EXPECT_EQ(window.State() & CSpriteWnd::kHovered, CSpriteWnd::kHovered);
}

TEST_F(QmzTest, APressThatLeavesItsWindowClicksOnlyWhenItComesBack) {
  struct Case {
    const char* what;
    bool comeBack;
    int clicks;
  };
  for (const Case& c : {Case{"released elsewhere: no click", false, 0}, Case{"back before the release", true, 1}}) {
    SCOPED_TRACE(c.what);
    RecordingWnd button, other;
    ASSERT_EQ(button.Create("", 0, 0, 50, 50, kShown, nullptr), 1);
    ASSERT_EQ(other.Create("", 100, 0, 50, 50, kShown, nullptr), 1);
    qmz::SendSpMouseMove(10, 10);
    qmz::SendSpLButtonDown(10, 10);
    qmz::SendSpMouseMove(120, 10);
    EXPECT_EQ(button.Count(qmz::SPN_LEAVE), 1);
    EXPECT_EQ(button.State() & CSpriteWnd::kPressed, CSpriteWnd::kPressed) << "still pressed while away";
    EXPECT_EQ(g_spKernel.GetPendingNotifyWindow(), &button);
    if (c.comeBack) {
      qmz::SendSpMouseMove(10, 10);
      EXPECT_EQ(g_spKernel.GetPendingNotifyWindow(), nullptr) << "re-entering cancels the pending release";
      qmz::SendSpLButtonUp(10, 10);
    } else {
      qmz::SendSpLButtonUp(120, 10);
      EXPECT_EQ(button.Count(qmz::SPN_PENDING), 1);
      EXPECT_EQ(g_spKernel.GetPendingNotifyWindow(), nullptr);
    }
    EXPECT_EQ(button.clicks, c.clicks);
    EXPECT_EQ(other.clicks, 0);
    EXPECT_EQ(button.State() & CSpriteWnd::kPressed, 0);
  }
}

TEST_F(QmzTest, ADestroyedWindowIsNeitherHoverNorPendingAnyMore) {
  auto* hovered = new RecordingWnd;
  ASSERT_EQ(hovered->Create("", 0, 0, 50, 50, kShown, nullptr), 1);
  qmz::SendSpMouseMove(10, 10);
  ASSERT_EQ(g_spKernel.HoverWindow(), hovered);
  delete hovered;
  EXPECT_EQ(g_spKernel.HoverWindow(), nullptr);

  auto* pressed = new RecordingWnd;
  ASSERT_EQ(pressed->Create("", 0, 0, 50, 50, kShown, nullptr), 1);
  qmz::SendSpMouseMove(10, 10);
  qmz::SendSpLButtonDown(10, 10);
  qmz::SendSpMouseMove(200, 200);
  ASSERT_EQ(g_spKernel.GetPendingNotifyWindow(), pressed);
  delete pressed;
  EXPECT_EQ(g_spKernel.GetPendingNotifyWindow(), nullptr);
  qmz::SendSpLButtonUp(20, 20);  // reaches no freed window
}

TEST_F(QmzTest, TopmostWindowsTake112AndPushTheEarlierOneDown) {
  CSpriteWnd normal, firstTop, secondTop;
  ASSERT_EQ(normal.Create("", 0, 0, 10, 10, kShown, nullptr), 1);
  ASSERT_EQ(firstTop.Create("", 0, 0, 10, 10, kShown | CSpriteWnd::kStyleTopmost, nullptr), 1);
  EXPECT_EQ(normal.Z(), baseZ_ + 1);
  EXPECT_EQ(firstTop.Z(), qmz::CSpKernel::kTopmostZ);
  EXPECT_EQ(LookupSprite(firstTop.MainSurface())->layer, 0x70000000);
  ASSERT_EQ(secondTop.Create("", 0, 0, 10, 10, kShown | CSpriteWnd::kStyleTopmost, nullptr), 1);
  EXPECT_EQ(secondTop.Z(), 112);
  EXPECT_EQ(firstTop.Z(), baseZ_ + 2) << "the top of the normal windows";
  EXPECT_EQ(g_spKernel.ZCounter(), baseZ_ + 2);
  int recorded = 0;
  ASSERT_EQ(g_spKernel.GetTopWindowZ(&firstTop, &recorded), 1);
  EXPECT_EQ(recorded, baseZ_ + 2);
  EXPECT_EQ(g_spKernel.RegisterTopWindow(&firstTop), 0) << "already registered";

  // Taking the topmost one away leaves the counted windows as they are.
  secondTop.Destroy();
  EXPECT_EQ(normal.Z(), baseZ_ + 1);
  EXPECT_EQ(firstTop.Z(), baseZ_ + 2);
  EXPECT_EQ(g_spKernel.ZCounter(), baseZ_ + 2);
}

TEST_F(QmzTest, UnregisteringClosesTheGap) {
  CSpriteWnd a, b, c;
  for (CSpriteWnd* w : {&a, &b, &c}) ASSERT_EQ(w->Create("", 0, 0, 10, 10, kShown, nullptr), 1);
  EXPECT_EQ(std::vector<int>({a.Z(), b.Z(), c.Z()}), std::vector<int>({baseZ_ + 1, baseZ_ + 2, baseZ_ + 3}));
  EXPECT_EQ(g_spKernel.UnregisterTopWindow(&a), 1);
  EXPECT_EQ(g_spKernel.UnregisterTopWindow(&a), 0);
  EXPECT_EQ(std::vector<int>({b.Z(), c.Z()}), std::vector<int>({baseZ_ + 1, baseZ_ + 2}));
  EXPECT_EQ(g_spKernel.ZCounter(), baseZ_ + 2);
  EXPECT_EQ(Layer(c.MainSurface()), (baseZ_ + 2) << 24) << "the sprites follow";
  // SetTopZ moves one window and shifts the others between.
  g_spKernel.SetTopZ(&c, baseZ_ + 1);
  EXPECT_EQ(std::vector<int>({b.Z(), c.Z()}), std::vector<int>({baseZ_ + 2, baseZ_ + 1}));
}

TEST_F(QmzTest, UpdateSpWindowsTicksEveryWindowAndItsChildren) {
  static std::vector<CSpriteWnd*> ticked;
  ticked.clear();
  auto record = [](int, CSpriteWnd* w) {
    ticked.push_back(w);
    return 1;
  };
  CSpriteWnd first, second, child;
  ASSERT_EQ(first.Create("", 0, 0, 50, 50, kShown, nullptr), 1);
  ASSERT_EQ(second.Create("", 0, 0, 50, 50, kShown, nullptr), 1);
  ASSERT_EQ(child.Create("", 0, 0, 10, 10, kShown, &first), 1);
  for (CSpriteWnd* w : {&first, &second, &child}) {
    ASSERT_EQ(w->AddTimeline({7, 0, record}), 1);
    ASSERT_EQ(w->PlayTimeline(7), 1);
  }
  qmz::UpdateSpWindows(2);
  EXPECT_EQ(ticked, std::vector<CSpriteWnd*>({&first, &child, &second}));
}

TEST_F(QmzTest, OneUiSoundAtATime) {
  WriteLevelWave("hover.wav", 8000);
  WriteLevelWave("press.wav", 4000);
  qmz::RegisterSpSound("hover", 1);
  qmz::RegisterSpSound("press", 2);
  qmz::RegisterSpSound("missing", 3);
  ASSERT_EQ(qmz::PlaySpSound(1, 0), 1);
  EXPECT_NEAR(PullLeft(), Level(8000), 1e-4);
  EXPECT_EQ(qmz::PlaySpSound(9, 0), 0) << "no entry";
  EXPECT_NEAR(PullLeft(), Level(8000), 1e-4) << "and nothing stopped";
  EXPECT_EQ(qmz::PlaySpSound(2, 0), 1);
  EXPECT_NEAR(PullLeft(), Level(4000), 1e-4) << "the first one stopped";
  EXPECT_EQ(qmz::PlaySpSound(3, 0), 1) << "a sound that did not load still has its entry";
  EXPECT_NEAR(PullLeft(), 0.0f, 1e-6);
}

TEST_F(QmzTest, EnteringAndPressingPlayTheWindowsEventSounds) {
  WriteLevelWave("hover.wav", 8000);
  qmz::RegisterSpSound("hover", 5);
  CSpriteWnd window;
  ASSERT_EQ(window.Create("", 0, 0, 50, 50, kShown, nullptr), 1);
  window.SetEventSound(CSpriteWnd::kSoundEnter, 5);
  WriteLevelWave("press.wav", 4000);
  qmz::RegisterSpSound("press", 6);
  window.SetEventSound(CSpriteWnd::kSoundPress, 6);
  qmz::SendSpMouseMove(10, 10);
  EXPECT_NEAR(PullLeft(), Level(8000), 1e-4);
  qmz::SendSpLButtonDown(10, 10);
  EXPECT_NEAR(PullLeft(), Level(4000), 1e-4);
}

TEST_F(QmzTest, FontsAreKeptByNameAndSize) {
  size_t before = g_spKernel.Fonts().Count();
  qmz::FONTDESC* first = g_spKernel.FindOrAddFont("Kernel Test Face", 16, 16);
  EXPECT_EQ(g_spKernel.FindOrAddFont("Kernel Test Face", 16, 16), first);
  qmz::FONTDESC* bigger = g_spKernel.FindOrAddFont("Kernel Test Face", 20, 20);
  EXPECT_NE(bigger, first);
  EXPECT_EQ(g_spKernel.Fonts().Count(), before + 2);
  EXPECT_EQ(bigger->name, "Kernel Test Face");
}

}  // namespace
}  // namespace qmztest
