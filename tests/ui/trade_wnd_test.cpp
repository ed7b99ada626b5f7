#include <gtest/gtest.h>

#include <vector>

#include "database/game_database.h"
#include "database/item_pool.h"
#include "platform/files.h"
#include "tests/database/database_test_support.h"
#include "tests/ui/screen_fixture.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_list_view.h"
#include "ui/am_scroll_bar.h"
#include "ui/bought_items.h"
#include "ui/trade_wnd.h"
#include "ui/trade_wnd_num_select.h"
#include "ui/tw_item.h"

namespace {

using dbtest::Item;

constexpr int kShopId = 1;
// type, id, price
constexpr int kPotion[] = {8, 1, 30};
constexpr int kHerb[] = {7, 2, 0};
constexpr int kSword[] = {1, 3, 100};
constexpr int kGem[] = {6, 5, 40};

ITEMDESC Icon(const int* item) {
  ITEMDESC record = Item(item[0], item[1]);
  record.values[kItemPrice] = item[2];
  record.iconName = "icon";
  record.name = "name " + std::to_string(item[1]);
  record.description = "about " + std::to_string(item[1]);
  return record;
}

class TradeWndTest : public uitest::ScreenTest {
 protected:
  TradeWndTest() {
    dbtest::ClearDatabase();
    WriteGrid("ifi0300", 640, 480, 1, 1);
    WriteGrid("ifib05001", 49, 49, 1, 3);
    for (const char* name : {"ifib03001", "ifib03002", "ifib03003"}) WriteGrid(name, 96, 21, 1, 3);
    WriteGrid("if5200", 140, 84, 1, 1);
    WriteGrid("ifbtn02", 39, 19, 1, 3);
    WriteGrid("ifbtn03", 39, 19, 1, 3);
    WriteGrid("icon", 46, 46, 1, 1);
    g_gameDataBase.items = {Icon(kPotion), Icon(kHerb), Icon(kSword), Icon(kGem)};
    for (int id : {1, 2}) {
      CGDMainManSoul hero;
      hero.id = id;
      g_gameDataBase.heroes.push_back(hero);
    }
    g_gameDataBase.shops = {{"Store", kShopId, {{1, -1, 8}, {2, -1, 7}, {5, 1, 6}, {3, 5, 1}, {9, 0, 8}}}};
    g_gameDataBase.party.members = {1};
    SetBoughtItemList(&bought);
  }
  ~TradeWndTest() override {
    SetBoughtItemList(nullptr);
    dbtest::ClearDatabase();
  }

  CTradeWnd* Open() {
    window = new CTradeWnd(kShopId, nullptr, &resource, &pool, nullptr);
    Update();
    return window;
  }
  static CTWItem* At(CAmContainer* cell) { return dynamic_cast<CTWItem*>(cell->held); }
  // The cell of the grid holding the item, null when none does.
  static CAmContainer* Find(CAmListView* grid, const int* item) {
    for (CAmContainer* cell : grid->cells)
      if (CTWItem* icon = At(cell); icon && icon->itemType == item[0] && icon->itemId == item[1]) return cell;
    return nullptr;
  }
  static int CountOf(CAmListView* grid, const int* item) {
    CAmContainer* cell = Find(grid, item);
    return cell ? At(cell)->count : 0;
  }
  static CAmContainer* FreeCell(CAmListView* grid) {
    for (CAmContainer* cell : grid->cells)
      if (!cell->held) return cell;
    return nullptr;
  }
  // Carries the item from the grid onto a free cell of the other; a stack
  // asks for the quantity, answered with q (0: cancel).
  void Drag(CAmListView* from, const int* item, CAmListView* to, int q = 1) {
    CAmContainer* source = Find(from, item);
    ASSERT_NE(source, nullptr);
    auto* icon = dynamic_cast<CTWItem*>(source->TakeItem());
    window->DropItem(source, icon, FreeCell(to));
    if (!window->quantityDialog) return;
    CNumSelectDlg* dialog = window->quantityDialog;
    Update();
    dialog->bar->PostMessage(AMM_SCROLLING, q - 1, 0, dialog->bar);
    Update();
    CAmButton* answer = q > 0 ? dialog->firstButton : dialog->secondButton;
    answer->PostMessage(AMM_BUTTONUP, 0, 0, answer);
    Update();
  }
  // The most the quantity dialog offers for the item, 0 when it did not open.
  int OfferFor(const int* item) {
    CAmContainer* source = Find(window->shopGrid, item);
    if (!source) return -1;
    auto* icon = dynamic_cast<CTWItem*>(source->TakeItem());
    window->DropItem(source, icon, FreeCell(window->buyBasket));
    if (!window->quantityDialog) return source->held == icon ? 0 : 1;
    const int most = window->quantityDialog->bar->count;
    CAmButton* cancel = window->quantityDialog->secondButton;
    cancel->PostMessage(AMM_BUTTONUP, 0, 0, cancel);
    Update();
    return most;
  }

