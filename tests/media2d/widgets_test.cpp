// The engine widget layer: hit testing, mouse and key handling, drawing.
#include "engine/media/widgets.h"

#include "engine/core/frame_timers.h"
#include "engine/core/input_hooks.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"
#include "platform/keys.h"
#include "tests/media2d/media2d_fixture.h"

namespace media2dtest {
namespace {

std::vector<std::string> g_calls;

void Record(const char* what, HOBJECT, int x, int y) {
  g_calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
}
void OnPress(HOBJECT h, int x, int y) { Record("press", h, x, y); }
void OnRelease(HOBJECT h, int x, int y) { Record("release", h, x, y); }
void OnChange(HOBJECT) { g_calls.push_back("change"); }
void OnDone(HOBJECT) { g_calls.push_back("done"); }
void WorldPress(int x, int y) { Record("world press", 0, x, y); }
void WorldRelease(int x, int y) { Record("world release", 0, x, y); }

class WidgetsTest : public Media2DTest {
 protected:
  WidgetsTest() {
    g_calls.clear();
    OpenScreen();
  }
  // Switches the layer on over the whole screen.
  void LayerOn() {
    g_gameWorld->interfaceOff = 0;
    g_gameWorld->interfaceWidth = 640;
    g_gameWorld->interfaceHeight = 480;
  }
  WIDGETDESC* Make(int type, int x, int y, int w, int h) { return LookupWidget(CreateWidget(type, x, y, w, h, "ok")); }
  void Click(WIDGETDESC* w, int x, int y, int releaseX, int releaseY) {
    HandleWidgetMouse(w, nullptr, w, x, y, kWidgetPress);
    FireWidgetCallback(w, w, x, y, kWidgetPress);
    int ignored = 0;
    WIDGETDESC* under = HitTestWidget(releaseX, releaseY, &ignored);
    HandleWidgetMouse(w, nullptr, under, releaseX, releaseY, kWidgetRelease);
    FireWidgetCallback(w, under, releaseX, releaseY, kWidgetRelease);
  }
  void Type(const std::string& keys) {
    for (char c : keys) InputWidgetChar(static_cast<unsigned char>(c));
  }
};

TEST_F(WidgetsTest, InterfaceOffSendsTheMouseToTheWorld) {
  WIDGETDESC* button = Make(kWidgetTypeButton, 0, 0, 100, 100);
  button->onPress = OnPress;
  SetMouseButtonHooks(0, WorldPress, nullptr, WorldRelease, nullptr);
  int inArea = 1;
  EXPECT_EQ(HitTestWidget(50, 50, &inArea), nullptr);
  EXPECT_EQ(inArea, 0);
  Post(plat::WM_LBUTTONDOWN, 0, plat::MakePointParam(50, 50));
  Post(plat::WM_LBUTTONUP, 0, plat::MakePointParam(50, 50));
  PumpMessages();
  EXPECT_EQ(g_calls, (std::vector<std::string>{"world press 50,50", "world release 50,50"}));
  EXPECT_EQ(button->state, 0);

  LayerOn();
  g_calls.clear();
  Post(plat::WM_LBUTTONDOWN, 0, plat::MakePointParam(50, 50));
  Post(plat::WM_LBUTTONUP, 0, plat::MakePointParam(50, 50));
  PumpMessages();
  EXPECT_EQ(g_calls, (std::vector<std::string>{"press 50,50"}));
}

TEST_F(WidgetsTest, HitTestingOrder) {
  LayerOn();
  WIDGETDESC* background = Make(kWidgetTypeStatic, 0, 0, 200, 200);
  WIDGETDESC* button = Make(kWidgetTypeButton, 10, 10, 20, 20);
  int inArea = 0;
  EXPECT_EQ(HitTestWidget(15, 15, &inArea), button);  // a static is passed over
  EXPECT_EQ(HitTestWidget(100, 100, &inArea), background);
  EXPECT_EQ(HitTestWidget(10, 15, &inArea), background);  // edges are exclusive
  EXPECT_EQ(HitTestWidget(300, 300, &inArea), nullptr);
  EXPECT_EQ(inArea, 1);  // inside the widget area all the same
  button->visible = 0;
  EXPECT_EQ(HitTestWidget(15, 15, &inArea), background);

  HOBJECT panelHandle = CreateWidgetPanel(1);
  HOBJECT control = CreateWidget(kWidgetTypeButton, 300, 300, 20, 20, "p");
  AddWidgetToPanel(panelHandle, control);
  SetActiveWidgetPanel(panelHandle);
  EXPECT_EQ(HitTestWidget(305, 305, &inArea), LookupWidget(control));
  EXPECT_EQ(HitTestWidget(100, 100, &inArea), nullptr);  // modal: nothing else
  EXPECT_EQ(inArea, 0);
  LookupWidgetPanel(panelHandle)->modal = 0;
  EXPECT_EQ(HitTestWidget(100, 100, &inArea), background);
  DestroyWidgetPanel(panelHandle, 1);
  EXPECT_EQ(LookupWidget(control), nullptr);
  EXPECT_EQ(g_activeWidgetPanel, nullptr);
}

TEST_F(WidgetsTest, TogglesAndButtons) {
  LayerOn();
  WIDGETDESC* toggle = Make(kWidgetTypeToggleBox, 0, 0, 50, 20);
  toggle->insideOnly = 1;
  toggle->onRelease = OnRelease;
  Click(toggle, 10, 10, 10, 10);
  EXPECT_EQ(toggle->state, 1);
  Click(toggle, 10, 10, 300, 300);  // released off itself: as it was
  EXPECT_EQ(toggle->state, 1);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"release 10,10"}));  // the outside release calls nothing

  WIDGETDESC* button = Make(kWidgetTypeButton, 100, 0, 50, 20);
  button->onPress = OnPress;
  HandleWidgetMouse(button, nullptr, button, 110, 10, kWidgetPress);
  EXPECT_EQ(button->state, 1);
  HandleWidgetMouse(button, nullptr, button, 110, 10, kWidgetRelease);
  EXPECT_EQ(button->state, 0);
  button->enabled = 0;
  g_calls.clear();
  FireWidgetCallback(button, button, 110, 10, kWidgetPress);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(WidgetsTest, ArrowScrollsALinkedListOneRowPerRepeat) {
  LayerOn();
  HOBJECT list = CreateWidget(kWidgetTypeList, 0, 0, 200, 142, nullptr);
  for (int i = 0; i < 30; ++i) AddListItem(list, ("row" + std::to_string(i)).c_str());
  HOBJECT barHandle = CreateWidget(kWidgetTypeScrollBar, 200, 0, 16, 140, nullptr);
  LinkScrollBar(list, barHandle);
  LISTDESC& rows = std::get<LISTDESC>(LookupWidget(list)->typeData);
  ASSERT_EQ(rows.visibleRows, 10);
  SCROLLBARDESC& bar = std::get<SCROLLBARDESC>(LookupWidget(barHandle)->typeData);
  EXPECT_FLOAT_EQ(bar.thumbSize, 100.0f / 3);
  rows.firstShown = 3;
  WIDGETDESC* w = LookupWidget(barHandle);
  HandleWidgetMouse(w, nullptr, w, 205, 5, kWidgetPress);  // the first arrow: one row at once
  EXPECT_EQ(rows.firstShown, 2);
  EXPECT_EQ(g_repeatingWidget, w);
  EXPECT_EQ(g_frameTimers[5].callback != nullptr, true);
  EXPECT_EQ(LookupWidget(0), w);  // handle 0 is the repeating widget
  for (int expected : {1, 0, 0}) {
    g_frameTimers[5].callback(1);
    EXPECT_EQ(rows.firstShown, expected);
  }
  HandleWidgetMouse(w, nullptr, w, 205, 5, kWidgetRelease);
  EXPECT_EQ(g_repeatingWidget, nullptr);
  EXPECT_EQ(bar.pressedPart, kScrollNone);
  EXPECT_EQ(g_frameTimers[5].callback, nullptr);

  HandleWidgetMouse(w, nullptr, w, 205, 135, kWidgetPress);  // the last arrow
  EXPECT_EQ(rows.firstShown, 1);
  HandleWidgetMouse(w, nullptr, w, 205, 110, kWidgetPress);  // the track after the thumb: ten rows
  EXPECT_EQ(rows.firstShown, 11);
  HandleWidgetMouse(w, nullptr, w, 205, 110, kWidgetRelease);
  HandleWidgetMouse(w, nullptr, w, 205, 110, kWidgetPress);
  EXPECT_EQ(rows.firstShown, 20);  // held at count - visible
  HandleWidgetMouse(w, nullptr, w, 205, 110, kWidgetRelease);

  HandleWidgetMouse(LookupWidget(list), nullptr, LookupWidget(list), 10, 1 + 14 * 2 + 3, kWidgetPress);
  EXPECT_EQ(rows.selectedRow, 22);
  EXPECT_EQ(rows.selectedText, "row22");
  RemoveListItem(list, 0);
  EXPECT_EQ(rows.items.size(), 29u);
  EXPECT_EQ(rows.firstShown, 0);
  DestroyWidget(list);
  EXPECT_EQ(bar.list, nullptr);
}

