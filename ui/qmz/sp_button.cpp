#include "ui/qmz/sp_button.h"

#include <cstdio>
#include <cstring>

#include "engine/media/sprites.h"
#include "ui/qmz/sprite_text.h"

namespace qmz {

namespace {

constexpr size_t kImageNameSize = 64;
// State bits that only buttons clear; nothing reads them.
constexpr int kUnreadStateBits = 0x10 | 0x20 | 0x40;

// 0 when the name and its two-digit number do not fit the name buffer.
int NameFits(const char* name) { return name && std::strlen(name) + 3 <= kImageNameSize; }

}  // namespace

CSpButton::~CSpButton() { Destroy(); }

int CSpButton::LoadImages(const char* imageName, int imageFlags) {
  if (!NameFits(imageName)) return 0;
  HOBJECT* handles[] = {&mainSurface_, &disabledSurface_, &hoverSurface_, &pressedSurface_, &extraSurface_};
  for (int i = 0; i < 5; ++i) {
    if (!(imageFlags & (1 << i))) continue;
    char name[kImageNameSize];
    std::snprintf(name, sizeof name, "%s%02d", imageName, i);
    AddSurface(handles[i], name, 0);
  }
  return 1;
}

int CSpButton::Create(const char* imageName, int imageFlags, int x, int y, int width, int height, int style, int id,
                      CSpriteWnd* parent) {
  if (!NameFits(imageName)) return 0;
  if (parent)
    for (CSpriteWnd* sibling : parent->Children())
      if (sibling != this && sibling->Id() == id) return 0;
  if (!InitWindow(x, y, width, height, style, parent)) return 0;
  id_ = id;
  checkBits_ = style & kStyleCheck ? kCheckMode : 0;
  LoadImages(imageName, imageFlags);
  UpdatePosition();
  UpdateState(kChooseSurface);
  return 1;
}

void CSpButton::SetImage(const char* imageName, int imageFlags) {
  if (!NameFits(imageName)) return;
  DeleteSurfaces();
  currentSurface_ = 0;
  LoadImages(imageName, imageFlags);
  UpdatePosition();
  UpdateState(kChooseSurface);
}

void CSpButton::UpdateState(int mode) {
  if (mode == kChooseSurface) {
    HOBJECT chosen = 0;
    if (state_ & kVisible) {
      bool pressedLook = (checkBits_ & kChecked) || ((state_ & kPressed) && (state_ & kHovered));
      if (!(state_ & kEnabled)) chosen = disabledSurface_ ? disabledSurface_ : mainSurface_;
      else if (pressedLook) chosen = pressedSurface_ ? pressedSurface_ : mainSurface_;
      else if (state_ & kHovered) chosen = hoverSurface_ ? hoverSurface_ : mainSurface_;
      else chosen = mainSurface_;
    }
    currentSurface_ = chosen;
  }
  for (HOBJECT* handle : Surfaces())
    if (*handle) ShowSprite(*handle, *handle == currentSurface_);
}

void CSpButton::DrawCaption(int entryIndex) {
  if (caption_ && !IsLatched()) caption_->DrawAll(entryIndex);
}

void CSpButton::Refresh() {
  if (!IsLatched()) UpdateState(kChooseSurface);
}

void CSpButton::EnableButton(int flag) {
  if (((state_ & kEnabled) != 0) == (flag != 0)) return;
  if (flag) state_ |= kEnabled;
  else state_ &= ~(kEnabled | kHovered);
  if (caption_) caption_->DrawAll(flag ? 0 : 1);
  UpdateState(kChooseSurface);
}

void CSpButton::Show(int flag) {
  if (flag) {
    state_ |= kVisible;
    UpdateState(kChooseSurface);
    return;
  }
  state_ &= ~(kVisible | kHovered | kPressed | kUnreadStateBits);
  currentSurface_ = 0;
  for (HOBJECT* handle : Surfaces())
    if (*handle) ShowSprite(*handle, 0);
}

void CSpButton::SetChecked(int flag) {
  if (!(style_ & kStyleCheck)) return;
  if (flag) checkBits_ |= kChecked;
  else checkBits_ &= ~kChecked;
  UpdateState(kChooseSurface);
}

void CSpButton::OnMouseMove(int x, int y) {
  CSpControl::OnMouseMove(x, y);
  DrawCaption(state_ & kPressed ? 3 : 2);
}

void CSpButton::OnLButtonDown(int x, int y) {
  if (!(state_ & kEnabled) || (checkBits_ & kChecked)) return;
  CSpControl::OnLButtonDown(x, y);
  DrawCaption(3);
  Refresh();
}

void CSpButton::OnLButtonUp(int x, int y) {
  CSpControl::OnLButtonUp(x, y);
  if (!(state_ & kPressed)) DrawCaption(2);
  Refresh();
}

void CSpButton::OnAfterLButtonUp(int x, int y) {
  if (checkBits_ & kCheckMode) return;
  CSpControl::OnAfterLButtonUp(x, y);
  Refresh();
}

void CSpButton::OnEnter() {
  CSpControl::OnEnter();
  if (state_ & kPressed) DrawCaption(3);
  Refresh();
}

void CSpButton::OnLeave() {
  CSpControl::OnLeave();
  DrawCaption(0);
  Refresh();
}

void CSpButton::OnClick(int x, int y) {
  CSpControl::OnClick(x, y);
  if (checkBits_ & kCheckMode) NotifyParent(SPN_CHILD_CHECK);
  DrawCaption(4);
}

}  // namespace qmz
