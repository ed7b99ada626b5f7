#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/screen_result.h"

class CAmWnd;
class CGameDataLoader;
class CGameResource;
class CGDItemPool;
class CSystemConfig;
class CTWItem;
class IBsCreature;
class IStoryFlags;
class TwGetItemInfoDlg;
struct ITEMDESC;
struct ITEMINFODESC;

// The kinds of screen the manager opens.
enum ScreenKind : int {
  kScreenNone = 0,
  kScreenStartMenu = 1,
  kScreenMainWindow = 2,
  kScreenTrade = 3,
  kScreenItemInfo = 4,
  kScreenNewHint = 5,
};

// The outcome the main window writes: action 0 close and resume, 1 use the
// chosen item, 2 quit to the title, 3 load the slot.
struct MENURESULTDESC {
  int32_t action = 0;
  int32_t slot = -1;
  CTWItem* chosenItem = nullptr;  // owned by the manager once the window has closed
};

// The outcome the start menu writes: hero 0 or 1; action 0 new game, 1 load
// the slot, 2 quit.
struct STARTRESULTDESC {
  int32_t hero = 0;
  int32_t action = 2;
  int32_t slot = -1;
};

// What the main window offers, by the mode the game core opens it with.
struct MAINWNDOPTIONS {
  IBsCreature* hero = nullptr;
  int32_t showRolePage = 0;
  int32_t showEventNotes = 0;
  int32_t showSystemPage = 0;
  int32_t allowItemUse = 0;
  int32_t battleItemMode = 0;
  int32_t allowSave = 0;
  int32_t allowLoad = 0;
  int32_t allowQuit = 0;
};

// The one door from the game core to the menu screens: it opens screens by
// kind, runs them from UpdateScreens and keeps their outcomes, the item the
// player took out of the menu, the widget framework's window manager, the UI
// sounds, the scroll-bar skins and the widget cursor.
class CScreenManager {
 public:
  IBsCreature* hero = nullptr;
  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  CGDItemPool* itemPool = nullptr;
  IStoryFlags* storyFlags = nullptr;
  CSystemConfig* config = nullptr;
  int kind = kScreenNone;
  MENURESULTDESC menuResult;
  STARTRESULTDESC startResult;
  int selectedSlot = -1;
  TwGetItemInfoDlg* itemInfoBox = nullptr;  // while the item box is open
};

extern CScreenManager* g_screenManager;
// The settings record, for the system page.
extern CSystemConfig* g_systemConfig;

// The resource the manager is given (here and by SetScreenContext) answers
// GetMessageString until the manager goes.
void CreateScreenManager(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* pool, IStoryFlags* storyFlags,
                         CSystemConfig* config);
// Removes the input hooks, deletes every window and then every widget left.
void DestroyScreenManager();
void SetScreenContext(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* pool, IStoryFlags* storyFlags,
                      CSystemConfig* config);
// The party leader's creature that the character page shows; null without a manager.
void SetScreenHero(IBsCreature* hero);
IBsCreature* GetScreenHero();

// Opens a screen of the kind: the interface package stays open while it
// lives; with input the framework's hooks and cursor take the mouse and
// keys. create builds the window (null: nothing opened, and the kind's
// result comes at the next update). The window, or null.
CAmWnd* OpenScreen(int kind, int withInput, const std::function<CAmWnd*()>& create);
// The main window's options for a mode: 0 to 3 the field and close-up menus
// (with and without the character page), 4 the battle item menu.
MAINWNDOPTIONS MainWindowOptions(int mode);

void OpenStartMenu(int superSaveValid);
void OpenMainWindow(int mode);
void OpenTradeWindow(int shopId);
// Over the running game, without input: the items and money just received;
// a box still open takes the new record.
void ShowItemInfo(const ITEMINFODESC* info);
void ShowNewHint();

// Runs the open screens for n ticks; a ScreenResult.
int UpdateScreens(int n);
// 1 when no window is open.
int IsScreenIdle();

// The database record of the item taken out of the menu, null when none.
ITEMDESC* GetSelectedItem();
void ReleaseSelectedItem();
void ShowSelectedItem(int on);
// Centres the chosen item's icon on the screen point.
void MoveSelectedItem(int x, int y);
int GetSelectedSlot();
// 0 first hero, 1 second hero.
int GetChosenHero();

// The trade screen's list of bought one-of-a-kind items.
void SetBoughtItemList(std::vector<int>* list);
