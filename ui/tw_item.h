#pragma once
#include "ui/am_drag_obj.h"

class CAmShadowText;
struct ITEMDESC;

// The draggable icon of an item of the party, the character page and the
// trade window, also the item the player takes out of the menu to use.
// MINIMAL: the icon image (built from the record's icon at the first show)
// and the count text are still missing; the icon is an image-less 46 x 46
// sprite.
class CTWItem : public CAmDragObj {
 public:
  static constexpr int kMaxCount = 99;

  // A price of -1 takes the record's. Fades while dragged.
  CTWItem(ITEMDESC* record, int width, int height, int count, int price);

  // Same id, type, price, count, record, equipped and sold-out flag.
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
};
