// The calls into screens whose windows are built elsewhere.
#include "ui/main_wnd.h"
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

void OpenMainWindow(int mode) {
  OpenScreen(kScreenMainWindow, 1, [mode]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    return new CVekMainWnd(MainWindowOptions(mode), &manager.menuResult, manager.loader, manager.resource,
                           manager.storyFlags, manager.itemPool, nullptr);
  });
}

void OpenTradeWindow(int shopId) {
  OpenScreen(kScreenTrade, 1, [shopId]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    return new CTradeWnd(shopId, manager.loader, manager.resource, manager.itemPool, nullptr);
  });
}

void OpenSaveList(int allowSave, CGameDataLoader* loader, CGameResource* resource, CAmObject* owner) {
  new CRecordWnd(allowSave, loader, resource, g_screenManager ? g_screenManager->itemPool : nullptr, owner);
}

void OpenSystemWindow(MENURESULTDESC* result, CAmObject* owner) {
  MAINWNDOPTIONS options;
  options.showSystemPage = 1;
  CScreenManager* manager = g_screenManager;
  new CVekMainWnd(options, result, manager ? manager->loader : nullptr, manager ? manager->resource : nullptr,
                  manager ? manager->storyFlags : nullptr, manager ? manager->itemPool : nullptr, owner);
}
