#include "ui/am_text_list.h"

#include <algorithm>
#include <cstring>

#include "engine/media/sprites.h"
#include "platform/big5.h"
#include "ui/am_container.h"
#include "ui/am_edit.h"
#include "ui/am_scroll_bar.h"

namespace {

// Row text metrics.
constexpr int kFontWidth = 15;
constexpr int kFontHeight = 16;
constexpr int kCharacterSpacing = 2;
constexpr int kLineSpacing = 5;
// The row surface's fill, which is also its key.
constexpr int kRowRed = 240;
constexpr int kRowGreen = 209;
constexpr int kRowBlue = 154;
constexpr int kTextViewGap = 2;

// length bytes of text (the whole string for length below 1), never past its end.
std::string Bytes(const char* text, int length) {
  if (!text) return {};
  if (length < 1) return text;
  return std::string(text, strnlen(text, static_cast<size_t>(length)));
}

}  // namespace

int TextHeight(const char* text, int length, int width) {
  const std::string s = Bytes(text, length);
  const int cap = 2 * ((width - kFontWidth) / (kFontWidth + kCharacterSpacing));
  int used = 0;
  int total = 0;
  for (size_t i = 0; i < s.size();) {
    const int bytes = static_cast<int>(plat::Big5CharLength(s, i));
    i += static_cast<size_t>(bytes);
    // A character that does not fit starts the next line, and counts there.
    if (used + bytes > cap && used > 0) {
      total += kFontHeight + kLineSpacing;
      used = 0;
    }
    used += bytes;
  }
  if (used > 0) total += kFontHeight;
  return total + 2;
}

CAmMultiColText::CAmMultiColText(int columnCount, int selectable, int rowIndex)
    : CAmDragObj(0),
      rowIndex(rowIndex),
      columns(static_cast<size_t>(std::max(columnCount, 0))),
      columnCount(std::max(columnCount, 0)),
      selectable(selectable) {
  dragMode = 0;
}

CAmMultiColText::~CAmMultiColText() {
  for (AMCOLUMNDESC& column : columns) delete column.widget;
}

AMCOLUMNDESC* CAmMultiColText::Column(int index) {
  return index >= 0 && index < columnCount ? &columns[static_cast<size_t>(index)] : nullptr;
}

int CAmMultiColText::SetColumn(int index, int width, const char* text, int length, int editable) {
  AMCOLUMNDESC* column = Column(index);
  if (!column) return 0;
  column->width = width;
  column->text = Bytes(text, length);
  column->editable = editable;
  column->height = TextHeight(column->text.c_str(), static_cast<int>(column->text.size()), width);
  return 1;
}

int CAmMultiColText::SetColumnText(int index, const char* text, int length) {
  AMCOLUMNDESC* column = Column(index);
  if (!column) return 0;
  column->text = Bytes(text, length);
  if (column->widget) column->widget->SetTextRaw(column->text.c_str(), 0);
  redrawOnShow = 1;
  return 1;
}

CAmEdit* CAmMultiColText::GetColumnWidget(int index) const {
  return index >= 0 && index < columnCount ? columns[static_cast<size_t>(index)].widget : nullptr;
}

const char* CAmMultiColText::GetColumnText(int index) const {
  return index >= 0 && index < columnCount ? columns[static_cast<size_t>(index)].text.c_str() : nullptr;
}

void CAmMultiColText::BuildRow() {
  if (sprite) return;
  int rowWidth = 0;
  int rowHeight = 0;
  for (const AMCOLUMNDESC& column : columns) {
    rowWidth += column.width;
    rowHeight = std::max(rowHeight, column.height);
  }
  SetBlankImage(kRowRed, kRowGreen, kRowBlue, rowWidth, rowHeight);
  if (sprite) SetSpriteColorKey(sprite, kRowRed, kRowGreen, kRowBlue, 1);
  int x = 0;
  for (AMCOLUMNDESC& column : columns) {
    column.widget = new CAmEdit(column.width, column.height, this);
    column.widget->SetPosition(x, 0);
    column.widget->SetFont(nullptr, kFontWidth, kFontHeight, normalColour.red, normalColour.green, normalColour.blue);
    column.widget->SetSpacing(kCharacterSpacing, kLineSpacing);
    column.widget->SetTextRaw(column.text.c_str(), 0);
    column.widget->enabled = column.editable;
    x += column.width;
  }
}

namespace {

void StoreColour(CAmMultiColText::Colour& stored, int red, int green, int blue, int mode) {
  if (mode == 1) {
    stored = {stored.red * red / 255, stored.green * green / 255, stored.blue * blue / 255};
  } else if (mode == 0) {
    stored = {red, green, blue};
  }
}

}  // namespace

void CAmMultiColText::SetNormalColour(int red, int green, int blue, int mode) {
  StoreColour(normalColour, red, green, blue, mode);
  Repaint(normalColour);
}

