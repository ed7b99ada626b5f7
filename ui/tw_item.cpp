#include "ui/tw_item.h"

#include <algorithm>

#include "database/game_resource.h"
#include "database/records.h"
#include "engine/media/sprites.h"
#include "ui/am_text_styles.h"

CTWItem::CTWItem(ITEMDESC* record, int width, int height, int count, int price)
    : CAmDragObj(nullptr, width, height, 0, nullptr), count(count), record(record) {
  if (record) {
    itemId = record->Id();
    itemType = record->Type();
  }
  this->price = price == -1 && record ? record->Price() : price;
  fadeWhileDragging = 1;
}

CTWItem* CTWItem::NewGridIcon(ITEMDESC* record, int count, int price) {
  auto* icon = new CTWItem(record, kIconSize, kIconSize, count, price);
  icon->dragMode = 2;
  icon->hoverValue = 1;
  return icon;
}

CTWItem::CTWItem(const CTWItem& other)
    : CAmDragObj(other),
      itemId(other.itemId),
      itemType(other.itemType),
      price(other.price),
      count(other.count),
      imagePending(other.imagePending),
      equipped(other.equipped),
      record(other.record),
      soldOut(other.soldOut) {
  BuildCountText();
}

int CTWItem::Show(int flag) {
  if (flag && imagePending && !locked) {
    imagePending = 0;
    if (record && !record->iconName.empty()) {
      HOBJECT old = sprite;
      int x = 0, y = 0;
      GetParentRelativePosition(&x, &y);
      SetImage(record->iconName.c_str(), kIconSize, kIconSize);
      if (old) DeleteSprite(old);
      if (sprite) {
        SetSpriteParent(sprite, parent ? parent->sprite : 0);
        SetDepth(depth);
        SetSpritePosition(sprite, x, y);
      }
    }
    BuildCountText();
  }
  return CAmDragObj::Show(flag);
}

void CTWItem::BuildCountText() {
  if (countText) return;
  countText = new CAmShadowText(16, 16, 0, this);
  countText->SetFont(nullptr, 12, 12, 255, 255, 255);
  countText->SetPosition(34, 38);
  ShowCount();
}

void CTWItem::ShowCount() {
  if (!countText) return;
  if (count >= 2) {
    countText->SetNumber(count, "%2d");
  } else if (count == 1) {
    countText->SetText(" ");
  } else if (count < 0) {
    countText->SetText(GetMessageString(80));
  }
}

CAmDragObj* CTWItem::CloneForGhost() { return new CTWItem(*this); }

int CTWItem::Matches(CAmDragObj* other) {
  auto* item = dynamic_cast<CTWItem*>(other);
  return item && item->itemType == itemType && item->itemId == itemId ? 1 : 0;
}

void CTWItem::AddCount(int n) {
  if (count < 0) return;
  SetCount(static_cast<int>(std::min<long long>(static_cast<long long>(count) + n, kMaxCount)));
}

void CTWItem::RemoveCount(int n) {
  SetCount(static_cast<int>(std::max<long long>(static_cast<long long>(count) - n, 0)));
}

void CTWItem::SetCount(int n) {
  count = n;
  ShowCount();
}
