#pragma once
#include <vector>

class CGameDataLoader;
class CGameResource;
class CGDItemPool;
class CEventRunner;
class CSystemConfig;
class CMenuAgency;
class IBsCreature;
struct PARTYITEMDESC;

// The menu screens as the game core drives them.
// MINIMAL: no screen exists yet: nothing opens, UpdateScreens answers 1
// (nothing happened), every screen is idle and the first hero is chosen.

// Runs the open screens for n ticks; the result (2 resume, 4 title, 5 new
// game, 6 quit, 7 load, 8 use item; others nothing).
int UpdateScreens(int n);
void OpenStartMenu(int superSaveValid);
// 0 to 3 the main menu, 4 the battle item menu.
void OpenMainWindow(int mode);
// 1 when no screen is open.
int IsScreenIdle();
// 0 first hero, 1 second hero.
int GetChosenHero();
int GetSelectedSlot();
PARTYITEMDESC* GetSelectedItem();
void ShowSelectedItem(int on);
// A message text of the game resource by number; empty when there is none.
const char* GetMessageString(int n);

void CreateScreenManager(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* pool,
                         CEventRunner* events, CSystemConfig* config);
void DestroyScreenManager();
void SetScreenContext(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* pool,
                      CEventRunner* events, CSystemConfig* config);
// The party leader's creature that the character page shows.
void SetScreenHero(IBsCreature* hero);
IBsCreature* GetScreenHero();
// The trade screen's list of bought one-of-a-kind items.
void SetBoughtItemList(std::vector<int>* list);
void InstallOverlayInput(CMenuAgency* root);
