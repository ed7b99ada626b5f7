#include "ui/trade_wnd.h"

#include <algorithm>
#include <cstdio>

#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/main_man_soul.h"
#include "database/records.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_list_view.h"
#include "ui/am_mouse.h"
#include "ui/am_text.h"
#include "ui/am_wnd_manager.h"
#include "ui/bought_items.h"
#include "ui/trade_wnd_num_select.h"
#include "ui/tw_item.h"

namespace {

constexpr int kPressSound = 0;
constexpr int kHoverSound = 1;
constexpr int kRowIdle = 0;
constexpr int kRowSource = 1;
constexpr int kRowEquipped = 2;
constexpr int kCell = 49;
constexpr double kSellShare = 0.6;
constexpr int kPriceUnitMessage = 51;
constexpr int kFirstHelpMessage = 70;  // trade, cancel and leave: title and body each
constexpr int kSecondHeroId = 2;
constexpr int kWeaponType = 1;

const char* Message(int n) {
  const char* text = GetMessageString(n);
  return text ? text : "";
}

}  // namespace

CTradeWnd::CTradeWnd(int shopId, CGameDataLoader* loader, CGameResource* resource, CGDItemPool* itemPool,
                     CAmObject* owner)
    : CAmWnd("ifi0300", 640, 480, 0, owner), loader(loader), resource(resource), itemPool(itemPool), shopId(shopId) {
  shop = g_gameDataBase.FindShop(shopId);
  const CParty& party = g_gameDataBase.party;
  if (!party.members.empty()) {
    leaderId = party.members.front();
    leader = g_gameDataBase.FindHero(leaderId);
  }
  agency = new CAmContainerAgency(0, this);
  auto grid = [this](int w, int h, int x, int y, int kind) {
    auto* g = new CAmListView(nullptr, w, h, 0, this, CAmListView::kVertical);
    g->SetPosition(x, y);
    g->SetView(0, 0, w, h);
    g->BuildCells("ifib05001", kCell, kCell, kind);
    return g;
  };
  inventory = grid(196, 294, 28, 52, kInventory);
  inventory->CreateScrollBar(0, 206, 2, 215);
  shopGrid = grid(98, 294, 482, 52, kShop);
  shopGrid->CreateScrollBar(0, 111, 2, 215);
  sellBasket = grid(196, 98, 271, 52, kSellBasket);
  buyBasket = grid(196, 98, 271, 215, kBuyBasket);

  struct TextPlace {
    int width, height, x, y, font, black;
  };
  const TextPlace places[] = {{156, 18, 54, 370, 14, 0}, {156, 18, 229, 370, 14, 0}, {440, 60, 36, 395, 14, 0},
                              {60, 18, 403, 161, 16, 1}, {60, 18, 403, 322, 16, 1},  {90, 18, 370, 180, 16, 1}};
  for (int i = 0; i < 6; ++i) {
    const TextPlace& p = places[i];
    texts[i] = new CAmText(p.width, p.height, 0, this, nullptr);
    texts[i]->SetFont(nullptr, p.font, p.font, 0, 0, p.black ? 0 : 10);
    texts[i]->smooth = 1;
    texts[i]->SetPosition(p.x, p.y);
  }
  auto button = [this](const char* image, int id, int y) {
    auto* b = new CAmButton(image, 96, 21, id, kPressSound, kHoverSound, this);
    b->SetPosition(510, y);
    return b;
  };
  tradeButton = button("ifib03001", kTradeButton, 389);
  cancelButton = button("ifib03002", kCancelButton, 411);
  leaveButton = button("ifib03003", kLeaveButton, 433);
  tradeButton->SetLocked(1);
  cancelButton->SetLocked(1);

  FillInventory();
  FillShop();
  ShowTotals();
}

CTradeWnd::~CTradeWnd() {
  // An icon still carried, or waiting for its quantity, belongs to no cell.
  if (carried && !(dragSource && dragSource->held == carried)) delete carried;
  delete inventory;
  delete shopGrid;
  delete sellBasket;
  delete buyBasket;
  for (CAmText* text : texts) delete text;
  delete tradeButton;
  delete cancelButton;
  delete leaveButton;
  delete agency;
}

