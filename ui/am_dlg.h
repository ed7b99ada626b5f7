#pragma once
#include "ui/am_wnd.h"

class CAmButton;

// A window with two buttons: releasing one posts the dialog's answer (from
// the dialog, so it bubbles to the owner window) and closes the dialog.
class CAmDlg : public CAmWnd {
 public:
  enum Kind { kYesNo = 0, kOkCancel = 1 };

  // Kind 0 answers AMM_ONBUTTON_YES / AMM_ONBUTTON_NO, kind 1
  // AMM_ONBUTTON_OK / AMM_ONBUTTON_CANCEL; the buttons come later.
  CAmDlg(const char* imageName, int width, int height, CAmObject* owner, int kind);
  // Deletes the two buttons.
  ~CAmDlg() override;

  // A button with id 0 and the two sound keys, at (x, y) inside the dialog
  // (replacing one made before).
  void CreateFirstButton(const char* imageName, int width, int height, int x, int y, int pressSound, int hoverSound);
  void CreateSecondButton(const char* imageName, int width, int height, int x, int y, int pressSound, int hoverSound);

  // Handles only the release of its own two buttons.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;
  // The first button was released; the dialog closes after this.
  virtual void OnOK();

  CAmButton* firstButton = nullptr;
  CAmButton* secondButton = nullptr;
  int firstMessage = 0;
  int secondMessage = 0;

 private:
  CAmButton* MakeButton(CAmButton* old, const char* imageName, int width, int height, int x, int y, int pressSound,
                        int hoverSound);
};
