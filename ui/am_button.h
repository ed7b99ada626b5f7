#pragma once
#include "base/tick_timer.h"
#include "ui/am_object.h"

// The image button of the menu screens. The picture's grid rows are its
// looks, its columns an idle animation:
//   one row:   idle and hover row 0 at half opacity, pressed row 0 opaque;
//   two rows:  idle and hover row 0, pressed row 1;
//   three+:    idle row 0, hover row 1 (with the hover sound), pressed row 2.
// It posts AMM_BUTTONDOWN on a press inside (and on each repeat while held
// with auto-repeat), AMM_BUTTONUP on the release wherever it happens,
// kAmmPressOutside on a press elsewhere while held, and AMM_MOUSEHOVER /
// AMM_MOUSELEAVE as the pointer comes and goes. Locked, it is invisible and deaf.
class CAmButton : public CAmObject {
 public:
  CAmButton(const char* imageName, int width, int height, int id, int pressSound, int hoverSound, CAmObject* parent);

  // 0 while locked; else the pressed look and 1.
  virtual int Press();
  // Press and, when it worked, Release.
  virtual int Click();
  // 0 when not pressed; else the idle look and 1.
  virtual int Release();
  // Idle, not hovered, the first cell.
  virtual void ResetState();

  // Mode 1 repeats AMM_BUTTONDOWN while held, rate times a second once the
  // button has been held for eleven updates; other modes do nothing, and
  // there is no way back.
  void SetAutoRepeat(int mode, double rate);
  void SetPressed(int flag);

  void OnTick(int steps) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  // Locked buttons turn fully transparent; unlocking makes them opaque.
  void SetLocked(int flag) override;

  int columns = 1;
  int rows = 1;
  int pressed = 0;
  int autoRepeat = 0;
  int repeatCount = 0;  // updates spent pressed
  CTickTimer repeatTimer;
  int hover = 0;
  int pressSound = 0;  // keys of the manager's UI sounds
  int hoverSound = 0;
  int hoverValue = -1;     // a of AMM_MOUSEHOVER
  int releaseEnabled = 1;  // while 0 a left release is ignored

 private:
  void ShowRow(int row);
  void ShowIdle();
};
