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
constexpr int32_t kAttackKey = 9;
constexpr int32_t kFirstDefenceKey = 10;
constexpr int32_t kDefenceKey = 11;
constexpr int32_t kSpecialGainKey = 16;
constexpr int32_t kSpecialMaxKey = 18;
constexpr int32_t kSecondSkillKey = 21;  // the second hero's weapon skill
constexpr int32_t kMarksKey = 34;        // the most enemies the first hero's special marks
// The first hero's skill with a weapon is kept under the weapon's id + 20.
constexpr int32_t kSwordSkillKey = kSwordId + 20;

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

ItemData Item(int32_t type, int32_t id, const char* name, const char* icon, const char* description, int32_t price) {
  ItemData item;
  item.type = type;
  item.id = id;
  item.name = name;
  item.icon = icon;
  item.description = description;
  item.price = price;
  return item;
}

// What the battle reads of a weapon: its two reaches, MP cost, skill gain and base power.
ItemData Weapon(ItemData item, int32_t reachFirst, int32_t reachSecond, int32_t mpCost, int32_t skillGain,
                int32_t basePower) {
  item.reachFirst = reachFirst;
  item.reachSecond = reachSecond;
  item.mpCost = mpCost;
  item.skillGain = skillGain;
  item.basePower = basePower;
  return item;
}

std::vector<ItemData> Items() {
  ItemData sword =
      Weapon(Item(kWeaponType, kSwordId, kSwordName, "it_sword", "A plain blade.", 120), 40, 80, 30, 3, 40);
  sword.modifiers = {Gear(kAttackKey, 10)};
  ItemData vest = Item(kArmourType, kVestId, "Leather Vest", "it_vest", "Stiff hide.", 80);
  vest.modifiers = {Gear(kDefenceKey, 4)};
  ItemData charm = Item(kCharmType, kCharmId, "Charm", "it_charm", "A lucky knot.", 60);
  charm.modifiers = {Gear(kDefenceKey, 2)};
  ItemData potion = Item(kPotionType, kPotionId, kPotionName, "it_potion", "Heals 30 health.", 20);
  potion.useKind = 1;
  potion.modifiers = {{2, 0, kHpKey, 0, 0, 0, 30, 0}};
  ItemData herb = Item(kHerbType, kHerbId, "Herb", "it_herb", "Smells of the meadow.", 5);
  ItemData tonic = Item(kPotionType, kTonicId, kTonicName, "it_tonic", "Heals 60 health.", 45);
  tonic.useKind = 1;
  tonic.modifiers = {{2, 0, kHpKey, 0, 0, 0, 60, 0}};
  const ItemData knife =
      Weapon(Item(kPotionType, kKnifeId, kKnifeName, "it_knife", "Thrown from afar.", 15), 10, 300, 20, 2, 8);
  return {sword, vest, charm, potion, herb, tonic, knife};
}

// Health, mana, attack, defences and weapon skill rising a little with every
// level; the special gauge's gain and size and the marks of the special stay.
std::vector<std::vector<LevelValueData>> Levels(int32_t hp, int32_t mp, int32_t attack, int32_t skillKey) {
  std::vector<std::vector<LevelValueData>> levels;
  for (int32_t level = 0; level < 5; ++level) {
    std::vector<LevelValueData> row = {
        {kMaxHpKey, hp + 10 * level}, {kMaxMpKey, mp + 5 * level}, {kAttackKey, attack + level}};
    for (int32_t key = kFirstDefenceKey; key < kFirstDefenceKey + 6; ++key) row.push_back({key, 4 + level});
    row.push_back({kSpecialGainKey, 5});
    row.push_back({kSpecialMaxKey, 100});
    row.push_back({skillKey, 8000 + 500 * level});  // in ten-thousandths: 80% at level 1
    row.push_back({kMarksKey, 3});
    levels.push_back(row);
  }
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
  first.levels = Levels(150, 200, 40, kSwordSkillKey);

  HeroData second;
  second.id = kSecondHeroId;
  second.name = kSecondHeroName;
  second.model = "hero02";
  second.kind = 2;
  second.subKind = 3;  // hero form 3: "creature/Walk03.MCB"
  second.attributes = {{kLevelKey, 1, 0}};
  second.equipment = {0, 0, kVestId, 0, 0, 0};
  second.levels = Levels(45, 200, 35, kSecondSkillKey);
  return {first, second};
}

// A level-2 enemy with 20 MP and one defence for every hit part.
EnemyData MakeEnemy(int32_t id, const char* name, const char* model, int32_t hp, int32_t attack, int32_t defence,
                    int32_t money, int32_t experience, DropData drop) {
  EnemyData enemy;
  enemy.id = id;
  enemy.name = name;
  enemy.model = model;
  enemy.attributes = {{kLevelKey, 2, 0},  {kMaxHpKey, hp, 0}, {kHpKey, hp, 0},
                      {kMaxMpKey, 20, 0}, {kMpKey, 20, 0},    {kAttackKey, attack, 0}};
  for (int32_t key = kFirstDefenceKey; key < kFirstDefenceKey + 6; ++key) enemy.attributes.push_back({key, defence, 0});
  enemy.money = money;
  enemy.experience = experience;
  enemy.drops = {drop};
  return enemy;
}

// Bites are light: a newcomer still learning to aim outlasts three enemies.
EnemyData Enemy() { return MakeEnemy(kEnemyId, "Wolf", kEnemyModel, 30, 2, 3, 40, 25, {kHerbId, 1, kHerbType}); }

// A bowman that keeps its distance: weaker in close combat, some MP to cure.
EnemyData Shooter() {
  return MakeEnemy(kShooterId, "Bowman", kShooterModel, 24, 3, 10, 60, 35, {kPotionId, 1, kPotionType});
}

DatabaseData Database() {
  DatabaseData data;
  // The first hero spends a blade on each targeted throw: the equipped
  // weapon's stack is the battle's quick item.
  const StartInventoryData start{kStartingMoney,
                                 {{kPotionType, kKnifeId, kStartingKnives},
                                  {kPotionType, kPotionId, kStartingPotions},
                                  {kWeaponType, kSwordId, kStartingBlades}}};
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
