#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "database/game_database.h"
#include "database/item_pool.h"
#include "tests/database/database_test_support.h"
#include "tests/ui/drag_fixture.h"
#include "ui/am_container.h"
#include "ui/am_list_view.h"
#include "ui/am_text_styles.h"
#include "ui/am_wnd.h"
#include "ui/role_page.h"
#include "ui/tw_item.h"

namespace {

using dbtest::Attributes;
using dbtest::Item;

constexpr int kPotion = 1, kHerb = 2, kTonic = 6;

ITEMDESC Icon(int type, int id, int useKind = 0) {
  ITEMDESC item = Item(type, id);
  item.iconName = "icon";
  item.values[kItemUseKind] = useKind;
  return item;
}

class RolePageTest : public uitest::SkinnedTest {
 protected:
  RolePageTest() {
    dbtest::ClearDatabase();
    WriteGrid("ifi0100", 640, 357, 1, 1);
    WriteGrid("ifib05001", 49, 49, 1, 3);
    WriteGrid("ifib0400", 20, 32, 1, 3);
    WriteGrid("icon", 46, 46, 1, 1);
    g_gameDataBase.items = {Icon(8, kPotion, 1), Icon(8, kHerb, 2), Icon(8, kTonic, 1), Icon(1, 3), Icon(1, 6),
                            Icon(2, 20),         Icon(2, 21),       Icon(7, 5),         Icon(3, 4)};
    for (int id : {1, 2}) {
      CGDMainManSoul hero;
      hero.id = id;
      hero.attributes = Attributes({{17, 30}, {18, 0}, {19, 10}, {20, 10}, {9, 40}});
      g_gameDataBase.heroes.push_back(hero);
    }
    // A window of the manager's stack, so that the mouse reaches the page.
    window = new CAmWnd(nullptr, 640, 400, 0, nullptr);
  }
  ~RolePageTest() override {
    delete page;
    dbtest::ClearDatabase();
  }

  void Open(int leaderId) {
    g_gameDataBase.party.members = {leaderId};
    page = new CRolePage(0, nullptr, nullptr, nullptr, &pool, window);
    page->recipes = recipes;
    page->Open();
  }
  CGDMainManSoul& Leader() { return *g_gameDataBase.FindHero(g_gameDataBase.party.members.front()); }
  CAmContainer* Cell(int index) { return page->grid->cells[static_cast<size_t>(index)]; }
  CTWItem* At(CAmContainer* c) { return dynamic_cast<CTWItem*>(c->held); }
  // Picks the icon out of source and drops it on target.
  void Move(CAmContainer* source, CAmContainer* target) {
    auto* icon = dynamic_cast<CTWItem*>(source->TakeItem());
    ASSERT_NE(icon, nullptr);
    page->DropItem(source, icon, target);
  }
  std::vector<std::pair<int, int>> GridItems() {
    std::vector<std::pair<int, int>> out;
    for (CAmContainer* cell : page->grid->cells)
      if (CTWItem* icon = At(cell)) out.push_back({icon->itemType, icon->itemId});
    return out;
  }

