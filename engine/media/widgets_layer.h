#pragma once
// Internal to the widget layer.
#include "engine/media/widgets.h"

inline HOBJECT WidgetHandle(const WIDGETDESC* w) {
  return w ? MakeHandle(OBJTYPE_WIDGET, static_cast<uint32_t>(w->index)) : 0;
}

template <typename T>
T* WidgetData(WIDGETDESC* w) {
  return w ? std::get_if<T>(&w->typeData) : nullptr;
}

// Scroll bar and list coupling (the arrows count 20 pixels each).
void SetBarFromList(WIDGETDESC* bar);
void SetListFromBar(WIDGETDESC* bar);
// Every scroll bar linked to the list follows it.
void SetBarsFromList(WIDGETDESC* list);

// Draws into the locked interface buffer.
void PaintWidget(WIDGETDESC* widget);
// Built-in 6 x 12 font: the first glyph's bottom row at y + 3, 8 pixels a character.
void DrawWidgetText(int x, int y, const std::string& text, uint32_t color);
// 16 words, the first the bottom row, bit 15 leftmost.
const uint16_t* BuiltinGlyph(char c);
