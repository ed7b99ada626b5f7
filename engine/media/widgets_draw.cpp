// Drawing the widgets into the interface buffer.
#include <algorithm>

#include "engine/core/world.h"
#include "engine/media/draw2d.h"
#include "engine/media/screen.h"
#include "engine/media/widgets.h"
#include "engine/media/widgets_layer.h"

namespace {

uint32_t Light() { return MapRGB(255, 255, 255); }
uint32_t Dark() { return MapRGB(90, 90, 90); }
uint32_t Grey() { return MapRGB(130, 130, 130); }

void FlatFrame(int x, int y, int w, int h, uint32_t color) {
  DrawHLine(x, x + w - 1, y, color);
  DrawHLine(x, x + w - 1, y + h - 1, color);
  DrawLine(x, y, x, y + h - 1, color);
  DrawLine(x + w - 1, y, x + w - 1, y + h - 1, color);
}

// Light top and left, dark bottom and right.
void RaisedFrame(int x, int y, int w, int h, uint32_t light, uint32_t dark) {
  DrawHLine(x, x + w - 1, y, light);
  DrawLine(x, y, x, y + h - 1, light);
  DrawHLine(x, x + w - 1, y + h - 1, dark);
  DrawLine(x + w - 1, y, x + w - 1, y + h - 1, dark);
}

void StyledFrame(int style, int x, int y, int w, int h, uint32_t color, bool pressed) {
  uint32_t light = pressed ? Dark() : Light(), dark = pressed ? Light() : Dark();
  switch (style) {
    case 0: FlatFrame(x, y, w, h, color); break;
    case 1: RaisedFrame(x, y, w, h, light, dark); break;
    case 2:
      RaisedFrame(x, y, w, h, light, dark);
      RaisedFrame(x + 1, y + 1, w - 2, h - 2, dark, light);
      break;
    default: break;
  }
}

// The baseline of one line of text inside a box.
int TextBaseline(int top, int height) { return top + height / 2 + 2; }

void DrawToggleBox(const WIDGETDESC* w, const TOGGLEBOXDESC& box) {
  int bx = w->x + box.boxX, by = w->y + box.boxY;
  switch (box.boxStyle) {
    case 1:
      RaisedFrame(bx, by, box.boxWidth, box.boxHeight, w->state ? Dark() : Light(), w->state ? Light() : Dark());
      break;
    case 2:
      FlatFrame(bx, by, box.boxWidth, box.boxHeight, Dark());
      if (w->state) {
        DrawLine(bx + 2, by + 2, bx + box.boxWidth - 3, by + box.boxHeight - 3, w->labelColor);
        DrawLine(bx + box.boxWidth - 3, by + 2, bx + 2, by + box.boxHeight - 3, w->labelColor);
      }
      break;
    default:
      FlatFrame(bx, by, box.boxWidth, box.boxHeight, Dark());
      if (w->state) FillRect(bx + 3, by + 3, box.boxWidth - 6, box.boxHeight - 6, w->labelColor);
      break;
  }
}

void DrawEditLine(const WIDGETDESC* w, const EDITLINEDESC& edit) {
  int bx = w->x + edit.boxX, by = w->y + edit.boxY;
  int first = std::clamp(edit.firstShown, 0, static_cast<int>(edit.text.size()));
  std::string shown = edit.text.substr(static_cast<size_t>(first), static_cast<size_t>(std::max(edit.shownCount, 0)));
  int baseline = TextBaseline(by, edit.boxHeight);
  if (edit.state == 0 && !shown.empty()) {
    FillRect(bx + 2, baseline - 10, static_cast<int>(shown.size()) * 8, 14, edit.selectionColor);
    DrawWidgetText(bx + 2, baseline, shown, w->faceColor);
  } else {
    DrawWidgetText(bx + 2, baseline, shown, w->enabled ? w->labelColor : Grey());
  }
  if (edit.state == 2) FillRect(bx + 2 + (edit.cursor - first) * 8, baseline - 10, 2, 14, MapRGB(0, 200, 0));
  RaisedFrame(bx, by, edit.boxWidth, edit.boxHeight, Dark(), Light());
}

// A filled arrow inside a square, pointing by the direction (0 up, 1 down, 2 left, 3 right).
void DrawArrow(int x, int y, int size, int direction) {
  RaisedFrame(x, y, size, size, Light(), Dark());
  int c = size / 2, m = size / 4;
  int32_t up[] = {x + c, y + m, x + size - m, y + size - m, x + m, y + size - m};
  int32_t down[] = {x + m, y + m, x + size - m, y + m, x + c, y + size - m};
  int32_t left[] = {x + m, y + c, x + size - m, y + m, x + size - m, y + size - m};
  int32_t right[] = {x + m, y + m, x + size - m, y + c, x + m, y + size - m};
  const int32_t* points[] = {up, down, left, right};
  DrawPolygon(points[direction], 3, MapRGB(0, 0, 0), 1, 0, 0);
}

void DrawScrollBar(const WIDGETDESC* w, const SCROLLBARDESC& bar) {
  bool vertical = bar.orientation == 1;
  int a = bar.arrowSize, cross = bar.crossSize;
  int thumbStart = a + static_cast<int>(bar.thumbPosition), thumbSize = static_cast<int>(bar.thumbSize);
  if (vertical) {
    DrawArrow(w->x, w->y, std::min(a, cross), 0);
    DrawArrow(w->x, w->y + bar.length - a, std::min(a, cross), 1);
    RaisedFrame(w->x, w->y + thumbStart, cross, thumbSize, Light(), Dark());
  } else {
    DrawArrow(w->x, w->y, std::min(a, cross), 2);
    DrawArrow(w->x + bar.length - a, w->y, std::min(a, cross), 3);
    RaisedFrame(w->x + thumbStart, w->y, thumbSize, cross, Light(), Dark());
  }
}

void DrawList(const WIDGETDESC* w, const LISTDESC& list) {
  int bx = w->x + list.textBoxX, by = w->y + list.textBoxY;
  RaisedFrame(bx, by, list.textBoxWidth, list.textBoxHeight, Dark(), Light());
  for (int r = 0; r < list.visibleRows; ++r) {
    int item = list.firstShown + r;
    if (item < 0 || item >= static_cast<int>(list.items.size())) break;
    int top = by + 1 + r * kListRowStep;
    bool selected = item == list.selectedRow;
    if (selected) FillRect(bx + 1, top, list.textBoxWidth - 2, kListRowStep, list.selectionColor);
    const std::string& text = list.items[item];
    std::string shown = list.textOffset < static_cast<int>(text.size())
                            ? text.substr(static_cast<size_t>(std::max(list.textOffset, 0)),
                                          static_cast<size_t>(std::max(list.charsPerRow, 0)))
                            : std::string();
    DrawWidgetText(bx + 2, top + 10, shown, selected ? ~w->labelColor & 0xFFFF : w->labelColor);
  }
}

void DrawItemBox(const WIDGETDESC* w, const ITEMREGIONDESC& region) {
  FillRect(region.boxX, region.boxY, region.boxWidth, region.boxHeight, w->faceColor);
  StyledFrame(static_cast<int>(w->frameStyle & 0xFF), region.boxX, region.boxY, region.boxWidth, region.boxHeight,
              w->frameColor, false);
  for (size_t i = 0; i < region.items.size(); ++i) {
    const ITEMREGIONITEM& item = region.items[i];
    int baseline = region.boxY + 5 + 12 + static_cast<int>(i) * kItemRowStep;
    if (item.kind == 3) {
      DrawHLine(region.boxX + 4, region.boxX + region.boxWidth - 5, baseline - 5, Dark());
      DrawHLine(region.boxX + 4, region.boxX + region.boxWidth - 5, baseline - 4, Light());
      continue;
    }
    uint32_t color = item.enabled ? w->labelColor : Grey();
    if (static_cast<int>(i) == region.hotItem) {
      FillRect(region.boxX + 2, baseline - 12, region.boxWidth - 4, kItemRowStep - 2, region.hotColor);
      color = ~color & 0xFFFF;
    }
    if (item.kind == 2 && item.checked) {
      DrawLine(region.boxX + 4, baseline - 4, region.boxX + 6, baseline - 2, color);
      DrawLine(region.boxX + 6, baseline - 2, region.boxX + 10, baseline - 8, color);
    }
    DrawWidgetText(region.boxX + 14, baseline, item.text, color);
  }
}

void DrawItems(const WIDGETDESC* w) {
  uint32_t color = MapRGB(0, 0, 0);
  MoveTo(w->x, w->y);
  for (const WIDGETDRAWITEM& item : w->drawItems) {
    switch (item.kind) {
      case 1: MoveTo(w->x + item.a, w->y + item.b); break;
      case 2: LineTo(w->x + item.a, w->y + item.b, color); break;
      case 3: DrawWidgetText(g_penX, g_penY, item.text, color); break;
      case 4: color = MapRGB(item.a, item.b, item.c); break;
      default: break;
    }
  }
}

bool ShowsPressed(const WIDGETDESC* w) {
  return w->state && (w->type == kWidgetTypeButton || w->type == kWidgetTypeToggle || w->type == kWidgetTypeToggleBox ||
                      w->type == kWidgetTypeItemRegion);
}

}  // namespace

