// The engine's input hooks that feed the window manager.
#include "engine/core/input_hooks.h"
#include "ui/am_wnd_manager.h"

namespace {

void LButtonDown(int x, int y) {
  if (g_amWndManager) g_amWndManager->DispatchLButtonDown(x, y);
}
void LButtonDrag(int x, int y) {
  if (g_amWndManager) g_amWndManager->DispatchLButtonDrag(x, y);
}
void LButtonUp(int x, int y) {
  if (g_amWndManager) g_amWndManager->DispatchLButtonUp(x, y);
}
void RButtonDown(int x, int y) {
  if (g_amWndManager) g_amWndManager->DispatchRButtonDown(x, y);
}
void MouseMove(int x, int y) {
  if (g_amWndManager) g_amWndManager->DispatchMouseMove(x, y);
}

void Char(int code) {
  if (!g_amWndManager) return;
  g_amWndManager->DispatchChar(code);
  g_amKeyConsumed = 0;
}

void Key(int key, int down) {
  if (!g_amWndManager || !down) return;
  g_amWndManager->DispatchKeyDown(key & 0xFF, down);
  g_amKeyConsumed = 0;
}

void InputLanguage() {
  if (g_amWndManager) g_amWndManager->UpdateImeBar();
}

constexpr int kPageUp = 0x21;
constexpr int kPageDown = 0x22;

// Space, Enter, the arrows, the page keys, Insert, Delete, Backspace, Shift,
// Ctrl, Alt, Esc, Home, End and Tab, then the ranges below.
constexpr int kSingleKeys[] = {0x20, 0x0D, 0x26, 0x28, 0x25, 0x27, kPageUp, kPageDown, 0x2D,
                               0x2E, 0x08, 0x10, 0x11, 0x12, 0x1B, 0x24,    0x23,      0x09};
struct KeyRange {
  int first, last;
};
// Digits, letters, the numeric keypad and the punctuation keys.
constexpr KeyRange kKeyRanges[] = {{0x30, 0x39}, {0x41, 0x5A}, {0x60, 0x6F}, {0xBA, 0xC0}, {0xDB, 0xDE}};

// The keys the game's own input states expect to find free.
constexpr int kReleasedKeys[] = {0x25, 0x27, 0x26, 0x28, 0x2E, 0x2D, 0x1B, 0x0D};

void HookKey(int key) { SetKeyHook(key, Key, key == kPageUp || key == kPageDown ? 1 : 0); }

}  // namespace

void InstallWndHooks(CAmWndManager* manager) {
  if (!manager) {
    SetMouseButtonHooks(0, nullptr, nullptr, nullptr, nullptr);
    SetMouseMoveHook(nullptr);
    SetCharHook(nullptr);
    for (int key : kReleasedKeys) SetKeyHook(key, nullptr, 0);
    return;
  }
  // A double click is a second press.
  SetMouseButtonHooks(0, LButtonDown, LButtonDrag, LButtonUp, LButtonDown);
  SetMouseButtonHooks(1, RButtonDown, nullptr, nullptr, nullptr);
  SetMouseMoveHook(MouseMove);
  SetCharHook(Char);
  SetInputLanguageHook(InputLanguage);
  for (int key : kSingleKeys) HookKey(key);
  for (const KeyRange& range : kKeyRanges)
    for (int key = range.first; key <= range.last; ++key) HookKey(key);
}
