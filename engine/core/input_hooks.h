#pragma once
#include <cstdint>

#include "engine/core/world.h"

// The game's keyboard and mouse hooks of the engine window, the mouse
// position, the mouse cursor, and the character and input-language hooks.
// The window procedure calls the hooks synchronously, inside the message pump.

using KeyHookCallback = void (*)(int key, int state);  // state 1 pressed, 0 released
using MouseHookCallback = void (*)(int x, int y);

struct KEYHOOKDESC {
  int autoRepeat = 0;  // nonzero: every key-down message, repeats included, reaches the callback
  int down = 0;        // 1 between a key-down and its key-up
  KeyHookCallback callback = nullptr;
  uint8_t key = 0;
};

struct MOUSEHOOKDESC {
  MouseHookCallback press = nullptr;
  MouseHookCallback drag = nullptr;
  MouseHookCallback release = nullptr;
  MouseHookCallback doubleClick = nullptr;
};

// Only while the engine is open with a world. The key is taken modulo 256;
// its record is made on first use and kept until CloseEngine (a null
// callback keeps tracking the down state without calls).
void SetKeyHook(int key, KeyHookCallback callback, int autoRepeat);
// Button 0 left, 1 right, anything else ignored; all four callbacks are replaced.
void SetMouseButtonHooks(unsigned button, MouseHookCallback press, MouseHookCallback drag, MouseHookCallback release,
                         MouseHookCallback doubleClick);
void SetMouseMoveHook(MouseHookCallback callback);
int IsKeyDown(int key);
// The last mouse point the window saw; either output may be null.
void GetMousePosition(int* x, int* y);
// Works whether or not the engine is open.
void SetMousePosition(int x, int y);
// 0 arrow, 1 hourglass, 2 cross, 3 none; other values keep the cursor but are remembered.
void SetCursorShape(int type);
// The cursor type last asked for.
int GetCursorShape();
// Sets the chosen system cursor again (after every mouse move).
void ReapplyCursorShape();

// WM_CHAR goes to the char hook instead of the engine edit widget while one is set.
void SetCharHook(CharHook callback);
void SetInputLanguageHook(InputLanguageHook callback);

// Frees every key-hook record and both mouse-hook records of the world.
void FreeInputHooks();
