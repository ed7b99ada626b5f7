#include "ui/trade_wnd_num_select.h"

#include "ui/am_scroll_bar.h"
#include "ui/am_text.h"

namespace {

constexpr int kPressSound = 0;
constexpr int kHoverSound = 1;
constexpr int kBarSkin = 2;

}  // namespace

CNumSelectDlg::CNumSelectDlg(CAmObject* owner) : CAmDlg("if5200", kWidth, kHeight, owner, kOkCancel) {
  CreateFirstButton("ifbtn02", 39, 19, 24, 53, kPressSound, kHoverSound);
  CreateSecondButton("ifbtn03", 39, 19, 77, 53, kPressSound, kHoverSound);
  number = new CAmText(32, 13, 0, this, nullptr);
  number->SetFont(nullptr, 12, 12, 0, 0, 10);
  number->smooth = 1;
  number->SetPosition(66, 18);
  number->SetNumber(value, "%d");
  bar = new CAmScrollBar(0, kBarSkin, 76, this);
  bar->SetPageSteps(10, 10);
  bar->SetPosition(13, 30);
}

CNumSelectDlg::~CNumSelectDlg() {
  delete number;
  delete bar;
}

void CNumSelectDlg::SetMax(int n) { bar->SetRange(n); }

int CNumSelectDlg::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (sender == bar && (id == AMM_SCROLL_PREVSTEP || id == AMM_SCROLL_NEXTSTEP || id == AMM_SCROLLING)) {
    value = a + 1;
    number->SetNumber(value, "%d");
    return 1;
  }
  return CAmDlg::OnMessage(id, a, b, sender);
}
