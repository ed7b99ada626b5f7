#include "ui/role_page.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/main_man_soul.h"
#include "database/records.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_list_view.h"
#include "ui/am_mouse.h"
#include "ui/am_text.h"
#include "ui/am_wnd_manager.h"
#include "ui/tw_item.h"

namespace {

constexpr int kRowIdle = 0;
constexpr int kRowSource = 1;
constexpr int kRowEquipped = 2;
constexpr int kDropSound = 3;
constexpr int kGridCell = 49;
// The one item that turns into another when picked up in area 2.
constexpr int kChangingType = 7, kChangingId = 291, kChangedId = 292, kChangingArea = 2;

struct TextPlace {
  int width, x, y;
};
// Attributes 1, 2, 3, the defences 10 to 15, health, mana, the gauge share,
// the weapon skill, the power and the money.
constexpr TextPlace kTextPlaces[] = {{80, 527, 63},  {80, 527, 84},  {80, 527, 105}, {40, 521, 260}, {40, 586, 260},
                                     {40, 521, 281}, {40, 586, 281}, {40, 521, 302}, {40, 586, 302}, {80, 527, 135},
                                     {80, 527, 156}, {80, 527, 177}, {80, 527, 198}, {80, 527, 219}, {90, 515, 323}};
constexpr int kPlainAttributes[] = {1, 2, 3, 10, 11, 12, 13, 14, 15};
constexpr int kPairText = 9, kShareText = 11, kSkillText = 12, kPowerText = 13, kMoneyText = 14;

int (*g_sceneAreaProc)() = nullptr;

bool IsGrid(const CAmContainer* c) { return c && c->kind == 0; }
bool IsEquipSlot(const CAmContainer* c) { return c && c->kind >= 1 && c->kind <= 3; }

}  // namespace

void SetSceneAreaProc(int (*proc)()) { g_sceneAreaProc = proc; }

int GetSceneArea() { return g_sceneAreaProc ? g_sceneAreaProc() : 0; }

CRolePage::CRolePage(int battleItemMode, CMSwordMan* hero, CGameDataLoader* loader, CGameResource* resource,
                     CGDItemPool* itemPool, CAmObject* owner)
    : CAmPage("ifi0100", 640, 357, owner),
      loader(loader),
      resource(resource),
      itemPool(itemPool),
      hero(hero),
      battleItemMode(battleItemMode) {
  const CParty& party = g_gameDataBase.party;
  heroKind = !party.members.empty() && party.members.front() == 1 ? 1 : 2;
  if (!party.members.empty()) leader = g_gameDataBase.FindHero(party.members.front());
  if (resource) recipes = ReadRecipes(*resource);
}

CRolePage::~CRolePage() {
  RemovePreview();
  delete carried;
  delete grid;
  for (CAmContainer* slot : slots) delete slot;
  delete useArea;
  delete sortButton;
  for (CAmText* text : texts) delete text;
  delete label;
  delete agency;
}

CAmText* CRolePage::AddText(int textWidth, int x, int y) {
  auto* text = new CAmText(textWidth, 15, 0, this, nullptr);
  text->SetFont(nullptr, 14, 14, 0, 0, 10);
  text->smooth = 1;
  text->SetPosition(x, y);
  texts.push_back(text);
  shown.push_back({INT_MIN, INT_MIN});
  return text;
}

