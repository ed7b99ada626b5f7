#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "ui/am_object.h"

class CAmContainer;
class CAmScrollBar;

// What the scrolling lists share: a view rectangle, cell containers whose
// sprites hang under a hidden inner sprite that moves to scroll, a scroll
// bar, and the clipping of every cell to the view. The cells stay children
// of their container agency in the widget tree.
class CAmScrollList : public CAmObject {
 public:
  CAmScrollList(const char* imageName, int width, int height, int id, CAmObject* parent);
  // Deletes the cells with what they hold, the bar and the inner sprite.
  ~CAmScrollList() override;

  // The view relative to the list; the inner sprite moves to its corner.
  virtual void SetView(int x, int y, int width, int height);
  // Each cell shown and clipped to the view, or hidden when (nearly) outside.
  void ClipCells();

  int viewX = 0;
  int viewY = 0;
  int viewWidth = 0;
  int viewHeight = 0;
  std::vector<CAmContainer*> cells;  // owned
  HOBJECT innerSprite = 0;
  int scrollX = 0;
  int scrollY = 0;
  CAmScrollBar* scrollBar = nullptr;  // owned

 protected:
  // The cell joins the list, its sprite under the inner sprite at (x, y).
  void AddCell(CAmContainer* cell, int x, int y);
  // The inner sprite at (scroll x + view x, view y - offset).
  void ScrollInnerTo(int offset);
};
