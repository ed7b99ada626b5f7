#include "ui/am_drag_obj.h"

#include <algorithm>

#include "engine/media/sprites.h"
#include "ui/am_container.h"

int g_amDragLock = 0;

CAmDragObj::CAmDragObj(int id) : CAmObject(id) {}

CAmDragObj::CAmDragObj(const char* imageName, int width, int height, int id, CAmObject* parent)
    : CAmObject(imageName, width, height, id, parent, 0) {}

CAmDragObj::CAmDragObj(const CAmDragObj& other)
    : CAmObject(other, nullptr),
      usesDragLock(other.usesDragLock),
      dragMode(other.dragMode),
      dropPending(other.dropPending),
      xMinimum(other.xMinimum),
      yMinimum(other.yMinimum),
      xMaximum(other.xMaximum),
      yMaximum(other.yMaximum),
      xMovable(other.xMovable),
      yMovable(other.yMovable),
      hoverValue(other.hoverValue),
      fadeWhileDragging(other.fadeWhileDragging),
      dragAlpha(other.dragAlpha),
      userValue(other.userValue) {}

CAmDragObj::~CAmDragObj() {
  // Only the object holding the lock may free it: deleting a ghost or an
  // idle icon must not release another object's drag.
  if (usesDragLock && dragging) g_amDragLock = 0;
  // Held objects and ghosts hang under their container.
  if (auto* container = dynamic_cast<CAmContainer*>(parent)) container->ForgetObject(this);
  CAmContainerAgency::ForgetObject(this);
}

int CAmDragObj::Probe(int) { return 1; }
CAmDragObj* CAmDragObj::CloneForGhost() { return nullptr; }
int CAmDragObj::Matches(CAmDragObj*) { return 0; }
void CAmDragObj::OnTaken() {}
void CAmDragObj::OnPlaced() {}

void CAmDragObj::SetDragRange(int xMin, int xMax, int yMin, int yMax) {
  xMovable = xMin < xMax ? 1 : 0;
  if (xMovable) {
    xMinimum = xMin;
    xMaximum = xMax - width;
  }
  yMovable = yMin < yMax ? 1 : 0;
  if (yMovable) {
    yMinimum = yMin;
    yMaximum = yMax - height;
  }
}

int CAmDragObj::StartDrag(int x, int y) {
  if (usesDragLock && g_amDragLock) return 0;
  if (locked || visible != 1 || !HitTest(x, y) || dragging) return 0;
  int left = 0, top = 0;
  GetPosition(&left, &top);
  grabOffsetX = left - x;
  grabOffsetY = top - y;
  dragging = 1;
  if (usesDragLock) g_amDragLock = 1;
  if (fadeWhileDragging && sprite) SetSpriteAlpha(sprite, dragAlpha);
  PostMessage(AMM_OBJ_DRAGGING, 0, 0, this);
  return 1;
}

void CAmDragObj::GetParentRelativePosition(int* x, int* y) const {
  *x = *y = 0;
  SPRITEDESC* desc = LookupSprite(sprite);
  if (!desc) return;
  *x = desc->x;
  *y = desc->y;
}

void CAmDragObj::FollowMouse(int x, int y) {
  SPRITEDESC* desc = LookupSprite(sprite);
  if (!desc) return;
  int left = 0, top = 0;
  GetPosition(&left, &top);
  // The parent sprite's screen position: ours minus our offset in it.
  const int parentX = left - desc->x;
  const int parentY = top - desc->y;
  int newX = desc->x;
  int newY = desc->y;
  if (xMovable) newX = std::clamp(x + grabOffsetX - parentX, xMinimum, std::max(xMinimum, xMaximum));
  if (yMovable) newY = std::clamp(y + grabOffsetY - parentY, yMinimum, std::max(yMinimum, yMaximum));
  SetPosition(newX, newY);
}

int CAmDragObj::Drop() {
  if (!dragging) return 0;
  PostMessage(AMM_OBJ_ENDDRAG, 0, 0, this);
  if (dragMode == 2) dropPending = 1;
  else EndDrag();
  return 1;
}

void CAmDragObj::EndDrag() {
  dragging = 0;
  dropPending = 0;
  if (fadeWhileDragging && sprite) SetSpriteAlpha(sprite, 1.0f);
}

void CAmDragObj::OnLButtonDown(int x, int y) {
  if (!dragging && HitTest(x, y)) {
    if (dragMode == 2) StartDrag(x, y);
    PostMessage(AMM_OBJ_SELECT, 0, 0, this);
    pressedOn = 1;
  } else if (dragging && dragMode == 2) {
    Drop();
  } else {
    pressedOn = 0;
  }
}

void CAmDragObj::OnLButtonUp(int, int) {
  if (dragMode == 1) Drop();
}

void CAmDragObj::OnRButtonDown(int, int) {
  if (!dragging) return;
  PostMessage(AMM_DRAGOBJ_CANCEL, 0, 0, this);
  EndDrag();
}

int CAmDragObj::TrackHover(int x, int y) {
  if (locked || visible != 1) return 0;
  const int inside = HitTest(x, y);
  if (inside == hover) return 0;
  hover = inside;
  if (inside) PostMessage(AMM_MOUSEHOVER, hoverValue, 0, this);
  else PostMessage(AMM_MOUSELEAVE, 0, 0, this);
  return 1;
}

void CAmDragObj::OnMouseMove(int x, int y) {
  if (dragging && dragMode == 2 && !dropPending) {
    FollowMouse(x, y);
    PostMessage(AMM_OBJ_DRAGGING, 0, 0, this);
    return;
  }
  TrackHover(x, y);
}

void CAmDragObj::OnLButtonDrag(int x, int y) {
  if (dragging) {
    FollowMouse(x, y);
    if (dragMode == 1) PostMessage(AMM_OBJ_DRAGGING, 0, 0, this);
  } else if (dragMode == 1 && pressedOn) {
    StartDrag(x, y);
  }
}
