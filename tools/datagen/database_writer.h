#pragma once
// Writer of the game database file "DoRevu.res" and of the item pool's "IPOS"
// save block, from a plain description of the game's records.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace datagen {

struct ModifierData {
  int32_t flags = 0;  // 1 target, 2 user, 4 the whole side
  int32_t kind = 0;   // 0 attribute, 1 condition
  int32_t key = 0;
  int32_t period = 0;
  int32_t turns = 0;  // -1 permanent
  int32_t mode = 0;   // 0 add, 1 percent, 2 cure, 3 immunity
  int32_t value = 0;
  int32_t revertFlag = 0;
};

// An item, a skill or a character's own action.
struct ItemData {
  int32_t id = 0;
  int32_t type = 0;         // 1 to 6 equipment kinds, 7 and 8 carried items
  std::string name;         // at most 63 bytes
  std::string icon;         // at most 31 bytes
  std::string description;  // at most 127 bytes
  int32_t price = 0;
  int32_t useKind = 0;
  int32_t reachFirst = 0;
  int32_t reachSecond = 0;
  int32_t mpCost = 0;
  int32_t skillGain = 0;
  int32_t basePower = 0;
  int32_t pointsNeeded = 0;
  std::vector<ModifierData> modifiers;
};

struct AttributeData {
  int32_t key = 0;
  int32_t base = 0;
  int32_t bonus = 0;
};

struct LevelValueData {
  int32_t key = 0;
  int32_t value = 0;
};

struct LearnData {
  uint8_t actionId = 0;
  uint16_t level = 0;
};

struct HeroData {
  int32_t id = 0;
  std::string name;
  std::string model;
  int32_t kind = 0;     // 1 first hero, 2 second
  int32_t subKind = 0;  // costume
  int32_t stateWord = 0;
  std::vector<AttributeData> attributes;  // the base of key 1 is the starting level
  std::vector<ItemData> actions;
  std::array<int32_t, 6> equipment{};  // starting item ids of the kinds 6, 1, 2, 3, 4, 5
  std::vector<LearnData> learning;
  std::vector<std::vector<LevelValueData>> levels;  // row L: values of level L + 1
};

struct DropData {
  int32_t id = 0;
  int32_t count = 0;
  int32_t type = 0;
};

struct EnemyData {
  int32_t id = 0;
  std::string name;
  std::string model;
  int32_t kind = 0;  // 0 writes the id, the usual enemy kind
  int32_t stateWord = 0;
  std::vector<AttributeData> attributes;
  std::vector<ItemData> actions;
  int32_t money = 0;
  int32_t experience = 0;
  std::vector<DropData> drops;
  std::vector<std::pair<uint16_t, uint16_t>> pairs;
};

struct StockData {
  int32_t itemId = 0;
  int32_t count = 0;  // 1 one of a kind, negative unlimited
  int32_t itemType = 0;
};

struct ShopData {
  int32_t id = 0;
  std::string name;
  std::vector<StockData> stock;
};

struct ConditionRowData {
  int32_t key = 0;
  int32_t revertFlag = 0;
};

struct ConditionData {
  int32_t id = 0;  // 1 to 29
  std::string name;
  std::string description;
  std::vector<ConditionRowData> rows;
};

struct StartItemData {
  int32_t type = 0;
  int32_t id = 0;
  int32_t count = 0;
};

struct StartInventoryData {
  int32_t money = 0;
  std::vector<StartItemData> items;
};

struct DatabaseData {
  std::vector<StartInventoryData> startInventories;  // one per hero story
  std::vector<ItemData> items;
  std::vector<HeroData> heroes;
  std::vector<EnemyData> enemies;
  std::vector<ShopData> shops;
  std::vector<ConditionData> conditions;
  std::vector<ItemData> skills;
};

std::vector<uint8_t> WriteDatabase(const DatabaseData& data);
bool WriteDatabaseFile(const std::string& path, const DatabaseData& data);

// The int32 length and the "IPOS" block: per list (types 8, 7, 6, 1, 2 to 5)
// the display slots of its entries.
std::vector<uint8_t> WriteItemPositionBlock(const std::array<std::vector<int32_t>, 5>& slots, int32_t version = 100);

}  // namespace datagen
