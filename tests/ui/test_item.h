#pragma once
#include "ui/am_drag_obj.h"

namespace uitest {

// A 20 x 20 item of the picture "item" that leaves a ghost behind when
// dragged out of its slot; items of the same kind match.
class TestItem : public CAmDragObj {
 public:
  explicit TestItem(int mode, int kind = 0) : CAmDragObj("item", 20, 20, 0, nullptr), kind(kind) {
    dragMode = mode;
  }
  explicit TestItem(const TestItem& other) : CAmDragObj(other), kind(other.kind) {}
  CAmDragObj* CloneForGhost() override { return new TestItem(*this); }
  int Matches(CAmDragObj* other) override {
    auto* item = dynamic_cast<TestItem*>(other);
    return item && item->kind == kind ? 1 : 0;
  }

  int kind;
};

}  // namespace uitest
