// The calls into screens whose windows are built elsewhere.
#include "ui/screen_manager.h"

// MINIMAL: the start menu, main window and trade window are not built: these
// open nothing, so UpdateScreens keeps answering 1.
void OpenStartMenu(int) {}
void OpenMainWindow(int) {}
void OpenTradeWindow(int) {}

// MINIMAL: the trade window's bought-item list is not kept yet.
void SetBoughtItemList(std::vector<int>*) {}