void CAmMultiColText::SetHoverColour(int red, int green, int blue, int mode) {
  StoreColour(hoverColour, red, green, blue, mode);
}

void CAmMultiColText::SetSelectedColour(int red, int green, int blue, int mode) {
  StoreColour(selectedColour, red, green, blue, mode);
}

void CAmMultiColText::Repaint(const Colour& colour) {
  for (AMCOLUMNDESC& column : columns) {
    if (!column.widget) continue;
    column.widget->SetColour(colour.red, colour.green, colour.blue);
    column.widget->Redraw(column.widget->text);
  }
}

void CAmMultiColText::Select() {
  Repaint(selectedColour);
  selected = 1;
}

void CAmMultiColText::Deselect() {
  Repaint(normalColour);
  selected = 0;
}

int CAmMultiColText::Show(int flag) {
  if (flag && redrawOnShow) {
    for (AMCOLUMNDESC& column : columns)
      if (column.widget) column.widget->Redraw(column.widget->text);
    redrawOnShow = 0;
  }
  const int result = CAmDragObj::Show(flag);
  for (AMCOLUMNDESC& column : columns)
    if (column.widget) column.widget->Show(flag);
  return result;
}

void CAmMultiColText::SetClipRect(int left, int top, int right, int bottom) {
  CAmDragObj::SetClipRect(left, top, right, bottom);
  for (AMCOLUMNDESC& column : columns)
    if (column.widget) column.widget->SetClipRect(left, top, right, bottom);
}

void CAmMultiColText::OnLButtonDown(int x, int y) {
  if (!selectable || locked) return;
  const int hit = HitTest(x, y);
  CAmDragObj::OnLButtonDown(x, y);
  if (hit) Select();
}

void CAmMultiColText::OnMouseMove(int x, int y) {
  if (!selectable || selected || locked) return;
  if (TrackHover(x, y)) Repaint(hover ? hoverColour : normalColour);
}

CAmTextListView::CAmTextListView(const char* imageName, int width, int height, int id, CAmObject* parent)
    : CAmScrollList(imageName, width, height, id, parent), agency_(g_amContainerAgency) {}

CAmTextListView::~CAmTextListView() { delete building_; }

void CAmTextListView::SetColumnWidths(int count, const int* widths) {
  columnWidths.clear();
  if (widths && count > 0) columnWidths.assign(widths, widths + count);
}

void CAmTextListView::CreateScrollBar(int skinIndex, int x, int y, int length) {
  if (scrollBar) return;
  scrollBar = new CAmScrollBar(0, skinIndex, length, this);
  scrollBar->SetSubSteps(1);
  scrollBar->SetPageSteps(rowCount, -1);
  scrollBar->SetPosition(x, y);
  UpdateRange();
}

CAmMultiColText* CAmTextListView::RowAt(size_t i) const {
  return i < cells.size() ? dynamic_cast<CAmMultiColText*>(cells[i]->held) : nullptr;
}

int CAmTextListView::HeightBefore(int n) const {
  int sum = 0;
  for (int i = 0; i < n && i < static_cast<int>(cells.size()); ++i) {
    const CAmMultiColText* row = RowAt(static_cast<size_t>(i));
    sum += rowGap + (row ? row->height : 0);
  }
  return sum;
}

void CAmTextListView::AddRowColumn(int column, const char* text, int length, int rowSelectable, int editable) {
  const int count = static_cast<int>(columnWidths.size());
  if (column < 0 || column >= count) return;
  if (!building_) building_ = new CAmMultiColText(count, rowSelectable, rowCount);
  building_->SetColumn(column, columnWidths[static_cast<size_t>(column)], text, length, editable);
  if (column != count - 1) return;

  CAmMultiColText* row = building_;
  building_ = nullptr;
  row->BuildRow();
  auto* cell = new CAmContainer(nullptr, width, row->height, 0, rowCount, agency_);
  cell->PutItem(row);
  AddCell(cell, 0, contentHeight + rowGap);
  ++rowCount;
  contentHeight += rowGap + row->height;
  UpdateRange();
  UpdateVisibleWindow(0);
  ClipCells();
}

CAmMultiColText* CAmTextListView::GetRow(int index) const {
  return index >= 0 ? RowAt(static_cast<size_t>(index)) : nullptr;
}

void CAmTextListView::SetRowValue(int index, int value) {
  if (CAmMultiColText* row = GetRow(index)) row->userValue = value;
}

void CAmTextListView::SetLastRowValue(int value) { SetRowValue(rowCount - 1, value); }

void CAmTextListView::SetRowColumnText(int row, int column, const char* text, int length) {
  CAmMultiColText* r = GetRow(row);
  if (!r || !r->SetColumnText(column, text, length)) return;
  // A row in view shows its new text at once.
  ClipCells();
}

const char* CAmTextListView::GetRowColumnText(int row, int column) const {
  CAmMultiColText* r = GetRow(row);
  return r ? r->GetColumnText(column) : nullptr;
}

