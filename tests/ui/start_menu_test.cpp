#include <gtest/gtest.h>

#include "tests/ui/screen_fixture.h"
#include "ui/am_button.h"
#include "ui/am_wnd_manager.h"
#include "ui/start_menu.h"

namespace {

// Points inside the buttons of the start menu, hero choice and quit box.
constexpr int kNewGame[] = {48, 321};
constexpr int kQuit[] = {48, 432};
constexpr int kSecondHero[] = {170 + 166 + 10, 132 + 26 + 10};
constexpr int kHeroOk[] = {170 + 66 + 10, 132 + 193 + 10};
constexpr int kHeroCancel[] = {170 + 181 + 10, 132 + 193 + 10};
constexpr int kBoxOk[] = {226 + 41 + 5, 201 + 44 + 5};
constexpr int kBoxCancel[] = {226 + 104 + 5, 201 + 44 + 5};

class StartMenuTest : public uitest::ScreenTest {
 protected:
  StartMenuTest() {
    WriteGrid("if_m00", 640, 480, 1, 1);
    for (const char* name : {"if_mb0100", "if_mb0200", "if_mb0300", "if_mb0400"}) WriteGrid(name, 136, 30, 1, 3);
    WriteGrid("ifsr000", 300, 238, 1, 1);
    WriteGrid("ifsr001", 132, 163, 1, 3);
    WriteGrid("ifsr002", 112, 163, 1, 3);
    WriteGrid("ifsr003", 52, 29, 1, 3);
    WriteGrid("ifsr004", 52, 29, 1, 3);
    WriteGrid("ifi5100", 188, 77, 1, 1);
    WriteGrid("ifbtn00", 38, 19, 1, 3);
    WriteGrid("ifbtn01", 38, 19, 1, 3);
  }

  CStartMenuWnd* Open(int superSave) {
    OpenStartMenu(superSave);
    UpdateScreens(1);
    return dynamic_cast<CStartMenuWnd*>(GetTopWnd());
  }
  void ClickAt(const int* point) {
    Click(point[0], point[1]);
    UpdateScreens(1);
  }
  // Still open after a few updates.
  void ExpectStaysOpen() {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  }
};

TEST_F(StartMenuTest, WithoutASuperSaveANewGameStartsAtOnceWithTheFirstHero) {
  ASSERT_NE(Open(0), nullptr);
  Click(kNewGame[0], kNewGame[1]);
  EXPECT_EQ(UpdateUntilClosed(), SR_NEW_GAME);
  EXPECT_EQ(GetChosenHero(), 0);
}

TEST_F(StartMenuTest, TheHeroChoiceGivesTheSecondHeroOrNothing) {
  CStartMenuWnd* menu = Open(1);
  ASSERT_NE(menu, nullptr);
  ClickAt(kNewGame);
  ASSERT_NE(menu->heroDialog, nullptr);
  EXPECT_EQ(menu->heroDialog->firstHero->pressed, 1);
  ClickAt(kHeroCancel);
  EXPECT_EQ(menu->heroDialog, nullptr);
  ExpectStaysOpen();

  ClickAt(kNewGame);
  ASSERT_NE(menu->heroDialog, nullptr);
  ClickAt(kSecondHero);
  EXPECT_EQ(menu->heroDialog->choice, 1);
  EXPECT_EQ(menu->heroDialog->secondHero->pressed, 1);  // stays pressed after the release
  EXPECT_EQ(menu->heroDialog->firstHero->pressed, 0);
  Click(kHeroOk[0], kHeroOk[1]);
  EXPECT_EQ(UpdateUntilClosed(), SR_NEW_GAME);
  EXPECT_EQ(GetChosenHero(), 1);
}

TEST_F(StartMenuTest, QuittingAsksFirst) {
  ASSERT_NE(Open(0), nullptr);
  ClickAt(kQuit);
  ClickAt(kBoxCancel);
  ExpectStaysOpen();
  ClickAt(kQuit);
  Click(kBoxOk[0], kBoxOk[1]);
  EXPECT_EQ(UpdateUntilClosed(), SR_QUIT);
}

TEST_F(StartMenuTest, ASlotChosenInTheSaveListLoadsIt) {
  CStartMenuWnd* menu = Open(0);
  ASSERT_NE(menu, nullptr);
  menu->loadButton->PostMessage(AMM_USER + CStartMenuWnd::kLoadSlot, 7, 0, menu->loadButton);
  EXPECT_EQ(UpdateUntilClosed(), SR_LOAD);
  EXPECT_EQ(GetSelectedSlot(), 7);
}

}  // namespace