  CGDItemPool pool{&g_gameDataBase};
  std::vector<int> bought;
  CTradeWnd* window = nullptr;
};

TEST_F(TradeWndTest, TheBuyBasketTakesWhatMoneyStackAndStockAllow) {
  struct Case {
    int money;
    int herbs;
    int inBasket;
    const int* item;
    int most;
  };
  const Case cases[] = {
      {100, 0, 0, kPotion, 3},  // money 100, price 30
      {100, 0, 1, kPotion, 2},  // the basket's one is paid from the same money
      {29, 0, 0, kPotion, 0},   // not even one
      {0, 90, 0, kHerb, 9},     // price 0: the stack limit only
      {0, 90, 4, kHerb, 5},     // which counts the basket too
      {1000, 0, 0, kSword, 5},  // the stock
      {1000, 0, 2, kSword, 3},  // what the basket holds has left the stock
      {1000, 0, 0, kGem, 1},    // one of a kind moves at once
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item[1]);
    g_gameDataBase.party.SetMoney(c.money);
    g_gameDataBase.party.itemLists = {};
    if (c.herbs) pool.AddItem(kHerb[0], kHerb[1], c.herbs, -1);
    Open();
    if (c.inBasket) Drag(window->shopGrid, c.item, window->buyBasket, c.inBasket);
    EXPECT_EQ(OfferFor(c.item), c.most);
    window->Close();
    Update();
  }
}

TEST_F(TradeWndTest, StockWithNothingLeftIsNotOffered) {
  Open();
  EXPECT_EQ(Find(window->shopGrid, std::vector<int>{8, 9}.data()), nullptr);
  EXPECT_NE(Find(window->shopGrid, kPotion), nullptr);
  EXPECT_EQ(At(Find(window->shopGrid, kGem))->soldOut, 1);
}

TEST_F(TradeWndTest, TradeStaysLockedWhileTheBuyTotalExceedsMoneyAndSales) {
  g_gameDataBase.party.SetMoney(100);
  pool.AddItem(kSword[0], kSword[1], 1, 0);
  Open();
  Drag(window->inventory, kSword, window->sellBasket);
  EXPECT_EQ(window->sellTotal, 60);
  Drag(window->shopGrid, kPotion, window->buyBasket, 5);
  EXPECT_EQ(window->buyTotal, 150);
  EXPECT_EQ(window->tradeButton->locked, 0);
  Drag(window->sellBasket, kSword, window->inventory);
  EXPECT_EQ(window->sellTotal, 0);
  EXPECT_EQ(window->MoneyAvailable(), -50);
  EXPECT_EQ(window->tradeButton->locked, 1);
  EXPECT_EQ(window->cancelButton->locked, 0);
  EXPECT_EQ(pool.GetItemCount(kSword[0], kSword[1]), 1);
}

TEST_F(TradeWndTest, CancelReturnsSoldItemsWithTheirCounts) {
  g_gameDataBase.party.SetMoney(0);
  pool.AddItem(kPotion[0], kPotion[1], 10, 0);
  Open();
  Drag(window->inventory, kPotion, window->sellBasket, 4);
  EXPECT_EQ(pool.GetItemCount(kPotion[0], kPotion[1]), 6);
  EXPECT_EQ(CountOf(window->inventory, kPotion), 6);
  EXPECT_EQ(CountOf(window->sellBasket, kPotion), 4);
  EXPECT_EQ(window->sellTotal, 4 * 18);
  Drag(window->shopGrid, kSword, window->buyBasket, 0);  // cancelled: the sword goes back
  EXPECT_EQ(CountOf(window->shopGrid, kSword), 5);
  Drag(window->shopGrid, kGem, window->buyBasket);

  window->cancelButton->PostMessage(AMM_BUTTONUP, 0, 0, window->cancelButton);
  Update();
  EXPECT_EQ(pool.GetItemCount(kPotion[0], kPotion[1]), 10);
  EXPECT_EQ(CountOf(window->inventory, kPotion), 10);
  EXPECT_EQ(Find(window->sellBasket, kPotion), nullptr);
  EXPECT_EQ(Find(window->buyBasket, kGem), nullptr);
  EXPECT_NE(Find(window->shopGrid, kGem), nullptr);
  EXPECT_EQ(window->sellTotal, 0);
  EXPECT_EQ(window->buyTotal, 0);
  EXPECT_EQ(window->cancelButton->locked, 1);
  EXPECT_EQ(window->tradeButton->locked, 1);
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 0);
}