TEST_F(WidgetsTest, EditLineTyping) {
  LayerOn();
  WIDGETDESC* w = Make(kWidgetTypeEdit, 0, 0, 200, 20);
  EDITLINEDESC& edit = std::get<EDITLINEDESC>(w->typeData);
  edit.onChange = OnChange;
  edit.onDone = OnDone;
  HandleWidgetMouse(w, nullptr, w, 5, 5, kWidgetRelease);  // an empty line starts editing
  EXPECT_EQ(g_focusedEditWidget, w);
  EXPECT_EQ(edit.state, 2);
  Type("abc");
  InputWidgetChar(kWidgetKeyLeft);
  Type("X");
  InputWidgetChar(kWidgetKeyBackspace);
  InputWidgetChar(kWidgetKeyDelete);
  EXPECT_EQ(edit.text, "ab");
  InputWidgetChar(kWidgetKeyHome);
  Type("<");
  EXPECT_EQ(edit.text, "<ab");
  g_calls.clear();
  InputWidgetChar(kWidgetKeyEnter);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"done"}));
  EXPECT_EQ(edit.state, 1);
  EXPECT_EQ(g_focusedEditWidget, nullptr);

  HandleWidgetMouse(w, nullptr, w, 5, 5, kWidgetRelease);  // a finished text becomes selected
  EXPECT_EQ(edit.state, 0);
  InputWidgetChar(kWidgetKeyEnter);  // Enter keeps a selected text
  EXPECT_EQ(edit.text, "<ab");
  HandleWidgetMouse(w, nullptr, w, 5, 5, kWidgetRelease);
  Type("z");  // the next key replaces a selected text
  EXPECT_EQ(edit.text, "z");
  Type(std::string(79, 'q'));
  ASSERT_EQ(edit.text.size(), 80u);
  g_calls.clear();
  Type("!");  // an 81st character does nothing, but the change callback runs
  EXPECT_EQ(edit.text.size(), 80u);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"change"}));
  EXPECT_LE(edit.cursor - edit.firstShown, edit.shownCount);  // the cursor stays in view
  EndWidgetEdit();
  EXPECT_EQ(edit.state, 1);
  EXPECT_EQ(g_focusedEditWidget, nullptr);
}

