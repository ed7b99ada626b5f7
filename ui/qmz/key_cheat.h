#pragma once
#include "ui/qmz/sp_caret.h"
#include "ui/qmz/sprite_wnd.h"

namespace qmz {

class CSpriteText;

// The kernel's one-line entry window: a caret, a text buffer and a one-item
// text surface. The kernel keeps one; nothing creates its window.
class CKeyCheat : public CSpriteWnd {
 public:
  static constexpr int kTextSize = 32;

  const char* Text() const { return text_; }

 private:
  CSpCaret caret_;
  char text_[kTextSize] = {};
  CSpriteText* textSurface_ = nullptr;  // one of the window's own text surfaces
};

}  // namespace qmz
