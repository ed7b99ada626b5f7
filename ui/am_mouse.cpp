#include "ui/am_mouse.h"

#include "engine/media/sprites.h"
#include "ui/am_wnd_manager.h"

CAmMouse::CAmMouse(const char* imageName, int cellWidth, int cellHeight, int shapeCount, int shapesPerRow)
    : CAmObject(imageName, cellWidth, cellHeight, 0, nullptr, 0), shapeCount(shapeCount), shapesPerRow(shapesPerRow) {
  if (sprite) {
    GetSpriteGrid(sprite, nullptr, &imageColumns, &imageRows);
    depth = kLayer;
    SetSpriteDepth(sprite, 1, 1, kLayer);
  }
  timer.SetRate(10);
  if (g_amWndManager) g_amWndManager->cursor = this;
  SetShape(0);
}

CAmMouse::~CAmMouse() {
  if (g_amWndManager && g_amWndManager->cursor == this) g_amWndManager->cursor = nullptr;
}

void CAmMouse::SetShape(int shape) {
  int perRow = shapesPerRow > 0 ? shapesPerRow : 1;
  row = shape / perRow;
  column = shape % perRow;
  if (sprite) SetSpriteFrame(sprite, nullptr, &column, &row);
}

int CAmMouse::SetCursorPosition(int x, int y) {
  if (sprite) SetSpritePosition(sprite, x, y);
  return 1;
}

int CAmMouse::Show(int flag) {
  if (sprite) ShowSprite(sprite, flag);
  visible = flag;
  return 1;
}

void CAmMouse::OnMouseMove(int x, int y) { SetCursorPosition(x, y); }

void CAmMouse::OnLButtonDrag(int x, int y) { SetCursorPosition(x, y); }

void CAmMouse::OnTick(int) {
  if (timer.Tick() && shapesPerRow != imageColumns && sprite) StepSpriteColumn(sprite, 1, 1);
}
