#pragma once
#include "ui/gm_base.h"

// The overlay cursor: six shapes, one per row of "TwCursor01" (24 x 24
// cells keyed pure blue), each row an animation along its columns. It is the
// root's extra element rather than one of its children.
class CGMMouse : public CGMBase {
 public:
  static constexpr int kGroupId = 39321;
  static constexpr int kShapeCount = 6;
  static constexpr int kHotSpots[kShapeCount][2] = {{1, 4}, {4, 11}, {8, 18}, {12, 18}, {4, 30}, {17, 18}};

  CGMMouse();
  ~CGMMouse() override;

  // The next column of the row whenever the element's timer fires.
  int Update(int steps) override;
  int AttachTo(CMenuAgency* agency) override;
  int Detach() override;
  void Show(int visible) override;
  // The shape's hot spot goes to the point.
  int Move(int x, int y) override;
  int OnMouseMove(int x, int y) override;
  int OnDrag(int x, int y) override;
  // 0..5; anything else is refused with 0.
  int SetShape(int value);

  int shape = 0;
};
