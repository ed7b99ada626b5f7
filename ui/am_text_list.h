#pragma once
#include <string>
#include <vector>

#include "ui/am_drag_obj.h"
#include "ui/am_scroll_list.h"

class CAmContainerAgency;
class CAmEdit;

// The height a column of the given width needs for the text (Big5, length
// bytes): lines of (width - 15) / 17 characters, 21 pixels a line and 16
// for the last, plus 2.
int TextHeight(const char* text, int length, int width);

// One column of a text row.
struct AMCOLUMNDESC {
  CAmEdit* widget = nullptr;  // owned
  int width = 0;
  int height = 0;
  std::string text;
  int editable = 0;
};

// A row of text columns that is hovered and selected, never dragged. The
// row surface is filled with its own key colour, so only the text shows.
class CAmMultiColText : public CAmDragObj {
 public:
  struct Colour {
    int red, green, blue;
  };

  CAmMultiColText(int columnCount, int selectable, int rowIndex);
  ~CAmMultiColText() override;

  // 1, or 0 for a bad index. Length below 1: the whole string.
  int SetColumn(int index, int width, const char* text, int length, int editable);
  // The text of the column and its widget; drawn when the row shows next.
  int SetColumnText(int index, const char* text, int length);
  CAmEdit* GetColumnWidget(int index) const;
  const char* GetColumnText(int index) const;
  // The surface and one edit widget per column.
  void BuildRow();

  // Mode 0 stores the colour, mode 1 scales the stored one by value / 255.
  // Only the normal colour repaints (with the normal colours).
  void SetNormalColour(int red, int green, int blue, int mode);
  void SetHoverColour(int red, int green, int blue, int mode);
  void SetSelectedColour(int red, int green, int blue, int mode);
  void Select();
  void Deselect();

  int Show(int flag) override;
  void SetClipRect(int left, int top, int right, int bottom) override;
  void OnLButtonDown(int x, int y) override;
  void OnMouseMove(int x, int y) override;

  int rowIndex = 0;
  std::vector<AMCOLUMNDESC> columns;
  int columnCount = 0;
  int selectable = 0;
  int selected = 0;
  int redrawOnShow = 1;
  Colour normalColour{0, 0, 10};
  Colour hoverColour{10, 0, 250};
  Colour selectedColour{250, 50, 10};

 private:
  void Repaint(const Colour& colour);
  AMCOLUMNDESC* Column(int index);
};

// A vertical list of text rows (save records, notes) that scrolls by rows.
// Each row lies in a cell container of the agency built last.
class CAmTextListView : public CAmScrollList {
 public:
  CAmTextListView(const char* imageName, int width, int height, int id, CAmObject* parent);
  // Deletes the row under construction too.
  ~CAmTextListView() override;

  void SetColumnWidths(int count, const int* widths);
  // Bar id 0, one sub-step, paging by the row count.
  void CreateScrollBar(int skinIndex, int x, int y, int length);
  // Sets one column of the row under construction; the last column completes it.
  void AddRowColumn(int column, const char* text, int length, int selectable, int editable);
  void SetRowValue(int index, int value);
  void SetLastRowValue(int value);
  void SetRowColumnText(int row, int column, const char* text, int length);
  // Null for a bad row or column.
  const char* GetRowColumnText(int row, int column) const;
  CAmMultiColText* GetRow(int index) const;
  // Normal colour as given; hover and selected scaled by its complement.
  void SetRowColours(int index, int red, int green, int blue);
  void RemoveRow(int index);
  void ScrollToEnd();
  void UpdateRange();
  // The bar's page steps: the rows that fit before and from row k.
  void UpdateVisibleWindow(int k);

  // Scrolls to row a for the bar's messages; swallows every message.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  int rowCount = 0;
  int contentHeight = 0;
  int firstVisibleRow = 0;
  int rowGap = 10;
  std::vector<int> columnWidths;
  int selectable = 1;

 protected:
  // The row of cell i; null when the cell holds none.
  CAmMultiColText* RowAt(size_t i) const;
  // The sum of (gap + height) over the first n rows.
  int HeightBefore(int n) const;

 private:
  CAmMultiColText* building_ = nullptr;  // the row under construction
  // The agency of the screen that built the list: rows added at any later
  // time join it, whatever agency other screens built since.
  CAmContainerAgency* agency_;
};

// Read-only text shown as wrapped one-column rows.
class CAmTextView : public CAmTextListView {
 public:
  CAmTextView(const char* imageName, int width, int height, int id, CAmObject* parent);

  // Length below 0: the whole string. Rows a longer earlier text left over
  // are blanked.
  void SetViewText(const char* text, int length);

  int columnsSet = 0;
  int fontWidth = 15;
  int fontHeight = 16;
  int characterSpacing = 2;
};