TEST_F(TradeWndTest, OnlyTheSecondHerosEquippedWeaponStaysUnsold) {
  for (int leaderId : {1, 2}) {
    SCOPED_TRACE(leaderId);
    g_gameDataBase.party.members = {leaderId};
    g_gameDataBase.party.itemLists = {};
    pool.AddItem(kSword[0], kSword[1], 1, 0);
    pool.EquipItem(kSword[0], kSword[1]);
    Open();
    ASSERT_EQ(At(Find(window->inventory, kSword))->equipped, 1);
    Drag(window->inventory, kSword, window->sellBasket);
    EXPECT_EQ(Find(window->sellBasket, kSword) != nullptr, leaderId == 1);
    EXPECT_EQ(Find(window->inventory, kSword) != nullptr, leaderId == 2);
    window->Close();
    Update();
  }
}

TEST_F(TradeWndTest, TradingPaysTakesAndHandsOver) {
  g_gameDataBase.party.SetMoney(100);
  pool.AddItem(kSword[0], kSword[1], 1, 0);
  pool.EquipItem(kSword[0], kSword[1]);
  Open();
  Drag(window->inventory, kSword, window->sellBasket);
  Drag(window->shopGrid, kPotion, window->buyBasket, 2);
  window->tradeButton->PostMessage(AMM_BUTTONUP, 0, 0, window->tradeButton);
  Update();
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 100 + 60 - 60);
  EXPECT_EQ(pool.GetItemCount(kPotion[0], kPotion[1]), 2);
  EXPECT_EQ(pool.GetItemCount(kSword[0], kSword[1]), 0);
  EXPECT_EQ(g_gameDataBase.FindHero(1)->GetEquippedItem(kSword[0]), nullptr);  // the last one went
  CTWItem* potion = At(Find(window->inventory, kPotion));
  ASSERT_NE(potion, nullptr);
  EXPECT_EQ(potion->count, 2);
  EXPECT_EQ(potion->price, 18);  // sells back for what the party's own would
  CTWItem* sword = At(Find(window->shopGrid, kSword));
  EXPECT_EQ(sword->count, 6);
  EXPECT_EQ(sword->price, 100);
  EXPECT_EQ(window->sellTotal + window->buyTotal, 0);
  EXPECT_EQ(window->tradeButton->locked, 1);
}

TEST_F(TradeWndTest, MoneyStopsAtTheTop) {
  g_gameDataBase.party.SetMoney(999990);
  pool.AddItem(kSword[0], kSword[1], 1, 0);
  Open();
  Drag(window->inventory, kSword, window->sellBasket);
  window->Trade();
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 999999);
}

TEST_F(TradeWndTest, AOneOfAKindItemOnceTradedIsNotOfferedAgainAfterSaveAndLoad) {
  g_gameDataBase.party.SetMoney(100);
  Open();
  Drag(window->shopGrid, kGem, window->buyBasket);
  EXPECT_EQ(Find(window->shopGrid, kGem), nullptr);
  window->Trade();
  EXPECT_EQ(bought, std::vector<int>({kShopId, kGem[0], kGem[1]}));
  EXPECT_EQ(pool.GetItemCount(kGem[0], kGem[1]), 1);
  EXPECT_EQ(At(Find(window->inventory, kGem))->soldOut, 0);
  window->Close();
  Update();

  plat::ByteWriter out;
  WriteBoughtItems(out);
  std::vector<int> loaded;
  SetBoughtItemList(&loaded);
  plat::ByteReader in(out.Bytes().data(), out.Size());
  ASSERT_EQ(ReadBoughtItems(in), 1);
  Open();
  EXPECT_EQ(Find(window->shopGrid, kGem), nullptr);
  EXPECT_NE(Find(window->shopGrid, kSword), nullptr);
  window->Close();
  Update();

  // Another shop's purchase does not hide it.
  loaded = {kShopId + 1, kGem[0], kGem[1]};
  Open();
  EXPECT_NE(Find(window->shopGrid, kGem), nullptr);
}

