// The sample world's game database: two heroes, their gear and carried items,
// a shop selling them, one enemy and one condition.
#include "tools/datagen/database_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

using namespace sample;

// Attribute keys the records use.
constexpr int32_t kLevelKey = 1;
constexpr int32_t kMaxHpKey = 5;
constexpr int32_t kHpKey = 6;
constexpr int32_t kMaxMpKey = 7;
constexpr int32_t kMpKey = 8;
constexpr int32_t kFirstDefenceKey = 10;  // one per hit part, 10 to 15
constexpr int32_t kAttackKey = 9;
constexpr int32_t kDefenceKey = 11;

// Worn for good by the user, undone when taken off.
ModifierData Gear(int32_t key, int32_t value) {
  ModifierData m;
  m.flags = 2;
  m.key = key;
  m.turns = -1;
  m.value = value;
  m.revertFlag = 1;
  return m;
}

ItemData Item(int32_t type, int32_t id, const char* name, const char* icon, const char* description,
              int32_t price) {
  ItemData item;
  item.type = type;
  item.id = id;
  item.name = name;
  item.icon = icon;
  item.description = description;
  item.price = price;
  return item;
}

std::vector<ItemData> Items() {
  ItemData sword = Item(kWeaponType, kSwordId, kSwordName, "it_sword", "A plain blade.", 120);
  sword.reachFirst = 40;
  sword.basePower = 12;
  sword.modifiers = {Gear(kAttackKey, 10)};
  ItemData vest = Item(kArmourType, kVestId, "Leather Vest", "it_vest", "Stiff hide.", 80);
  vest.modifiers = {Gear(kDefenceKey, 4)};
  ItemData charm = Item(kCharmType, kCharmId, "Charm", "it_charm", "A lucky knot.", 60);
  charm.modifiers = {Gear(kDefenceKey, 2)};
  ItemData potion = Item(kPotionType, kPotionId, kPotionName, "it_potion", "Heals 30 health.", 20);
  potion.useKind = 1;
  potion.modifiers = {{2, 0, kHpKey, 0, 0, 0, 30, 0}};
  ItemData herb = Item(kHerbType, kHerbId, "Herb", "it_herb", "Smells of the meadow.", 5);
  return {sword, vest, charm, potion, herb};
}

// Health, mana and attack rising a little with every level.
std::vector<std::vector<LevelValueData>> Levels(int32_t hp, int32_t mp, int32_t attack) {
  std::vector<std::vector<LevelValueData>> levels;
  for (int32_t level = 0; level < 5; ++level)
    levels.push_back({{kMaxHpKey, hp + 10 * level},
                      {kMaxMpKey, mp + 5 * level},
                      {kAttackKey, attack + level}});
  return levels;
}

std::vector<HeroData> Heroes() {
  HeroData first;
  first.id = kFirstHeroId;
  first.name = kFirstHeroName;
  first.model = "hero01";
  first.kind = 1;
  first.subKind = 1;  // hero form 1: "creature/Walk01.MCB"
  first.attributes = {{kLevelKey, 1, 0}};
  ItemData slash;
  slash.id = 50;
  slash.name = "Slash";
  first.actions = {slash};
  first.equipment = {kCharmId, kSwordId, kVestId, 0, 0, 0};  // kinds 6, 1, 2, 3, 4, 5
  first.learning = {{50, 1}};
  first.levels = Levels(60, 20, 10);

  HeroData second;
  second.id = kSecondHeroId;
  second.name = kSecondHeroName;
  second.model = "hero02";
  second.kind = 2;
  second.subKind = 3;  // hero form 3: "creature/Walk03.MCB"
  second.attributes = {{kLevelKey, 1, 0}};
  second.equipment = {0, 0, kVestId, 0, 0, 0};
  second.levels = Levels(45, 35, 8);
  return {first, second};
}

EnemyData Enemy() {
  EnemyData wolf;
  wolf.id = kEnemyId;
  wolf.name = "Wolf";
  wolf.model = kEnemyModel;
  wolf.attributes = {{kMaxHpKey, 30, 0}, {kHpKey, 30, 0}, {kAttackKey, 6, 0}};
  wolf.money = 40;
  wolf.experience = 25;
  wolf.drops = {{kHerbId, 1, kHerbType}};
  return wolf;
}

// A bowman that keeps its distance: weaker in close combat, some MP to cure.
EnemyData Shooter() {
  EnemyData shooter;
  shooter.id = kShooterId;
  shooter.name = "Bowman";
  shooter.model = kShooterModel;
  shooter.attributes = {{kLevelKey, 2, 0}, {kMaxHpKey, 24, 0}, {kHpKey, 24, 0}, {kMaxMpKey, 20, 0},
                        {kMpKey, 20, 0}, {kAttackKey, 8, 0}};
  for (int32_t part = 0; part < 6; ++part) shooter.attributes.push_back({kFirstDefenceKey + part, 10, 0});
  shooter.money = 60;
  shooter.experience = 35;
  shooter.drops = {{kPotionId, 1, kPotionType}};
  return shooter;
}

DatabaseData Database() {
  DatabaseData data;
  const StartInventoryData start{kStartingMoney, {{kPotionType, kPotionId, kStartingPotions}}};
  data.startInventories = {start, start};  // both heroes' stories
  data.items = Items();
  data.heroes = Heroes();
  data.enemies = {Enemy(), Shooter()};
  data.shops = {{kShopId,
                 "Village Store",
                 {{kPotionId, -1, kPotionType},
                  {kHerbId, -1, kHerbType},
                  {kSwordId, 1, kWeaponType},
                  {kVestId, 1, kArmourType}}}};
  data.conditions = {{kPoisonId, "Poison", "Loses health each turn.", {{kHpKey, 0}}}};
  return data;
}

}  // namespace

bool WriteSampleDatabase(const std::string& root, std::string& error) {
  return WriteOutputFile(root + kDatabaseFile, WriteDatabase(Database()), error);
}

}  // namespace datagen
