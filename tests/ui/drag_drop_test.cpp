#include <vector>

#include "tests/ui/drag_fixture.h"
#include "ui/am_container.h"
#include "ui/am_drag_obj.h"

namespace uitest {
namespace {

// A slot that remembers how the agency highlighted it.
class TestCell : public CAmContainer {
 public:
  TestCell(int x, int y, int id) : CAmContainer("cell", 40, 40, 0, id) { SetPosition(x, y); }
  void SetHighlight(int flag) override { highlights.push_back(flag); }
  std::vector<int> highlights;
};

class DragDropTest : public SkinnedTest {
 protected:
  DragDropTest() {
    WriteGrid("cell", 40, 40, 1, 1);
    window = new RecordingWnd(640, 480);
    agency = new CAmContainerAgency(0, window);
    home = new TestCell(100, 100, 0);
    other = new TestCell(300, 100, 1);
    g_amDragLock = 0;
    Update();  // the window joins the stack
  }
  ~DragDropTest() override { g_amDragLock = 0; }

  TestItem* Place(int mode, CAmContainer* cell) {
    auto* item = new TestItem(mode);
    cell->PutItem(item);
    return item;
  }
  static void Position(const CAmObject* o, int* x, int* y) { o->GetPosition(x, y); }
  std::vector<Received> Messages(int id) {
    std::vector<Received> found;
    for (const Received& r : window->received)
      if (r.id == id) found.push_back(r);
    return found;
  }

  RecordingWnd* window;
  CAmContainerAgency* agency;
  TestCell* home;
  TestCell* other;
};

TEST_F(DragDropTest, OverlapNeedsMoreThanFourTenthsOfTheSmallerRectangle) {
  TestItem* item = Place(1, home);
  struct Case {
    int x, y;
    int expected;
  } cases[] = {
      {131, 110, 1},  // 9 x 20 = 180 > 160
      {132, 110, 0},  // 8 x 20 = 160
      {140, 110, 0},  // touching the right edge
      {110, 80, 0},   // touching the top edge
      {110, 110, 1},  // inside
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    item->AttachTo(nullptr, 0);
    item->SetPosition(c.x, c.y);
    EXPECT_EQ(home->OverlapTest(item), c.expected);
  }
  home->SetLocked(1);
  item->SetPosition(110, 110);
  EXPECT_EQ(home->OverlapTest(item), 0) << "a locked slot is no target";
}

TEST_F(DragDropTest, ASecondLockUserDoesNotStart) {
  TestItem* first = Place(1, home);
  TestItem* second = Place(1, other);
  EXPECT_EQ(first->StartDrag(115, 115), 1);
  EXPECT_EQ(g_amDragLock, 1);
  EXPECT_EQ(second->StartDrag(315, 115), 0);
  Press(315, 115);
  Move(316, 116);
  Move(330, 130);
  EXPECT_EQ(second->dragging, 0);
  second->usesDragLock = 0;
  EXPECT_EQ(second->StartDrag(315, 115), 1) << "an object without the lock ignores it";
}

TEST_F(DragDropTest, ModeOneReleasedOverNothingGoesHome) {
  TestItem* item = Place(1, home);
  Press(115, 115);
  Move(118, 118);
  ASSERT_EQ(item->dragging, 1);
  Update();
  ASSERT_NE(home->ghost, nullptr) << "a ghost stays in the slot";
  EXPECT_EQ(home->held, nullptr);
  EXPECT_EQ(item->parent, agency);
  Move(500, 400);
  int x = 0, y = 0;
  Position(item, &x, &y);
  EXPECT_EQ(x, 492) << "the grab offset is kept";
  EXPECT_EQ(y, 392);
  Release(500, 400);
  Update();
  EXPECT_EQ(home->held, item);
  EXPECT_EQ(home->ghost, nullptr);
  Position(item, &x, &y);
  EXPECT_EQ(x, 110);
  EXPECT_EQ(y, 110);
  EXPECT_EQ(g_amDragLock, 0);
  EXPECT_TRUE(Messages(AMM_DROPOBJ_CHECK).empty());
}

TEST_F(DragDropTest, ModeTwoFollowsUntilDroppedOnASlot) {
  TestItem* item = Place(2, home);
  Click(115, 115);
  Update();
  Move(500, 400);
  Update();
  Click(500, 400);
  Update();
  EXPECT_EQ(item->dragging, 1) << "clicked over nothing, it keeps following";
  EXPECT_EQ(item->dropPending, 0);
  EXPECT_EQ(g_amDragLock, 1);
  Move(318, 118);
  int x = 0, y = 0;
  Position(item, &x, &y);
  EXPECT_EQ(x, 313);
  Update();
  Click(318, 118);
  Update();
  std::vector<Received> drops = Messages(AMM_DROPOBJ_CHECK);
  ASSERT_EQ(drops.size(), 1u);
  const AMDROPDESC* record = CAmContainerAgency::DropRecord(drops[0].a, drops[0].sender);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->source, home);
  EXPECT_EQ(record->object, item);
  EXPECT_EQ(record->target, other);
  EXPECT_EQ(record->targetHeld, nullptr);
  EXPECT_EQ(item->parent, agency) << "the screen places it";
  EXPECT_NE(home->ghost, nullptr);
  EXPECT_EQ(g_amDragLock, 0);
  other->PutItem(item);
  home->RemoveGhost();
  EXPECT_EQ(item->dragging, 0);
  EXPECT_EQ(other->held, item);
}

TEST_F(DragDropTest, ARightClickSendsTheObjectHome) {
  TestItem* item = Place(1, home);
  Press(115, 115);
  Move(118, 118);
  Move(318, 118);
  Update();
  Mouse(plat::WM_RBUTTONDOWN, 318, 118);
  Update();
  EXPECT_EQ(home->held, item);
  EXPECT_EQ(home->ghost, nullptr);
  EXPECT_EQ(item->dragging, 0);
  std::vector<Received> drops = Messages(AMM_DROPOBJ_CHECK);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].a, 0);
  EXPECT_EQ(CAmContainerAgency::DropRecord(drops[0].a, drops[0].sender), nullptr);
  EXPECT_EQ(other->highlights, (std::vector<int>{1, 0}));
  EXPECT_EQ(g_amDragLock, 0);
}

