#include <vector>

#include "database/game_database.h"
#include "engine/core/world.h"
#include "tests/ui/screen_fixture.h"
#include "ui/am_mouse.h"
#include "ui/am_scroll_bar.h"
#include "ui/item_boxes.h"
#include "ui/tw_item.h"

namespace uitest {
namespace {

RecordingWnd* g_opened = nullptr;

CAmWnd* TestWindow() {
  g_opened = new RecordingWnd(100, 100);
  return g_opened;
}

TEST_F(ScreenTest, CreationRegistersTheSkinsAndTheCursor) {
  ASSERT_EQ(g_amScrollBarSkins.size(), 3u);
  EXPECT_EQ(g_amScrollBarSkins[1].orientation, 1);
  EXPECT_EQ(g_amScrollBarSkins[2].thumbImage, "ifsh202");
  EXPECT_EQ(g_amScrollBarSkins[2].startOverlap, 0);
  EXPECT_EQ(g_amScrollBarSkins[0].endOverlap, 3);
  auto* cursor = dynamic_cast<CAmMouse*>(GetWndCursor());
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->shapeCount, 3);
  EXPECT_EQ(cursor->shapesPerRow, 5);
  EXPECT_EQ(g_amColorKey.green, 0);
  EXPECT_EQ(g_amColorKey.blue, 255);
  EXPECT_EQ(Manager().kind, kScreenNone);
  EXPECT_EQ(Manager().startResult.action, 2);
  EXPECT_EQ(Manager().menuResult.slot, -1);
  EXPECT_EQ(g_amWndManager->Sound(2), 0u) << "without the waves the keys stay silent";
}

TEST_F(ScreenTest, NothingOpenedAnswersOne) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(UpdateScreens(1), SR_NOTHING_OPEN);
  EXPECT_EQ(IsScreenIdle(), 1);
}

TEST_F(ScreenTest, TheStartMenuOutcome) {
  struct Case {
    STARTRESULTDESC outcome;
    int result;
    int slot;
    int hero;
  } cases[] = {
      {{0, 2, -1}, SR_QUIT, -1, 0},  // closed untouched
      {{0, 0, -1}, SR_NEW_GAME, -1, 0},
      {{1, 1, 4}, SR_LOAD, 4, 1},
      {{0, 9, -1}, SR_RESUME, -1, 0},  // an unlisted action
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    Manager().startResult = {};
    ASSERT_NE(::OpenScreen(kScreenStartMenu, 1, TestWindow), nullptr);
    EXPECT_EQ(UpdateScreens(1), SR_OPEN);
    EXPECT_EQ(IsScreenIdle(), 0);
    Manager().startResult = c.outcome;
    g_opened->Close();
    EXPECT_EQ(UpdateScreens(1), c.result);
    EXPECT_EQ(GetSelectedSlot(), c.slot);
    EXPECT_EQ(GetChosenHero(), c.hero);
    EXPECT_EQ(Manager().kind, kScreenNone);
    EXPECT_EQ(g_gameWorld->mouseMoveHook, nullptr) << "the framework's hooks are removed";
  }
}

TEST_F(ScreenTest, TheMainWindowAndOtherKindsOutcome) {
  struct Case {
    int kind;
    int action;
    int result;
  } cases[] = {
      {kScreenMainWindow, 0, SR_RESUME}, {kScreenMainWindow, 1, SR_USE_ITEM}, {kScreenMainWindow, 2, SR_TITLE},
      {kScreenMainWindow, 3, SR_LOAD},   {kScreenMainWindow, 7, SR_RESUME},   {kScreenTrade, 0, SR_RESUME},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    ::OpenScreen(c.kind, 1, TestWindow);
    UpdateScreens(1);
    Manager().menuResult.action = c.action;
    Manager().menuResult.slot = 2;
    g_opened->Close();
    EXPECT_EQ(UpdateScreens(1), c.result);
    EXPECT_EQ(GetSelectedSlot(), c.result == SR_LOAD ? 2 : -1);
  }
  // A window that could not be made: the kind's result at once.
  EXPECT_EQ(::OpenScreen(6, 0, nullptr), nullptr);
  EXPECT_EQ(UpdateScreens(1), SR_RESUME);
  EXPECT_EQ(UpdateScreens(1), SR_NOTHING_OPEN);
}

