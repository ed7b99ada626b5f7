// The widget layer's hit testing, mouse handling, callbacks and typing.
#include <algorithm>
#include <span>

#include "engine/core/frame_timers.h"
#include "engine/core/world.h"
#include "engine/media/widgets.h"
#include "engine/media/widgets_layer.h"

namespace {

constexpr int kArrowStep = 1;
constexpr int kTrackStep = 10;

// Exclusive on all four sides.
bool Inside(const WIDGETDESC* w, int x, int y) {
  return x > w->x && x < w->x + w->width && y > w->y && y < w->y + w->height;
}

bool InsideItemBox(const ITEMREGIONDESC& r, int x, int y) {
  return x >= r.boxX && x <= r.boxX + r.boxWidth && y >= r.boxY && y <= r.boxY + r.boxHeight;
}

WIDGETDESC* FirstVisibleHit(std::span<WIDGETDESC* const> widgets, int x, int y) {
  for (WIDGETDESC* w : widgets)
    if (w && w->visible && Inside(w, x, y)) return w;
  return nullptr;
}

bool IsToggle(const WIDGETDESC* w) { return w->type == kWidgetTypeToggle || w->type == kWidgetTypeToggleBox; }

// Buttons, toggles of type 2 and item regions show the hover mark.
bool Hovers(const WIDGETDESC* w) {
  return w && (w->type == kWidgetTypeButton || w->type == kWidgetTypeToggle || w->type == kWidgetTypeItemRegion);
}

// The item at a point of the open box, -1 for none or a disabled one.
int HotItemAt(const ITEMREGIONDESC& r, int x, int y) {
  if (x < r.boxX || x > r.boxX + r.boxWidth || y < r.boxY + 5 || y > r.boxY + r.boxHeight - 5) return -1;
  int index = (y - r.boxY - 5) / kItemRowStep;
  if (index < 0 || index >= static_cast<int>(r.items.size()) || !r.items[index].enabled) return -1;
  return index;
}

// The part of a bar under a point, along its axis.
int ScrollPartAt(const WIDGETDESC* w, const SCROLLBARDESC& bar, int x, int y) {
  bool vertical = bar.orientation == 1;
  int across = vertical ? x - w->x : y - w->y;
  int along = vertical ? y - w->y : x - w->x;
  if (across < 0 || across >= bar.crossSize || along < 0 || along >= bar.length) return kScrollNone;
  if (along < bar.arrowSize) return kScrollFirstArrow;
  if (along >= bar.length - bar.arrowSize) return kScrollLastArrow;
  float onTrack = static_cast<float>(along - bar.arrowSize);
  if (onTrack < bar.thumbPosition) return kScrollTrackBefore;
  if (onTrack < bar.thumbPosition + bar.thumbSize) return kScrollThumb;
  return kScrollTrackAfter;
}

// One step of a pressed arrow or track part.
void StepScrollBar(WIDGETDESC* w, SCROLLBARDESC& bar, int part) {
  int step = (part == kScrollFirstArrow || part == kScrollLastArrow) ? kArrowStep : kTrackStep;
  if (part == kScrollFirstArrow || part == kScrollTrackBefore) step = -step;
  if (LISTDESC* list = WidgetData<LISTDESC>(bar.list)) {
    bool vertical = bar.orientation == 1;
    int& first = vertical ? list->firstShown : list->textOffset;
    int count = vertical ? static_cast<int>(list->items.size()) : list->widestItem;
    int visible = vertical ? list->visibleRows : list->charsPerRow;
    first = std::max(std::min(first + step, count - visible), 0);
    SetBarFromList(w);
    DrawWidget(bar.list);
  } else {
    float track = static_cast<float>(bar.length - 2 * bar.arrowSize);
    bar.thumbPosition = std::clamp(bar.thumbPosition + step, 0.0f, std::max(track - bar.thumbSize, 0.0f));
  }
}

void MoveThumb(WIDGETDESC* w, SCROLLBARDESC& bar, int x, int y) {
  int along = bar.orientation == 1 ? y - w->y : x - w->x;
  float track = static_cast<float>(bar.length - 2 * bar.arrowSize);
  bar.thumbPosition = std::clamp(static_cast<float>(along - bar.arrowSize - bar.dragOffset), 0.0f,
                                 std::max(track - bar.thumbSize, 0.0f));
  SetListFromBar(w);
  if (bar.list) DrawWidget(bar.list);
}

void RepeatScrollBar(int) {
  WIDGETDESC* w = g_repeatingWidget;
  SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(w);
  if (!bar || bar->pressedPart == kScrollNone || bar->pressedPart == kScrollThumb) return;
  StepScrollBar(w, *bar, bar->pressedPart);
  DrawWidget(w);
}

void StartRepeating(WIDGETDESC* w) {
  g_repeatingWidget = w;
  SetFrameTimer(5, 10.0f, RepeatScrollBar, 1);
}

void StopRepeating(SCROLLBARDESC& bar) {
  SetFrameTimer(5, 5.0f, nullptr, 1);
  bar.pressedPart = kScrollNone;
  g_repeatingWidget = nullptr;
}

void PressScrollBar(WIDGETDESC* w, SCROLLBARDESC& bar, int x, int y) {
  int part = ScrollPartAt(w, bar, x, y);
  bar.pressedPart = part;
  if (part == kScrollNone) return;
  if (part == kScrollThumb) {
    int along = bar.orientation == 1 ? y - w->y : x - w->x;
    bar.dragOffset = along - bar.arrowSize - static_cast<int>(bar.thumbPosition);
  } else {
    StepScrollBar(w, bar, part);
  }
  StartRepeating(w);
}

void SelectListRow(WIDGETDESC* w, LISTDESC& list, int y) {
  int row = (y - w->y - list.textBoxY - 1) / kListRowStep + list.firstShown;
  if (row < 0 || row >= static_cast<int>(list.items.size())) {
    list.selectedRow = -1;
    list.selectedText.clear();
  } else {
    list.selectedRow = row;
    list.selectedText = list.items[row].substr(0, kListSelectedTextMax);
  }
}

void Finish(WIDGETDESC* w, EDITLINEDESC& edit) {
  edit.state = 1;
  g_focusedEditWidget = nullptr;
  DrawWidget(w);
}

void TakeFocus(WIDGETDESC* w) {
  if (g_focusedEditWidget && g_focusedEditWidget != w) EndWidgetEdit();
  g_focusedEditWidget = w;
}

void ReleaseEdit(WIDGETDESC* w, EDITLINEDESC& edit, int x) {
  if (g_widgetJustFocused) {
    g_widgetJustFocused = 0;
    return;
  }
  TakeFocus(w);
  int length = static_cast<int>(edit.text.size());
  if (edit.text.empty()) {
    edit.state = 2;
    edit.cursor = edit.firstShown = 0;
  } else if (edit.state == 1) {
    edit.state = 0;
    edit.cursor = length;
    edit.firstShown = std::max(length - edit.shownCount, 0);
  } else {
    edit.cursor = std::clamp((x - w->x - edit.boxX) / 8 + edit.firstShown, 0, length);
  }
}

void ShowCursor(EDITLINEDESC& edit) {
  if (edit.cursor < edit.firstShown) edit.firstShown = edit.cursor;
  if (edit.cursor > edit.firstShown + edit.shownCount) edit.firstShown = edit.cursor - edit.shownCount;
}

void Press(WIDGETDESC* w, int x, int y) {
  if (IsToggle(w)) w->state = !w->state;
  if (w->type == kWidgetTypeButton || w->type == kWidgetTypeItemRegion) w->state = 1;
  if (SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(w)) PressScrollBar(w, *bar, x, y);
  if (LISTDESC* list = WidgetData<LISTDESC>(w)) SelectListRow(w, *list, y);
  DrawWidget(w);
}

void Release(WIDGETDESC* pressed, WIDGETDESC* under, int x, int y) {
  if (pressed) {
    if (IsToggle(pressed) && pressed->insideOnly && !Inside(pressed, x, y)) pressed->state = !pressed->state;
    if (pressed->type == kWidgetTypeButton) pressed->state = 0;
    if (SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(pressed)) StopRepeating(*bar);
    if (EDITLINEDESC* edit = WidgetData<EDITLINEDESC>(pressed)) ReleaseEdit(pressed, *edit, x);
    if (pressed->type == kWidgetTypeItemRegion) pressed->state = 0;
    DrawWidget(pressed);
  }
  if (ITEMREGIONDESC* region = WidgetData<ITEMREGIONDESC>(under)) {
    region->hotItem = HotItemAt(*region, x, y);
    under->state = 0;
    RedrawWidgets();
  }
}

void Drag(WIDGETDESC* pressed, WIDGETDESC* hoveredBefore, WIDGETDESC* under, int x, int y) {
  if (SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(pressed)) {
    if (bar->pressedPart == kScrollThumb) {
      MoveThumb(pressed, *bar, x, y);
    } else if (bar->pressedPart != kScrollNone) {
      if (ScrollPartAt(pressed, *bar, x, y) == bar->pressedPart) StepScrollBar(pressed, *bar, bar->pressedPart);
      else StopRepeating(*bar);
    }
    DrawWidget(pressed);
  }
  if (ITEMREGIONDESC* region = WidgetData<ITEMREGIONDESC>(under)) {
    if (hoveredBefore != under && WidgetData<ITEMREGIONDESC>(hoveredBefore)) {
      hoveredBefore->state = 0;
      DrawWidget(hoveredBefore);
    }
    under->state = 1;
    region->hotItem = HotItemAt(*region, x, y);
    DrawWidget(under);
  }
}

void DoubleClick(WIDGETDESC* w, int y) {
  if (EDITLINEDESC* edit = WidgetData<EDITLINEDESC>(w)) {
    TakeFocus(w);
    int length = static_cast<int>(edit->text.size());
    edit->state = edit->text.empty() ? 2 : 0;
    edit->cursor = length;
    edit->selectionStart = 0;
    edit->selectionLength = length;
    g_widgetJustFocused = 1;
    DrawWidget(w);
  }
  if (LISTDESC* list = WidgetData<LISTDESC>(w)) {
    int row = (y - w->y - list->textBoxY - 1) / kListRowStep + list->firstShown;
    if (row >= 0 && row < static_cast<int>(list->items.size()))
      list->selectedText = list->items[row].substr(0, kListSelectedTextMax);
    list->selectedRow = -1;
    DrawWidget(w);
  }
}

WidgetCallback CallbackOf(const WIDGETDESC* w, int event) {
  switch (event) {
    case kWidgetPress: return w->onPress;
    case kWidgetRelease: return w->onRelease;
    case kWidgetDrag: return w->onDrag;
    case kWidgetDoubleClick: return w->onDoubleClick;
    default: return nullptr;
  }
}

}  // namespace

