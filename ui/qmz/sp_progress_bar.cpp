#include "ui/qmz/sp_progress_bar.h"

#include "engine/media/sprites.h"

namespace qmz {

CSpProgressBar::~CSpProgressBar() { Destroy(); }

int CSpProgressBar::Create(const char* imageName, int x, int y, int width, int height, int style, CSpriteWnd* parent,
                           int value) {
  styleValue_ = value;
  return CSpriteWnd::Create(imageName, x, y, width, height, style, parent);
}

void CSpProgressBar::SetPercent(int percent) {
  if (percent < 0 || percent > 100) return;
  percent_ = percent;
  full_ = percent == 100;
  int shown = static_cast<int>(Width() * percent * 0.01);
  if (!mainSurface_) return;
  if (shown > 0) {
    SetSpriteSourceRect(mainSurface_, 0, 0, shown, Height());
    ShowSprite(mainSurface_, (state_ & kVisible) != 0);
  } else {
    ShowSprite(mainSurface_, 0);
  }
}

void CSpProgressBar::Show(int flag) {
  CSpriteWnd::Show(flag);
  if (flag && percent_ == 0 && mainSurface_) ShowSprite(mainSurface_, 0);
}

void CSpProgressBar::Reset() {
  styleValue_ = percent_ = full_ = 0;
  CSpriteWnd::Reset();
}

}  // namespace qmz
