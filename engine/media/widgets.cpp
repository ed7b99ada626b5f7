// Widget records: lookups, creation, lists and scroll bars, destruction.
#include "engine/media/widgets.h"

#include <algorithm>
#include <cmath>

#include "engine/core/engine_state.h"
#include "engine/core/images.h"
#include "engine/core/pools.h"
#include "engine/core/window_proc.h"
#include "engine/core/world.h"
#include "engine/media/screen.h"
#include "engine/media/widgets_layer.h"

WIDGETWINDOW* g_activeWidgetWindow = nullptr;
WIDGETPANEL* g_activeWidgetPanel = nullptr;
WIDGETDESC* g_focusedEditWidget = nullptr;
WIDGETDESC* g_repeatingWidget = nullptr;
int g_widgetJustFocused = 0;

namespace {

constexpr float kArrows = 40.0f;  // both arrows of a bar

void LinkToDesktop(WIDGETDESC* w) {
  GAMEWORLD& world = *g_gameWorld;
  w->prev = world.widgetLast;
  w->next = nullptr;
  if (world.widgetLast) world.widgetLast->next = w;
  else world.widgetFirst = w;
  world.widgetLast = w;
}

void UnlinkFromDesktop(WIDGETDESC* w) {
  if (!g_gameWorld) return;
  GAMEWORLD& world = *g_gameWorld;
  if (w->prev) w->prev->next = w->next;
  else if (world.widgetFirst == w) world.widgetFirst = w->next;
  if (w->next) w->next->prev = w->prev;
  else if (world.widgetLast == w) world.widgetLast = w->prev;
  w->prev = w->next = nullptr;
}

void SetDefaults(WIDGETDESC* w) {
  GAMEWORLD& world = *g_gameWorld;
  w->faceColor = MapRGB(world.widgetFaceRed, world.widgetFaceGreen, world.widgetFaceBlue);
  w->pressedColor = MapRGB(150, 150, 150);
  w->frameColor = MapRGB(0, 0, 0);
  w->labelColor = MapRGB(0, 0, 0);
  w->labelX = 4;
  w->labelY = 12;
  switch (w->type) {
    case kWidgetTypeToggleBox:
      w->typeData = TOGGLEBOXDESC{2, (w->height - 12) / 2, 12, 12, 0};
      w->labelX = 18;
      break;
    case kWidgetTypeEdit: {
      EDITLINEDESC edit;
      edit.boxWidth = w->width;
      edit.boxHeight = w->height;
      edit.shownCount = std::max((w->width - 4) / 8, 1);
      edit.selectionColor = MapRGB(0, 0, 160);
      w->typeData = edit;
      break;
    }
    case kWidgetTypeScrollBar: {
      SCROLLBARDESC bar;
      bar.orientation = w->height >= w->width ? 1 : 0;
      bar.length = bar.orientation == 1 ? w->height : w->width;
      bar.crossSize = bar.orientation == 1 ? w->width : w->height;
      bar.arrowSize = 20;
      bar.thumbSize = std::max(bar.length - kArrows, 0.0f);
      w->typeData = bar;
      break;
    }
    case kWidgetTypeList: {
      LISTDESC list;
      list.textBoxWidth = w->width;
      list.textBoxHeight = w->height;
      list.visibleRows = std::max((w->height - 2) / kListRowStep, 1);
      list.charsPerRow = std::max((w->width - 4) / 8, 1);
      list.selectionColor = MapRGB(0, 0, 160);
      w->typeData = list;
      break;
    }
    case kWidgetTypeItemRegion: {
      ITEMREGIONDESC region;
      region.boxX = w->x;
      region.boxY = w->y + w->height;
      region.boxWidth = std::max(w->width, 120);
      region.boxHeight = 10;
      region.hotColor = MapRGB(0, 0, 160);
      w->typeData = region;
      break;
    }
    default: break;
  }
}

WIDGETDESC* NewWidget(int type, int x, int y, int width, int height, const char* label) {
  auto* w = new WIDGETDESC;
  if (g_widgetPool.Allocate(w) < 0) {
    delete w;
    return nullptr;
  }
  w->type = type;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  if (label) w->label = label;
  SetDefaults(w);
  return w;
}

void DestroyImageOf(IMAGEDESC*& image) {
  if (image) DestroyImage(MakeHandle(OBJTYPE_IMAGE, static_cast<uint32_t>(image->index)));
  image = nullptr;
}

void Forget(std::vector<WIDGETDESC*>& list, WIDGETDESC* w) { std::erase(list, w); }

void DestroyIfAny(WIDGETDESC* w) {
  if (w) DestroyWidget(WidgetHandle(w));
}

bool WorldReady() { return g_engineOpen && g_gameWorld; }

}  // namespace

