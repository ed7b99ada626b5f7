#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "engine/core/handles.h"

struct IMAGEDESC;

// The engine's own widget layer: buttons, toggles, edit lines, scroll bars,
// lists and pop-up item regions on a desktop list, in widget windows and in
// widget panels, drawn into the interface buffer and fed by the engine
// window procedure. The world's interface-off flag is set from the start and
// nothing in the game clears it, so the layer takes no input and is not
// shown unless that flag is cleared.

using WidgetCallback = void (*)(HOBJECT widget, int x, int y);
using WidgetEditCallback = void (*)(HOBJECT widget);

enum WIDGETTYPE : int {
  kWidgetTypeStatic = 1,
  kWidgetTypeToggle = 2,
  kWidgetTypeButton = 3,
  kWidgetTypeToggleBox = 4,
  kWidgetTypeEdit = 5,
  kWidgetTypeScrollBar = 7,
  kWidgetTypeList = 8,
  kWidgetTypeItemRegion = 10,
};

// Mouse events of HandleWidgetMouse and FireWidgetCallback.
constexpr int kWidgetPress = 1;
constexpr int kWidgetRelease = 2;
constexpr int kWidgetDrag = 3;
constexpr int kWidgetDoubleClick = 4;
constexpr int kWidgetRepeat = 5;

// Codes InputWidgetChar takes besides characters.
constexpr int kWidgetKeyBackspace = 8;
constexpr int kWidgetKeyEnter = 13;
constexpr int kWidgetKeyLeft = 259;
constexpr int kWidgetKeyRight = 260;
constexpr int kWidgetKeyDelete = 261;
constexpr int kWidgetKeyHome = 262;
constexpr int kWidgetKeyEnd = 263;

// Drawing items: kind 1 move to (dx, dy), 2 line to (dx, dy), 3 text at the
// pen, 4 colour (red, green, blue), 5 no drawing.
struct WIDGETDRAWITEM {
  int kind = 5;
  int a = 0;
  int b = 0;
  int c = 0;
  std::string text;
};

struct TOGGLEBOXDESC {
  int boxX = 0;
  int boxY = 0;
  int boxWidth = 0;
  int boxHeight = 0;
  int boxStyle = 0;  // 0 flat dark frame, 1 raised, 2 flat frame with a cross when checked
};

constexpr size_t kEditTextMax = 80;
struct EDITLINEDESC {
  int boxX = 0;
  int boxY = 0;
  int boxWidth = 0;
  int boxHeight = 0;
  int cursor = 0;
  int firstShown = 0;
  int shownCount = 0;
  int state = 1;  // 0 text selected (the next key replaces it), 1 finished, 2 editing
  std::string text;
  int selectionStart = 0;
  int selectionLength = 0;
  uint32_t selectionColor = 0;
  WidgetEditCallback onDone = nullptr;
  WidgetEditCallback onChange = nullptr;
};

struct WIDGETDESC;

// Parts of a scroll bar under a point.
enum SCROLLPART : int {
  kScrollNone = -1,
  kScrollFirstArrow = 1,
  kScrollTrackBefore = 2,
  kScrollThumb = 3,
  kScrollTrackAfter = 4,
  kScrollLastArrow = 5,
};

struct SCROLLBARDESC {
  int orientation = 1;  // 1 vertical, else horizontal
  int length = 0;
  float thumbPosition = 0;  // pixels along the track
  float thumbSize = 0;
  int dragOffset = 0;
  int crossSize = 0;  // vertical: width; horizontal: height
  int arrowSize = 0;  // vertical: arrow height; horizontal: arrow width
  int pressedPart = kScrollNone;
  WIDGETDESC* list = nullptr;
};

constexpr size_t kListSelectedTextMax = 63;
constexpr int kListRowStep = 14;
struct LISTDESC {
  std::string selectedText;
  int textBoxX = 0;
  int textBoxY = 0;
  int textBoxWidth = 0;
  int textBoxHeight = 0;
  int visibleRows = 0;
  int charsPerRow = 0;
  int textOffset = 0;
  int firstShown = 0;
  int selectedRow = -1;
  int widestItem = 0;
  uint32_t selectionColor = 0;
  std::vector<std::string> items;
  WIDGETDESC* verticalBar = nullptr;
  WIDGETDESC* horizontalBar = nullptr;
};

constexpr size_t kItemTextMax = 20;
constexpr int kItemRowStep = 18;
struct ITEMREGIONITEM {
  int kind = 0;  // 2 check item, 3 separator line, other plain
  std::string text;
  int enabled = 1;
  int checked = 0;
};

