// The calls into screens whose windows are built elsewhere.
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

// MINIMAL: the main window and trade window are not built: these open
// nothing, so UpdateScreens answers at once.
void OpenMainWindow(int) {}
void OpenTradeWindow(int) {}

// MINIMAL: the save list and the system window are not built; nothing opens.
void OpenSaveList(int, CGameDataLoader*, CGameResource*, CAmObject*) {}
void OpenSystemWindow(MENURESULTDESC*, CAmObject*) {}