TEST_F(WidgetsTest, ItemRegionReleaseCallsBackWithItsHotItem) {
  LayerOn();
  WIDGETDESC* menu = Make(kWidgetTypeItemRegion, 0, 0, 60, 20);
  HOBJECT handle = CreateWidget(kWidgetTypeItemRegion, 0, 0, 0, 0, nullptr);
  DestroyWidget(handle);
  AddItemRegionItem(MakeHandle(OBJTYPE_WIDGET, menu->index), 2, "check", 1);
  AddItemRegionItem(MakeHandle(OBJTYPE_WIDGET, menu->index), 0, "off", 0);
  menu->onRelease = OnRelease;
  ITEMREGIONDESC& region = std::get<ITEMREGIONDESC>(menu->typeData);
  HandleWidgetMouse(menu, nullptr, menu, 5, 5, kWidgetPress);
  EXPECT_EQ(menu->state, 1);  // open
  int ignored = 0;
  int itemY = region.boxY + 5 + 4;
  EXPECT_EQ(HitTestWidget(5, itemY, &ignored), menu);  // the open box counts
  HandleWidgetMouse(menu, nullptr, menu, 5, itemY, kWidgetRelease);
  FireWidgetCallback(menu, menu, 5, itemY, kWidgetRelease);
  EXPECT_EQ(menu->state, 0);
  EXPECT_EQ(region.items[0].checked, 1);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"release 5," + std::to_string(itemY)}));
  EXPECT_EQ(region.hotItem, -1);

  g_calls.clear();
  HandleWidgetMouse(menu, nullptr, menu, 5, 5, kWidgetPress);
  HandleWidgetMouse(menu, nullptr, menu, 5, itemY + 18, kWidgetRelease);  // a disabled item
  FireWidgetCallback(menu, menu, 5, itemY + 18, kWidgetRelease);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(WidgetsTest, DrawingFillsTheInterfaceBuffer) {
  LayerOn();
  WIDGETDESC* button = Make(kWidgetTypeButton, 10, 10, 40, 20);
  button->faceColor = MapRGB(0, 0, 255);
  RedrawWidgets();
  uint8_t* pixels = nullptr;
  int pitch = 0;
  ASSERT_EQ(g_gameWorld->interfaceBuffer->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
  auto at = [&](int x, int y) { return reinterpret_cast<uint16_t*>(pixels + y * pitch)[x]; };
  EXPECT_EQ(at(30, 25), 0x001F);  // the face
  EXPECT_EQ(at(10, 10), 0xFFFF);  // the raised frame's light corner
  EXPECT_EQ(at(200, 200), MapRGB(180, 180, 180));
  g_gameWorld->interfaceBuffer->Unlock();

  // While the layer is on, the presented frame shows it.
  FillBack(0);
  FlipScreen();
  plat::PresentedFrame frame = plat::LastPresentedFrame();
  EXPECT_EQ(frame.pixels[25 * frame.pitch + 2 * 30], 0x1F);
}

TEST_F(WidgetsTest, WindowsAndDestruction) {
  LayerOn();
  HOBJECT window = CreateWidgetWindow(100, 100, 200, 150, "title");
  ASSERT_NE(window, 0u);
  HOBJECT control = CreateWidget(kWidgetTypeButton, 150, 150, 20, 20, "c");
  AddWidgetToWindow(window, control);
  SetActiveWidgetWindow(window);
  int inArea = 0;
  EXPECT_EQ(HitTestWidget(155, 155, &inArea), LookupWidget(control));
  EXPECT_EQ(HitTestWidget(5, 5, &inArea), nullptr);  // only the window counts
  g_engineMouse.pressed = LookupWidget(control);
  DestroyWidget(control);
  EXPECT_EQ(g_engineMouse.pressed, nullptr);
  EXPECT_TRUE(LookupWidgetWindow(window)->controls.empty());
  DestroyWidgetWindow(window, 1);
  EXPECT_EQ(g_activeWidgetWindow, nullptr);
  EXPECT_EQ(LookupWidgetWindow(window), nullptr);
  EXPECT_EQ(LookupWidgetWindow(MakeHandle(OBJTYPE_WINDOW, 8)), nullptr);
  EXPECT_EQ(LookupWidget(MakeHandle(OBJTYPE_PANEL, 1)), nullptr);
  for (uint32_t i = 0; i < g_widgetPool.mark; ++i) EXPECT_EQ(g_widgetPool.slots[i], nullptr) << i;
}

}  // namespace
}  // namespace media2dtest
