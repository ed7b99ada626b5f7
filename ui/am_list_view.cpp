#include "ui/am_list_view.h"

#include "ui/am_container.h"
#include "ui/am_drag_obj.h"
#include "ui/am_scroll_bar.h"

namespace {

constexpr int kScrollSubSteps = 5;
constexpr int kWantedFree = 16;
constexpr int kVerticalBarId = 1;
constexpr int kHorizontalBarId = 2;

}  // namespace

CAmListView::CAmListView(const char* imageName, int width, int height, int id, CAmObject* parent, int direction)
    : CAmScrollList(imageName, width, height, id, parent), direction(direction) {}

void CAmListView::SetView(int x, int y, int width, int height) {
  CAmScrollList::SetView(x, y, width, height);
  subSteps = kScrollSubSteps;
}

void CAmListView::PlaceCell(CAmContainer* cell, int index) {
  AddCell(cell, index % columns * cellWidth, index / columns * cellHeight);
}

void CAmListView::BuildCells(const char* imageName, int newCellWidth, int newCellHeight, int kind) {
  if (!cells.empty() || newCellWidth <= 0 || newCellHeight <= 0) return;
  cellWidth = newCellWidth;
  cellHeight = newCellHeight;
  cellKind = kind;
  columns = visibleColumns = viewWidth / cellWidth;
  rows = visibleRows = viewHeight / cellHeight;
  if (columns <= 0 || rows <= 0 || static_cast<long long>(columns) * rows > kMaxCells) {
    columns = rows = 0;
    return;
  }
  auto* first = new CAmContainer(imageName, cellWidth, cellHeight, kind, 0);
  PlaceCell(first, 0);
  for (int i = 1; i < columns * rows; ++i) PlaceCell(new CAmContainer(*first, kind, i), i);
  ClipCells();
}

void CAmListView::CreateScrollBar(int skinIndex, int x, int y, int length) {
  if (scrollBar || (direction != kHorizontal && direction != kVertical)) return;
  const bool vertical = direction == kVertical;
  scrollBar = new CAmScrollBar(vertical ? kVerticalBarId : kHorizontalBarId, skinIndex, length, this);
  scrollBar->SetPageSteps(vertical ? visibleRows : visibleColumns, -1);
  scrollBar->SetSubSteps(kScrollSubSteps);
  scrollBar->SetPosition(x, y);
  UpdateRange();
}

void CAmListView::AddRows(int n) {
  if (direction != kVertical || cells.empty() || n <= 0) return;
  if (static_cast<long long>(rows + n) * columns > kMaxCells) return;
  for (int r = 0; r < n; ++r, ++rows)
    for (int c = 0; c < columns; ++c) {
      const int index = static_cast<int>(cells.size());
      PlaceCell(new CAmContainer(*cells.front(), cellKind, index), index);
    }
  UpdateRange();
  ClipCells();
}

CAmContainer* CAmListView::PutAt(CAmDragObj* item, int index) {
  if (index < 0 || columns <= 0) return nullptr;
  const int count = static_cast<int>(cells.size());
  if (index >= count) AddRows((index - count + 1) / columns + 1);
  if (index >= static_cast<int>(cells.size())) return nullptr;
  cells[static_cast<size_t>(index)]->PutItem(item);
  return cells[static_cast<size_t>(index)];
}

CAmContainer* CAmListView::PutFirstFree(CAmDragObj* item) {
  for (CAmContainer* cell : cells)
    if (!cell->held) {
      cell->PutItem(item);
      return cell;
    }
  return PutAfterLast(item);
}

CAmContainer* CAmListView::PutAfterLast(CAmDragObj* item) {
  if (cells.empty()) return nullptr;
  size_t next = 0;
  for (size_t i = cells.size(); i-- > 0;)
    if (cells[i]->held) {
      next = i + 1;
      break;
    }
  if (next >= cells.size()) {
    AddRows(1);
    if (next >= cells.size()) return nullptr;
  }
  cells[next]->PutItem(item);
  return cells[next];
}

int CAmListView::CountFree() const {
  int free = 0;
  for (const CAmContainer* cell : cells) free += cell->held ? 0 : 1;
  return free;
}

void CAmListView::EnsureFree() {
  const int free = CountFree();
  if (free < kWantedFree) AddRows((kWantedFree - free) / 4 + 1);
}

CAmContainer* CAmListView::FindMatching(CAmDragObj* item) const {
  if (!item) return nullptr;
  for (CAmContainer* cell : cells)
    if (cell->held && item->Matches(cell->held)) return cell;
  return nullptr;
}

void CAmListView::UpdateRange() {
  if (!scrollBar) return;
  if (direction == kVertical) scrollBar->SetRange(rows - visibleRows + 1);
  else scrollBar->SetRange(columns - visibleColumns + 1);
}

int CAmListView::OnMessage(int id, int a, int b, CAmObject* sender) {
  const bool scrolling = id == AMM_SCROLL_PREVSTEP || id == AMM_SCROLL_NEXTSTEP || id == AMM_SCROLLING;
  if (scrolling && sender == scrollBar && sender->id == kVerticalBarId)
    ScrollInnerTo(a * cellHeight + b * cellHeight / subSteps);
  ClipCells();
  return 1;
}
