#pragma once
#include "ui/am_scroll_list.h"

class CAmDragObj;

// A grid of item slots that grows by rows (inventories).
class CAmListView : public CAmScrollList {
 public:
  enum Direction { kHorizontal = 1, kVertical = 2 };
  // Cells beyond this are refused: each holds a sprite of a fixed-size table.
  static constexpr int kMaxCells = 1024;

  CAmListView(const char* imageName, int width, int height, int id, CAmObject* parent, int direction);

  // Sub-steps 5.
  void SetView(int x, int y, int width, int height) override;
  // Fills the view with whole cells, the first serving as the template of the others.
  void BuildCells(const char* imageName, int cellWidth, int cellHeight, int kind);
  // Vertical: bar id 1 paging by visible rows; horizontal: id 2 by visible columns.
  void CreateScrollBar(int skinIndex, int x, int y, int length);
  // Vertical lists only: n rows of copies of the first cell.
  void AddRows(int n);
  // The cell at index (rows added as needed) now holding item; null when
  // the index cannot be reached.
  CAmContainer* PutAt(CAmDragObj* item, int index);
  CAmContainer* PutFirstFree(CAmDragObj* item);
  // The cell after the last occupied one; a full last cell adds a row.
  CAmContainer* PutAfterLast(CAmDragObj* item);
  int CountFree() const;
  // Fewer than 16 free cells add rows.
  void EnsureFree();
  // The first cell whose object item->Matches.
  CAmContainer* FindMatching(CAmDragObj* item) const;
  void UpdateRange();

  // Scrolls by the messages of the vertical bar; swallows every message.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  int direction = kVertical;
  int rows = 0;
  int columns = 0;
  int visibleRows = 0;
  int visibleColumns = 0;
  int cellKind = 0;
  int cellHeight = 0;
  int cellWidth = 0;
  int subSteps = 5;

 private:
  void PlaceCell(CAmContainer* cell, int index);
};
