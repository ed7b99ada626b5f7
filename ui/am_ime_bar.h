#pragma once
#include "ui/am_object.h"

class CAmText;

// The bar that names the keyboard's input method, at (10, 450) above every
// window, red on no background. It starts hidden.
class CAmIMEBar : public CAmObject {
 public:
  static constexpr int kLayer = 9999;

  CAmIMEBar();
  ~CAmIMEBar() override;

  void SetDescription(const char* description);
  const CAmText* Label() const { return label_; }

 private:
  CAmText* label_ = nullptr;
};
