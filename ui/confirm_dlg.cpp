#include "ui/confirm_dlg.h"

namespace {

constexpr const char* kImages[] = {"ifi5100", "ifi5200", "ifi5300", "ifi5400", "ifi5500"};

const char* ImageOf(int kind) { return kind >= 0 && kind <= 4 ? kImages[kind] : kImages[0]; }

}  // namespace

CTwConfirmDlg::CTwConfirmDlg(int kind, CAmObject* owner) : CAmDlg(ImageOf(kind), kWidth, kHeight, owner, kOkCancel) {
  if (owner) SetPosition((owner->width - kWidth) / 2, (owner->height - kHeight) / 2);
  CreateFirstButton("ifbtn01", 38, 19, 41, 44, 5, 1);
  CreateSecondButton("ifbtn00", 38, 19, 104, 44, 5, 1);
}
