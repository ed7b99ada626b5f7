#include "ui/qmz/sp_cursor.h"

#include <cstring>

#include "engine/media/sprites.h"

namespace qmz {

CSpCursor::~CSpCursor() {
  if (sprite_) DeleteSprite(sprite_);
}

int CSpCursor::Create(const char* imageName, int cellWidth, int cellHeight, int, int) {
  if (!imageName || !*imageName || std::strlen(imageName) >= sizeof imageName_) return 0;
  if (sprite_) DeleteSprite(sprite_);
  std::strcpy(imageName_, imageName);
  cellWidth_ = cellWidth;
  cellHeight_ = cellHeight;
  BeginSprite(1);
  SetSpriteImage(imageName_, 0, cellWidth, cellHeight);
  sprite_ = EndSprite(0);
  if (!sprite_) return 0;
  ShowSprite(sprite_, 0);
  SetSpriteDepth(sprite_, 0, 0, depth_);
  row_ = column_ = -1;
  return 1;
}

void CSpCursor::SetFrame(int code) {
  if (code == -1) {
    column_ = row_ = -1;
  } else {
    column_ = code & 0xFFFF;
    row_ = (code >> 16) & 0xFFFF;
  }
  applied_ = 0;
}

void CSpCursor::SetPosition(int x, int y) {
  if (positionLocked_) return;
  x_ = x;
  y_ = y;
  applied_ = 0;
}

void CSpCursor::MoveTo(int x, int y) { SetPosition(x, y); }

void CSpCursor::SetColorKey(int red, int green, int blue) {
  keyRed_ = red;
  keyGreen_ = green;
  keyBlue_ = blue;
  if (sprite_) SetSpriteColorKey(sprite_, red, green, blue, 1);
}

void CSpCursor::SetVisible(int flag) {
  visible_ = flag;
  applied_ = 0;
}

void CSpCursor::SetCentring(int flag) {
  centring_ = flag;
  applied_ = 0;
}

void CSpCursor::Update() {
  if (applied_ || !sprite_) return;
  applied_ = 1;
  bool selected = column_ >= 0 && row_ >= 0;
  if (selected) {
    int x = x_, y = y_;
    if (centring_) {
      x -= cellWidth_ / 2;
      y -= cellHeight_ / 2;
    }
    SetSpritePosition(sprite_, x, y);
    int columns = 0, rows = 0;
    GetSpriteGrid(sprite_, nullptr, &columns, &rows);
    // A frame equal to the grid's counts keeps the one shown.
    if (column_ != columns || row_ != rows) SetSpriteFrame(sprite_, nullptr, &column_, &row_);
  }
  ShowSprite(sprite_, selected && visible_);
}

}  // namespace qmz