WIDGETDESC* LookupWidget(HOBJECT handle) {
  if (handle == 0) return g_repeatingWidget;
  return g_widgetPool.Resolve(handle, OBJTYPE_WIDGET);
}

WIDGETWINDOW* LookupWidgetWindow(HOBJECT handle) { return g_widgetWindowPool.Resolve(handle, OBJTYPE_WINDOW); }

WIDGETPANEL* LookupWidgetPanel(HOBJECT handle) { return g_widgetPanelPool.Resolve(handle, OBJTYPE_PANEL); }

HOBJECT CreateWidget(int type, int x, int y, int width, int height, const char* label) {
  if (!WorldReady()) return 0;
  WIDGETDESC* w = NewWidget(type, x, y, width, height, label);
  if (!w) return 0;
  LinkToDesktop(w);
  return WidgetHandle(w);
}

HOBJECT CreateWidgetPanel(int modal) {
  if (!WorldReady()) return 0;
  auto* panel = new WIDGETPANEL;
  if (g_widgetPanelPool.Allocate(panel) < 0) {
    delete panel;
    return 0;
  }
  panel->modal = modal;
  panel->titleButtons[0] = NewWidget(kWidgetTypeButton, 0, 0, 20, 20, "x");
  panel->titleButtons[1] = NewWidget(kWidgetTypeButton, 20, 0, 20, 20, "?");
  return MakeHandle(OBJTYPE_PANEL, static_cast<uint32_t>(panel->index));
}

HOBJECT CreateWidgetWindow(int x, int y, int width, int height, const char* title) {
  if (!WorldReady()) return 0;
  auto* window = new WIDGETWINDOW;
  if (g_widgetWindowPool.Allocate(window) < 0) {
    delete window;
    return 0;
  }
  const int bar = 20, button = 40;
  window->fixed = {NewWidget(kWidgetTypeStatic, x, y, width, bar, title),
                   NewWidget(kWidgetTypeStatic, x, y + bar, width, height - bar, nullptr),
                   NewWidget(kWidgetTypeStatic, x, y, width, height, nullptr),
                   NewWidget(kWidgetTypeButton, x + width - bar, y, bar, bar, "x"),
                   NewWidget(kWidgetTypeButton, x + width - 3 * bar, y, bar, bar, "_"),
                   NewWidget(kWidgetTypeButton, x + width - 2 * bar, y, bar, bar, "+"),
                   NewWidget(kWidgetTypeButton, x + width - 2 * button - 8, y + height - 24, button, 20, "OK"),
                   NewWidget(kWidgetTypeButton, x + width - button - 4, y + height - 24, button, 20, "Cancel")};
  return MakeHandle(OBJTYPE_WINDOW, static_cast<uint32_t>(window->index));
}

void AddWidgetToPanel(HOBJECT panelHandle, HOBJECT widget) {
  WIDGETPANEL* panel = LookupWidgetPanel(panelHandle);
  WIDGETDESC* w = widget ? LookupWidget(widget) : nullptr;
  if (!panel || !w) return;
  UnlinkFromDesktop(w);
  panel->controls.push_back(w);
}

