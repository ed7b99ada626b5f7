#pragma once

// The message board and the scene caption banner.
// MINIMAL: neither shows anything; the banner is never showing.
class CMessageBoard {
 public:
  void Show(int) {}
};

class CCaptionBanner {
 public:
  int IsShowing() const { return 0; }
  void Step() {}
};
