#include "engine/core/engine_window.h"

#include "engine/core/window_proc.h"

plat::WindowHandle g_mainWindow = 0;
plat::CursorHandle g_arrowCursor = 0;
plat::CursorHandle g_waitCursor = 0;
plat::CursorHandle g_crossCursor = 0;

void LoadEngineCursors() {
  g_waitCursor = plat::LoadSystemCursor(plat::SystemCursor::Wait);
  g_arrowCursor = plat::LoadSystemCursor(plat::SystemCursor::Arrow);
  g_crossCursor = plat::LoadSystemCursor(plat::SystemCursor::Cross);
}

int RegisterEngineWindowClass() {
  plat::WindowClass windowClass;
  windowClass.name = kEngineWindowClass;
  windowClass.style = plat::CS_VREDRAW | plat::CS_HREDRAW | plat::CS_DBLCLKS | plat::CS_OWNDC;
  windowClass.proc = EngineWindowProc;
  windowClass.background = 0xC8C8C8;
  return plat::RegisterWindowClass(windowClass) ? 1 : 0;
}

void UnregisterEngineWindowClass() { plat::UnregisterWindowClass(kEngineWindowClass); }