void AddWidgetToWindow(HOBJECT windowHandle, HOBJECT widget) {
  WIDGETWINDOW* window = LookupWidgetWindow(windowHandle);
  WIDGETDESC* w = widget ? LookupWidget(widget) : nullptr;
  if (!window || !w) return;
  UnlinkFromDesktop(w);
  window->controls.push_back(w);
}

void SetActiveWidgetPanel(HOBJECT panel) { g_activeWidgetPanel = panel ? LookupWidgetPanel(panel) : nullptr; }

void SetActiveWidgetWindow(HOBJECT window) { g_activeWidgetWindow = window ? LookupWidgetWindow(window) : nullptr; }

void AddListItem(HOBJECT handle, const char* text) {
  WIDGETDESC* w = handle ? LookupWidget(handle) : nullptr;
  LISTDESC* list = WidgetData<LISTDESC>(w);
  if (!list || !text) return;
  list->items.emplace_back(text);
  list->widestItem = std::max(list->widestItem, static_cast<int>(list->items.back().size()));
  SetBarsFromList(w);
}

void LinkScrollBar(HOBJECT listHandle, HOBJECT barHandle) {
  WIDGETDESC* listWidget = listHandle ? LookupWidget(listHandle) : nullptr;
  WIDGETDESC* barWidget = barHandle ? LookupWidget(barHandle) : nullptr;
  LISTDESC* list = WidgetData<LISTDESC>(listWidget);
  SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(barWidget);
  if (!list || !bar) return;
  (bar->orientation == 1 ? list->verticalBar : list->horizontalBar) = barWidget;
  bar->list = listWidget;
  SetBarFromList(barWidget);
}

void AddItemRegionItem(HOBJECT handle, int kind, const char* text, int enabled) {
  ITEMREGIONDESC* region = WidgetData<ITEMREGIONDESC>(handle ? LookupWidget(handle) : nullptr);
  if (!region) return;
  ITEMREGIONITEM item;
  item.kind = kind;
  item.text = std::string(text ? text : "").substr(0, kItemTextMax);
  item.enabled = enabled;
  region->items.push_back(item);
  region->boxHeight = 10 + kItemRowStep * static_cast<int>(region->items.size());
}

void SetBarFromList(WIDGETDESC* barWidget) {
  SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(barWidget);
  LISTDESC* list = bar ? WidgetData<LISTDESC>(bar->list) : nullptr;
  if (!list) return;
  float track = bar->length - kArrows;
  bool vertical = bar->orientation == 1;
  int count = vertical ? static_cast<int>(list->items.size()) : list->widestItem;
  int visible = vertical ? list->visibleRows : list->charsPerRow;
  int first = vertical ? list->firstShown : list->textOffset;
  if (count <= visible) {
    bar->thumbSize = track;
    bar->thumbPosition = 0;
  } else {
    bar->thumbSize = track * visible / count;
    bar->thumbPosition = track * first / count;
  }
}

void SetListFromBar(WIDGETDESC* barWidget) {
  SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(barWidget);
  LISTDESC* list = bar ? WidgetData<LISTDESC>(bar->list) : nullptr;
  if (!list) return;
  float track = bar->length - kArrows;
  if (track <= 0) return;
  if (bar->orientation == 1)
    list->firstShown = static_cast<int>(std::lround(bar->thumbPosition * list->items.size() / track));
  else list->textOffset = static_cast<int>(std::lround(list->widestItem * bar->thumbPosition / track));
}

void SetBarsFromList(WIDGETDESC* listWidget) {
  LISTDESC* list = WidgetData<LISTDESC>(listWidget);
  if (!list) return;
  SetBarFromList(list->verticalBar);
  SetBarFromList(list->horizontalBar);
}

