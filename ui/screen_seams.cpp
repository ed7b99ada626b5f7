// The calls into screens whose windows are built elsewhere.
#include "ui/main_wnd.h"
#include "ui/menu_windows.h"
#include "ui/screen_manager.h"
#include "ui/start_menu.h"

void OpenStartMenu(int superSaveValid) {
  OpenScreen(kScreenStartMenu, 1, [superSaveValid]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    manager.startResult = {};
    return new CStartMenuWnd(superSaveValid, &manager.startResult, manager.loader, manager.resource, nullptr);
  });
}

void OpenMainWindow(int mode) {
  OpenScreen(kScreenMainWindow, 1, [mode]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    return new CVekMainWnd(MainWindowOptions(mode), &manager.menuResult, manager.loader, manager.resource,
                           manager.eventRunner, manager.itemPool, nullptr);
  });
}

void OpenSystemWindow(MENURESULTDESC* result, CAmObject* owner) {
  MAINWNDOPTIONS options;
  options.showSystemPage = 1;
  CScreenManager* manager = g_screenManager;
  new CVekMainWnd(options, result, manager ? manager->loader : nullptr, manager ? manager->resource : nullptr,
                  manager ? manager->eventRunner : nullptr, manager ? manager->itemPool : nullptr, owner);
}

// MINIMAL: the trade window is not built: this opens nothing, so
// UpdateScreens answers at once.
void OpenTradeWindow(int) {}

// MINIMAL: the save list is not built; nothing opens.
void OpenSaveList(int, CGameDataLoader*, CGameResource*, CAmObject*) {}
