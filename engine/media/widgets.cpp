#include "engine/media/widgets.h"

WIDGETDESC* g_focusedEditWidget = nullptr;

// MINIMAL: the widget layer is not built yet. Nothing creates a widget and
// the world's interface-off flag stays set, so the layer is never hit.
WIDGETDESC* HitTestWidget(int, int, int* inArea) {
  if (inArea) *inArea = 0;
  return nullptr;
}

// MINIMAL: no widget exists to hover.
WIDGETDESC* TrackWidgetHover(WIDGETDESC*, int, int) { return nullptr; }

// MINIMAL: no widget exists to take the mouse.
void HandleWidgetMouse(WIDGETDESC*, WIDGETDESC*, WIDGETDESC*, int, int, int) {}

// MINIMAL: no widget exists to call back.
void FireWidgetCallback(WIDGETDESC*, WIDGETDESC*, int, int, int) {}

// MINIMAL: no edit line exists to type into.
void InputWidgetChar(int) {}

// MINIMAL: no edit line exists to end.
void EndWidgetEdit() {}

// MINIMAL: nothing creates widgets, so there is nothing to destroy.
void DestroyWidget(HOBJECT) {}

// MINIMAL: nothing creates widget panels, so there is nothing to destroy.
void DestroyWidgetPanel(HOBJECT, int) {}

// MINIMAL: nothing creates widget windows, so there is nothing to destroy.
void DestroyWidgetWindow(HOBJECT, int) {}
