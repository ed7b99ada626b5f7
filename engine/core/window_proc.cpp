#include "engine/core/window_proc.h"

#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "engine/core/input_hooks.h"
#include "engine/core/joysticks.h"
#include "engine/core/lifecycle.h"
#include "engine/core/surface_recovery.h"
#include "engine/core/world.h"
#include "engine/media/widgets.h"
#include "platform/display.h"
#include "platform/keys.h"

ENGINEMOUSESTATE g_engineMouse;
int g_doubleClickAsPress = 0;
int g_inputLanguageHookEnabled = 0;
int g_windowBeingDestroyed = 0;
uint32_t g_queryCancelAutoPlayMessage = 0;

namespace {

MOUSEHOOKDESC* ButtonHooks(bool left) {
  if (!g_gameWorld) return nullptr;
  return left ? g_gameWorld->leftMouseHooks : g_gameWorld->rightMouseHooks;
}

void ClearWidgetReferences() {
  g_engineMouse.underMouse = g_engineMouse.hoveredBefore = g_engineMouse.pressed = nullptr;
}

void KeyPress(int key) {
  if (g_focusedEditWidget) {
    // An edit line takes only its editing keys; every other press is dropped.
    switch (static_cast<uint32_t>(key)) {
      case plat::VK_DELETE: InputWidgetChar(kWidgetKeyDelete); break;
      case plat::VK_LEFT: InputWidgetChar(kWidgetKeyLeft); break;
      case plat::VK_RIGHT: InputWidgetChar(kWidgetKeyRight); break;
      case plat::VK_HOME: InputWidgetChar(kWidgetKeyHome); break;
      case plat::VK_END: InputWidgetChar(kWidgetKeyEnd); break;
      default: break;
    }
    return;
  }
  KEYHOOKDESC* hook = g_gameWorld->keyHooks[key];
  if (!hook || (!hook->autoRepeat && hook->down)) return;
  hook->down = 1;
  if (hook->callback) hook->callback(key, 1);
}

void KeyRelease(int key) {
  KEYHOOKDESC* hook = g_gameWorld->keyHooks[key];
  if (!hook) return;
  hook->down = 0;
  if (hook->callback) hook->callback(key, 0);
}

void MousePress(plat::WindowHandle window, bool left, int x, int y) {
  ENGINEMOUSESTATE& m = g_engineMouse;
  int inArea = 0;
  WIDGETDESC* hit = HitTestWidget(x, y, &inArea);
  m.inWidgetArea = inArea;
  m.pressed = m.underMouse = hit;
  m.hoveredBefore = nullptr;
  if (!(inArea && hit && hit->type == kWidgetTypeEdit)) EndWidgetEdit();
  plat::SetCapture(window);
  if (m.inWidgetArea) {
    HandleWidgetMouse(m.pressed, nullptr, m.underMouse, x, y, kWidgetPress);
    FireWidgetCallback(m.pressed, m.underMouse, x, y, kWidgetPress);
  } else {
    MOUSEHOOKDESC* hooks = ButtonHooks(left);
    if (hooks && hooks->press) hooks->press(x, y);
    ClearWidgetReferences();
    (left ? m.leftHeld : m.rightHeld) = 1;
  }
  m.buttonDown = 1;
}

void MouseMove(int x, int y) {
  ENGINEMOUSESTATE& m = g_engineMouse;
  if (m.buttonDown) {
    if (m.inWidgetArea) {
      int ignored = 0;
      m.underMouse = HitTestWidget(x, y, &ignored);
      HandleWidgetMouse(m.pressed, m.hoveredBefore, m.underMouse, x, y, kWidgetDrag);
      FireWidgetCallback(m.pressed, m.underMouse, x, y, kWidgetDrag);
      m.hoveredBefore = m.underMouse;
    } else {
      // Each hook is looked up afresh: a callback may have closed the engine.
      MOUSEHOOKDESC* hooks = ButtonHooks(true);
      if (m.leftHeld && hooks && hooks->drag) hooks->drag(x, y);
      hooks = ButtonHooks(false);
      if (m.rightHeld && hooks && hooks->drag) hooks->drag(x, y);
    }
  } else if (m.inWidgetArea) {
    m.underMouse = TrackWidgetHover(m.underMouse, x, y);
  } else if (g_gameWorld && g_gameWorld->mouseMoveHook) {
    g_gameWorld->mouseMoveHook(x, y);
  }
  ReapplyCursorShape();
}

void MouseRelease(bool left, int x, int y) {
  ENGINEMOUSESTATE& m = g_engineMouse;
  int ignored = 0;
  WIDGETDESC* under = HitTestWidget(x, y, &ignored);
  // The right button's handlers get the widget at the release point as the
  // pressed one and the widget last under the mouse as the current one.
  if (left) m.underMouse = under;
  else m.pressed = under;
  if (m.inWidgetArea) {
    HandleWidgetMouse(m.pressed, nullptr, m.underMouse, x, y, kWidgetRelease);
    FireWidgetCallback(m.pressed, m.underMouse, x, y, kWidgetRelease);
    TrackWidgetHover(m.pressed, x, y);
  } else {
    MOUSEHOOKDESC* hooks = ButtonHooks(left);
    if (hooks && hooks->release) hooks->release(x, y);
    (left ? m.leftHeld : m.rightHeld) = 0;
    ClearWidgetReferences();
  }
  m.pressed = nullptr;
  plat::ReleaseCapture();
  m.buttonDown = 0;
}

void MouseDoubleClick(bool left, int x, int y) {
  ENGINEMOUSESTATE& m = g_engineMouse;
  int inArea = 0;
  WIDGETDESC* hit = HitTestWidget(x, y, &inArea);
  m.pressed = m.underMouse = hit;
  m.inWidgetArea = inArea;
  if (m.inWidgetArea) {
    HandleWidgetMouse(hit, nullptr, hit, x, y, kWidgetDoubleClick);
    FireWidgetCallback(hit, hit, x, y, kWidgetDoubleClick);
  } else {
    MOUSEHOOKDESC* hooks = ButtonHooks(left);
    if (hooks && hooks->doubleClick) hooks->doubleClick(x, y);
    ClearWidgetReferences();
    if (g_doubleClickAsPress) (left ? m.leftHeld : m.rightHeld) = 1;
  }
  // As a press, the moves that follow are drags and the release ends them.
  if (g_doubleClickAsPress) m.buttonDown = 1;
}

void RouteMouse(plat::WindowHandle window, uint32_t message, plat::LParam lparam) {
  g_engineMouse.x = static_cast<int16_t>(lparam & 0xFFFF);
  g_engineMouse.y = static_cast<int16_t>((lparam >> 16) & 0xFFFF);
  int x = g_engineMouse.x, y = g_engineMouse.y;
  switch (message) {
    case plat::WM_LBUTTONDOWN: MousePress(window, true, x, y); break;
    case plat::WM_RBUTTONDOWN: MousePress(window, false, x, y); break;
    case plat::WM_MOUSEMOVE: MouseMove(x, y); break;
    case plat::WM_LBUTTONUP: MouseRelease(true, x, y); break;
    case plat::WM_RBUTTONUP: MouseRelease(false, x, y); break;
    case plat::WM_LBUTTONDBLCLK: MouseDoubleClick(true, x, y); break;
    case plat::WM_RBUTTONDBLCLK: MouseDoubleClick(false, x, y); break;
    default: break;
  }
}

}  // namespace

