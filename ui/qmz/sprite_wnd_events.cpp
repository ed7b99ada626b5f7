// Mouse routing, message dispatch, the event handlers and the timeline of
// a sprite window.
#include <vector>

#include "ui/qmz/sp_kernel.h"
#include "ui/qmz/sprite_text.h"
#include "ui/qmz/sprite_wnd.h"

namespace qmz {

namespace {

bool IsRoutedMouseCode(int code) {
  switch (code) {
    case SPM_MOUSEMOVE:
    case SPM_LBUTTONDOWN:
    case SPM_LBUTTONUP:
    case SPM_MOUSE_UNHANDLED:
    case SPM_AFTER_LBUTTONUP:
    case SPM_MOUSE_ACCEPTED:
    case SPM_MOUSE_UNHANDLED2: return true;
    default: return false;
  }
}

}  // namespace

int CSpriteWnd::PreTranslate(int, int, int) { return 0; }

int CSpriteWnd::RouteMouse(int code, int x, int y) {
  if (!IsRoutedMouseCode(code)) return 0;
  x -= x_;
  y -= y_;
  if (PreTranslate(code, x, y)) return 1;
  CSpriteWnd* target = nullptr;
  int targetZ = 0;
  for (CSpriteWnd* child : children_) {
    if (!(child->state_ & kVisible) || !child->HitTest(x, y)) continue;
    int z = child->CompositeZ();
    if (!target || z > targetZ) {
      target = child;
      targetZ = z;
    }
  }
  if (hoveredChild_ && hoveredChild_ != target && (hoveredChild_->state_ & kEnabled)) {
    CSpriteWnd* left = hoveredChild_;
    left->OnMessage(SPN_LEAVE, code, 0);
  }
  if (target) {
    int result = target->RouteMouse(code, x, y);
    // The event may have removed the child.
    hoveredChild_ = children_.Contains(target) ? target : nullptr;
    return result;
  }
  hoveredChild_ = nullptr;
  return OnMessage(code, x, y);
}

int CSpriteWnd::RouteNotify(int code, SPARG a, SPARG b, SPARG c, CSpriteWnd* target) {
  if (target == this) return OnMessage(code, a, b, c);
  std::vector<CSpriteWnd*> children(children_.begin(), children_.end());
  for (CSpriteWnd* child : children)
    if (child->RouteNotify(code, a, b, c, target) == 1) return 1;
  return 0;
}

int CSpriteWnd::OnMessage(int code, SPARG a, SPARG b, SPARG, SPARG) {
  int x = static_cast<int>(a), y = static_cast<int>(b);
  switch (code) {
    case SPM_MOUSEMOVE: OnMouseMove(x, y); return 1;
    case SPM_LBUTTONDOWN: OnLButtonDown(x, y); return 1;
    case SPM_LBUTTONUP: OnLButtonUp(x, y); return 1;
    case SPM_AFTER_LBUTTONUP: OnAfterLButtonUp(x, y); return 1;
    case SPN_ENTER: OnEnter(); return 1;
    case SPN_LEAVE: OnLeave(); return 1;
    case SPN_BRINGTOTOP: BringChildToTop(reinterpret_cast<CSpriteWnd*>(a)); return 1;
    case SPN_CLICK: OnClick(x, y); return 1;
    case SPN_AFTER_CLICK: OnAfterClick(x, y); return 1;
    case SPN_PENDING:
      if (a == 3) {
        SetStateBits(kPressed, static_cast<int>(b));
        for (CSpriteText* text : textSurfaces_) text->SetPressed(static_cast<int>(b));
      }
      g_spKernel.SetPendingNotify(nullptr, 0, 0, 0);
      return 1;
    case SPM_MOUSE_ACCEPTED:
    case SPM_ACCEPTED: return 1;
    default: return 0;
  }
}

void CSpriteWnd::PlayEventSound(int key) {
  auto found = eventSounds_.find(key);
  if (found != eventSounds_.end()) PlaySpSound(found->second, 0);
}

void CSpriteWnd::OnMouseMove(int, int) {
  if ((state_ & kEnabled) && !(state_ & kHovered)) OnEnter();
}

void CSpriteWnd::OnEnter() {
  state_ |= kHovered;
  if ((state_ & kPressed) && g_spKernel.GetPendingNotifyWindow() == this) g_spKernel.SetPendingNotify(nullptr, 0, 0, 0);
  PlayEventSound(kSoundEnter);
}

void CSpriteWnd::OnLeave() {
  state_ &= ~kHovered;
  if (hoveredChild_) {
    CSpriteWnd* child = hoveredChild_;
    hoveredChild_ = nullptr;
    child->OnMessage(SPN_LEAVE, 0, 0);
  }
  if (state_ & kPressed) g_spKernel.SetPendingNotify(this, SPM_LBUTTONUP, 3, 0);
}

void CSpriteWnd::OnLButtonDown(int, int) {
  state_ |= kPressed;
  if (style_ & kStyleLatch) Latch();
  PlayEventSound(kSoundPress);
}

void CSpriteWnd::OnLButtonUp(int x, int y) {
  if (!(state_ & kPressed)) return;
  state_ &= ~kPressed;
  OnClick(x, y);
}

void CSpriteWnd::OnAfterLButtonUp(int, int) {}
void CSpriteWnd::OnClick(int, int) {}
void CSpriteWnd::OnAfterClick(int, int) {}
void CSpriteWnd::Latch() { state_ |= kLatched; }
void CSpriteWnd::Unlatch() { state_ &= ~kLatched; }

void CSpriteWnd::BroadcastTick(int steps) {
  Tick(steps);
  std::vector<CSpriteWnd*> children(children_.begin(), children_.end());
  for (CSpriteWnd* child : children)
    if (children_.Contains(child)) child->BroadcastTick(steps);
}

void CSpriteWnd::Tick(int steps) { StepTimeline(steps); }

int CSpriteWnd::AddTimeline(const SPTIMELINEDESC& desc) {
  if (!desc.callback || timelines_.count(desc.id)) return 0;
  timelines_[desc.id] = desc;
  return 1;
}

int CSpriteWnd::PlayTimeline(int id) {
  auto found = timelines_.find(id);
  if (found == timelines_.end()) return 0;
  currentTimeline_ = &found->second;
  timelineFrame_ = 1;
  timelineState_ = kTimelineRunning;
  return 1;
}

void CSpriteWnd::StopTimeline() {
  timelineState_ = kTimelineIdle;
  timelineFrame_ = 0;
  currentTimeline_ = nullptr;
}

int CSpriteWnd::StepTimeline(int) {
  if (timelineState_ != kTimelineRunning || !currentTimeline_) return 1;
  int more = currentTimeline_->callback(timelineFrame_, this);
  ++timelineFrame_;
  if (more) return 0;
  timelineState_ = kTimelineFinished;
  return 1;
}

}  // namespace qmz
