#pragma once
#include "tests/ui/ui_fixture.h"
#include "ui/am_drag_obj.h"
#include "ui/am_scroll_bar.h"

namespace uitest {

// A 20 x 20 item of the picture "item" that leaves a ghost behind when
// dragged out of its slot; items of the same kind match.
class TestItem : public CAmDragObj {
 public:
  explicit TestItem(int mode, int kind = 0) : CAmDragObj("item", 20, 20, 0, nullptr), kind(kind) { dragMode = mode; }
  explicit TestItem(const TestItem& other) : CAmDragObj(other), kind(other.kind) {}
  CAmDragObj* CloneForGhost() override { return new TestItem(*this); }
  int Matches(CAmDragObj* other) override {
    auto* item = dynamic_cast<TestItem*>(other);
    return item && item->kind == kind ? 1 : 0;
  }

  int kind;
};

// The widget framework with the pictures of TestItem and of a vertical
// scroll-bar skin (index 0): 20 x 20 buttons of three rows, a 20 x 10 thumb,
// overlaps 2 and 3.
class SkinnedTest : public UiTest {
 protected:
  SkinnedTest() {
    WriteGrid("item", 20, 20, 1, 1);
    WriteGrid("back", 20, 20, 1, 3);
    WriteGrid("forward", 20, 20, 1, 3);
    WriteGrid("thumb", 20, 10, 1, 1);
    g_amScrollBarSkins.clear();
    RegisterScrollBarSkin({0, "back", "forward", "thumb", 20, 20, 20, 10, 2, 3, 0, 0, 0});
  }
  ~SkinnedTest() override { g_amScrollBarSkins.clear(); }
};

}  // namespace uitest
