#include "ui/screen_manager.h"

#include <cmath>
#include <new>

#include "database/game_database.h"
#include "database/game_resource.h"
#include "engine/media/packages.h"
#include "ui/am_mouse.h"
#include "ui/am_scroll_bar.h"
#include "ui/am_text.h"
#include "ui/am_wnd_manager.h"
#include "ui/item_boxes.h"
#include "ui/tw_item.h"

CScreenManager* g_screenManager = nullptr;
CSystemConfig* g_systemConfig = nullptr;

namespace {

constexpr const char* kInterfacePackage = ".\\image\\ui.qxo";
constexpr int kFontMessage = 50;

struct WndSoundDesc {
  int key;
  const char* wave;
};
constexpr WndSoundDesc kWndSounds[] = {{2, "if001"}, {0, "if003"}, {1, "if002"}, {3, "if006"}, {5, "if008"}};
constexpr int kPressSound = 0;
constexpr int kHoverSound = 1;

// orientation, back, forward, thumb, button size, thumb size, overlaps, thumb offset
const SCROLLBARSKINDESC kSkins[] = {
    {0, "ifsv00", "ifsv01", "ifsv02", 18, 22, 18, 14, 2, 3, 0, kPressSound, kHoverSound},
    {1, "ifsh00", "ifsh01", "ifsh02", 22, 18, 16, 18, 2, 3, 0, kPressSound, kHoverSound},
    {1, "ifsh200", "ifsh201", "ifsh202", 20, 22, 14, 18, 0, 0, 0, kPressSound, kHoverSound},
};

constexpr const char* kCursorImage = "twCursor00";
constexpr int kCursorCell = 24;
constexpr int kCursorShapes = 3;
constexpr int kCursorShapesPerRow = 5;

void ShowCursorWidget(int flag) {
  if (CAmObject* cursor = GetWndCursor()) cursor->Show(flag);
}

void DeleteChosenItem(CScreenManager& manager) {
  CTWItem* item = manager.menuResult.chosenItem;
  manager.menuResult.chosenItem = nullptr;
  delete item;
}

int StartMenuResult(CScreenManager& manager) {
  switch (manager.startResult.action) {
    case 0: return SR_NEW_GAME;
    case 1: manager.selectedSlot = manager.startResult.slot; return SR_LOAD;
    case 2: return SR_QUIT;
    default: return SR_RESUME;
  }
}

int MainWindowResult(CScreenManager& manager) {
  switch (manager.menuResult.action) {
    case 0: return SR_RESUME;
    case 1: return SR_USE_ITEM;
    case 2: return SR_TITLE;
    case 3: manager.selectedSlot = manager.menuResult.slot; return SR_LOAD;
    default: return SR_RESUME;
  }
}

}  // namespace

void CreateScreenManager(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* pool, IStoryFlags* storyFlags,
                         CSystemConfig* config) {
  auto* manager = new (std::nothrow) CScreenManager;
  g_screenManager = manager;
  SetScreenContext(loader, resource, pool, storyFlags, config);
  if (!manager) return;
  OpenImagePackage(kInterfacePackage);

  CAmObject::SetColorKey(255, 0, 255);
  SetDefaultFontName(GetMessageString(kFontMessage));
  CreateWndManager();
  for (const WndSoundDesc& sound : kWndSounds) RegisterWndSound(sound.key, sound.wave);
  // A manager made again (a new game object) gets the same skin indices.
  g_amScrollBarSkins.clear();
  for (const SCROLLBARSKINDESC& skin : kSkins) RegisterScrollBarSkin(skin);
  // The window manager keeps the cursor widget and deletes it.
  new CAmMouse(kCursorImage, kCursorCell, kCursorCell, kCursorShapes, kCursorShapesPerRow);
  OpenImagePackage(nullptr);
}

void DestroyScreenManager() {
  CScreenManager* manager = g_screenManager;
  if (manager) DeleteChosenItem(*manager);
  // Every window goes with the window manager, then any widget left over.
  DestroyLiveWidgets();
  g_screenManager = nullptr;
  SetMessageResource(nullptr);
  delete manager;
}

void SetScreenContext(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* pool, IStoryFlags* storyFlags,
                      CSystemConfig* config) {
  g_systemConfig = config;
  if (!g_screenManager) return;
  g_screenManager->loader = loader;
  g_screenManager->resource = resource;
  SetMessageResource(resource);
  g_screenManager->itemPool = pool;
  g_screenManager->storyFlags = storyFlags;
  g_screenManager->config = config;
}

void SetScreenHero(IBsCreature* hero) {
  if (g_screenManager) g_screenManager->hero = hero;
}

