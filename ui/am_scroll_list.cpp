#include "ui/am_scroll_list.h"

#include "engine/media/sprites.h"
#include "ui/am_container.h"
#include "ui/am_scroll_bar.h"

CAmScrollList::CAmScrollList(const char* imageName, int width, int height, int id, CAmObject* parent)
    : CAmObject(imageName, width, height, id, parent, 0) {
  BeginSprite(0);
  innerSprite = EndSprite(sprite);
  if (innerSprite) ShowSprite(innerSprite, 0);
}

CAmScrollList::~CAmScrollList() {
  for (CAmContainer* cell : cells) delete cell;
  delete scrollBar;
  if (innerSprite) DeleteSprite(innerSprite);
}

void CAmScrollList::SetView(int x, int y, int width, int height) {
  viewX = x;
  viewY = y;
  viewWidth = width;
  viewHeight = height;
  if (innerSprite) SetSpritePosition(innerSprite, x, y);
}

void CAmScrollList::ClipCells() {
  int left = 0, top = 0;
  GetPosition(&left, &top);
  AMRECT view;
  view.left = left + viewX;
  view.top = top + viewY;
  view.right = view.left + viewWidth;
  view.bottom = view.top + viewHeight;
  for (CAmContainer* cell : cells) cell->ClipTo(view);
}

void CAmScrollList::AddCell(CAmContainer* cell, int x, int y) {
  if (cell->sprite) {
    SetSpriteParent(cell->sprite, innerSprite);
    SetSpritePosition(cell->sprite, x, y);
  }
  cells.push_back(cell);
}

void CAmScrollList::ScrollInnerTo(int offset) {
  scrollY = offset;
  if (innerSprite) SetSpritePosition(innerSprite, scrollX + viewX, viewY - offset);
}