void RemoveListItem(HOBJECT handle, int index) {
  WIDGETDESC* w = LookupWidget(handle);
  LISTDESC* list = WidgetData<LISTDESC>(w);
  if (!list || index < 0 || index >= static_cast<int>(list->items.size())) return;
  list->items.erase(list->items.begin() + index);
  list->firstShown = 0;
  if (handle) DrawWidget(w);
  SetBarsFromList(w);
}

void DestroyWidget(HOBJECT handle) {
  WIDGETDESC* w = handle ? LookupWidget(handle) : nullptr;
  if (!w) return;
  for (uint32_t i = 0; i < g_widgetWindowPool.mark; ++i) {
    WIDGETWINDOW* window = g_widgetWindowPool.slots[i];
    if (!window) continue;
    for (WIDGETDESC*& fixed : window->fixed)
      if (fixed == w) fixed = nullptr;
    Forget(window->controls, w);
  }
  for (uint32_t i = 0; i < g_widgetPanelPool.mark; ++i) {
    WIDGETPANEL* panel = g_widgetPanelPool.slots[i];
    if (!panel) continue;
    for (WIDGETDESC*& button : panel->titleButtons)
      if (button == w) button = nullptr;
    Forget(panel->controls, w);
  }
  UnlinkFromDesktop(w);
  if (LISTDESC* list = WidgetData<LISTDESC>(w)) {
    list->items.clear();
    for (WIDGETDESC* barWidget : {list->verticalBar, list->horizontalBar})
      if (SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(barWidget)) bar->list = nullptr;
  }
  if (SCROLLBARDESC* bar = WidgetData<SCROLLBARDESC>(w)) {
    if (LISTDESC* list = WidgetData<LISTDESC>(bar->list)) {
      if (list->verticalBar == w) list->verticalBar = nullptr;
      if (list->horizontalBar == w) list->horizontalBar = nullptr;
    }
  }
  DestroyImageOf(w->image);
  DestroyImageOf(w->disabledImage);
  // Nothing may keep pointing at the record.
  if (g_focusedEditWidget == w) g_focusedEditWidget = nullptr;
  if (g_repeatingWidget == w) g_repeatingWidget = nullptr;
  ENGINEMOUSESTATE& m = g_engineMouse;
  if (m.underMouse == w) m.underMouse = nullptr;
  if (m.hoveredBefore == w) m.hoveredBefore = nullptr;
  if (m.pressed == w) m.pressed = nullptr;
  g_widgetPool.Free(static_cast<uint32_t>(w->index));
  delete w;
}

void DestroyWidgetPanel(HOBJECT handle, int withControls) {
  WIDGETPANEL* panel = LookupWidgetPanel(handle);
  if (!panel) return;
  if (withControls) {
    std::vector<WIDGETDESC*> controls = panel->controls;
    for (WIDGETDESC* w : controls) DestroyIfAny(w);
  }
  std::array<WIDGETDESC*, 2> buttons = panel->titleButtons;
  for (WIDGETDESC* w : buttons) DestroyIfAny(w);
  if (g_activeWidgetPanel == panel) g_activeWidgetPanel = nullptr;
  g_widgetPanelPool.Free(static_cast<uint32_t>(panel->index));
  delete panel;
}

void DestroyWidgetWindow(HOBJECT handle, int withAll) {
  WIDGETWINDOW* window = LookupWidgetWindow(handle);
  if (!window) return;
  std::array<WIDGETDESC*, 8> fixed = window->fixed;
  for (int i = 0; i < 3; ++i) DestroyIfAny(fixed[i]);
  if (withAll) {
    for (int i = 3; i < 8; ++i) DestroyIfAny(fixed[i]);
    std::vector<WIDGETDESC*> controls = window->controls;
    for (WIDGETDESC* w : controls) DestroyIfAny(w);
  }
  if (g_activeWidgetWindow == window) g_activeWidgetWindow = nullptr;
  g_widgetWindowPool.Free(static_cast<uint32_t>(window->index));
  delete window;
}
