#include "ui/am_scroll_bar.h"

#include <algorithm>

#include "ui/am_button.h"
#include "ui/am_drag_obj.h"

std::vector<SCROLLBARSKINDESC> g_amScrollBarSkins;

namespace {

constexpr int kBarSide = 8;
constexpr double kRepeatRate = 10.0;
constexpr int kThumbDepthAbove = 2;

const SCROLLBARSKINDESC& Skin(int index) { return g_amScrollBarSkins.at(static_cast<size_t>(index)); }

}  // namespace

int RegisterScrollBarSkin(const SCROLLBARSKINDESC& skin) {
  g_amScrollBarSkins.push_back(skin);
  return static_cast<int>(g_amScrollBarSkins.size()) - 1;
}

CAmScrollBar::CAmScrollBar(int id, int skinIndex, int length, CAmObject* parent)
    : CAmObject(nullptr, kBarSide, kBarSide, id, parent, 0), length(length) {
  const SCROLLBARSKINDESC& skin = Skin(skinIndex);
  orientation = skin.orientation;
  buttonWidth = skin.buttonWidth;
  buttonHeight = skin.buttonHeight;
  thumbWidth = skin.thumbWidth;
  thumbHeight = skin.thumbHeight;
  backButton = new CAmButton(skin.backImage.c_str(), buttonWidth, buttonHeight, kBackButtonId, skin.pressSound,
                             skin.hoverSound, this);
  forwardButton = new CAmButton(skin.forwardImage.c_str(), buttonWidth, buttonHeight, kForwardButtonId, skin.pressSound,
                                skin.hoverSound, this);
  backButton->SetAutoRepeat(1, kRepeatRate);
  forwardButton->SetAutoRepeat(1, kRepeatRate);
  thumb = new CAmDragObj(skin.thumbImage.c_str(), thumbWidth, thumbHeight, kThumbId, this);
  thumb->dragMode = 1;
  thumb->usesDragLock = 0;

  backButton->SetPosition(0, 0);
  if (orientation == 0) {
    forwardButton->SetPosition(0, buttonHeight + length);
    thumbHomeX = skin.thumbOffset;
    thumbHomeY = buttonHeight - skin.startOverlap;
    travel = skin.startOverlap + skin.endOverlap + length - thumbHeight;
    thumb->SetDragRange(0, 0, thumbHomeY, skin.endOverlap + buttonHeight + length);
  } else {
    forwardButton->SetPosition(buttonWidth + length, 0);
    thumbHomeX = buttonWidth - skin.startOverlap;
    thumbHomeY = skin.thumbOffset;
    travel = skin.startOverlap + skin.endOverlap + length - thumbWidth;
    thumb->SetDragRange(thumbHomeX, skin.endOverlap + buttonWidth + length, 0, 0);
  }
  thumb->SetDepth(depth + kThumbDepthAbove);
  PlaceThumb();
}

CAmScrollBar::~CAmScrollBar() {
  delete backButton;
  delete forwardButton;
  delete thumb;
}

void CAmScrollBar::SetLocked(int flag) {
  CAmObject::SetLocked(flag);
  backButton->SetLocked(flag);
  forwardButton->SetLocked(flag);
  thumb->SetLocked(flag);
}

void CAmScrollBar::SetRange(int newCount) {
  if (newCount > 1) {
    position = static_cast<int>(static_cast<long long>(newCount) * position / std::max(count, 1));
    count = newCount;
    PlaceThumb();
    SetLocked(0);
    return;
  }
  position = 0;
  subPosition = 0;
  count = 1;
  SetLocked(1);
  PlaceThumb();
}

void CAmScrollBar::SetSubSteps(int n) { subSteps = std::max(n, 1); }

void CAmScrollBar::SetPageSteps(int back, int forward) {
  pageBack = back;
  pageForward = forward < 0 ? back : forward;
}

void CAmScrollBar::SetBarPosition(int n) {
  position = n;
  PlaceThumb();
}

void CAmScrollBar::PlaceThumb() {
  int along = Along(thumbHomeX, thumbHomeY);
  // A thumb as long as the track (or longer) has nowhere to go.
  if (count >= 2 && travel > 0) {
    const long long steps = static_cast<long long>(subSteps) * position + subPosition;
    along += static_cast<int>(steps * travel / (static_cast<long long>(count - 1) * subSteps));
  }
  if (orientation == 0) thumb->SetPosition(thumbHomeX, along);
  else thumb->SetPosition(along, thumbHomeY);
}

void CAmScrollBar::FollowThumb() {
  if (count < 2 || travel <= 0) {
    position = 0;
    subPosition = 0;
    return;
  }
  int x = 0, y = 0;
  thumb->GetParentRelativePosition(&x, &y);
  const long long delta = Along(x, y) - Along(thumbHomeX, thumbHomeY);
  const long long last = count - 1;
  position = static_cast<int>(last * delta / travel);
  subPosition = static_cast<int>((delta - travel * position / last) * subSteps * last / travel);
  position = std::clamp(position, 0, count - 1);
}

void CAmScrollBar::OnTick(int) {
  if (mode == kSteppingBack) {
    if (--subPosition <= -subSteps) {
      --position;
      subPosition = 0;
      mode = kIdle;
    }
    PostMessage(AMM_SCROLL_PREVSTEP, position, subPosition, this);
    PlaceThumb();
  } else if (mode == kSteppingForward) {
    if (++subPosition >= subSteps) {
      ++position;
      subPosition = 0;
      mode = kIdle;
    }
    PostMessage(AMM_SCROLL_NEXTSTEP, position, subPosition, this);
    PlaceThumb();
  }
}

int CAmScrollBar::OnMessage(int id, int, int, CAmObject* sender) {
  if (id == AMM_BUTTONDOWN && mode == kIdle) {
    if (sender == backButton && position > 0) {
      mode = kSteppingBack;
      subPosition = 0;
    } else if (sender == forwardButton && position < count - 1) {
      mode = kSteppingForward;
      subPosition = 0;
    }
    PlaceThumb();
  } else if (id == AMM_OBJ_DRAGGING && sender == thumb) {
    mode = kThumbDragged;
    FollowThumb();
    PostMessage(AMM_SCROLLING, position, subPosition, this);
  } else if (id == AMM_OBJ_ENDDRAG && sender == thumb) {
    // Past half a step the thumb snaps forward.
    if (subSteps > 1 && 2 * subPosition > subSteps) position = std::min(position + 1, count - 1);
    subPosition = 0;
    PostMessage(AMM_SCROLLING, position, 0, this);
    mode = kIdle;
    PlaceThumb();
  }
  return 1;
}

void CAmScrollBar::OnLButtonDown(int x, int y) {
  if (locked) return;
  AMRECT back, handle, forward;
  backButton->GetRect(&back);
  thumb->GetRect(&handle);
  forwardButton->GetRect(&forward);
  // The track's extent across the bar is the back button's.
  const int across = Across(x, y);
  if (across < Across(back.left, back.top) || across >= Across(back.right, back.bottom)) return;
  const int along = Along(x, y);
  if (along >= Along(back.right, back.bottom) && along < Along(handle.left, handle.top))
    position = std::max(position - pageBack, 0);
  else if (along >= Along(handle.right, handle.bottom) && along < Along(forward.left, forward.top))
    position = std::min(position + pageForward, count - 1);
  else return;
  subPosition = 0;
  PostMessage(AMM_SCROLLING, position, 0, this);
  PlaceThumb();
}