void CAmTextListView::SetRowColours(int index, int red, int green, int blue) {
  CAmMultiColText* row = GetRow(index);
  if (!row) return;
  row->SetNormalColour(red, green, blue, 0);
  row->SetHoverColour(255 - red, 255 - green, 255 - blue, 1);
  row->SetSelectedColour(255 - red, 255 - green, 255 - blue, 1);
}

void CAmTextListView::RemoveRow(int index) {
  if (index < 0 || index >= static_cast<int>(cells.size())) return;
  delete cells[static_cast<size_t>(index)];
  cells.erase(cells.begin() + index);
  if (index < rowCount) --rowCount;
  for (size_t i = static_cast<size_t>(index); i < cells.size(); ++i) {
    CAmContainer* cell = cells[i];
    cell->id = static_cast<int>(i);
    if (CAmMultiColText* row = RowAt(i)) row->rowIndex = static_cast<int>(i);
    if (cell->sprite) SetSpritePosition(cell->sprite, 0, rowGap + HeightBefore(static_cast<int>(i)));
  }
  contentHeight = HeightBefore(rowCount);
  firstVisibleRow = std::min(firstVisibleRow, std::max(rowCount - 1, 0));
  UpdateRange();
  ClipCells();
}

void CAmTextListView::ScrollToEnd() {
  if (!scrollBar) return;
  scrollBar->SetBarPosition(scrollBar->count - 1);
  OnMessage(AMM_SCROLLING, scrollBar->count - 1, 0, scrollBar);
}

void CAmTextListView::UpdateRange() {
  int i = rowCount;
  int sum = 0;
  for (int r = rowCount - 1; r >= 0; --r) {
    const CAmMultiColText* row = RowAt(static_cast<size_t>(r));
    sum += row ? row->height : 0;
    if (sum > viewHeight) {
      if (scrollBar) scrollBar->SetRange(i + 1);
      if (firstVisibleRow > i) OnMessage(AMM_SCROLLING, i, 0, scrollBar);
      return;
    }
    sum += rowGap;
    --i;
  }
  if (scrollBar) scrollBar->SetRange(1);
  firstVisibleRow = 0;
  ScrollInnerTo(0);
}

void CAmTextListView::UpdateVisibleWindow(int k) {
  auto fits = [this](int from, int to, int step) {
    int n = 0;
    int sum = 0;
    for (int r = from; r != to; r += step) {
      const CAmMultiColText* row = RowAt(static_cast<size_t>(r));
      sum += row ? row->height : 0;
      if (sum > viewHeight) break;
      ++n;
      sum += rowGap;
    }
    return n;
  };
  const int back = fits(k - 1, -1, -1);
  const int forward = fits(k, rowCount, 1);
  if (scrollBar) scrollBar->SetPageSteps(back, forward);
}

int CAmTextListView::OnMessage(int id, int a, int, CAmObject*) {
  if (id == AMM_SCROLL_PREVSTEP || id == AMM_SCROLL_NEXTSTEP || id == AMM_SCROLLING) {
    const int first = std::clamp(a, 0, rowCount);
    ScrollInnerTo(HeightBefore(first));
    firstVisibleRow = first;
    UpdateVisibleWindow(first);
  }
  ClipCells();
  return 1;
}

CAmTextView::CAmTextView(const char* imageName, int width, int height, int id, CAmObject* parent)
    : CAmTextListView(imageName, width, height, id, parent) {
  rowGap = kTextViewGap;
}

void CAmTextView::SetViewText(const char* text, int length) {
  if (!columnsSet) {
    columnWidths = {viewWidth};
    columnsSet = 1;
  }
  const int perLine = (viewWidth - fontWidth) / (fontWidth + characterSpacing) * 2 + 2;

  const std::string all = length == 0 ? std::string() : Bytes(text, length);
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < all.size();) {
    const size_t n = plat::Big5CharLength(all, i);
    line.append(all, i, n);
    i += n;
    const int held = static_cast<int>(line.size());
    if (held == perLine || held == perLine - 1) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) lines.push_back(line);

  const int lineCount = static_cast<int>(lines.size());
  for (int i = 0; i < lineCount; ++i) {
    const std::string& l = lines[static_cast<size_t>(i)];
    if (i < static_cast<int>(cells.size())) SetRowColumnText(i, 0, l.c_str(), static_cast<int>(l.size()));
    else AddRowColumn(0, l.c_str(), static_cast<int>(l.size()), 0, 0);
  }
  rowCount = lineCount;
  for (size_t i = lines.size(); i < cells.size(); ++i) SetRowColumnText(static_cast<int>(i), 0, " ", 1);
  contentHeight = HeightBefore(rowCount);
  firstVisibleRow = 0;
  ScrollInnerTo(0);
  if (scrollBar) {
    scrollBar->SetRange(lineCount);
    scrollBar->SetBarPosition(0);
  }
  UpdateRange();
  ClipCells();
}