TEST_F(DragDropTest, OneCheckPerChangeOfTarget) {
  Place(1, home);
  Press(115, 115);
  // Over its own slot, wandering inside it, then over the other, then nowhere.
  for (int x : {118, 120, 122, 124, 318, 320, 322, 500, 510}) {
    Move(x, 118);
    Update();
  }
  std::vector<Received> checks = Messages(AMM_DRAGOBJ_CHECK);
  ASSERT_EQ(checks.size(), 3u);
  EXPECT_EQ(checks[0].a, 1);
  EXPECT_EQ(CAmContainerAgency::DropRecord(checks[0].a, checks[0].sender)->target, other);
  EXPECT_EQ(checks[2].a, 0);
  EXPECT_EQ(home->highlights, (std::vector<int>{1, 0}));
  EXPECT_EQ(other->highlights, (std::vector<int>{1, 0}));
}

TEST_F(DragDropTest, AnAgencyAndADraggedObjectLeaveNoDanglingReferences) {
  TestItem* item = Place(1, home);
  Press(115, 115);
  Move(118, 118);
  Update();
  ASSERT_EQ(agency->dragged, item);
  delete item;
  EXPECT_EQ(agency->dragged, nullptr);
  EXPECT_EQ(g_amDragLock, 0);
  Release(118, 118);
  Update();

  TestItem* kept = Place(1, other);
  delete kept;
  EXPECT_EQ(other->held, nullptr) << "a held object deleted elsewhere leaves its slot";

  auto* later = new CAmContainerAgency(0, window);
  EXPECT_EQ(g_amContainerAgency, later);
  delete later;
  EXPECT_EQ(g_amContainerAgency, nullptr);
  delete agency;
  EXPECT_EQ(home->agency, nullptr);
  delete home;  // leaves no agency behind to tell
}

}  // namespace
}  // namespace uitest
