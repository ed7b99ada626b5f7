#include "ui/qmz/sp_control.h"

#include "engine/media/sprites.h"

namespace qmz {

CSpControl::~CSpControl() { Destroy(); }

int CSpControl::OnMessage(int code, SPARG a, SPARG b, SPARG c, SPARG d) {
  if (notify_) notify_(code, a, b);
  int id = static_cast<int>(a), ia = static_cast<int>(b), ib = static_cast<int>(c);
  switch (code) {
    case SPN_CHILD_OWNER_14: OnChildOwner14(id, ia, ib); return 1;
    case SPN_CHILD_DOWN: OnChildDown(id, ia, ib); return 1;
    case SPN_CHILD_UP: OnChildUp(id, ia, ib); return 1;
    case SPN_CHILD_AFTER_UP: OnChildAfterUp(id, ia, ib); return 1;
    case SPN_CHILD_SPARE: OnChildSpare(id, ia, ib); return 1;
    case SPN_CHILD_CLICK: OnChildClick(id); return 1;
    case SPN_CHILD_AFTER_CLICK: OnChildAfterClick(id); return 1;
    case SPN_CHILD_OWNER_11: OnChildOwner11(id); return 1;
    case SPN_CHILD_OWNER_12: OnChildOwner12(id); return 1;
    case SPN_CHILD_OWNER_18000: OnChildOwner18000(id, ia, ib); return 1;
    case SPN_CHILD_CHECK: OnChildCheck(id); return 1;
    case SPN_CHILD_OWNER_13: OnChildOwner13(id, ia, ib); return 1;
    case SPN_CHILD_OWNER_0C: OnChildOwner0C(id); return 1;
    default: return CSpriteWnd::OnMessage(code, a, b, c, d);
  }
}

void CSpControl::NotifyParent(int code) {
  if (Parent()) Parent()->OnMessage(code, id_, 0, 0);
}

void CSpControl::OnLButtonDown(int x, int y) {
  CSpriteWnd::OnLButtonDown(x, y);
  NotifyParent(SPN_CHILD_DOWN);
}

void CSpControl::OnLButtonUp(int x, int y) {
  CSpriteWnd::OnLButtonUp(x, y);
  NotifyParent(SPN_CHILD_UP);
}

void CSpControl::OnAfterLButtonUp(int, int) { NotifyParent(SPN_CHILD_AFTER_UP); }
void CSpControl::OnClick(int, int) { NotifyParent(SPN_CHILD_CLICK); }
void CSpControl::OnAfterClick(int, int) { NotifyParent(SPN_CHILD_AFTER_CLICK); }

void CSpControl::DestroyContents() {
  currentSurface_ = 0;
  CSpriteWnd::DestroyContents();
}

void CSpControl::SetSurfaceColorKey(HOBJECT surface, int32_t colourKey, int use) {
  StoreColorKey(colourKey);
  SPRGB key = SplitColour(colourKey);
  if (surface) {
    SetSpriteColorKey(surface, key.red, key.green, key.blue, use);
    return;
  }
  for (HOBJECT* handle : Surfaces())
    if (*handle) SetSpriteColorKey(*handle, key.red, key.green, key.blue, use);
}

void CSpControl::UpdateState(int) {}
void CSpControl::OnChildOwner14(int, int, int) {}
void CSpControl::OnChildDown(int, int, int) {}
void CSpControl::OnChildUp(int, int, int) {}
void CSpControl::OnChildAfterUp(int, int, int) {}
void CSpControl::OnChildSpare(int, int, int) {}
void CSpControl::OnChildClick(int) {}
void CSpControl::OnChildAfterClick(int) {}
void CSpControl::OnChildOwner11(int) {}
void CSpControl::OnChildOwner12(int) {}
void CSpControl::OnChildOwner18000(int, int, int) {}
void CSpControl::OnChildCheck(int) {}
void CSpControl::OnChildOwner13(int, int, int) {}
void CSpControl::OnChildOwner0C(int) {}
int CSpControl::QueryChild(int, int) { return 0; }

}  // namespace qmz
