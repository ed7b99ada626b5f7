#include "ui/screen_manager.h"

// MINIMAL: no screen exists yet; every call answers "nothing open".
int UpdateScreens(int) { return 1; }
void OpenStartMenu(int) {}
void OpenMainWindow(int) {}
int IsScreenIdle() { return 1; }
int GetChosenHero() { return 0; }
int GetSelectedSlot() { return 0; }
PARTYITEMDESC* GetSelectedItem() { return nullptr; }
void ShowSelectedItem(int) {}
const char* GetMessageString(int) { return ""; }
void CreateScreenManager(CGameDataLoader*, CGameResource*, CGDItemPool*, CEventRunner*,
                         CSystemConfig*) {}
void SetScreenContext(CGameDataLoader*, CGameResource*, CGDItemPool*, CEventRunner*,
                      CSystemConfig*) {}
void SetBoughtItemList(std::vector<int>*) {}
void InstallOverlayInput(CMenuAgency*) {}

namespace {
IBsCreature* g_screenHero = nullptr;
}  // namespace

void SetScreenHero(IBsCreature* hero) { g_screenHero = hero; }
IBsCreature* GetScreenHero() { return g_screenHero; }
// MINIMAL: no screen exists to close; only the hero is forgotten.
void DestroyScreenManager() { g_screenHero = nullptr; }