TEST_F(ScreenTest, MainWindowOptionsByMode) {
  auto* hero = reinterpret_cast<IBsCreature*>(0x1234);
  SetScreenHero(hero);
  EXPECT_EQ(GetScreenHero(), hero);
  struct Case {
    int mode;
    bool hero;
    int page, menu, save, battle;
  } cases[] = {
      {0, true, 1, 1, 1, 0},  {1, false, 0, 1, 1, 0}, {2, true, 1, 1, 0, 0},
      {3, false, 0, 1, 0, 0}, {4, true, 1, 0, 0, 1},  {5, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    MAINWNDOPTIONS o = MainWindowOptions(c.mode);
    EXPECT_EQ(o.hero, c.hero ? hero : nullptr);
    EXPECT_EQ(o.showRolePage, c.page);
    for (int flag : {o.showEventNotes, o.showSystemPage, o.allowItemUse, o.allowLoad, o.allowQuit})
      EXPECT_EQ(flag, c.menu);
    EXPECT_EQ(o.allowSave, c.save);
    EXPECT_EQ(o.battleItemMode, c.battle);
  }
}

TEST_F(ScreenTest, MessageStrings) {
  EXPECT_STREQ(GetMessageString(0), "first");
  EXPECT_STREQ(GetMessageString(1), "first");
  EXPECT_STREQ(GetMessageString(-3), "first");
  EXPECT_STREQ(GetMessageString(2), "second");
  EXPECT_STREQ(GetMessageString(124), "Money");
  EXPECT_EQ(GetMessageString(125), nullptr) << "past the table";
  CGameResource empty;
  SetScreenContext(nullptr, &empty, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetMessageString(1), nullptr) << "no table";
  SetScreenContext(nullptr, &resource, nullptr, nullptr, nullptr);
  EXPECT_STREQ(GetMessageString(2), "second");
  DestroyScreenManager();
  EXPECT_EQ(GetMessageString(1), nullptr) << "no manager";
}

TEST_F(ScreenTest, TheItemInHand) {
  ITEMDESC herb;
  herb.name = "Herb";
  herb.values[kItemType] = 7;
  herb.values[kItemId] = 5;
  const std::vector<ITEMDESC> saved = g_gameDataBase.items;
  g_gameDataBase.items = {herb};

  auto* icon = new CTWItem(&g_gameDataBase.items[0], 46, 46, 2, -1);
  Manager().menuResult.chosenItem = icon;
  EXPECT_EQ(GetSelectedItem(), &g_gameDataBase.items[0]);
  MoveSelectedItem(100, 100);
  int x = 0, y = 0;
  icon->GetPosition(&x, &y);
  EXPECT_EQ(x, 77);
  EXPECT_EQ(y, 77);
  ShowSelectedItem(0);
  EXPECT_EQ(icon->visible, 0);
  ShowSelectedItem(1);
  EXPECT_EQ(icon->visible, 1);

  ITEMINFODESC info;
  info.money = 5;
  ShowItemInfo(&info);
  EXPECT_EQ(Manager().menuResult.chosenItem, icon) << "a box does not end the aiming";
  ShowNewHint();
  EXPECT_EQ(Manager().menuResult.chosenItem, icon);
  ::OpenScreen(kScreenMainWindow, 1, TestWindow);
  EXPECT_EQ(Manager().menuResult.chosenItem, nullptr) << "the next menu deletes it";
  EXPECT_EQ(GetSelectedItem(), nullptr);

  Manager().menuResult.chosenItem = new CTWItem(nullptr, 46, 46, 1, 0);
  ReleaseSelectedItem();
  EXPECT_EQ(Manager().menuResult.chosenItem, nullptr);
  g_gameDataBase.items = saved;
}

TEST_F(ScreenTest, DestroyingSweepsEveryWidget) {
  ::OpenScreen(kScreenStartMenu, 1, TestWindow);
  new CAmObject(0);
  Manager().menuResult.chosenItem = new CTWItem(nullptr, 46, 46, 1, 0);
  SetScreenHero(reinterpret_cast<IBsCreature*>(0x1234));
  DestroyScreenManager();
  EXPECT_EQ(g_screenManager, nullptr);
  EXPECT_EQ(GetScreenHero(), nullptr) << "the hero is forgotten with the manager";
  EXPECT_EQ(g_amWndManager, nullptr);
  EXPECT_TRUE(g_amObjects.empty());
  EXPECT_EQ(UpdateScreens(1), SR_NOTHING_OPEN);
  EXPECT_EQ(IsScreenIdle(), 1);
}

}  // namespace
}  // namespace uitest