void DrawWidgetText(int x, int y, const std::string& text, uint32_t color) {
  for (size_t i = 0; i < text.size(); ++i)
    DrawGlyphBits(BuiltinGlyph(text[i]), x + static_cast<int>(i) * 8, y + 3, 6, 12, color);
}

void PaintWidget(WIDGETDESC* w) {
  if (!w || !w->visible) return;
  bool pressed = ShowsPressed(w);
  bool bar = w->type == kWidgetTypeScrollBar;
  FillRect(w->x, w->y, w->width, w->height, pressed || bar ? w->pressedColor : w->faceColor);
  bool framed = (w->hover && w->enabled) || pressed || (w->type != kWidgetTypeItemRegion && w->frameStyle <= 0xFFFFFF);
  if (framed)
    StyledFrame(static_cast<int>(w->frameStyle & 0xFF), w->x, w->y, w->width, w->height, w->frameColor, pressed);
  DrawWidgetText(w->x + w->labelX, w->y + w->labelY, w->label, w->enabled ? w->labelColor : Grey());
  BlitKeyed(w->x + w->imageX, w->y + w->imageY, w->enabled ? w->image : w->disabledImage);
  if (const TOGGLEBOXDESC* box = WidgetData<TOGGLEBOXDESC>(w)) DrawToggleBox(w, *box);
  if (const EDITLINEDESC* edit = WidgetData<EDITLINEDESC>(w)) DrawEditLine(w, *edit);
  if (const SCROLLBARDESC* scroll = WidgetData<SCROLLBARDESC>(w)) DrawScrollBar(w, *scroll);
  if (const LISTDESC* list = WidgetData<LISTDESC>(w)) DrawList(w, *list);
  if (const ITEMREGIONDESC* region = WidgetData<ITEMREGIONDESC>(w); region && w->state) DrawItemBox(w, *region);
  DrawItems(w);
}

void DrawWidget(WIDGETDESC* w) {
  if (!w || !w->visible || !LockInterfaceBuffer()) return;
  PaintWidget(w);
  UnlockInterfaceBuffer();
}

void RedrawWidgets() {
  GAMEWORLD* world = g_gameWorld;
  if (!world || !LockInterfaceBuffer()) return;
  FillRect(world->interfaceX, world->interfaceY, world->interfaceWidth, world->interfaceHeight,
           MapRGB(world->widgetFaceRed, world->widgetFaceGreen, world->widgetFaceBlue));
  for (WIDGETDESC* w = world->widgetFirst; w; w = w->next) PaintWidget(w);
  UnlockInterfaceBuffer();
}