TEST_F(TradeWndTest, AFreeItemCanBeBoughtAndCancelled) {
  g_gameDataBase.party.SetMoney(0);
  Open();
  Drag(window->shopGrid, kHerb, window->buyBasket, 3);
  EXPECT_EQ(CountOf(window->buyBasket, kHerb), 3);
  EXPECT_EQ(window->tradeButton->locked, 0);
  EXPECT_EQ(window->cancelButton->locked, 0);
  window->Trade();
  EXPECT_EQ(pool.GetItemCount(kHerb[0], kHerb[1]), 3);
}

TEST_F(TradeWndTest, HoverShowsTheItemAndBlanksAfterLeaving) {
  Open();
  CTWItem* potion = At(Find(window->shopGrid, kPotion));
  potion->PostMessage(AMM_MOUSEHOVER, 0, 0, potion);
  Update();
  EXPECT_EQ(window->texts[CTradeWnd::kNameText]->text, "name 1");
  EXPECT_EQ(window->texts[CTradeWnd::kPriceText]->text, "  30  gold");
  EXPECT_EQ(window->texts[CTradeWnd::kDescriptionText]->text, "about 1");
  potion->PostMessage(AMM_MOUSELEAVE, 0, 0, potion);
  Update();
  Update();
  EXPECT_EQ(window->texts[CTradeWnd::kNameText]->text, "");
  EXPECT_EQ(window->texts[CTradeWnd::kDescriptionText]->text, "");
}

TEST_F(TradeWndTest, AnIconIsPickedUpAndPutDownByClicks) {
  pool.AddItem(kPotion[0], kPotion[1], 1, 0);
  Open();
  CAmContainer* source = Find(window->inventory, kPotion);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(At(source)->hoverValue, 1);
  auto centre = [](CAmObject* o, int* x, int* y) {
    o->GetPosition(x, y);
    *x += o->width / 2;
    *y += o->height / 2;
  };
  int x = 0, y = 0, toX = 0, toY = 0;
  centre(source, &x, &y);
  centre(FreeCell(window->sellBasket), &toX, &toY);

  // A click picks it up: it follows with no button held; a click over no
  // cell keeps it, the right button sends it home with the buttons as before.
  Click(x, y);
  Move(x + 3, y + 3);
  Update();
  EXPECT_EQ(Row(source->sprite), 1);
  EXPECT_EQ(window->leaveButton->locked, 1);
  Move(x, 470);
  Click(x, 470);
  Update();
  EXPECT_NE(window->carried, nullptr) << "still carried";
  Mouse(plat::WM_RBUTTONDOWN, x, 470);
  Update();
  Update();
  EXPECT_NE(At(source), nullptr);
  EXPECT_EQ(Row(source->sprite), 0);
  EXPECT_EQ(window->leaveButton->locked, 0);
  EXPECT_EQ(window->carried, nullptr);

  // The next click over the sell basket puts it down there.
  Click(x, y);
  for (int step = 1; step <= 4; ++step) {
    Move(x + (toX - x) * step / 4, y + (toY - y) * step / 4);
    Update();
  }
  Click(toX, toY);
  Update();
  Update();
  EXPECT_EQ(source->held, nullptr);
  EXPECT_EQ(source->ghost, nullptr);
  EXPECT_EQ(CountOf(window->sellBasket, kPotion), 1);
  EXPECT_EQ(window->sellTotal, 18);
  EXPECT_EQ(pool.GetItemCount(kPotion[0], kPotion[1]), 0);
  EXPECT_EQ(window->tradeButton->locked, 0);
  EXPECT_EQ(window->leaveButton->locked, 0);
}

TEST_F(TradeWndTest, LeaveCancelsAndCloses) {
  g_gameDataBase.party.SetMoney(50);
  pool.AddItem(kPotion[0], kPotion[1], 2, 0);
  Manager().itemPool = &pool;
  OpenTradeWindow(kShopId);
  UpdateScreens(1);
  window = dynamic_cast<CTradeWnd*>(GetTopWnd());
  ASSERT_NE(window, nullptr);
  Drag(window->inventory, kPotion, window->sellBasket, 2);
  EXPECT_EQ(pool.GetItemCount(kPotion[0], kPotion[1]), 0);
  window->leaveButton->PostMessage(AMM_BUTTONUP, 0, 0, window->leaveButton);
  EXPECT_EQ(UpdateUntilClosed(), SR_RESUME);
  EXPECT_EQ(pool.GetItemCount(kPotion[0], kPotion[1]), 2);
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 50);
}

}  // namespace