int64_t CTradeWnd::MoneyAvailable() const { return int64_t{g_gameDataBase.party.GetMoney()} + sellTotal - buyTotal; }

int CTradeWnd::SellPrice(int type, int id) const {
  return itemPool ? static_cast<int>(itemPool->GetItemPrice(type, id) * kSellShare) : 0;
}

CTWItem* CTradeWnd::NewIcon(int type, int id, int count, int price) {
  ITEMDESC* record = g_gameDataBase.FindItem(type, id);
  if (!record) return nullptr;
  return CTWItem::NewGridIcon(record, count, price);
}

void CTradeWnd::FillInventory() {
  if (!itemPool) return;
  int32_t place = -1;
  for (PARTYITEMDESC* entry = itemPool->GetFirstItem(&place); entry; entry = itemPool->GetNextItem(&place)) {
    CTWItem* icon = NewIcon(entry->type, entry->id, entry->count, SellPrice(entry->type, entry->id));
    if (!icon) continue;
    icon->equipped = leader && entry->type >= 1 && entry->type <= 3 && leader->GetEquippedItem(entry->type) &&
                             leader->GetEquippedId(entry->type) == entry->id
                         ? 1
                         : 0;
    CAmContainer* cell = place >= 0 && place < CAmListView::kMaxCells ? inventory->PutAt(icon, place) : nullptr;
    if (cell && cell->held != icon) cell = nullptr;
    if (!cell) cell = inventory->PutAfterLast(icon);
    if (!cell) {
      delete icon;
      continue;
    }
    cell->SetRow(icon->equipped ? kRowEquipped : kRowIdle);
    icon->Show(1);
  }
  inventory->EnsureFree();
  inventory->UpdateRange();
}

void CTradeWnd::FillShop() {
  if (!shop) return;
  const std::vector<int>* bought = GetBoughtItemList();
  for (const SHOPSTOCKDESC& row : shop->stock) {
    // A row with nothing in stock offers nothing.
    if (row.count == 0) continue;
    const bool unique = row.count == 1;
    if (unique && bought && IsItemBought(*bought, shopId, row.itemType, row.itemId)) continue;
    CTWItem* icon = NewIcon(row.itemType, row.itemId, row.count, -1);
    if (!icon) continue;
    icon->soldOut = unique ? 1 : 0;
    if (!shopGrid->PutAfterLast(icon)) {
      delete icon;
      continue;
    }
    icon->Show(1);
  }
  shopGrid->EnsureFree();
  shopGrid->UpdateRange();
}

CAmListView* CTradeWnd::GridOf(const CAmContainer* cell) const {
  if (!cell) return nullptr;
  for (CAmListView* grid : {inventory, shopGrid, sellBasket, buyBasket})
    if (std::find(grid->cells.begin(), grid->cells.end(), cell) != grid->cells.end()) return grid;
  return nullptr;
}

int CTradeWnd::CountIn(const CAmListView* grid, const CTWItem* item) const {
  int n = 0;
  for (const CAmContainer* cell : grid->cells)
    if (auto* icon = dynamic_cast<CTWItem*>(cell->held);
        icon && icon->itemType == item->itemType && icon->itemId == item->itemId)
      n += icon->count;
  return n;
}

void CTradeWnd::ShowIdleRow(CAmContainer* cell) {
  if (!cell) return;
  auto* icon = dynamic_cast<CTWItem*>(cell->held);
  cell->SetRow(icon && icon->equipped ? kRowEquipped : kRowIdle);
}