void CRolePage::Build() {
  agency = new CAmContainerAgency(0, this);
  if (heroKind == 2) {
    label = new CAmObject("ifnfee", 128, 20, 0, this, 0);
    label->SetPosition(306, 26);
  }
  for (const TextPlace& p : kTextPlaces) AddText(p.width, p.x, p.y);

  grid = new CAmListView(nullptr, 200, 294, 0, this, CAmListView::kVertical);
  grid->SetPosition(28, 52);
  grid->SetView(0, 0, 200, 294);
  grid->BuildCells("ifib05001", kGridCell, kGridCell, 0);
  grid->CreateScrollBar(0, 206, 2, 215);
  // The slots hang under the agency, which has no picture: they stand on the screen.
  int left = 0, top = 0;
  GetPosition(&left, &top);
  for (int k = 0; k < 3; ++k) {
    slots[k] = new CAmContainer("ifib05001", kGridCell, kGridCell, k + 1, k + 1);
    slots[k]->SetPosition(left + 288 + 50 * k, top + 297);
  }
  useArea = new CAmContainer(nullptr, 142, 219, kSlotUse, kSlotUse);
  useArea->SetPosition(left + 292, top + 66);
  sortButton = new CAmButton("ifib0400", 20, 32, kSortButton, 5, 1, this);
  sortButton->SetPosition(233, 314);
  FillGrid();
  UpdateTexts();
  BuildPreview();
}

void CRolePage::ClearGrid() {
  if (!grid) return;
  for (CAmContainer* cell : grid->cells) {
    cell->RemoveGhost();
    delete cell->TakeItem();
  }
  for (CAmContainer* slot : slots) {
    slot->RemoveGhost();
    delete slot->TakeItem();
  }
}

void CRolePage::FillGrid() {
  if (!grid || !itemPool) return;
  ClearGrid();
  int32_t place = -1;
  for (PARTYITEMDESC* entry = itemPool->GetFirstItem(&place); entry; entry = itemPool->GetNextItem(&place)) {
    ITEMDESC* record = itemPool->GetItemRecord(entry->type, entry->id);
    if (!record) continue;
    CTWItem* icon = CTWItem::NewGridIcon(record, entry->count, -1);
    const bool worn = leader && entry->type >= 1 && entry->type <= 3 && leader->GetEquippedItem(entry->type) &&
                      leader->GetEquippedId(entry->type) == entry->id;
    icon->equipped = worn ? 1 : 0;
    CAmContainer* cell = place >= 0 && place < CAmListView::kMaxCells ? grid->PutAt(icon, place) : nullptr;
    if (!cell) cell = grid->PutAfterLast(icon);
    if (!cell) {
      delete icon;
      continue;
    }
    cell->SetRow(worn ? kRowEquipped : kRowIdle);
    icon->Show(1);
  }
  for (int k = 0; k < 3 && leader; ++k) {
    const int type = k + 1;
    if (!leader->GetEquippedItem(type)) continue;
    ITEMDESC* record = itemPool->GetItemRecord(type, leader->GetEquippedId(type));
    if (!record) continue;
    CTWItem* icon = CTWItem::NewGridIcon(record, 1, -1);
    icon->equipped = 1;
    slots[k]->PutItem(icon);
    icon->Show(1);
  }
  grid->EnsureFree();
  grid->UpdateRange();
}

void CRolePage::UpdateTexts() {
  if (texts.empty()) return;
  auto show = [this](int index, int a, int b, const char* format) {
    if (shown[index][0] == a && shown[index][1] == b) return;
    shown[index] = {a, b};
    char line[48];
    std::snprintf(line, sizeof(line), format, a, b);
    texts[index]->SetText(line);
  };
  if (leader) {
    for (int i = 0; i < 9; ++i) show(i, leader->GetAttribute(kPlainAttributes[i]), 0, "%d");
    show(kPairText, leader->GetAttribute(kAttrHp), leader->GetAttribute(kAttrMaxHp), "%d/ %d");
    show(kPairText + 1, leader->GetAttribute(kAttrMp), leader->GetAttribute(kAttrMaxMp), "%d/ %d");
    show(kShareText, SpecialShare(*leader), 0, "%d / 100");
    show(kSkillText, WeaponSkill(*leader), 0, "%d");
    show(kPowerText, DerivedPower(*leader), 0, "%d");
  }
  show(kMoneyText, g_gameDataBase.party.GetMoney(), 0, "%d");
}

void CRolePage::OnTick(int steps) {
  if (built) {
    UpdateTexts();
    TickPreview(steps);
  }
  CAmPage::OnTick(steps);
}

