// The calls into screens whose windows are built elsewhere.
#include "ui/menu_windows.h"
#include "ui/save_list.h"
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

void OpenSaveList(int allowSave, CGameDataLoader* loader, CGameResource* resource, CAmObject* owner) {
  new CRecordWnd(allowSave, loader, resource, g_screenManager ? g_screenManager->itemPool : nullptr, owner);
}

// MINIMAL: the system window is not built; nothing opens.
void OpenSystemWindow(MENURESULTDESC*, CAmObject*) {}
