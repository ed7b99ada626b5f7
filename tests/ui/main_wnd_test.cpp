#include <gtest/gtest.h>

#include "tests/ui/menu_fixture.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_list_view.h"
#include "ui/am_text.h"
#include "ui/event_notes.h"
#include "ui/main_wnd.h"
#include "ui/menu_windows.h"
#include "ui/role_page.h"
#include "ui/system_page.h"
#include "ui/tw_item.h"

namespace {

// Points on the panel's buttons (the panel lies at y 357).
constexpr int kTabX = 510 + 10;
constexpr int kTabY[] = {357 + 11 + 5, 357 + 33 + 5, 357 + 55 + 5, 357 + 77 + 5};
// The first cell of the character page's grid.
constexpr int kFirstCell[] = {28 + 24, 52 + 24};

class MainWndTest : public uitest::MenuTest {
 protected:
  CVekMainWnd* Open(int mode) {
    OpenMainWindow(mode);
    UpdateScreens(1);
    return dynamic_cast<CVekMainWnd*>(GetTopWnd());
  }
  // Picks up the potion icon of the first cell.
  void PickUp(CVekMainWnd* window) {
    ClickAndUpdate(kFirstCell[0], kFirstCell[1]);
    ASSERT_NE(window->rolePage->GetCarriedItem(), nullptr);
  }
};

TEST_F(MainWndTest, TheModesChooseThePagesAndTheFirstOfThem) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  for (CAmButton* tab : window->tabs) EXPECT_NE(tab, nullptr);
  EXPECT_EQ(window->currentPage, CVekMainWnd::kRolePage);
  EXPECT_TRUE(window->rolePage->built);
  EXPECT_EQ(window->tabs[0]->locked, 1);
  EXPECT_EQ(Manager().menuResult.action, 0);
  EXPECT_EQ(Manager().menuResult.slot, -1);

  // The system tab swaps the pages and their locks.
  ClickAndUpdate(kTabX, kTabY[2]);
  EXPECT_EQ(window->currentPage, CVekMainWnd::kSystemPage);
  EXPECT_EQ(window->tabs[0]->locked, 0);
  EXPECT_EQ(window->tabs[2]->locked, 1);
  EXPECT_EQ(window->rolePage->parent, nullptr) << "a closed page hangs nowhere";
  EXPECT_EQ(window->systemPage->parent, window);
}

TEST_F(MainWndTest, TheStartMenusSettingsAreTheSystemPageAlone) {
  WriteGrid("if_m00", 640, 480, 1, 1);
  for (const char* name : {"if_mb0100", "if_mb0200", "if_mb0300", "if_mb0400"}) WriteGrid(name, 136, 30, 1, 3);
  OpenStartMenu(0);
  UpdateScreens(1);
  CAmWnd* menu = GetTopWnd();
  ClickAndUpdate(48, 385 + 10);
  UpdateScreens(1);
  auto* settings = dynamic_cast<CVekMainWnd*>(GetTopWnd());
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(settings->parent, menu);
  EXPECT_EQ(settings->tabs[0], nullptr);
  EXPECT_EQ(settings->tabs[1], nullptr);
  EXPECT_NE(settings->tabs[2], nullptr);
  EXPECT_EQ(settings->rolePage, nullptr);
  EXPECT_EQ(settings->notePage, nullptr);
  EXPECT_EQ(settings->currentPage, CVekMainWnd::kSystemPage);
  EXPECT_EQ(settings->systemPage->quitButton, nullptr);
  EXPECT_EQ(settings->systemPage->saveLoadButton, nullptr);
  // Closing it goes back to the start menu, which stays open.
  KeyDown(plat::VK_ESCAPE);
  EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  EXPECT_EQ(GetTopWnd(), menu);
  EXPECT_EQ(UpdateScreens(1), SR_OPEN);
}

TEST_F(MainWndTest, EscapeClosesExceptWhileAnItemIsCarried) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  PickUp(window);
  KeyDown(plat::VK_ESCAPE);
  KeyUp(plat::VK_ESCAPE);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  // Dropped back in its cell, the icon no longer holds the window.
  ClickAndUpdate(kFirstCell[0], kFirstCell[1]);
  EXPECT_EQ(window->rolePage->GetCarriedItem(), nullptr);
  KeyDown(plat::VK_ESCAPE);
  EXPECT_EQ(UpdateUntilClosed(), SR_RESUME);
  EXPECT_EQ(Manager().menuResult.chosenItem, nullptr);
}