WIDGETDESC* HitTestWidget(int x, int y, int* inArea) {
  int area = 0;
  WIDGETDESC* hit = nullptr;
  GAMEWORLD* world = g_gameWorld;
  if (world && !world->interfaceOff) {
    WIDGETPANEL* panel = g_activeWidgetPanel;
    if (panel && panel->visible) {
      hit = FirstVisibleHit(panel->controls, x, y);
      if (!hit) hit = FirstVisibleHit(panel->titleButtons, x, y);
      if (hit || panel->modal) {
        if (inArea) *inArea = hit ? 1 : 0;
        return hit;
      }
    }
    if (WIDGETWINDOW* window = g_activeWidgetWindow) {
      hit = FirstVisibleHit(window->controls, x, y);
      if (!hit) hit = FirstVisibleHit(window->fixed, x, y);
      if (inArea) *inArea = hit ? 1 : 0;
      return hit;
    }
    area = x >= world->interfaceX && x < world->interfaceX + world->interfaceWidth && y >= world->interfaceY &&
           y < world->interfaceY + world->interfaceHeight;
    for (WIDGETDESC* w = world->widgetFirst; w; w = w->next) {
      if (!w->visible) continue;
      bool onIt = Inside(w, x, y);
      if (const ITEMREGIONDESC* region = WidgetData<ITEMREGIONDESC>(w))
        onIt = onIt || (w->state && InsideItemBox(*region, x, y));
      if (!onIt) continue;
      hit = w;
      area = 1;
      if (w->type != kWidgetTypeStatic) break;
    }
  }
  if (inArea) *inArea = area;
  return hit;
}

