#pragma once
#include "ui/am_drag_obj.h"

class CAmShadowText;
struct ITEMDESC;

// The draggable icon of an item of the party, the character page and the
// trade window, also the item the player takes out of the menu to use.
class CTWItem : public CAmDragObj {
 public:
  static constexpr int kMaxCount = 99;
  static constexpr int kIconSize = 46;

  // A price of -1 takes the record's. Image-less until first shown; fades
  // while dragged.
  CTWItem(ITEMDESC* record, int width, int height, int count, int price);
  // Same id, type, price, count, record, equipped and sold-out flag, and a
  // clone of the sprite; the count text is built at once.
  CTWItem(const CTWItem& other);
  // An icon of a menu screen's grids: a click picks it up and the next puts
  // it down; it hovers with value 1.
  static CTWItem* NewGridIcon(ITEMDESC* record, int count, int price);

  // The first show builds the icon from the record's image and the count text.
  int Show(int flag) override;
  CAmDragObj* CloneForGhost() override;
  // Equal type and id.
  int Matches(CAmDragObj* other) override;

  // At most 99; a negative count is left alone.
  void AddCount(int n);
  // At least 0.
  void RemoveCount(int n);
  void SetCount(int n);

  int itemId = 0;
  int itemType = 0;
  int price = 0;
  int count = 0;
  CAmShadowText* countText = nullptr;
  int imagePending = 1;
  int equipped = 0;
  ITEMDESC* record = nullptr;
  int soldOut = 0;  // a one-of-a-kind shop item not bought yet

 private:
  void BuildCountText();
  // 2 and more "%2d", 1 a blank, a negative count message string 80; 0
  // leaves the text as it is.
  void ShowCount();
};
