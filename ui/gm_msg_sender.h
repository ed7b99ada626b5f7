#pragma once
#include "ui/gm_base.h"

class CDialogPlayerEx;

// An invisible overlay element that passes clicks and moves anywhere on the
// screen to a dialogue box.
class CGMMsgSender : public CGMBase {
 public:
  explicit CGMMsgSender(int groupId) : CGMBase(groupId) {}

  int Update(int steps) override;
  int HitTest(int x, int y) override;
  int OnLButtonDown(int x, int y) override;
  int OnLButtonUp(int x, int y) override;
  int OnMouseMove(int x, int y) override;
  void SetTarget(CDialogPlayerEx* box);

  CDialogPlayerEx* target = nullptr;
};