int PreFilterWindowMessage(uint32_t message, plat::WParam wparam, plat::LParam lparam) {
  if (g_queryCancelAutoPlayMessage != 0 && message == g_queryCancelAutoPlayMessage) return 1;
  switch (message) {
    case plat::WM_CREATE: g_queryCancelAutoPlayMessage = plat::RegisterWindowMessage("QueryCancelAutoPlay"); return 0;
    case plat::WM_MOVE:
      g_gameWorld->x = static_cast<int>(lparam & 0xFFFF);
      g_gameWorld->y = static_cast<int>((lparam >> 16) & 0xFFFF);
      return 1;
    case plat::WM_ACTIVATEAPP:
      if (wparam) {
        if (g_fullscreen) RestoreSurfaces();
        AcquireJoysticks();
      } else if (g_fullscreen && g_gameWorld->displayDevice) {
        // A lock may still be held when the display is taken away.
        if (g_gameWorld->interfaceBuffer) g_gameWorld->interfaceBuffer->Unlock();
        if (g_gameWorld->backBuffer) g_gameWorld->backBuffer->Unlock();
      }
      return 1;
    default: return 0;
  }
}

plat::LResult EngineWindowProc(plat::WindowHandle window, uint32_t message, plat::WParam wparam, plat::LParam lparam) {
  if (!g_gameWorld) return plat::DefWindowProc(window, message, wparam, lparam);
  if (PreFilterWindowMessage(message, wparam, lparam)) return 0;
  switch (message) {
    case plat::WM_CREATE: ClearWidgetReferences(); return 0;
    case plat::WM_CLOSE:
    case plat::WM_DESTROY:
      if (!g_windowBeingDestroyed) CloseEngine(1);
      return 0;
    case plat::WM_SIZE:
    case plat::WM_COMMAND:
    case plat::WM_PAINT:  // every frame is drawn whole anyway
      return 0;
    case plat::WM_SETFOCUS:
      if (g_fullscreen) PauseFrameTimers(0);
      return 0;
    case plat::WM_KILLFOCUS:
      if (g_fullscreen) PauseFrameTimers(1);
      return 0;
    case plat::WM_INPUTLANGCHANGEREQUEST: {
      // Refused (the layout stays) unless the game asked for language changes.
      if (!g_inputLanguageHookEnabled) return 0;
      plat::LResult result = plat::DefWindowProc(window, message, wparam, lparam);
      if (g_gameWorld && g_gameWorld->inputLanguageHook) g_gameWorld->inputLanguageHook();
      return result;
    }
    case plat::WM_KEYDOWN:
    case plat::WM_SYSKEYDOWN: KeyPress(static_cast<int>(wparam & 0xFF)); return 0;
    case plat::WM_KEYUP:
    case plat::WM_SYSKEYUP: KeyRelease(static_cast<int>(wparam & 0xFF)); return 0;
    case plat::WM_CHAR:
      if (g_gameWorld->charHook) g_gameWorld->charHook(static_cast<int>(wparam));
      else InputWidgetChar(static_cast<int>(wparam));
      return 0;
    case plat::WM_MOUSEMOVE:
    case plat::WM_LBUTTONDOWN:
    case plat::WM_LBUTTONUP:
    case plat::WM_LBUTTONDBLCLK:
    case plat::WM_RBUTTONDOWN:
    case plat::WM_RBUTTONUP:
    case plat::WM_RBUTTONDBLCLK: RouteMouse(window, message, lparam); return 0;
    default: return plat::DefWindowProc(window, message, wparam, lparam);
  }
}
