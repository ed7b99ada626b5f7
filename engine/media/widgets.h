#pragma once
#include "engine/core/handles.h"

struct IMAGEDESC;

// The engine's own widget layer, fed by the engine window procedure.
// MINIMAL: only the fields the engine core reads so far; the layer is not built yet.
struct WIDGETDESC {
  int slot = 0;
  int type = 0;  // 5 = edit line
  IMAGEDESC* image = nullptr;
  IMAGEDESC* disabledImage = nullptr;
};
struct WIDGETWINDOW;
struct WIDGETPANEL;

constexpr int kWidgetTypeEdit = 5;

// Mouse events of HandleWidgetMouse and FireWidgetCallback.
constexpr int kWidgetPress = 1;
constexpr int kWidgetRelease = 2;
constexpr int kWidgetDrag = 3;
constexpr int kWidgetDoubleClick = 4;

// Edit-key codes InputWidgetChar takes besides characters.
constexpr int kWidgetKeyLeft = 259;
constexpr int kWidgetKeyRight = 260;
constexpr int kWidgetKeyDelete = 261;
constexpr int kWidgetKeyHome = 262;
constexpr int kWidgetKeyEnd = 263;

// The edit line with the keyboard focus; null when none.
extern WIDGETDESC* g_focusedEditWidget;

// The widget under a point; *inArea tells whether the point is on the widget layer.
WIDGETDESC* HitTestWidget(int x, int y, int* inArea);
WIDGETDESC* TrackWidgetHover(WIDGETDESC* previous, int x, int y);
void HandleWidgetMouse(WIDGETDESC* pressed, WIDGETDESC* hoveredBefore, WIDGETDESC* underMouse, int x,
                       int y, int event);
void FireWidgetCallback(WIDGETDESC* pressed, WIDGETDESC* underMouse, int x, int y, int event);
void InputWidgetChar(int code);
void EndWidgetEdit();

void DestroyWidget(HOBJECT widget);
void DestroyWidgetPanel(HOBJECT panel, int withControls);
void DestroyWidgetWindow(HOBJECT window, int withAll);
