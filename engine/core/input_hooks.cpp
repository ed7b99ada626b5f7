#include "engine/core/input_hooks.h"

#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/window_proc.h"

namespace {

plat::CursorHandle g_currentCursor = 0;
int g_cursorType = 0;

bool WorldOpen() { return g_engineOpen && g_gameWorld; }

}  // namespace

void SetKeyHook(int key, KeyHookCallback callback, int autoRepeat) {
  if (!WorldOpen()) return;
  int index = key & 0xFF;
  KEYHOOKDESC*& hook = g_gameWorld->keyHooks[index];
  if (!hook) hook = new KEYHOOKDESC;
  hook->key = static_cast<uint8_t>(index);
  hook->autoRepeat = autoRepeat;
  hook->callback = callback;
  hook->down = 0;
}

void SetMouseButtonHooks(unsigned button, MouseHookCallback press, MouseHookCallback drag, MouseHookCallback release,
                         MouseHookCallback doubleClick) {
  if (!WorldOpen() || button > 1) return;
  MOUSEHOOKDESC*& hooks = button == 0 ? g_gameWorld->leftMouseHooks : g_gameWorld->rightMouseHooks;
  if (!hooks) hooks = new MOUSEHOOKDESC;
  *hooks = {press, drag, release, doubleClick};
}

void SetMouseMoveHook(MouseHookCallback callback) {
  if (WorldOpen()) g_gameWorld->mouseMoveHook = callback;
}

int IsKeyDown(int key) {
  if (!WorldOpen()) return 0;
  KEYHOOKDESC* hook = g_gameWorld->keyHooks[key & 0xFF];
  return hook ? hook->down : 0;
}

void GetMousePosition(int* x, int* y) {
  if (!g_engineOpen) return;
  if (x) *x = g_engineMouse.x;
  if (y) *y = g_engineMouse.y;
}

void SetMousePosition(int x, int y) {
  g_engineMouse.x = x;
  g_engineMouse.y = y;
  if (g_mainWindow) plat::SetCursorPos(g_mainWindow, x, y);
}

void SetCursorShape(int type) {
  g_cursorType = type;
  switch (type) {
    case 0: g_currentCursor = g_arrowCursor; break;
    case 1: g_currentCursor = g_waitCursor; break;
    case 2: g_currentCursor = g_crossCursor; break;
    case 3: g_currentCursor = 0; break;
    default: return;  // remembered, the cursor stays
  }
  plat::SetCursor(g_currentCursor);
}

int GetCursorShape() { return g_cursorType; }

void ReapplyCursorShape() {
  if (g_currentCursor) plat::SetCursor(g_currentCursor);
}

void SetCharHook(CharHook callback) {
  if (WorldOpen()) g_gameWorld->charHook = callback;
}

void SetInputLanguageHook(InputLanguageHook callback) {
  if (WorldOpen()) g_gameWorld->inputLanguageHook = callback;
}

void FreeInputHooks() {
  if (!g_gameWorld) return;
  for (KEYHOOKDESC*& hook : g_gameWorld->keyHooks) {
    delete hook;
    hook = nullptr;
  }
  delete g_gameWorld->leftMouseHooks;
  delete g_gameWorld->rightMouseHooks;
  g_gameWorld->leftMouseHooks = g_gameWorld->rightMouseHooks = nullptr;
}
