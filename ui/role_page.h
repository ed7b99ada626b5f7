#pragma once
#include <array>
#include <vector>

#include "engine/core/handles.h"
#include "ui/am_page.h"
#include "ui/role_rules.h"

class CAmButton;
class CAmContainer;
class CAmContainerAgency;
class CAmListView;
class CAmText;
class CGameDataLoader;
class CGameResource;
class CGDItemPool;
class CGDMainManSoul;
class CMSwordMan;
class CTWItem;

// The area (map row) of the scene being played, which decides what one item
// turns into when it is picked up: the game core installs the procedure that
// answers at start-up. With none installed the area is 0.
void SetSceneAreaProc(int (*proc)());
int GetSceneArea();

// The main window's character page: the leader's attributes, equipment
// slots and inventory grid. Icons are dragged to equip, take off, use,
// combine by recipe or swap; the sort button orders the grid.
class CRolePage : public CAmPage {
 public:
  enum : int { kSlotWeapon = 1, kSlotUse = 4, kSortButton = 1 };
  // Hover help on the slots and the use area: a of 0 to 3.
  static constexpr int kHoverHelp = 4;

  CRolePage(int battleItemMode, CMSwordMan* hero, CGameDataLoader* loader, CGameResource* resource,
            CGDItemPool* itemPool, CAmObject* owner);
  ~CRolePage() override;

  // The icon being dragged, null when none.
  CTWItem* GetCarriedItem() const { return carried; }
  // The carried icon, which the caller now owns; the page carries nothing.
  CTWItem* TakeCarriedItem();
  // Destroys the preview's camera, floor and light, gives the viewport its
  // camera back and hides the hero's model.
  void RemovePreview();

  // The attribute texts follow the leader.
  void OnTick(int steps) override;
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  // The drop rules for the icon carried from source to target (a container
  // of this page), then the grid shows the pool again.
  void DropItem(CAmContainer* source, CTWItem* item, CAmContainer* target);
  // Orders the icons by item type and stores their new places.
  void SortGrid();
  // Icons for the pool's items in their places and the equipped items.
  void FillGrid();

  CAmContainerAgency* agency = nullptr;
  CAmObject* label = nullptr;
  std::vector<CAmText*> texts;
  std::vector<std::array<int, 2>> shown;  // the values each text shows, {INT_MIN} until drawn
  CAmListView* grid = nullptr;
  std::array<CAmContainer*, 3> slots{};
  CAmContainer* useArea = nullptr;
  CAmButton* sortButton = nullptr;
  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  CGDMainManSoul* leader = nullptr;
  CGDItemPool* itemPool = nullptr;
  int heroKind = 1;
  CMSwordMan* hero = nullptr;
  int battleItemMode = 0;
  CTWItem* carried = nullptr;
  CAmContainer* carriedFrom = nullptr;  // the cell the carried icon left
  std::vector<RECIPEDESC> recipes;
  HOBJECT previewCamera = 0;
  HOBJECT savedCamera = 0;  // the viewport's camera before the preview
  HOBJECT floorBoard = 0;
  HOBJECT previewLight = 0;
  // Ticks until the hero next plays its idle action, shared by every
  // character page; -1 while the action plays.
  static int idleCountdown;

 protected:
  void Build() override;

 private:
  CAmText* AddText(int width, int x, int y);
  void UpdateTexts();
  void ClearGrid();
  void ReturnItem(CAmContainer* source, CTWItem* item);
  void GridToGrid(CAmContainer* source, CTWItem* a, CAmContainer* target);
  void SlotToGrid(CAmContainer* source, CTWItem* a, CAmContainer* target);
  void GridToSlot(CAmContainer* source, CTWItem* a, CAmContainer* target);
  void GridToUse(CAmContainer* source, CTWItem* a);
  void PickUp(CAmContainer* source, CTWItem* item);
  void EndCarry();
  void SetCursorShape(int shape);
  void BuildPreview();
  void TickPreview(int steps);
};
