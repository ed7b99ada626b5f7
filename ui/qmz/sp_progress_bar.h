#pragma once
#include "ui/qmz/sprite_wnd.h"

namespace qmz {

// A gauge: the main image shown from its left edge to the percent.
class CSpProgressBar : public CSpriteWnd {
 public:
  CSpProgressBar() = default;
  ~CSpProgressBar() override;

  int Create(const char* imageName, int x, int y, int width, int height, int style, CSpriteWnd* parent, int value);
  // Values outside 0..100 are ignored.
  void SetPercent(int percent);
  void Show(int flag) override;
  void Reset() override;

  int Percent() const { return percent_; }
  int IsFull() const { return full_; }
  int StyleValue() const { return styleValue_; }

 private:
  int styleValue_ = 0;
  int percent_ = 0;
  int full_ = 0;
};

}  // namespace qmz
