#pragma once
#include "ui/am_object.h"

// The menu cursor: a sprite above every window that follows the mouse (the
// top-left of its cell is the hot spot). Shape n is row n / shapesPerRow,
// column n mod shapesPerRow of its picture; when the picture has another
// number of columns than shapes per row, the columns animate instead.
class CAmMouse : public CAmObject {
 public:
  static constexpr int kLayer = 9999;

  // Becomes the window manager's cursor widget.
  CAmMouse(const char* imageName, int cellWidth, int cellHeight, int shapeCount, int shapesPerRow);
  // Stops being the manager's cursor widget.
  ~CAmMouse() override;

  void SetShape(int shape);
  virtual int SetCursorPosition(int x, int y);

  // Shows or hides whether locked or not.
  int Show(int flag) override;
  void OnMouseMove(int x, int y) override;
  void OnLButtonDrag(int x, int y) override;
  void OnTick(int steps) override;

  int row = 0;
  int column = 0;
  int shapeCount = 0;
  int shapesPerRow = 1;
  int imageRows = 1;
  int imageColumns = 1;
};
