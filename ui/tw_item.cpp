#include "ui/tw_item.h"

#include <algorithm>

#include "game/database/records.h"

CTWItem::CTWItem(ITEMDESC* record, int width, int height, int count, int price)
    : CAmDragObj(nullptr, width, height, 0, nullptr), count(count), record(record) {
  if (record) {
    itemId = record->Id();
    itemType = record->Type();
  }
  this->price = price == -1 && record ? record->Price() : price;
  fadeWhileDragging = 1;
}

CAmDragObj* CTWItem::CloneForGhost() {
  auto* clone = new CTWItem(record, width, height, count, price);
  clone->itemId = itemId;
  clone->itemType = itemType;
  clone->equipped = equipped;
  clone->soldOut = soldOut;
  return clone;
}

int CTWItem::Matches(CAmDragObj* other) {
  auto* item = dynamic_cast<CTWItem*>(other);
  return item && item->itemType == itemType && item->itemId == itemId ? 1 : 0;
}

void CTWItem::AddCount(int n) {
  if (count < 0) return;
  count = static_cast<int>(std::min<long long>(static_cast<long long>(count) + n, kMaxCount));
}

void CTWItem::RemoveCount(int n) {
  count = static_cast<int>(std::max<long long>(static_cast<long long>(count) - n, 0));
}

void CTWItem::SetCount(int n) { count = n; }