CAmContainer* CTradeWnd::Place(CAmListView* grid, CAmContainer* cell, CTWItem* icon, bool afterLast) {
  if (CAmContainer* same = grid->FindMatching(icon)) {
    auto* held = static_cast<CTWItem*>(same->held);
    held->AddCount(icon->count);
    held->equipped = held->equipped || icon->equipped ? 1 : 0;
    delete icon;
    ShowIdleRow(same);
    return same;
  }
  CAmContainer* placed = nullptr;
  if (!afterLast && cell && !cell->held && GridOf(cell) == grid) {
    cell->PutItem(icon);
    placed = cell;
  } else {
    placed = afterLast ? grid->PutAfterLast(icon) : grid->PutFirstFree(icon);
  }
  if (!placed) {
    delete icon;
    return nullptr;
  }
  icon->Show(1);
  ShowIdleRow(placed);
  if (grid == inventory || grid == shopGrid) {
    grid->EnsureFree();
    grid->UpdateRange();
  }
  return placed;
}

void CTradeWnd::ReturnItem(CAmContainer* source, CTWItem* item) {
  if (!source) {
    delete item;
    return;
  }
  source->PutItem(item);
  ShowIdleRow(source);
}

void CTradeWnd::OfferQuantity(CAmContainer* source, CTWItem* item, CAmContainer* target, int most) {
  if (item->count == 1) {
    MoveItems(source, item, target, 1);
    return;
  }
  dragSource = source;
  dragTarget = target;
  carried = item;
  quantityDialog = new CNumSelectDlg(this);
  quantityDialog->SetMax(most);
  int x = 0, y = 0, left = 0, top = 0;
  item->GetPosition(&x, &y);
  GetPosition(&left, &top);
  quantityDialog->SetPosition(std::clamp(x - left, 0, width - CNumSelectDlg::kWidth),
                              std::clamp(y - top, 0, height - CNumSelectDlg::kHeight));
}

void CTradeWnd::DropItem(CAmContainer* source, CTWItem* item, CAmContainer* target) {
  if (!item) return;
  CAmListView* from = GridOf(source);
  CAmListView* to = GridOf(target);
  const bool heroWeapon = leaderId == kSecondHeroId && item->itemType == kWeaponType && item->equipped;
  if (!from || !to || source == target || heroWeapon) {
    ReturnItem(source, item);
    return;
  }
  const bool room = to->FindMatching(item) || to->CountFree() > 0;
  if (from == inventory && to == inventory) {
    auto* other = dynamic_cast<CTWItem*>(target->TakeItem());
    target->PutItem(item);
    ShowIdleRow(target);
    if (itemPool) itemPool->SetItemSlot(item->itemType, item->itemId, target->id, other ? 0 : 1);
    if (other) {
      source->PutItem(other);
      if (itemPool) itemPool->SetItemSlot(other->itemType, other->itemId, source->id, 0);
    } else {
      source->RemoveGhost();
    }
    ShowIdleRow(source);
  } else if (from == inventory && to == sellBasket) {
    if (room && item->price != 0) OfferQuantity(source, item, target, item->count);
    else ReturnItem(source, item);
  } else if ((from == sellBasket && to == inventory) || (from == buyBasket && to == shopGrid)) {
    OfferQuantity(source, item, target, item->count);
  } else if (from == shopGrid && to == buyBasket) {
    // Money available and the stock left already count what the basket
    // holds; only the stack limit must still take it off. A price of 0
    // leaves the stack limit and the stock.
    int64_t most = item->price > 0 ? std::max<int64_t>(MoneyAvailable() / item->price, 0) : CTWItem::kMaxCount;
    most = std::min<int64_t>(most, CTWItem::kMaxCount - CountIn(inventory, item) - CountIn(buyBasket, item));
    if (item->count > 0) most = std::min<int64_t>(most, item->count);
    if (room && most > 0) OfferQuantity(source, item, target, static_cast<int>(most));
    else ReturnItem(source, item);
  } else {
    ReturnItem(source, item);
  }
}