  CGDItemPool pool{&g_gameDataBase};
  CAmObject* window = nullptr;
  CRolePage* page = nullptr;
  std::vector<RECIPEDESC> recipes;
};

TEST_F(RolePageTest, TheGridShowsThePoolAndTheWornItems) {
  pool.AddItem(8, kHerb, 3, -1);
  pool.AddItem(1, 3, 1, -1);
  g_gameDataBase.party.members = {1};
  pool.EquipItem(1, 3);
  Open(1);
  ASSERT_NE(At(Cell(0)), nullptr);
  EXPECT_EQ(At(Cell(0))->count, 3);
  EXPECT_EQ(At(Cell(0))->countText->text, " 3");
  EXPECT_EQ(At(Cell(1))->itemId, 3);
  EXPECT_EQ(At(Cell(1))->equipped, 1);
  EXPECT_EQ(Cell(1)->currentRow, 2);
  EXPECT_EQ(Cell(0)->currentRow, 0);
  ASSERT_NE(At(page->slots[0]), nullptr);
  EXPECT_EQ(At(page->slots[0])->itemId, 3);
  EXPECT_EQ(At(page->slots[0])->count, 1);
  EXPECT_EQ(page->label, nullptr);  // only for the second hero
  // Attribute 18 at 0: the share reads 0.
  EXPECT_EQ(page->texts[11]->text, "0 / 100");
  EXPECT_EQ(page->texts[9]->text, "0/ 0");
}

TEST_F(RolePageTest, EquippingAndTakingOff) {
  pool.AddItem(2, 20, 1, -1);
  pool.AddItem(2, 21, 1, -1);
  pool.AddItem(1, 6, 1, -1);
  pool.AddItem(1, 3, 1, -1);
  Open(1);
  // A vest dropped on the second slot is worn: pool, mark and slot clone.
  Move(Cell(0), page->slots[1]);
  EXPECT_EQ(Leader().GetEquippedId(2), 20);
  EXPECT_EQ(At(Cell(0))->equipped, 1);
  EXPECT_EQ(Cell(0)->currentRow, 2);
  ASSERT_NE(At(page->slots[1]), nullptr);
  EXPECT_EQ(At(page->slots[1])->itemId, 20);
  // The other vest dropped from the slot onto it replaces it.
  Move(page->slots[1], Cell(1));
  EXPECT_EQ(Leader().GetEquippedId(2), 21);
  EXPECT_EQ(At(Cell(0))->equipped, 0);
  EXPECT_EQ(At(Cell(1))->equipped, 1);
  // Wrong type, and a weapon of the other hero, change nothing.
  Move(Cell(0), page->slots[0]);
  EXPECT_EQ(Leader().GetEquippedItem(1), nullptr);
  Move(Cell(2), page->slots[0]);
  EXPECT_EQ(Leader().GetEquippedItem(1), nullptr);
  Move(Cell(3), page->slots[0]);
  EXPECT_EQ(Leader().GetEquippedId(1), 3);
  // Taken off onto an empty cell.
  Move(page->slots[1], Cell(20));
  EXPECT_EQ(Leader().GetEquippedItem(2), nullptr);
  EXPECT_EQ(At(page->slots[1]), nullptr);
  EXPECT_EQ(GridItems().size(), 4u);
}

TEST_F(RolePageTest, TheSecondHeroKeepsItsWeapon) {
  pool.AddItem(1, 6, 1, -1);
  g_gameDataBase.party.members = {2};
  pool.EquipItem(1, 6);
  Open(2);
  EXPECT_NE(page->label, nullptr);
  Move(page->slots[0], Cell(5));
  EXPECT_EQ(Leader().GetEquippedId(1), 6);
  EXPECT_NE(At(page->slots[0]), nullptr);
}

TEST_F(RolePageTest, UsingItemsOnTheLeader) {
  pool.AddItem(8, kHerb, 2, -1);
  pool.AddItem(8, kPotion, 1, -1);
  Open(1);
  // Use kind 2 while attribute 19 equals 20 does nothing.
  Move(Cell(0), page->useArea);
  EXPECT_EQ(pool.GetItemCount(8, kHerb), 2);
  EXPECT_EQ(At(Cell(0))->count, 2);
  // The last unit used removes the icon.
  Move(Cell(1), page->useArea);
  EXPECT_EQ(pool.GetItemCount(8, kPotion), 0);
  EXPECT_EQ(At(Cell(1)), nullptr);
}

TEST_F(RolePageTest, SortingOrdersByTypeAndStoresThePlaces) {
  for (auto [type, id] :
       std::vector<std::pair<int, int>>{{3, 4}, {1, 6}, {7, 5}, {2, 21}, {8, kTonic}, {1, 3}, {8, kHerb}})
    pool.AddItem(type, id, 1, -1);
  Open(1);
  page->SortGrid();
  std::vector<std::pair<int, int>> expected = {{8, kHerb}, {8, kTonic}, {7, 5}, {1, 3}, {1, 6}, {2, 21}, {3, 4}};
  EXPECT_EQ(GridItems(), expected);
  EXPECT_EQ(pool.GetItemSlot(8, kHerb), 0);
  EXPECT_EQ(pool.GetItemSlot(3, 4), 6);
}

TEST_F(RolePageTest, CombiningAndSwapping) {
  RECIPEDESC tonic;
  tonic.values = {8, 8, 0, 0, 8, 0, 0, 0, kHerb, kPotion, 0, 0, kTonic, 0, 0, 0};
  recipes = {tonic};
  pool.AddItem(8, kHerb, 1, -1);
  pool.AddItem(7, 5, 1, -1);
  pool.AddItem(8, kPotion, 2, -1);
  Open(1);
  Move(Cell(0), Cell(2));  // herb on potion: the herb's cell takes the tonic
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 1);
  EXPECT_EQ(pool.GetItemCount(8, kHerb), 0);
  EXPECT_EQ(At(Cell(2))->count, 1);
  ASSERT_NE(At(Cell(0)), nullptr);
  EXPECT_EQ(At(Cell(0))->itemId, kTonic);
  pool.RebuildSlots();
  page->FillGrid();
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 1);

  std::vector<std::pair<int, int>> before = GridItems();
  Move(Cell(0), Cell(1));  // no recipe: swapped
  std::vector<std::pair<int, int>> after = GridItems();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0], before[1]);
  EXPECT_EQ(after[1], before[0]);
}