void CRolePage::SetCursorShape(int shape) {
  if (auto* mouse = g_amWndManager ? dynamic_cast<CAmMouse*>(g_amWndManager->cursor) : nullptr) mouse->SetShape(shape);
}

void CRolePage::PickUp(CAmContainer* source, CTWItem* item) {
  if (item->itemType == kChangingType && item->itemId == kChangingId && GetSceneArea() == kChangingArea && itemPool) {
    itemPool->ReplaceItem(kChangingType, kChangingId, kChangingType, kChangedId);
    delete item;
    FillGrid();
    return;
  }
  carried = item;
  carriedFrom = source;
  sortButton->SetLocked(1);
  if (source) source->SetRow(kRowSource);
  SetCursorShape(1);
}

CTWItem* CRolePage::TakeCarriedItem() {
  CTWItem* item = carried;
  if (item) EndCarry();
  return item;
}

void CRolePage::EndCarry() {
  carried = nullptr;
  carriedFrom = nullptr;
  SetCursorShape(0);
  if (sortButton) sortButton->SetLocked(0);
}

int CRolePage::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (sender == agency && agency) {
    const AMDROPDESC* drop = CAmContainerAgency::DropRecord(a, sender);
    auto* item = drop ? dynamic_cast<CTWItem*>(drop->object) : nullptr;
    if (id == AMM_DRAGOBJ_CHECK && item && !carried) {
      PickUp(drop->source, item);
    } else if (id == AMM_DROPOBJ_CHECK && item) {
      carried = nullptr;
      DropItem(drop->source, item, drop->target);
      PlaySound(kDropSound);
      EndCarry();
    } else if (id == AMM_DROPOBJ_CHECK) {
      // A cancelled drag: the agency has already let go of the source.
      if (carriedFrom && IsGrid(carriedFrom) && carried)
        carriedFrom->SetRow(carried->equipped ? kRowEquipped : kRowIdle);
      EndCarry();
    }
    // The window locks and unlocks its tabs by the same messages.
    return 0;
  }
  if (id == AMM_MOUSEHOVER) {
    for (int k = 0; k < 3; ++k)
      if (sender == slots[k]) PostMessage(AMM_USER + kHoverHelp, k, 0, sender);
    if (sender == useArea) PostMessage(AMM_USER + kHoverHelp, 3, 0, sender);
    return sender == useArea || std::find(slots.begin(), slots.end(), sender) != slots.end() ? 1 : 0;
  }
  if (id == AMM_BUTTONUP && sender == sortButton) {
    SortGrid();
    return 1;
  }
  return CAmPage::OnMessage(id, a, b, sender);
}

void CRolePage::SortGrid() {
  if (!grid || !itemPool) return;
  std::vector<CTWItem*> icons;
  for (CAmContainer* cell : grid->cells)
    if (auto* icon = dynamic_cast<CTWItem*>(cell->held)) icons.push_back(icon);
  std::stable_sort(icons.begin(), icons.end(), [](const CTWItem* x, const CTWItem* y) {
    return ItemSortsBefore(x->itemType, x->itemId, y->itemType, y->itemId);
  });
  itemPool->FreeAllSlots();
  for (size_t i = 0; i < icons.size(); ++i)
    itemPool->SetItemSlot(icons[i]->itemType, icons[i]->itemId, static_cast<int32_t>(i), 0);
  FillGrid();
}

void CRolePage::ReturnItem(CAmContainer* source, CTWItem* item) {
  if (!source) {
    delete item;
    return;
  }
  source->PutItem(item);
  if (IsGrid(source)) source->SetRow(item->equipped ? kRowEquipped : kRowIdle);
}

