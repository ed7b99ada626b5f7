#pragma once
#include "platform/window.h"

// The engine window's class, its main window and the system cursors, prepared
// by the program's entry before the game opens the engine.

constexpr char kEngineWindowClass[] = "Qx3DDRESK";

extern plat::WindowHandle g_mainWindow;
extern plat::CursorHandle g_arrowCursor;
extern plat::CursorHandle g_waitCursor;
extern plat::CursorHandle g_crossCursor;

void LoadEngineCursors();
// Registers "Qx3DDRESK" with EngineWindowProc: redraw on resize, double
// clicks, own device context. Answers 1 on success.
int RegisterEngineWindowClass();
void UnregisterEngineWindowClass();