IBsCreature* GetScreenHero() { return g_screenManager ? g_screenManager->hero : nullptr; }

CAmWnd* OpenScreen(int kind, int withInput, const std::function<CAmWnd*()>& create) {
  CScreenManager* manager = g_screenManager;
  if (!manager) return nullptr;
  OpenImagePackage(kInterfacePackage);
  if (withInput) {
    EnableWndInput(1);
    ShowCursorWidget(1);
  }
  // The player may be aiming the item while a box comes and goes; only a
  // menu, shop or title screen ends that.
  if (kind >= kScreenStartMenu && kind <= kScreenTrade) DeleteChosenItem(*manager);
  manager->selectedSlot = -1;
  manager->kind = kind;
  return create ? create() : nullptr;
}

MAINWNDOPTIONS MainWindowOptions(int mode) {
  MAINWNDOPTIONS options;
  if (mode < 0 || mode > 4) return options;
  const int32_t withPage = mode == 0 || mode == 2 || mode == 4 ? 1 : 0;
  options.hero = withPage ? GetScreenHero() : nullptr;
  options.showRolePage = withPage;
  const int32_t menu = mode <= 3 ? 1 : 0;
  options.showEventNotes = menu;
  options.showSystemPage = menu;
  options.allowItemUse = menu;
  options.allowLoad = menu;
  options.allowQuit = menu;
  options.allowSave = mode <= 1 ? 1 : 0;
  options.battleItemMode = mode == 4 ? 1 : 0;
  return options;
}

void ShowItemInfo(const ITEMINFODESC* info) {
  if (!info) return;
  OpenScreen(kScreenItemInfo, 0, [info]() -> CAmWnd* {
    CScreenManager& manager = *g_screenManager;
    if (manager.itemInfoBox) {
      manager.itemInfoBox->Refill(*info);
      return manager.itemInfoBox;
    }
    manager.itemInfoBox = new TwGetItemInfoDlg(*info, nullptr);
    return manager.itemInfoBox;
  });
}

void ShowNewHint() {
  OpenScreen(kScreenNewHint, 0, []() -> CAmWnd* { return new TwGetNewHintDlg(nullptr); });
}

int UpdateScreens(int n) {
  CScreenManager* manager = g_screenManager;
  if (!manager) return SR_NOTHING_OPEN;
  UpdateWndManager(n);
  if (GetTopWnd()) return SR_OPEN;
  const int kind = manager->kind;
  OpenImagePackage(nullptr);
  int result = SR_RESUME;
  switch (kind) {
    case kScreenNone: result = SR_NOTHING_OPEN; break;
    case kScreenStartMenu: result = StartMenuResult(*manager); break;
    case kScreenMainWindow: result = MainWindowResult(*manager); break;
    case kScreenItemInfo:
      manager->itemInfoBox = nullptr;
      result = SR_INFO_CLOSED;
      break;
    case kScreenNewHint: result = SR_INFO_CLOSED; break;
    default: break;
  }
  if (kind != kScreenNone && kind != kScreenItemInfo && kind != kScreenNewHint) EnableWndInput(0);
  manager->kind = kScreenNone;
  ShowCursorWidget(0);
  return result;
}

int IsScreenIdle() { return GetTopWnd() ? 0 : 1; }

ITEMDESC* GetSelectedItem() {
  if (!g_screenManager || !g_screenManager->menuResult.chosenItem) return nullptr;
  const CTWItem& item = *g_screenManager->menuResult.chosenItem;
  return g_gameDataBase.FindItem(item.itemType, item.itemId);
}

void ReleaseSelectedItem() {
  if (g_screenManager) DeleteChosenItem(*g_screenManager);
}

void ShowSelectedItem(int on) {
  if (!g_screenManager || !g_screenManager->menuResult.chosenItem) return;
  CTWItem* item = g_screenManager->menuResult.chosenItem;
  item->Show(on);
  item->ShowTree(on);
}

void MoveSelectedItem(int x, int y) {
  if (!g_screenManager || !g_screenManager->menuResult.chosenItem) return;
  CTWItem* item = g_screenManager->menuResult.chosenItem;
  const float left = static_cast<float>(x) - static_cast<float>(item->width) * 0.5f;
  const float top = static_cast<float>(y) - static_cast<float>(item->height) * 0.5f;
  item->SetPosition(static_cast<int>(std::lrintf(left)), static_cast<int>(std::lrintf(top)));
}

int GetSelectedSlot() { return g_screenManager ? g_screenManager->selectedSlot : -1; }

int GetChosenHero() { return g_screenManager && g_screenManager->startResult.hero != 0 ? 1 : 0; }
