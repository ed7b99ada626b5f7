// The calls into screens whose windows are built elsewhere.
#include "ui/menu_windows.h"
#include "ui/save_list.h"
#include "ui/screen_manager.h"
#include "ui/start_menu.h"
#include "ui/trade_wnd.h"

void OpenStartMenu(int superSaveValid) {
  OpenScreen(kScreenStartMenu, 1, [superSaveValid]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    manager.startResult = {};
    return new CStartMenuWnd(superSaveValid, &manager.startResult, manager.loader, manager.resource, nullptr);
  });
}

// MINIMAL: the main window is not built: it opens nothing, so UpdateScreens
// answers at once.
void OpenMainWindow(int) {}

void OpenTradeWindow(int shopId) {
  OpenScreen(kScreenTrade, 1, [shopId]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    return new CTradeWnd(shopId, manager.loader, manager.resource, manager.itemPool, nullptr);
  });
}

void OpenSaveList(int allowSave, CGameDataLoader* loader, CGameResource* resource, CAmObject* owner) {
  new CRecordWnd(allowSave, loader, resource, g_screenManager ? g_screenManager->itemPool : nullptr, owner);
}

// MINIMAL: the system window is not built; nothing opens.
void OpenSystemWindow(MENURESULTDESC*, CAmObject*) {}
