#include <string>
#include <vector>

#include "tests/ui/drag_fixture.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_edit.h"
#include "ui/am_list_view.h"
#include "ui/am_scroll_bar.h"
#include "ui/am_text_list.h"

namespace uitest {
namespace {

class ListTest : public SkinnedTest {
 protected:
  ListTest() {
    WriteGrid("cell", 40, 40, 1, 3);
    window = new RecordingWnd(640, 480);
    agency = new CAmContainerAgency(0, window);
    Update();
  }

  // A vertical grid at (50, 50) viewing 4 x 6 cells of 40 x 40 from (10, 10).
  CAmListView* Grid() {
    auto* list = new CAmListView(nullptr, 200, 300, 0, window, CAmListView::kVertical);
    list->SetPosition(50, 50);
    list->SetView(10, 10, 160, 240);
    list->BuildCells("cell", 40, 40, 0);
    list->CreateScrollBar(0, 175, 10, 200);
    return list;
  }
  static int SpriteY(HOBJECT sprite) { return LookupSprite(sprite)->y; }

  RecordingWnd* window;
  CAmContainerAgency* agency;
};

TEST_F(ListTest, GridsGrowByRows) {
  CAmListView* list = Grid();
  ASSERT_EQ(list->cells.size(), 24u);
  EXPECT_EQ(list->scrollBar->count, 1);
  for (int i = 0; i < 12; ++i) list->PutAt(new TestItem(2), i);
  list->EnsureFree();
  EXPECT_EQ(list->rows, 8) << "12 free of 24: two rows";
  EXPECT_EQ(list->cells.size(), 32u);
  EXPECT_EQ(list->scrollBar->count, 3);

  auto* far = new TestItem(2);
  CAmContainer* cell = list->PutAt(far, 32 + 3 * 4 - 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->held, far);
  EXPECT_EQ(list->cells.size(), 48u);
  SPRITEDESC* placed = LookupSprite(cell->sprite);
  EXPECT_EQ(placed->x, 3 * 40);
  EXPECT_EQ(placed->y, 10 * 40);
  EXPECT_EQ(list->PutAt(new TestItem(2), CAmListView::kMaxCells), nullptr) << "beyond what a list may hold";
  EXPECT_EQ(list->PutAt(nullptr, -1), nullptr);
}

TEST_F(ListTest, PutAfterLastAndFirstFree) {
  CAmListView* list = Grid();
  EXPECT_EQ(list->PutAfterLast(new TestItem(2)), list->cells[0]) << "an empty grid starts at the first cell";
  list->PutAt(new TestItem(2), 5);
  EXPECT_EQ(list->PutAfterLast(new TestItem(2)), list->cells[6]);
  EXPECT_EQ(list->PutFirstFree(new TestItem(2, 3)), list->cells[1]);
  TestItem probe(2, 3);
  EXPECT_EQ(list->FindMatching(&probe), list->cells[1]);
  while (list->CountFree() > 0) list->PutFirstFree(new TestItem(2));
  CAmContainer* cell = list->PutAfterLast(new TestItem(2));
  EXPECT_EQ(list->cells.size(), 28u) << "a full grid grows a row";
  EXPECT_EQ(cell, list->cells[24]);
}

TEST_F(ListTest, ScrollingMovesTheInnerSpriteAndClips) {
  CAmListView* list = Grid();
  list->AddRows(2);
  list->OnMessage(AMM_SCROLLING, 1, 0, list->scrollBar);
  EXPECT_EQ(SpriteY(list->innerSprite), 10 - 40);
  EXPECT_EQ(list->cells[0]->locked, 1) << "row 0 left the view";
  EXPECT_FALSE(Shown(list->cells[0]->sprite));
  EXPECT_EQ(list->cells[6 * 4]->locked, 0) << "row 6 came in";
  EXPECT_TRUE(Shown(list->cells[6 * 4]->sprite));
  EXPECT_EQ(list->cells[7 * 4]->locked, 1);
  list->OnMessage(AMM_SCROLL_PREVSTEP, 1, -2, list->scrollBar);
  EXPECT_EQ(SpriteY(list->innerSprite), 10 - (40 - 2 * 40 / 5));
}

TEST_F(ListTest, AGridGrownAfterAnotherAgencyReportsToItsOwn) {
  CAmListView* list = Grid();
  auto* later = new CAmContainerAgency(0, nullptr);  // another screen's
  list->AddRows(2);
  CAmContainer* grown = list->cells.back();
  EXPECT_EQ(grown->agency, agency);
  EXPECT_TRUE(later->containers.empty());
  list->PutAt(new TestItem(1), 24);
  list->OnMessage(AMM_SCROLLING, 2, 0, list->scrollBar);
  // Cell 24 now shows at (60, 220): its item's centre is at (80, 240).
  Press(80, 240);
  Move(82, 242);
  Update();
  ASSERT_FALSE(window->received.empty());
  bool checked = false;
  for (const Received& r : window->received) checked |= r.id == AMM_DRAGOBJ_CHECK && r.sender == agency;
  EXPECT_TRUE(checked);
  Release(82, 242);
  Update();
  delete later;
}

TEST(TextHeightTest, WrappedRowsKeepTheirLastLine) {
  struct Case {
    std::string text;
    int height;
  } cases[] = {
      {"", 2},
      {"abcd", 18},
      {"abcde", 39},  // the fifth character opens the second line
      {"abcdef", 39},
      {"abcdefghi", 60},
      {"\xA4\x40\xA4\x40\xA4\x40", 39},  // a two-byte character does not split
      {"a\xA4\x40\xA4\x40", 39},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    // (50 - 15) / 17 = 2 characters a line.
    EXPECT_EQ(TextHeight(c.text.c_str(), static_cast<int>(c.text.size()), 50), c.height);
  }
  EXPECT_EQ(TextHeight(nullptr, 4, 50), 2);
  EXPECT_EQ(TextHeight("abc", 3, 0), 2 + 21 + 21 + 16) << "too narrow: a character a line";
}

class TextListTest : public ListTest {
 protected:
  // A list at (50, 50) with two 100-wide columns viewing from (0, 0).
  CAmTextListView* List(int viewHeight, int rows) {
    auto* list = new CAmTextListView(nullptr, 300, 300, 0, window);
    list->SetPosition(50, 50);
    list->SetView(0, 0, 260, viewHeight);
    const int widths[] = {100, 100};
    list->SetColumnWidths(2, widths);
    list->CreateScrollBar(0, 265, 0, 150);
    for (int i = 0; i < rows; ++i) {
      const std::string name = "row" + std::to_string(i);
      list->AddRowColumn(0, name.c_str(), -1, 1, 0);
      list->AddRowColumn(1, "x", -1, 1, 0);
    }
    return list;
  }
};

TEST_F(TextListTest, RowsThatAllFitDoNotScroll) {
  CAmTextListView* list = List(200, 3);
  EXPECT_EQ(list->rowCount, 3);
  EXPECT_EQ(list->GetRow(0)->height, 18);
  EXPECT_EQ(list->scrollBar->count, 1);
  EXPECT_FLOAT_EQ(Alpha(list->scrollBar->backButton->sprite), 0.0f);
  EXPECT_STREQ(list->GetRowColumnText(2, 0), "row2");
  EXPECT_EQ(list->GetRowColumnText(3, 0), nullptr);
  EXPECT_EQ(list->GetRowColumnText(0, 2), nullptr);
}

TEST_F(TextListTest, RangeAndPagesFollowTheRowsThatFit) {
  // Rows of 18 with gaps of 10: the last three fit in 100 pixels.
  CAmTextListView* list = List(100, 10);
  EXPECT_EQ(list->scrollBar->count, 8);
  EXPECT_EQ(list->scrollBar->pageBack, 0);
  EXPECT_EQ(list->scrollBar->pageForward, 3);
  list->ScrollToEnd();
  EXPECT_EQ(list->firstVisibleRow, 7);
  EXPECT_EQ(SpriteY(list->innerSprite), -7 * 28);
  EXPECT_EQ(list->scrollBar->pageBack, 3);
  EXPECT_EQ(list->cells[0]->locked, 1);
  EXPECT_EQ(list->cells[9]->locked, 0);
}

TEST_F(TextListTest, RemovingARowLiftsTheOthers) {
  CAmTextListView* list = List(200, 3);
  const int second = SpriteY(list->cells[1]->sprite);
  const int third = SpriteY(list->cells[2]->sprite);
  list->RemoveRow(0);
  ASSERT_EQ(list->cells.size(), 2u);
  EXPECT_EQ(SpriteY(list->cells[0]->sprite), second - (18 + 10));
  EXPECT_EQ(SpriteY(list->cells[1]->sprite), third - (18 + 10));
  EXPECT_EQ(list->GetRow(1)->rowIndex, 1);
  EXPECT_STREQ(list->GetRowColumnText(0, 0), "row1");
  EXPECT_EQ(list->rowCount, 2);
  list->RemoveRow(7);  // nothing there
  EXPECT_EQ(list->rowCount, 2);
}

TEST_F(TextListTest, RowsAreHoveredAndSelected) {
  CAmTextListView* list = List(200, 3);
  list->SetRowColours(1, 200, 100, 0);
  CAmMultiColText* row = list->GetRow(1);
  EXPECT_EQ(row->GetColumnWidget(0)->red, 200);
  EXPECT_EQ(row->hoverColour.blue, 250 * 255 / 255);
  EXPECT_EQ(row->hoverColour.green, 0);
  int x = 0, y = 0;
  row->GetPosition(&x, &y);
  Move(x + 5, y + 5);
  EXPECT_EQ(row->hover, 1);
  EXPECT_EQ(row->GetColumnWidget(0)->blue, row->hoverColour.blue);
  Click(x + 5, y + 5);
  Update();
  EXPECT_EQ(row->selected, 1);
  EXPECT_EQ(row->GetColumnWidget(0)->red, row->selectedColour.red);
  bool selected = false;
  for (const Received& r : window->received) selected |= r.id == AMM_OBJ_SELECT && r.sender == row;
  EXPECT_TRUE(selected) << "the selection reaches the screen through the agency";
}

TEST_F(TextListTest, RowsAddedAfterAnotherScreenClosedJoinTheirOwnListsAgency) {
  CAmTextListView* list = List(200, 1);
  ASSERT_EQ(list->cells[0]->agency, agency);
  // Another screen builds its agency and closes: none is "the last built".
  delete new CAmContainerAgency(0, nullptr);
  ASSERT_EQ(g_amContainerAgency, nullptr);
  list->AddRowColumn(0, "late", -1, 1, 0);
  list->AddRowColumn(1, "x", -1, 1, 0);
  // And another that is still open.
  auto* newer = new CAmContainerAgency(0, window);
  list->AddRowColumn(0, "later", -1, 1, 0);
  list->AddRowColumn(1, "x", -1, 1, 0);
  ASSERT_EQ(list->cells.size(), 3u);
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(list->cells[i]->agency, agency) << i;
    EXPECT_EQ(list->cells[i]->parent, agency) << i << ": hangs in the widget tree";
  }
  EXPECT_TRUE(newer->containers.empty());
  // The list's own agency gone: a row joins none rather than a dead one.
  delete agency;
  agency = nullptr;
  list->AddRowColumn(0, "orphan", -1, 1, 0);
  list->AddRowColumn(1, "x", -1, 1, 0);
  EXPECT_EQ(list->cells.back()->agency, nullptr);
  EXPECT_EQ(list->cells.back()->parent, nullptr);
}

TEST_F(ListTest, AShorterTextBlanksTheRowsItNoLongerUses) {
  auto* view = new CAmTextView(nullptr, 200, 200, 0, window);
  view->SetView(0, 0, 100, 200);  // lines of 12 bytes, ending at 11 or 12
  view->SetViewText(std::string(30, 'a').c_str(), -1);
  ASSERT_EQ(view->rowCount, 3);
  EXPECT_EQ(std::string(view->GetRowColumnText(0, 0)), std::string(11, 'a'));
  EXPECT_EQ(std::string(view->GetRowColumnText(2, 0)), std::string(8, 'a'));
  view->SetViewText("hello world", 5);
  EXPECT_EQ(view->rowCount, 1);
  EXPECT_STREQ(view->GetRowColumnText(0, 0), "hello");
  EXPECT_STREQ(view->GetRowColumnText(1, 0), " ");
  EXPECT_STREQ(view->GetRowColumnText(2, 0), " ");
  EXPECT_EQ(view->cells.size(), 3u);
}

}  // namespace
}  // namespace uitest