int AreaTwo() { return 2; }

// One item turns into another when it is picked up in area 2. The game core
// tells the page the area; until it does, the area is 0 and the item stays.
TEST_F(RolePageTest, TheChangingItemChangesOnlyInItsArea) {
  g_gameDataBase.items.push_back(Icon(7, 291));
  g_gameDataBase.items.push_back(Icon(7, 292));
  pool.AddItem(7, 291, 1, -1);
  for (bool installed : {false, true}) {
    SCOPED_TRACE(installed);
    SetSceneAreaProc(installed ? AreaTwo : nullptr);
    EXPECT_EQ(GetSceneArea(), installed ? 2 : 0);
    delete page;
    Open(1);
    Update();
    CTWItem* icon = At(Cell(0));
    ASSERT_NE(icon, nullptr);
    int x = 0, y = 0;
    icon->GetPosition(&x, &y);
    Click(x + 5, y + 5);
    Update();
    Mouse(plat::WM_MOUSEMOVE, x + 60, y + 5);
    Update();
    EXPECT_EQ(page->GetCarriedItem(), installed ? nullptr : icon);
    EXPECT_EQ(pool.GetItemCount(7, 291), installed ? 0 : 1);
    EXPECT_EQ(pool.GetItemCount(7, 292), installed ? 1 : 0);
    Mouse(plat::WM_RBUTTONDOWN, x + 60, y + 5);
    Update();
  }
  SetSceneAreaProc(nullptr);
  ASSERT_NE(At(Cell(0)), nullptr);
  EXPECT_EQ(At(Cell(0))->itemId, 292);
}

TEST_F(RolePageTest, ARightClickPutsTheCarriedIconBackAndItsCellBackToItsRow) {
  pool.AddItem(8, kHerb, 1, -1);
  pool.AddItem(1, 3, 1, -1);
  g_gameDataBase.party.members = {1};
  pool.EquipItem(1, 3);
  Open(1);
  Update();
  int tx = 0, ty = 0;
  Cell(5)->GetPosition(&tx, &ty);
  tx += 20;
  ty += 20;
  // The idle herb's cell shows row 0, the worn sword's row 2.
  for (int index : {0, 1}) {
    CAmContainer* cell = Cell(index);
    CTWItem* icon = At(cell);
    ASSERT_NE(icon, nullptr);
    const int row = cell->currentRow;
    EXPECT_EQ(row, index == 0 ? 0 : 2);
    int x = 0, y = 0;
    icon->GetPosition(&x, &y);
    Click(x + 5, y + 5);
    Update();
    Mouse(plat::WM_MOUSEMOVE, tx, ty);
    Update();
    ASSERT_EQ(page->GetCarriedItem(), icon) << index;
    EXPECT_EQ(cell->currentRow, 1) << "marked as being carried from";
    Mouse(plat::WM_RBUTTONDOWN, tx, ty);
    Update();
    EXPECT_EQ(page->GetCarriedItem(), nullptr) << index;
    EXPECT_EQ(cell->held, icon) << "the icon went home";
    EXPECT_EQ(cell->currentRow, row) << index;
  }
}

}  // namespace
