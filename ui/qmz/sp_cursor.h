#pragma once
#include <climits>

#include "engine/core/handles.h"

namespace qmz {

// A free cursor sprite above everything else. Changes are applied once, by
// the next Update.
class CSpCursor {
 public:
  static constexpr int kLayer = INT_MAX;

  CSpCursor() = default;
  CSpCursor(const CSpCursor&) = delete;
  CSpCursor& operator=(const CSpCursor&) = delete;
  ~CSpCursor();

  // 0 for a null or empty name or one of 32 characters or more. The sprite
  // starts hidden with no frame selected; column and row are not kept.
  int Create(const char* imageName, int cellWidth, int cellHeight, int column, int row);
  // -1 selects no frame; else the column in the low 16 bits, the row above.
  void SetFrame(int code);
  void SetPosition(int x, int y);
  void MoveTo(int x, int y);
  void SetColorKey(int red, int green, int blue);
  void SetVisible(int flag);
  void SetCentring(int flag);
  void LockPosition(int flag) { positionLocked_ = flag; }
  void Update();

  HOBJECT Sprite() const { return sprite_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Column() const { return column_; }
  int Row() const { return row_; }

 private:
  HOBJECT sprite_ = 0;
  char imageName_[32] = {};
  int applied_ = 1;  // 0 while a change waits for Update
  int visible_ = 0;
  int positionLocked_ = 0;
  int centring_ = 0;
  int x_ = 0;
  int y_ = 0;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  int row_ = -1;  // -1: no frame selected
  int column_ = -1;
  int depth_ = kLayer;
  int keyRed_ = 0;
  int keyGreen_ = 0;
  int keyBlue_ = 0;
};

}  // namespace qmz
