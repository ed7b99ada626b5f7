#include "ui/am_ime_bar.h"

#include "ui/am_text.h"

namespace {

constexpr int kBarWidth = 100;
constexpr int kBarHeight = 20;

}  // namespace

CAmIMEBar::CAmIMEBar() : CAmObject(kBarWidth, kBarHeight, 0, nullptr) {
  label_ = new CAmText(90, 16, 0, this, nullptr);
  label_->SetPosition(5, 2);
  label_->SetFont(nullptr, 15, 16, 255, 0, 0);
  SetPosition(10, 450);
  SetDepth(kLayer);
  ShowTree(0);
}

CAmIMEBar::~CAmIMEBar() { delete label_; }

void CAmIMEBar::SetDescription(const char* description) { label_->SetText(description); }