WIDGETDESC* TrackWidgetHover(WIDGETDESC* previous, int x, int y) {
  int ignored = 0;
  WIDGETDESC* under = HitTestWidget(x, y, &ignored);
  if (under == previous) return under;
  if (Hovers(previous)) {
    previous->hover = 0;
    DrawWidget(previous);
  }
  if (Hovers(under)) {
    under->hover = 1;
    DrawWidget(under);
  }
  return under;
}

void HandleWidgetMouse(WIDGETDESC* pressed, WIDGETDESC* hoveredBefore, WIDGETDESC* underMouse, int x, int y,
                       int event) {
  switch (event) {
    case kWidgetPress:
      if (pressed) Press(pressed, x, y);
      break;
    case kWidgetRelease: Release(pressed, underMouse, x, y); break;
    case kWidgetDrag: Drag(pressed, hoveredBefore, underMouse, x, y); break;
    case kWidgetDoubleClick:
      if (pressed) DoubleClick(pressed, y);
      break;
    case kWidgetRepeat: RepeatScrollBar(1); break;
    default: break;
  }
}

void FireWidgetCallback(WIDGETDESC* pressed, WIDGETDESC* underMouse, int x, int y, int event) {
  if (pressed && pressed->enabled &&
      (IsToggle(pressed) || pressed->type == kWidgetTypeButton || pressed->type == kWidgetTypeList)) {
    WidgetCallback callback = CallbackOf(pressed, event);
    if (callback && (!pressed->insideOnly || Inside(pressed, x, y))) callback(WidgetHandle(pressed), x, y);
  }
  ITEMREGIONDESC* region = WidgetData<ITEMREGIONDESC>(underMouse);
  // The release closes the region before its callback is asked for, so a
  // release counts with the hot item it took.
  if (!region || !underMouse->enabled || (!underMouse->state && event != kWidgetRelease)) return;
  int hot = region->hotItem;
  if (hot < 0 || hot >= static_cast<int>(region->items.size()) || !region->items[hot].enabled) return;
  ITEMREGIONITEM& item = region->items[hot];
  if (event == kWidgetRelease && item.kind == 2) item.checked = !item.checked;
  if (WidgetCallback callback = CallbackOf(underMouse, event)) callback(WidgetHandle(underMouse), x, y);
  region->hotItem = -1;
}