TEST_F(MainWndTest, AnItemHeldAtTheLeftEdgeFliesOutToBeUsed) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  PickUp(window);
  // Moving away before the count is full starts it again.
  Move(0, 200);
  for (int i = 0; i < 20; ++i) UpdateScreens(1);
  Move(5, 200);
  EXPECT_EQ(window->useCountdown, 0);
  Move(0, 200);
  for (int i = 0; i < 27; ++i) EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  EXPECT_EQ(Manager().menuResult.chosenItem, nullptr);
  EXPECT_EQ(UpdateScreens(1), SR_OPEN);  // the 28th tick: the icon leaves the window
  CTWItem* icon = Manager().menuResult.chosenItem;
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->parent, nullptr);
  EXPECT_EQ(icon->depth, 999);
  EXPECT_EQ(window->rolePage->GetCarriedItem(), nullptr);
  EXPECT_EQ(icon->dragging, 0);
  EXPECT_EQ(g_amDragLock, 0) << "the next menu can drag again";
  EXPECT_FALSE(Shown(window->panel->sprite)) << "the window hides while the icon flies";
  for (int i = 0; i < 9; ++i) EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  int x = 0, y = 0;
  icon->GetPosition(&x, &y);
  EXPECT_EQ(x, CVekMainWnd::kFlyOutX);
  EXPECT_EQ(y, CVekMainWnd::kFlyOutY);
  EXPECT_EQ(UpdateScreens(1), SR_USE_ITEM);
  ASSERT_NE(GetSelectedItem(), nullptr);
  EXPECT_EQ(GetSelectedItem()->name, "Potion");
  EXPECT_EQ(icon->count, 1);
  EXPECT_EQ(pool.GetItemCount(8, 1), 3) << "the game uses it, not the menu";
}

TEST_F(MainWndTest, TheCloseButtonTakesACarriedItemOut) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  PickUp(window);
  ClickAndUpdate(kTabX, kTabY[3]);
  ASSERT_NE(Manager().menuResult.chosenItem, nullptr);
  EXPECT_EQ(UpdateUntilClosed(), SR_USE_ITEM);
}

TEST_F(MainWndTest, AnOwnedWindowHidesTheMainWindowUntilItCloses) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Shown(window->panel->sprite));
  auto* owned = new uitest::RecordingWnd(100, 100, window);
  UpdateScreens(1);
  EXPECT_FALSE(Shown(window->panel->sprite));
  EXPECT_FALSE(Shown(window->rolePage->sprite));
  owned->Close();
  UpdateScreens(1);
  EXPECT_TRUE(Shown(window->panel->sprite));
  EXPECT_TRUE(Shown(window->rolePage->sprite));
  EXPECT_EQ(GetTopWnd(), window);
}

TEST_F(MainWndTest, HoveringShowsHelpAndLeavingBlanksIt) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  struct Case {
    int x, y;
    const char* title;
    const char* title2;
    const char* body;
  };
  const Case cases[] = {
      {kTabX, kTabY[1], "m54", "", "m55"},
      {kTabX, kTabY[3], "m58", "", "m59"},
      {288 + 20, 297 + 20, "m62", "", "m63"},  // the weapon slot
      {292 + 70, 66 + 100, "m68", "", "m69"},  // the use area
      {kFirstCell[0], kFirstCell[1], "Potion", "3", "Potion text"},
  };
  for (const Case& c : cases) {
    Move(c.x, c.y);
    UpdateScreens(1);
    EXPECT_EQ(window->helpTitle->text, c.title) << c.title;
    EXPECT_EQ(window->helpTitle2->text, c.title2) << c.title;
    EXPECT_EQ(window->helpBody->text, c.body) << c.title;
    Move(5, 5);
    UpdateScreens(1);
    UpdateScreens(1);
    EXPECT_EQ(window->helpTitle->text, "") << c.title;
  }
  // The current page's tab is locked and shows nothing; the others do.
  ClickAndUpdate(kTabX, kTabY[2]);
  Move(kTabX, kTabY[0]);
  UpdateScreens(1);
  EXPECT_EQ(window->helpTitle->text, "m52");
  EXPECT_EQ(window->helpBody->text, "m53");
  // The system page's buttons report their help kinds.
  window->systemPage->quitButton->PostMessage(AMM_MOUSEHOVER, 0, 0, window->systemPage->quitButton);
  UpdateScreens(1);
  UpdateScreens(1);
  EXPECT_EQ(window->helpTitle->text, "m60");
  EXPECT_EQ(window->helpBody->text, "m61");
}

