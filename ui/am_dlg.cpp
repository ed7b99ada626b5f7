#include "ui/am_dlg.h"

#include "ui/am_button.h"

CAmDlg::CAmDlg(const char* imageName, int width, int height, CAmObject* owner, int kind)
    : CAmWnd(imageName, width, height, 0, owner),
      firstMessage(kind == kOkCancel ? AMM_ONBUTTON_OK : AMM_ONBUTTON_YES),
      secondMessage(kind == kOkCancel ? AMM_ONBUTTON_CANCEL : AMM_ONBUTTON_NO) {}

CAmDlg::~CAmDlg() {
  delete firstButton;
  delete secondButton;
}

CAmButton* CAmDlg::MakeButton(CAmButton* old, const char* imageName, int width, int height, int x, int y,
                              int pressSound, int hoverSound) {
  delete old;
  auto* button = new CAmButton(imageName, width, height, 0, pressSound, hoverSound, this);
  button->SetPosition(x, y);
  return button;
}

void CAmDlg::CreateFirstButton(const char* imageName, int width, int height, int x, int y, int pressSound,
                               int hoverSound) {
  firstButton = MakeButton(firstButton, imageName, width, height, x, y, pressSound, hoverSound);
}

void CAmDlg::CreateSecondButton(const char* imageName, int width, int height, int x, int y, int pressSound,
                                int hoverSound) {
  secondButton = MakeButton(secondButton, imageName, width, height, x, y, pressSound, hoverSound);
}

int CAmDlg::OnMessage(int id, int, int, CAmObject* sender) {
  if (id != AMM_BUTTONUP || !sender) return 0;
  if (sender == firstButton) {
    PostMessage(firstMessage, 0, 0, this);
    OnOK();
    Close();
    return 1;
  }
  if (sender == secondButton) {
    PostMessage(secondMessage, 0, 0, this);
    Close();
    return 1;
  }
  return 0;
}

void CAmDlg::OnOK() {}
