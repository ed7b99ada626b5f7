#pragma once
#include <array>
#include <cstdint>
#include <vector>

class CGameResource;
class CGDItemPool;
class CGDManSoul;

// The character page's rules, apart from its widgets: grid order, who may
// wear which weapon, the recipes and the derived values it shows.

// A recipe of the resource (kind 37): four ingredient types, four result
// types, four ingredient ids, four result ids; type 0 is an empty place.
struct RECIPEDESC {
  static constexpr int kPlaces = 4;
  std::array<int16_t, 16> values{};
  int IngredientType(int i) const { return values[i]; }
  int ResultType(int i) const { return values[4 + i]; }
  int IngredientId(int i) const { return values[8 + i]; }
  int ResultId(int i) const { return values[12 + i]; }
};

// Kind 37: the section's count of recipes; those past the block's end are dropped.
std::vector<RECIPEDESC> ReadRecipes(const CGameResource& resource);
// The first recipe listing both (type, id) pairs among its ingredients, null when none.
const RECIPEDESC* FindRecipe(const std::vector<RECIPEDESC>& recipes, int typeA, int idA, int typeB, int idB);

// Type 8 first, then 6, 7, 1, 2, 3, then every other type.
int ItemTypeOrder(int type);
// Lower order value first; within one type the lower id.
bool ItemSortsBefore(int typeA, int idA, int typeB, int idB);

// Hero kind 1 wears weapons 1 to 5, hero kind 2 weapons 6 to 8; other item
// types have no such rule.
bool CanEquip(int heroKind, int type, int id);

// Attribute 17 as a share of attribute 18 in hundredths; 0 while 18 is 0.
int SpecialShare(const CGDManSoul& leader);
// The skill of the equipped weapon kind (attribute 21, or 22 to 25 for
// weapons 2 to 5) in hundredths; 0 without a weapon.
int WeaponSkill(const CGDManSoul& leader);
// With a weapon: skill x 0.0001 x D + (attribute 9 - D) / 10 rounded, at
// least 0 (D: the weapon's first modifier); without: attribute 9 / 10.
int DerivedPower(const CGDManSoul& leader);

// The outcome of dropping item A on item B of the grid.
enum class CombineResult { kSwap, kCombined, kRefused };
// Takes the first recipe joining A and B: the ingredients that are not also
// results lose one, every other result gains one. A result whose stack is
// full refuses the whole recipe before anything is spent. A weapon with
// item (7, 89) raises the leader's attribute 35 for hero kind 1 and joins
// nothing for hero kind 2.
CombineResult CombineItems(CGDItemPool& pool, CGDManSoul* leader, const std::vector<RECIPEDESC>& recipes, int heroKind,
                           int typeA, int idA, int typeB, int idB);
