#include "ui/role_rules.h"

#include <algorithm>
#include <cmath>

#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/man_soul.h"
#include "database/records.h"
#include "platform/files.h"

namespace {

constexpr int kWeaponType = 1;
constexpr int kWhetstoneType = 7;
constexpr int kWhetstoneId = 89;
constexpr int kAttrWeaponMastery = 35;
constexpr int kAttrPower = 9;
constexpr int kAttrFirstSkill = 21;

bool Lists(const RECIPEDESC& r, int type, int id) {
  for (int i = 0; i < RECIPEDESC::kPlaces; ++i)
    if (r.IngredientType(i) != 0 && r.IngredientType(i) == type && r.IngredientId(i) == id) return true;
  return false;
}

bool IsResult(const RECIPEDESC& r, int type, int id) {
  for (int i = 0; i < RECIPEDESC::kPlaces; ++i)
    if (r.ResultType(i) != 0 && r.ResultType(i) == type && r.ResultId(i) == id) return true;
  return false;
}

}  // namespace

std::vector<RECIPEDESC> ReadRecipes(const CGameResource& resource) {
  std::vector<RECIPEDESC> recipes;
  std::span<const uint8_t> block = resource.Block(37);
  const size_t fit = block.size() / sizeof(RECIPEDESC::values);
  recipes.resize(std::min(static_cast<size_t>(std::max(0, resource.Count(37))), fit));
  plat::ByteReader r(block.data(), block.size());
  for (RECIPEDESC& recipe : recipes)
    for (int16_t& v : recipe.values) v = r.I16();
  return recipes;
}

const RECIPEDESC* FindRecipe(const std::vector<RECIPEDESC>& recipes, int typeA, int idA, int typeB, int idB) {
  for (const RECIPEDESC& r : recipes)
    if (Lists(r, typeA, idA) && Lists(r, typeB, idB)) return &r;
  return nullptr;
}

int ItemTypeOrder(int type) {
  switch (type) {
    case 8: return 1;
    case 6: return 2;
    case 7: return 3;
    case 1: return 4;
    case 2: return 5;
    case 3: return 6;
    default: return 10;
  }
}

bool ItemSortsBefore(int typeA, int idA, int typeB, int idB) {
  const int a = ItemTypeOrder(typeA);
  const int b = ItemTypeOrder(typeB);
  if (a != b) return a < b;
  return typeA == typeB ? idA < idB : typeA < typeB;
}

bool CanEquip(int heroKind, int type, int id) {
  if (type != kWeaponType) return true;
  return heroKind == 1 ? id >= 1 && id <= 5 : id >= 6 && id <= 8;
}

int SpecialShare(const CGDManSoul& leader) {
  const int64_t whole = leader.GetAttribute(kAttrSpecialMax);
  if (whole == 0) return 0;
  return static_cast<int>(int64_t{leader.GetAttribute(kAttrSpecial)} * 100 / whole);
}

int WeaponSkill(const CGDManSoul& leader) {
  const int32_t weapon = leader.GetEquippedItem(kWeaponType) ? leader.GetEquippedId(kWeaponType) : 0;
  if (weapon == 0) return 0;
  const int key = weapon >= 2 && weapon <= 5 ? kAttrFirstSkill + weapon - 1 : kAttrFirstSkill;
  return leader.GetAttribute(key) / 100;
}

int DerivedPower(const CGDManSoul& leader) {
  const ITEMDESC* weapon = leader.GetEquippedItem(kWeaponType);
  const int power = leader.GetAttribute(kAttrPower);
  if (!weapon) return power / 10;
  const double d = weapon->modifiers.empty() ? 0.0 : weapon->modifiers.front().value;
  const double value = WeaponSkill(leader) * 0.0001 * d + (power - d) / 10.0;
  return std::max(0, static_cast<int>(std::lround(value)));
}

CombineResult CombineItems(CGDItemPool& pool, CGDManSoul* leader, const std::vector<RECIPEDESC>& recipes, int heroKind,
                           int typeA, int idA, int typeB, int idB) {
  const bool whetting = (typeA == kWeaponType && typeB == kWhetstoneType && idB == kWhetstoneId) ||
                        (typeB == kWeaponType && typeA == kWhetstoneType && idA == kWhetstoneId);
  if (whetting && heroKind == 2) return CombineResult::kSwap;
  if (whetting && leader) {
    int32_t base = 0;
    leader->GetAttribute(kAttrWeaponMastery, &base);
    leader->SetAttributeBase(kAttrWeaponMastery, base + 1);
  }
  const RECIPEDESC* recipe = FindRecipe(recipes, typeA, idA, typeB, idB);
  if (!recipe) return CombineResult::kSwap;

  // A full result stack would swallow the ingredients.
  for (int i = 0; i < RECIPEDESC::kPlaces; ++i) {
    const int type = recipe->ResultType(i), id = recipe->ResultId(i);
    if (type == 0 || (type == typeA && id == idA) || (type == typeB && id == idB)) continue;
    if (pool.GetItemCount(type, id) >= CGDItemPool::kMaxStack) return CombineResult::kRefused;
  }
  if (!IsResult(*recipe, typeA, idA)) pool.RemoveItem(typeA, idA, 1);
  if (!IsResult(*recipe, typeB, idB)) pool.RemoveItem(typeB, idB, 1);
  for (int i = 0; i < RECIPEDESC::kPlaces; ++i) {
    const int type = recipe->ResultType(i), id = recipe->ResultId(i);
    if (type == 0 || (type == typeA && id == idA) || (type == typeB && id == idB)) continue;
    pool.AddItem(type, id, 1, -1);
  }
  return CombineResult::kCombined;
}