struct ITEMREGIONDESC {
  int boxX = 0;  // screen position of the open item box
  int boxY = 0;
  int boxWidth = 0;
  int boxHeight = 0;
  int hotItem = -1;
  uint32_t hotColor = 0;
  std::vector<ITEMREGIONITEM> items;
};

struct WIDGETDESC {
  int index = 0;  // pool slot
  std::string label;
  int type = 0;
  uint32_t faceColor = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  uint32_t frameStyle = 1;  // above 0xFFFFFF: no frame except while hovered or pressed
  uint32_t frameColor = 0;
  int hover = 0;
  int labelX = 0;
  int labelY = 0;
  uint32_t labelColor = 0;
  int state = 0;  // toggles: checked; buttons: pressed; item regions: open
  std::vector<WIDGETDRAWITEM> drawItems;
  uint32_t pressedColor = 0;
  IMAGEDESC* image = nullptr;
  IMAGEDESC* disabledImage = nullptr;
  int imageX = 0;
  int imageY = 0;
  int enabled = 1;
  int visible = 1;
  WIDGETDESC* prev = nullptr;  // desktop list
  WIDGETDESC* next = nullptr;
  WidgetCallback onPress = nullptr;
  WidgetCallback onDrag = nullptr;
  WidgetCallback onRelease = nullptr;
  WidgetCallback onDoubleClick = nullptr;
  int insideOnly = 0;
  std::variant<std::monostate, TOGGLEBOXDESC, EDITLINEDESC, SCROLLBARDESC, LISTDESC, ITEMREGIONDESC> typeData;
};

// Three frame widgets (title bar, client area, border) and five controls
// (close, minimise, maximise, OK, cancel), then controls of its own.
struct WIDGETWINDOW {
  int index = 0;
  std::array<WIDGETDESC*, 8> fixed{};
  std::vector<WIDGETDESC*> controls;
};

struct WIDGETPANEL {
  int index = 0;
  int visible = 1;
  int modal = 0;
  std::vector<WIDGETDESC*> controls;
  std::array<WIDGETDESC*, 2> titleButtons{};
};

// Layer state.
extern WIDGETWINDOW* g_activeWidgetWindow;
extern WIDGETPANEL* g_activeWidgetPanel;
// The edit line with the keyboard focus; null when none.
extern WIDGETDESC* g_focusedEditWidget;
// The scroll bar whose pressed part repeats; handle 0 resolves to it.
extern WIDGETDESC* g_repeatingWidget;
extern int g_widgetJustFocused;

// Null for a wrong type byte or an index beyond the pool.
WIDGETDESC* LookupWidget(HOBJECT widget);
WIDGETWINDOW* LookupWidgetWindow(HOBJECT window);
WIDGETPANEL* LookupWidgetPanel(HOBJECT panel);

// Creation. A widget joins the end of the desktop list; controls added to a
// panel or a window leave it. Handles, or 0 when the pool is full.
HOBJECT CreateWidget(int type, int x, int y, int width, int height, const char* label);
HOBJECT CreateWidgetPanel(int modal);
HOBJECT CreateWidgetWindow(int x, int y, int width, int height, const char* title);
void AddWidgetToPanel(HOBJECT panel, HOBJECT widget);
void AddWidgetToWindow(HOBJECT window, HOBJECT widget);
// 0 makes none active.
void SetActiveWidgetPanel(HOBJECT panel);
void SetActiveWidgetWindow(HOBJECT window);
void AddListItem(HOBJECT list, const char* text);
// A bar joins the list as its vertical or horizontal bar by orientation.
void LinkScrollBar(HOBJECT list, HOBJECT bar);
void AddItemRegionItem(HOBJECT region, int kind, const char* text, int enabled);

// The widget under a point; *inArea tells whether the point is on the widget layer.
WIDGETDESC* HitTestWidget(int x, int y, int* inArea);
// Moves the hover mark to the widget under the point and answers it.
WIDGETDESC* TrackWidgetHover(WIDGETDESC* previous, int x, int y);
void HandleWidgetMouse(WIDGETDESC* pressed, WIDGETDESC* hoveredBefore, WIDGETDESC* underMouse, int x, int y, int event);
void FireWidgetCallback(WIDGETDESC* pressed, WIDGETDESC* underMouse, int x, int y, int event);
void InputWidgetChar(int code);
// Ends text entry: finished, redrawn, no focus.
void EndWidgetEdit();

// Drawing into the interface buffer.
void DrawWidget(WIDGETDESC* widget);
void RedrawWidgets();

void RemoveListItem(HOBJECT list, int index);
void DestroyWidget(HOBJECT widget);
void DestroyWidgetPanel(HOBJECT panel, int withControls);
void DestroyWidgetWindow(HOBJECT window, int withAll);
