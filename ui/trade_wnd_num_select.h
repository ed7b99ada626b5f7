#pragma once
#include "ui/am_dlg.h"

class CAmScrollBar;
class CAmText;

// How many of a stack to move: a bar from 1 to the maximum and the number.
class CNumSelectDlg : public CAmDlg {
 public:
  static constexpr int kWidth = 140;
  static constexpr int kHeight = 84;

  explicit CNumSelectDlg(CAmObject* owner);
  ~CNumSelectDlg() override;

  // The bar offers 1 to n.
  void SetMax(int n);
  // The bar at position p chooses p + 1.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  CAmText* number = nullptr;
  CAmScrollBar* bar = nullptr;
  int value = 1;
};