void CRolePage::DropItem(CAmContainer* source, CTWItem* item, CAmContainer* target) {
  if (!item) return;
  if (!source || !target || target == source || !itemPool) {
    ReturnItem(source, item);
  } else if (IsGrid(source) && IsGrid(target)) {
    GridToGrid(source, item, target);
  } else if (IsEquipSlot(source) && IsGrid(target)) {
    SlotToGrid(source, item, target);
  } else if (IsGrid(source) && IsEquipSlot(target)) {
    GridToSlot(source, item, target);
  } else if (IsGrid(source) && target->kind == kSlotUse) {
    GridToUse(source, item);
  } else {
    ReturnItem(source, item);
  }
  FillGrid();
}

void CRolePage::GridToGrid(CAmContainer* source, CTWItem* a, CAmContainer* target) {
  auto* b = dynamic_cast<CTWItem*>(target->held);
  if (!b) {
    itemPool->SetItemSlot(a->itemType, a->itemId, target->id, 1);
    ReturnItem(source, a);
    return;
  }
  const RECIPEDESC* recipe = FindRecipe(recipes, a->itemType, a->itemId, b->itemType, b->itemId);
  std::vector<std::array<int, 2>> fresh;  // results the party has none of yet
  for (int i = 0; recipe && i < RECIPEDESC::kPlaces; ++i)
    if (recipe->ResultType(i) && itemPool->GetItemCount(recipe->ResultType(i), recipe->ResultId(i)) == 0)
      fresh.push_back({recipe->ResultType(i), recipe->ResultId(i)});

  const CombineResult result =
      CombineItems(*itemPool, leader, recipes, heroKind, a->itemType, a->itemId, b->itemType, b->itemId);
  if (result == CombineResult::kSwap) {
    itemPool->SetItemSlot(a->itemType, a->itemId, target->id, 0);
    itemPool->SetItemSlot(b->itemType, b->itemId, source->id, 0);
  } else if (result == CombineResult::kCombined) {
    // New results take a cell the pair left empty, else the one after the last icon.
    std::vector<int> emptied;
    if (itemPool->GetItemCount(a->itemType, a->itemId) == 0) emptied.push_back(source->id);
    if (itemPool->GetItemCount(b->itemType, b->itemId) == 0) emptied.push_back(target->id);
    int next = 0;
    for (CAmContainer* cell : grid->cells)
      if (cell->held || cell == source) next = std::max(next, cell->id + 1);
    for (const auto& r : fresh) {
      int place = next;
      if (!emptied.empty()) {
        place = emptied.front();
        emptied.erase(emptied.begin());
      } else {
        ++next;
      }
      itemPool->SetItemSlot(r[0], r[1], place, 1);
    }
  }
  delete a;
}

void CRolePage::SlotToGrid(CAmContainer* source, CTWItem* a, CAmContainer* target) {
  auto* b = dynamic_cast<CTWItem*>(target->held);
  const int type = source->kind;
  if (b && b->itemType == type && CanEquip(heroKind, b->itemType, b->itemId) && !b->Matches(a)) {
    itemPool->EquipItem(b->itemType, b->itemId);
  } else if (!b && !(heroKind == 2 && type == kSlotWeapon)) {
    itemPool->UnequipItem(type);
  }
  delete a;
}

void CRolePage::GridToSlot(CAmContainer*, CTWItem* a, CAmContainer* target) {
  if (a->itemType == target->kind && CanEquip(heroKind, a->itemType, a->itemId)) {
    auto* worn = dynamic_cast<CTWItem*>(target->held);
    if (!worn || !worn->Matches(a)) itemPool->EquipItem(a->itemType, a->itemId);
  }
  delete a;
}

void CRolePage::GridToUse(CAmContainer*, CTWItem* a) {
  const int useKind = a->record ? a->record->values[kItemUseKind] : 0;
  bool allowed = a->itemType == 8 && (useKind == 1 || useKind == 2 || useKind == 3 || battleItemMode);
  if (allowed && useKind == 2) allowed = leader && leader->GetAttribute(19) < leader->GetAttribute(20);
  if (allowed) itemPool->UseItem(a->itemType, a->itemId);
  delete a;
}
