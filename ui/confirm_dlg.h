#pragma once
#include "ui/am_dlg.h"

// The small OK / cancel box of the title screen, the system page and the
// save list, centred in its owner window. Kinds: 0 quit, 1 load the slot,
// 4 delete the slot (2 and 3 have pictures but no use).
class CTwConfirmDlg : public CAmDlg {
 public:
  static constexpr int kWidth = 188;
  static constexpr int kHeight = 77;
  enum : int { kQuit = 0, kLoad = 1, kDelete = 4 };

  // A kind outside 0 to 4 takes the quit picture.
  CTwConfirmDlg(int kind, CAmObject* owner);
};
