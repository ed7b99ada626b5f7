#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "ui/am_object.h"

class CAmContainer;
class CAmDragObj;
class CAmScrollBar;

// A grid of item slots that grows by rows (inventories). The cells stay
// children of their container agency in the widget tree; only their sprites
// hang under the list's hidden inner sprite, which moves to scroll. Every
// cell is clipped to the view rectangle.
class CAmListView : public CAmObject {
 public:
  enum Direction { kHorizontal = 1, kVertical = 2 };
  // Cells beyond this are refused: each holds a sprite of a fixed-size table.
  static constexpr int kMaxCells = 1024;

  CAmListView(const char* imageName, int width, int height, int id, CAmObject* parent, int direction);
  // Deletes the cells with their items, the bar and the inner sprite.
  ~CAmListView() override;

  // The view relative to the list; sub-steps 5.
  void SetView(int x, int y, int width, int height);
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
  void ClipCells();

  // Scrolls by the messages of the vertical bar; swallows every message.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  int direction = kVertical;
  int viewX = 0;
  int viewY = 0;
  int viewWidth = 0;
  int viewHeight = 0;
  std::vector<CAmContainer*> cells;  // owned
  int rows = 0;
  int columns = 0;
  int visibleRows = 0;
  int visibleColumns = 0;
  HOBJECT innerSprite = 0;
  int scrollX = 0;
  int scrollY = 0;
  CAmScrollBar* scrollBar = nullptr;  // owned
  int cellKind = 0;
  int cellHeight = 0;
  int cellWidth = 0;
  int subSteps = 5;

 private:
  void PlaceCell(CAmContainer* cell, int index);
};

// The view rectangle of a list in screen coordinates (right and bottom exclusive).
AMRECT ListViewRect(const CAmObject& list, int viewX, int viewY, int viewWidth, int viewHeight);
// An empty hidden sprite under the list's sprite at the view's corner.
HOBJECT CreateInnerSprite(const CAmObject& list, int x, int y);
