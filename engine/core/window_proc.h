#pragma once
#include <cstdint>

#include "platform/window.h"

struct WIDGETDESC;

// The engine window's procedure: keyboard, mouse, focus and close messages
// become calls of the game's hooks, of the engine widgets or engine state
// changes.

// Mouse state kept by the window procedure.
struct ENGINEMOUSESTATE {
  int x = 0;  // client coordinates of the last mouse message
  int y = 0;
  int leftHeld = 0;  // a world press of that button is not yet released
  int rightHeld = 0;
  int buttonDown = 0;    // any press not yet released, widget or world
  int inWidgetArea = 0;  // the last press or double click landed on the widget layer
  WIDGETDESC* underMouse = nullptr;
  WIDGETDESC* hoveredBefore = nullptr;
  WIDGETDESC* pressed = nullptr;
};

extern ENGINEMOUSESTATE g_engineMouse;
// A double click also starts a drag, as a press would.
extern int g_doubleClickAsPress;
extern int g_inputLanguageHookEnabled;
// Set just before the engine destroys its window, so that the destroy message
// does not close the engine a second time.
extern int g_windowBeingDestroyed;
extern uint32_t g_queryCancelAutoPlayMessage;

plat::LResult EngineWindowProc(plat::WindowHandle window, uint32_t message, plat::WParam wparam, plat::LParam lparam);
// Answers nonzero when it consumed the message.
int PreFilterWindowMessage(uint32_t message, plat::WParam wparam, plat::LParam lparam);