void InputWidgetChar(int code) {
  WIDGETDESC* w = g_focusedEditWidget;
  EDITLINEDESC* edit = WidgetData<EDITLINEDESC>(w);
  if (!edit) return;
  if (code == kWidgetKeyEnter) {
    Finish(w, *edit);
    if (edit->onDone) edit->onDone(WidgetHandle(w));
    return;
  }
  std::string& text = edit->text;
  int length = static_cast<int>(text.size());
  if (edit->state == 0) {
    edit->state = 2;
    bool editingKey = code == kWidgetKeyBackspace || code == kWidgetKeyLeft || code == kWidgetKeyRight ||
                      code == kWidgetKeyDelete || code == kWidgetKeyHome || code == kWidgetKeyEnd;
    if (editingKey) {
      text.clear();
      edit->cursor = edit->firstShown = 0;
    } else {
      text.assign(1, static_cast<char>(code));
      edit->cursor = 1;
      edit->firstShown = 0;
    }
  } else if (edit->state == 2) {
    switch (code) {
      case kWidgetKeyBackspace:
        if (edit->cursor > 0) {
          text.erase(static_cast<size_t>(edit->cursor - 1), 1);
          --edit->cursor;
          if (edit->firstShown > 0) --edit->firstShown;
        }
        break;
      case kWidgetKeyLeft:
        if (edit->cursor > 0) --edit->cursor;
        break;
      case kWidgetKeyRight:
        if (edit->cursor < length) ++edit->cursor;
        break;
      case kWidgetKeyDelete:
        if (edit->cursor < length) text.erase(static_cast<size_t>(edit->cursor), 1);
        break;
      case kWidgetKeyHome: edit->cursor = 0; break;
      case kWidgetKeyEnd: edit->cursor = length; break;
      default:
        if (text.size() < kEditTextMax && code > 0 && code < 256) {
          text.insert(text.begin() + edit->cursor, static_cast<char>(code));
          ++edit->cursor;
        }
        break;
    }
    ShowCursor(*edit);
  }
  DrawWidget(w);
  if (g_focusedEditWidget == w && edit->onChange) edit->onChange(WidgetHandle(w));
}

void EndWidgetEdit() {
  WIDGETDESC* w = g_focusedEditWidget;
  if (EDITLINEDESC* edit = WidgetData<EDITLINEDESC>(w)) Finish(w, *edit);
  g_focusedEditWidget = nullptr;
}
