#pragma once
#include "ui/qmz/sp_control.h"

namespace qmz {

// The caret of the entry window: a surface and a stored value, no behaviour.
class CSpCaret : public CSpControl {
 public:
  // An empty name gives a blank surface filled with colour (0xBBGGRR).
  int Create(const char* imageName, int x, int y, int width, int height, int style, int id, CSpriteWnd* parent,
             int32_t colour, int value);
  int Value() const { return value_; }

 private:
  int value_ = 0;
};

}  // namespace qmz
