// The first hero's turn played with the mouse as the window system delivers
// it: motion with its relative part, presses and releases, through the
// platform's translation, the engine's window procedure and the overlay.
#include "engine/core/window_proc.h"
#include "platform/window_simulate.h"
#include "tests/battle/hero_turn_fixture.h"
#include "ui/overlay_input.h"

namespace battletest {
namespace {

constexpr int kLeft = 1;
constexpr int kRight = 3;
constexpr int kBelow = 40;           // the pointer's distance under the centre
constexpr float kMiddleHeight = 18;  // of the wolf's body, above its feet

class HeroMouseTest : public HeroTurnTest {
 protected:
  void SetUp() override {
    HeroTurnTest::SetUp();
    // What the game installs when the battle takes the screen.
    InstallOverlayInput(&g_menuAgency);
  }
  void TearDown() override {
    InstallOverlayInput(nullptr);
    HeroTurnTest::TearDown();
  }

  // The view pitched down by a mouse pushed `below` pixels under the centre,
  // and enemy 0 standing where the view's centre meets the ground: it glows,
  // and the pointer stays where the hand left it.
  void AimWithPointerBelow(int below) {
    Begin(1, 1);
    Move(320, 240 + below, 0, below);
    Step(10);
    const VECTOR3 eye = NodePosition(Camera()->cameraNode);
    const VECTOR3 view = NodeForward(Camera()->cameraNode);
    ASSERT_LT(view.z, 0) << "the view looks down";
    const float t = (kMiddleHeight - eye.z) / view.z;
    const VECTOR3 at{eye.x + view.x * t, eye.y + view.y * t, 0};
    const VECTOR3 facingHero{-view.x, -view.y, 0};
    SetNodeDirection(sys_->enemies[0]->body->Node(), &at, &facingHero, nullptr);
    sys_->enemies[0]->Update(0);
    Step();
    ASSERT_TRUE(IsHighlighted(0));
    ASSERT_EQ(g_engineMouse.y, 240 + below) << "the mouse box leaves the pointer where it is";
  }

  void Move(int x, int y, int dx, int dy) {
    plat::SimulateMouseMotion(GetMainWindow(), x, y, false, dx, dy);
    PumpMessages();
  }
  void Press(int button, int x, int y, int clicks = 1) {
    plat::SimulateMouseButton(GetMainWindow(), button, true, clicks, x, y);
    plat::SimulateMouseButton(GetMainWindow(), button, false, clicks, x, y);
    PumpMessages();
  }
  bool IsHighlighted(int i) { return sys_->enemies[i]->body->fadeMode == 3; }
  // The centre of a shown circle, on the screen.
  static void CircleCentre(const qmz::CSpriteWnd& circle, int* x, int* y) {
    circle.GetAbsolutePosition(x, y);
    *x += circle.Width() / 2;
    *y += circle.Height() / 2;
  }
};

TEST_F(HeroMouseTest, AClickBelowTheCentreThrowsAtTheGlowingEnemyAndACircleClickStrikes) {
  AimWithPointerBelow(kBelow);
  Press(kLeft, 320, 240 + kBelow);
  EXPECT_EQ(sys_->phaseCode, 801) << "the targeted attack starts where the pointer happens to be";
  ASSERT_GT(StepUntil(802), 0);

  int shown = -1;
  for (int i = 0; i < CUIManager::kCircles && shown < 0; ++i)
    if (Shown(sys_->hud.Circle(i))) shown = i;
  ASSERT_GE(shown, 0) << "the circles show";
  int x = 0, y = 0;
  CircleCentre(sys_->hud.Circle(shown), &x, &y);
  Move(x, y, x - 320, y - 240);
  Press(kLeft, x, y);
  EXPECT_EQ(sys_->phaseCode, 803);
  if (shown < 6) {
    EXPECT_EQ(Hero()->hitDirection, shown);
  }

  const int hp = EnemyHp(0);
  ASSERT_GT(StepUntil(201, 900), 0);
  EXPECT_LT(EnemyHp(0), hp) << "the knife lands";
}

TEST_F(HeroMouseTest, TheRightButtonOpensAndClosesTheCommandMenuWhereverThePointerIs) {
  AimWithPointerBelow(kBelow);
  Press(kRight, 320, 240 + kBelow);
  EXPECT_EQ(sys_->phaseCode, 121);
  Press(kRight, 320, 240);
  EXPECT_EQ(sys_->phaseCode, 201);
}

TEST_F(HeroMouseTest, TheSecondPressOfADoubleClickStillThrows) {
  AimWithPointerBelow(kBelow);
  Press(kLeft, 320, 240 + kBelow, 2);
  EXPECT_EQ(sys_->phaseCode, 801);
}

// A blow staggers the hero (a running timer): clicks and the right button
// are refused until the stagger ends, though the enemy still glows.
TEST_F(HeroMouseTest, WhileAStaggerRunsClicksAreRefusedAndAfterItTheyThrow) {
  AimWithPointerBelow(kBelow);
  BATTLEMSG blow;
  blow.type = 1;
  blow.Set(1, 5);
  blow.Set(2, 2);  // from behind: never blocked
  ASSERT_EQ(Hero()->ReceiveMessage(&blow), 1);
  ASSERT_FALSE(Hero()->timers.empty());
  Step();
  EXPECT_TRUE(IsHighlighted(0));
  Press(kLeft, 320, 240 + kBelow);
  Press(kRight, 320, 240 + kBelow);
  EXPECT_EQ(sys_->phaseCode, 201);

  for (int i = 0; i < 300 && !Hero()->timers.empty(); ++i) Step();
  ASSERT_TRUE(Hero()->timers.empty());
  Step();
  ASSERT_TRUE(IsHighlighted(0));
  Press(kLeft, 320, 240 + kBelow);
  EXPECT_EQ(sys_->phaseCode, 801);
}

}  // namespace
}  // namespace battletest