// Moving straight from one control onto the next shows the next one's help,
// whichever the window hears first: the old control's leave or the new one's
// hover. A player's pointer does this all the time.
TEST_F(MainWndTest, MovingStraightFromControlToControlShowsTheNewHelp) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  constexpr int kEmptyCell[] = {28 + 2 * 49 + 24, kFirstCell[1]};
  constexpr int kVestCell[] = {28 + 49 + 24, kFirstCell[1]};
  struct Step {
    int x, y;
    const char* title;
  };
  const Step path[] = {
      {kEmptyCell[0], kEmptyCell[1], ""},
      {kFirstCell[0], kFirstCell[1], "Potion"},  // from an empty cell
      {kVestCell[0], kVestCell[1], "Vest"},      // from the next icon
      {288 + 20, 297 + 20, "m62"},               // the weapon slot
      {kFirstCell[0], kFirstCell[1], "Potion"},
      {292 + 70, 66 + 100, "m68"},  // the use area
      {kFirstCell[0], kFirstCell[1], "Potion"},
      {kTabX, kTabY[1], "m54"},
      {kTabX, kTabY[2], "m56"},
      {kFirstCell[0], kFirstCell[1], "Potion"},
      {5, 5, ""},
  };
  for (const Step& step : path) {
    Move(step.x, step.y);
    UpdateScreens(1);
    UpdateScreens(1);
    EXPECT_EQ(window->helpTitle->text, step.title) << step.x << ", " << step.y;
  }
}

TEST_F(MainWndTest, DraggingLocksTheOtherTabs) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  PickUp(window);
  EXPECT_EQ(window->tabs[1]->locked, 1);
  EXPECT_EQ(window->tabs[2]->locked, 1);
  EXPECT_EQ(window->closeButton->locked, 0) << "items may leave the window";
  ClickAndUpdate(kFirstCell[0], kFirstCell[1]);
  EXPECT_EQ(window->tabs[1]->locked, 0);
  EXPECT_EQ(window->tabs[2]->locked, 0);
  EXPECT_EQ(window->tabs[0]->locked, 1) << "the current page's tab stays locked";
}

TEST_F(MainWndTest, TheBattleItemMenuKeepsItsItemsWhileOneIsCarried) {
  CVekMainWnd* window = Open(4);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->tabs[1], nullptr);
  EXPECT_EQ(window->tabs[2], nullptr);
  PickUp(window);
  EXPECT_EQ(window->closeButton->locked, 1);
  Move(0, 200);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  EXPECT_EQ(Manager().menuResult.chosenItem, nullptr) << "no item leaves a battle's menu";
}

TEST_F(MainWndTest, QuittingFromTheSystemPageGoesBackToTheTitle) {
  CVekMainWnd* window = Open(1);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->currentPage, CVekMainWnd::kNotePage);
  ClickAndUpdate(kTabX, kTabY[2]);
  ASSERT_NE(window->systemPage->quitButton, nullptr);
  ClickAndUpdate(509 + 10, 311 + 5);
  // The box is centred on the page: OK at (226 + 41, 140 + 44).
  const int boxLeft = (640 - 188) / 2, boxTop = (357 - 77) / 2;
  ClickAndUpdate(boxLeft + 104 + 5, boxTop + 44 + 5);  // cancel
  for (int i = 0; i < 3; ++i) EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  ClickAndUpdate(509 + 10, 311 + 5);
  Click(boxLeft + 41 + 5, boxTop + 44 + 5);
  EXPECT_EQ(UpdateUntilClosed(), SR_TITLE);
}

TEST_F(MainWndTest, AChosenSlotLoadsIt) {
  CVekMainWnd* window = Open(0);
  ASSERT_NE(window, nullptr);
  window->panel->PostMessage(AMM_USER + CVekMainWnd::kLoadSlot, 4, 0, window->panel);
  EXPECT_EQ(UpdateUntilClosed(), SR_LOAD);
  EXPECT_EQ(GetSelectedSlot(), 4);
}

}  // namespace