void CTradeWnd::MoveItems(CAmContainer* source, CTWItem* item, CAmContainer* target, int q) {
  CAmListView* to = GridOf(target);
  if (!item || !to || q <= 0) {
    ReturnItem(source, item);
    return;
  }
  const int64_t amount = int64_t{q} * item->price;
  if (to == inventory) {
    sellTotal = static_cast<int32_t>(sellTotal - amount);
  } else if (to == sellBasket) {
    sellTotal = static_cast<int32_t>(sellTotal + amount);
    if (itemPool) itemPool->RemoveItem(item->itemType, item->itemId, q);
  } else if (to == shopGrid) {
    buyTotal = static_cast<int32_t>(buyTotal - amount);
  } else if (to == buyBasket) {
    buyTotal = static_cast<int32_t>(buyTotal + amount);
  }
  CTWItem* moved = item;
  if (item->count >= 0 && q >= item->count) {
    if (source) source->RemoveGhost();
  } else {
    // The rest stays; unlimited stock stays unlimited.
    moved = new CTWItem(*item);
    moved->SetCount(q);
    if (item->count > 0) item->RemoveCount(q);
    ReturnItem(source, item);
  }
  const int32_t type = moved->itemType, id = moved->itemId;
  CAmContainer* placed = Place(to, target, moved, false);
  if (to == inventory && itemPool) itemPool->AddItem(type, id, q, placed ? placed->id : -1);
  if (source) ShowIdleRow(source);
  ShowTotals();
  UpdateButtons();
}

void CTradeWnd::Trade() {
  g_gameDataBase.party.SetMoney(MoneyAvailable());
  sellTotal = 0;
  buyTotal = 0;
  std::vector<int>* bought = GetBoughtItemList();
  for (CAmContainer* cell : buyBasket->cells) {
    auto* icon = dynamic_cast<CTWItem*>(cell->TakeItem());
    if (!icon) continue;
    if (icon->soldOut && bought) AddBoughtItem(*bought, shopId, icon->itemType, icon->itemId);
    icon->soldOut = 0;
    // Sold back, it fetches what the party's own would.
    icon->price = SellPrice(icon->itemType, icon->itemId);
    const int32_t type = icon->itemType, id = icon->itemId, count = icon->count;
    CAmContainer* placed = Place(inventory, nullptr, icon, true);
    if (itemPool) itemPool->AddItem(type, id, count, placed ? placed->id : -1);
  }
  for (CAmContainer* cell : sellBasket->cells) {
    auto* icon = dynamic_cast<CTWItem*>(cell->TakeItem());
    if (!icon) continue;
    cell->SetRow(kRowIdle);
    icon->price = icon->record ? icon->record->Price() : 0;
    if (icon->equipped && CountIn(inventory, icon) == 0) {
      if (itemPool && icon->itemType >= 1 && icon->itemType <= 3) itemPool->UnequipItem(icon->itemType);
    }
    icon->equipped = 0;
    Place(shopGrid, nullptr, icon, true);
  }
  ShowTotals();
  UpdateButtons();
}

void CTradeWnd::CancelBaskets() {
  auto empty = [this](CAmListView* basket, CAmListView* home) {
    for (CAmContainer* cell : basket->cells) {
      auto* icon = dynamic_cast<CTWItem*>(cell->TakeItem());
      if (!icon) continue;
      MoveItems(cell, icon, home->cells.front(), icon->count);
    }
  };
  empty(sellBasket, inventory);
  empty(buyBasket, shopGrid);
}

void CTradeWnd::ShowTotals() {
  texts[kSellTotalText]->SetNumber(sellTotal, "%d");
  texts[kBuyTotalText]->SetNumber(buyTotal, "%d");
  texts[kMoneyText]->SetNumber(g_gameDataBase.party.GetMoney(), "%d");
}

void CTradeWnd::UpdateButtons() {
  // Free items in a basket count as a deal too.
  auto holds = [](const CAmListView* basket) { return basket->CountFree() != static_cast<int>(basket->cells.size()); };
  const bool deal = sellTotal + buyTotal != 0 || holds(sellBasket) || holds(buyBasket);
  cancelButton->SetLocked(deal ? 0 : 1);
  tradeButton->SetLocked(deal && MoneyAvailable() >= 0 ? 0 : 1);
  leaveButton->SetLocked(0);
}

