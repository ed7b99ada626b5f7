#pragma once
// Plain records of the game database: items, modifiers, attributes, shops,
// conditions and the small rows the characters and the party keep.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Whom a modifier reaches (bits).
enum : int32_t { kModOnTarget = 1, kModOnUser = 2, kModOnGroup = 4 };
// What a modifier changes.
enum : int32_t { kModKindAttribute = 0, kModKindCondition = 1 };
// How it changes it.
enum : int32_t { kModeAdd = 0, kModeScale = 1, kModeCure = 2, kModeImmunity = 3 };
// Turns of equipment and passive skills: they never run out.
constexpr int32_t kPermanentTurns = -1;

// One effect of an item, skill or action.
struct MODIFIERDESC {
  int32_t flags = 0;
  int32_t kind = 0;
  int32_t key = 0;     // attribute key (kind 0) or condition id (kind 1)
  int32_t period = 0;  // steps when the remaining turns are a multiple of it
  int32_t turns = 0;   // remaining turns, kPermanentTurns for equipment
  int32_t mode = 0;
  int32_t value = 0;
  int32_t revertFlag = 0;    // 1: taken back when the effect ends or the item comes off
  int32_t appliedTotal = 0;  // what to add back to revert everything applied
  int32_t reserved = 0;
};
constexpr size_t kModifierBytes = 40;

// Indices into ITEMDESC::values.
enum : int {
  kItemId = 0,
  kItemType = 1,
  kItemPrice = 3,
  kItemUseKind = 4,     // 1 and 3 usable from the menu, 2 only while attribute 19 < 20
  kItemReachFirst = 5,  // the two reach values of a weapon
  kItemReachSecond = 6,
  kItemMpCost = 7,
  kItemSkillGain = 8,
  kItemBasePower = 9,
  kItemPointsNeeded = 12  // skills: points needed to learn
};
constexpr int kItemValueCount = 18;
constexpr size_t kItemNameSize = 64;
constexpr size_t kItemIconSize = 32;
constexpr size_t kItemDescriptionSize = 128;
constexpr size_t kItemHeadBytes = 296;

// An item, a skill or a character's own action. Types 1 to 6 are the six
// equipment kinds; 7 and 8 the two kinds of carried items.
struct ITEMDESC {
  std::string name;
  std::string iconName;  // the short text: the icon image
  std::string description;
  std::array<int32_t, kItemValueCount> values{};
  std::vector<MODIFIERDESC> modifiers;

  int32_t Id() const { return values[kItemId]; }
  int32_t Type() const { return values[kItemType]; }
  int32_t Price() const { return values[kItemPrice]; }
};

struct ATTRIBUTEDESC {
  int32_t key = 0;
  int32_t base = 0;   // what levels gave
  int32_t bonus = 0;  // what equipment and effects added
};

// Attribute keys the rules name; the others are read by the screens and the battle.
enum : int32_t {
  kAttrLevel = 1,
  kAttrExperience = 2,
  kAttrNextExperience = 3,
  kAttrMaxHp = 5,
  kAttrHp = 6,
  kAttrMaxMp = 7,
  kAttrMp = 8,
  kAttrEvasion = 15,
  kAttrAccuracy = 16,
  kAttrSpecial = 17,
  kAttrSpecialMax = 18,
  kAttrSkillCapacity = 23
};
constexpr int32_t kHeroAttributeCount = 44;

// One entry of a change list handed to the screens.
struct ATTRIBUTECHANGEDESC {
  int32_t key = 0;
  int32_t change = 0;
  int32_t reserved = 0;
};

struct PROTECTIONDESC {
  int32_t key = 0;
  int32_t reserved = 0;
  int32_t kind = 0;
};

// A row of a condition: the attribute it changes while active.
struct CONDITIONROWDESC {
  int32_t key = 0;
  int32_t reserved = 0;
  int32_t revertFlag = 0;
};

// Head: name char[32] at 0, description char[192] at 32, id at 224, 12 zero bytes.
constexpr size_t kConditionHeadBytes = 240;
constexpr size_t kConditionNameSize = 32;
constexpr size_t kConditionDescriptionSize = 192;
constexpr size_t kConditionIdOffset = 224;

struct CONDITIONDESC {
  std::string name;
  std::string description;
  int32_t id = 0;
  std::vector<CONDITIONROWDESC> rows;
};

// A shop's stock row: count 1 marks a one-of-a-kind item, a negative count unlimited stock.
struct SHOPSTOCKDESC {
  int32_t itemId = 0;
  int32_t count = 0;
  int32_t itemType = 0;
};

// Head: name char[64] at 0, id at 192, the rest zero.
constexpr size_t kShopHeadBytes = 200;
constexpr size_t kShopNameSize = 64;
constexpr size_t kShopIdOffset = 192;

struct SHOPDESC {
  std::string name;
  int32_t id = 0;
  std::vector<SHOPSTOCKDESC> stock;
};

struct PARTYITEMDESC {
  int32_t id = 0;
  int32_t count = 0;
  int32_t type = 0;
};

// An item an enemy may drop.
struct DROPDESC {
  int32_t id = 0;
  int32_t count = 0;
  int32_t type = 0;
};

struct ENEMYPAIRDESC {
  uint16_t first = 0;
  uint16_t second = 0;
};

// A hero learns actionId on reaching level.
struct ACTIONLEARNDESC {
  uint8_t actionId = 0;
  uint8_t reserved = 0;
  uint16_t level = 0;
};

struct SKILLPROGRESSDESC {
  int32_t id = 0;
  int32_t points = 0;
  int32_t needed = 0;
};

// An absolute attribute value of one level.
struct LEVELVALUEDESC {
  int32_t key = 0;
  int32_t value = 0;
  int32_t reserved = 0;
};

// A character's fixed data: name char[32] at 0, model name char[32] at 32,
// kind at 64, sub-kind at 68, the rest zero.
constexpr size_t kFixedDataBytes = 96;
constexpr size_t kFixedNameSize = 32;
constexpr size_t kFixedModelNameSize = 32;

// Equipment slots hold the kinds 6, 1, 2, 3, 4, 5 in this order.
constexpr int kEquipSlotCount = 6;
constexpr int32_t kEquipSlotKinds[kEquipSlotCount] = {6, 1, 2, 3, 4, 5};
// The slot of an equipment kind, -1 for a carried or unknown type.
inline int EquipSlotOfType(int32_t type) {
  if (type == 6) return 0;
  return (type >= 1 && type <= 5) ? type : -1;
}

// Saturating conversions: the database's numbers come from data files.
inline int32_t ClampToInt32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}
// Truncates toward zero, saturated to the int32 range.
inline int32_t TruncToInt32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}
