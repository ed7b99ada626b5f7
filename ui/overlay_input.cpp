#include "ui/overlay_input.h"

#include "engine/core/input_hooks.h"
#include "ui/menu_agency.h"

namespace {

CMenuAgency* g_inputRoot = nullptr;
CMenuAgency* g_escapeRoot = nullptr;

constexpr int kOverlayKeys[] = {37, 39, 38, 40, 45, 46};
constexpr int kEscape = 27;

void LeftPress(int x, int y) {
  if (g_inputRoot) g_inputRoot->OnLButtonDown(x, y);
}
void LeftDrag(int x, int y) {
  if (g_inputRoot) g_inputRoot->OnDrag(x, y);
}
void LeftRelease(int x, int y) {
  if (g_inputRoot) g_inputRoot->OnLButtonUp(x, y);
}
void RightPress(int x, int y) {
  if (g_inputRoot) g_inputRoot->OnRButtonDown(x, y);
}
void MouseMove(int x, int y) {
  if (g_inputRoot) g_inputRoot->OnMouseMove(x, y);
}
void Key(int key, int down) {
  if (g_inputRoot) g_inputRoot->OnKey(key, down);
}
void EscapeKey(int key, int down) {
  if (g_escapeRoot) g_escapeRoot->OnKey(key, down);
}

}  // namespace

int InstallOverlayInput(CMenuAgency* root) {
  g_inputRoot = root;
  if (root) {
    SetMouseButtonHooks(0, LeftPress, LeftDrag, LeftRelease, LeftPress);
    SetMouseButtonHooks(1, RightPress, nullptr, nullptr, nullptr);
    SetMouseMoveHook(MouseMove);
  } else {
    SetMouseButtonHooks(0, nullptr, nullptr, nullptr, nullptr);
    SetMouseMoveHook(nullptr);
  }
  for (int key : kOverlayKeys) SetKeyHook(key, root ? Key : nullptr, 0);
  return 1;
}

int InstallOverlayEscapeKey(CMenuAgency* root) {
  g_escapeRoot = root;
  SetKeyHook(kEscape, root ? EscapeKey : nullptr, 0);
  return 1;
}