void CTradeWnd::SetCursorShape(int shape) {
  if (auto* mouse = g_amWndManager ? dynamic_cast<CAmMouse*>(g_amWndManager->cursor) : nullptr) mouse->SetShape(shape);
}

void CTradeWnd::SetHelp(const char* title, const char* second, const char* body) {
  texts[kNameText]->SetText(title);
  texts[kPriceText]->SetText(second);
  texts[kDescriptionText]->SetText(body);
}

void CTradeWnd::ShowHelp(CAmObject* sender) {
  if (auto* icon = dynamic_cast<CTWItem*>(sender)) {
    char price[96];
    std::snprintf(price, sizeof price, "%4d %s", icon->price, Message(kPriceUnitMessage));
    SetHelp(icon->record ? icon->record->name.c_str() : "", price,
            icon->record ? icon->record->description.c_str() : "");
    return;
  }
  const CAmButton* buttons[] = {tradeButton, cancelButton, leaveButton};
  for (int i = 0; i < 3; ++i)
    if (sender == buttons[i]) SetHelp(Message(kFirstHelpMessage + 2 * i), "", Message(kFirstHelpMessage + 2 * i + 1));
}

void CTradeWnd::OnTick(int steps) {
  // A drag let go over no cell goes home without a drop check.
  if (carried && !quantityDialog && agency && !agency->dragged) {
    if (dragSource && dragSource->held == carried) ShowIdleRow(dragSource);
    carried = nullptr;
    dragSource = nullptr;
    SetCursorShape(0);
    UpdateButtons();
  }
  if (!hovered && lastHovered) {
    SetHelp("", "", "");
    lastHovered = nullptr;
  }
  CAmWnd::OnTick(steps);
}

int CTradeWnd::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (sender == agency && agency) {
    const AMDROPDESC* drop = CAmContainerAgency::DropRecord(a, sender);
    if (id == AMM_DRAGOBJ_CHECK) {
      if (drop && !carried) {
        carried = dynamic_cast<CTWItem*>(drop->object);
        dragSource = drop->source;
        if (dragSource) dragSource->SetRow(kRowSource);
      }
      SetCursorShape(1);
      tradeButton->SetLocked(1);
      cancelButton->SetLocked(1);
      leaveButton->SetLocked(1);
    } else if (id == AMM_DROPOBJ_CHECK) {
      CAmContainer* source = dragSource;
      carried = nullptr;
      dragSource = nullptr;
      auto* item = drop ? dynamic_cast<CTWItem*>(drop->object) : nullptr;
      if (item) DropItem(drop->source, item, drop->target);
      else ShowIdleRow(source);
      SetCursorShape(0);
      UpdateButtons();
    }
    return 1;
  }
  if (sender == quantityDialog && (id == AMM_ONBUTTON_OK || id == AMM_ONBUTTON_CANCEL)) {
    CTWItem* item = carried;
    carried = nullptr;
    if (id == AMM_ONBUTTON_OK) MoveItems(dragSource, item, dragTarget, quantityDialog->value);
    else ReturnItem(dragSource, item);
    quantityDialog = nullptr;
    dragSource = dragTarget = nullptr;
    UpdateButtons();
    return 1;
  }
  if (id == AMM_BUTTONUP) {
    if (sender == tradeButton) {
      Trade();
    } else if (sender == cancelButton) {
      CancelBaskets();
    } else if (sender == leaveButton) {
      CancelBaskets();
      Close();
    }
    return sender == tradeButton || sender == cancelButton || sender == leaveButton ? 1 : 0;
  }
  if (id == AMM_MOUSEHOVER) {
    hovered = sender;
    lastHovered = sender;
    ShowHelp(sender);
    return 1;
  }
  if (id == AMM_MOUSELEAVE) {
    if (hovered == sender) hovered = nullptr;
    return 1;
  }
  return CAmWnd::OnMessage(id, a, b, sender);
}
