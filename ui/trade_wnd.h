#pragma once
#include <cstdint>

#include "ui/am_wnd.h"

class CAmButton;
class CAmContainer;
class CAmContainerAgency;
class CAmListView;
class CAmText;
class CGameDataLoader;
class CGameResource;
class CGDItemPool;
class CGDMainManSoul;
class CNumSelectDlg;
class CTWItem;
struct SHOPDESC;

// The shop: the party's items, the shop's stock, a sell basket and a buy
// basket. Icons move between them by drag and drop (a quantity dialog for
// stacks) and the totals follow; trade settles, cancel empties the baskets,
// leave cancels and closes. One-of-a-kind stock once bought joins the
// bought-item list and is not offered again.
class CTradeWnd : public CAmWnd {
 public:
  // Container kinds of the four grids.
  enum : int { kInventory = 0, kSellBasket = 1, kShop = 3, kBuyBasket = 4 };
  enum : int { kTradeButton = 1, kCancelButton, kLeaveButton };
  enum : int { kNameText, kPriceText, kDescriptionText, kSellTotalText, kBuyTotalText, kMoneyText };

  CTradeWnd(int shopId, CGameDataLoader* loader, CGameResource* resource, CGDItemPool* itemPool, CAmObject* owner);
  ~CTradeWnd() override;

  // Party money + sellTotal - buyTotal.
  int64_t MoneyAvailable() const;
  // The drop rules for the icon carried from source to target.
  void DropItem(CAmContainer* source, CTWItem* item, CAmContainer* target);
  // Moves q of the icon carried from source to target and updates the totals.
  void MoveItems(CAmContainer* source, CTWItem* item, CAmContainer* target, int q);
  // Pays, takes the bought items and hands over the sold ones.
  void Trade();
  // Every icon of the baskets back where it came from.
  void CancelBaskets();

  // Blanks the help texts one tick after the pointer left every control.
  void OnTick(int steps) override;
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  CGDItemPool* itemPool = nullptr;
  SHOPDESC* shop = nullptr;
  CGDMainManSoul* leader = nullptr;
  CAmContainerAgency* agency = nullptr;
  CAmListView* inventory = nullptr;
  CAmListView* shopGrid = nullptr;
  CAmListView* sellBasket = nullptr;
  CAmListView* buyBasket = nullptr;
  CAmText* texts[6] = {};
  CAmButton* tradeButton = nullptr;
  CAmButton* cancelButton = nullptr;
  CAmButton* leaveButton = nullptr;
  int32_t sellTotal = 0;
  int32_t buyTotal = 0;
  CNumSelectDlg* quantityDialog = nullptr;  // while open
  CAmContainer* dragSource = nullptr;
  CAmContainer* dragTarget = nullptr;
  CTWItem* carried = nullptr;
  CAmObject* hovered = nullptr;
  CAmObject* lastHovered = nullptr;
  int shopId = 0;
  int leaderId = 0;

 private:
  void FillInventory();
  void FillShop();
  CTWItem* NewIcon(int type, int id, int count, int price);
  int SellPrice(int type, int id) const;
  // The grid a cell belongs to, null for none of the four.
  CAmListView* GridOf(const CAmContainer* cell) const;
  // The icon (or its count) into the grid: onto the same item, else into
  // the cell when it is the grid's and free, else the first free cell.
  CAmContainer* Place(CAmListView* grid, CAmContainer* cell, CTWItem* icon, bool afterLast);
  void ReturnItem(CAmContainer* source, CTWItem* item);
  void OfferQuantity(CAmContainer* source, CTWItem* item, CAmContainer* target, int most);
  int CountIn(const CAmListView* grid, const CTWItem* item) const;
  void ShowIdleRow(CAmContainer* cell);
  void ShowTotals();
  void UpdateButtons();
  void ShowHelp(CAmObject* sender);
  void SetHelp(const char* title, const char* second, const char* body);
  void SetCursorShape(int shape);
};
