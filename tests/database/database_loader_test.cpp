#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "database/database_loader.h"
#include "database/game_database.h"
#include "platform/files.h"
#include "tests/database/database_test_support.h"
#include "tests/support/captures.h"
#include "tools/datagen/database_writer.h"

namespace {

datagen::ModifierData GearModifier(int32_t key, int32_t value) {
  datagen::ModifierData m;
  m.flags = 2;
  m.key = key;
  m.turns = -1;
  m.value = value;
  m.revertFlag = 1;
  return m;
}

datagen::DatabaseData SampleDatabase() {
  datagen::DatabaseData data;
  data.startInventories = {
      {500, {{8, 3, 2}, {7, 2, 1}, {8, 3, 3}}},
      {2000000, {{8, 3, 150}}},
  };
  datagen::ItemData sword;
  sword.id = 1;
  sword.type = 1;
  sword.name = "Oak Sword";
  sword.icon = "it_sword";
  sword.description = "A plain blade.";
  sword.price = 120;
  sword.reachFirst = 40;
  sword.basePower = 12;
  sword.modifiers = {GearModifier(9, 10)};
  datagen::ItemData herb;
  herb.id = 2;
  herb.type = 7;
  herb.name = "Herb";
  datagen::ItemData potion;
  potion.id = 3;
  potion.type = 8;
  potion.name = "Potion";
  potion.useKind = 1;
  potion.modifiers = {{2, 0, 6, 0, 0, 0, 30, 0}};
  datagen::ItemData charm;
  charm.id = 4;
  charm.type = 6;
  charm.name = "Charm";
  charm.modifiers = {GearModifier(11, 2)};
  data.items = {sword, herb, potion, charm};

  datagen::HeroData first;
  first.id = 1;
  first.name = "Aldo";
  first.model = "hero01";
  first.kind = 1;
  first.subKind = 2;
  first.stateWord = 77;
  first.attributes = {{1, 3, 0}, {9, 999, 0}};  // only the starting level is used
  datagen::ItemData slash;
  slash.id = 50;
  slash.name = "Slash";
  first.actions = {slash};
  first.equipment = {4, 1, 2, 0, 0, 0};  // kinds 6, 1, 2 (id 2 is a carried item), 3, 4, 5
  first.learning = {{101, 1}, {102, 2}, {103, 3}, {104, 4}};
  for (int32_t level = 0; level < 5; ++level)
    first.levels.push_back({{3, 100 * (level + 1)},
                            {5, 50 + 10 * level},
                            {7, 20 + 5 * level},
                            {9, 10 + level},
                            {18, 100},
                            {19, level + 1}});
  datagen::HeroData second;
  second.id = 2;
  second.name = "Vela";
  second.kind = 2;
  second.subKind = 3;
  second.levels = {{{5, 40}}, {{5, 45}}};
  data.heroes = {first, second};

  datagen::EnemyData wolf;
  wolf.id = 31;
  wolf.name = "Wolf";
  wolf.model = "E031";
  wolf.attributes = {{6, 30, 0}, {5, 30, 0}};
  wolf.money = 40;
  wolf.experience = 25;
  wolf.drops = {{3, 1, 8}};
  wolf.pairs = {{1, 2}};
  data.enemies = {wolf};
  data.shops = {{5, "Inn", {{3, -1, 8}, {1, 1, 1}}}};
  data.conditions = {{3, "Poison", "Loses health each turn.", {{6, 0}}}};
  datagen::ItemData focus;
  focus.id = 7;
  focus.name = "Focus";
  focus.pointsNeeded = 50;
  data.skills = {focus};
  return data;
}

// Written in another letter case than the game asks for.
void WriteFixture(const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories("Resource");
  std::ofstream("Resource/dorevu.RES", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool DatabaseIsEmpty() {
  const CGameDataBase& db = g_gameDataBase;
  return db.heroes.empty() && db.enemies.empty() && db.items.empty() && db.shops.empty() && db.conditions.empty() &&
         db.skills.empty();
}

class DatabaseLoaderTest : public dbtest::DatabaseTest {
 protected:
  testsupport::ScopedWorkDir dir;
};

TEST_F(DatabaseLoaderTest, AWrittenDatabaseLoadsAndBuildsTheHeroes) {
  WriteFixture(datagen::WriteDatabase(SampleDatabase()));
  CGameDataLoader loader(0);
  CGameDataBase& db = g_gameDataBase;
  ASSERT_EQ(db.heroes.size(), 2u);

  CGDMainManSoul* hero = db.FindHero(1);
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(hero->name, "Aldo");
  EXPECT_EQ(hero->modelName, "hero01");
  EXPECT_EQ(hero->kind, 1);
  EXPECT_EQ(hero->subKind, 2);
  EXPECT_EQ(hero->stateWord, 77);
  EXPECT_EQ(hero->attributes.size(), 44u);
  struct Expect {
    int32_t key, value;
  } values[] = {
      {kAttrLevel, 3},
      {kAttrExperience, 200},
      {kAttrNextExperience, 300},
      {kAttrMaxHp, 70},
      {kAttrHp, 70},
      {kAttrMaxMp, 30},
      {kAttrMp, 30},
      {9, 12 + 10},  // row 2 and the sword
      {kAttrSpecialMax, 100},
      {kAttrSpecial, 100},  // refilled
      {19, 0},              // never taken from the rows
      {11, 2},              // the charm of kind 6
  };
  for (const auto& v : values) EXPECT_EQ(hero->GetAttribute(v.key), v.value) << "key " << v.key;
  EXPECT_EQ(hero->learnedActions, (std::vector<int32_t>{101, 102, 103}));
  EXPECT_EQ(hero->GetEquippedId(1), 1);
  EXPECT_EQ(hero->GetEquippedId(6), 4);
  EXPECT_EQ(hero->GetEquippedItem(2), nullptr);  // a carried item's id equips nothing
  EXPECT_EQ(hero->GetEquippedId(2), 0);
  ASSERT_NE(hero->FindSkill(50), nullptr);
  EXPECT_EQ(hero->FindSkill(50)->name, "Slash");
  EXPECT_EQ(hero->FindSkill(51), nullptr);

  CGDMainManSoul* second = db.FindHero(2);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetAttribute(kAttrLevel), 1);  // no level in the file
  EXPECT_EQ(second->GetAttribute(kAttrMaxHp), 40);

  EXPECT_EQ(db.party.GetMoney(), 500);
  EXPECT_EQ(db.party.GetItemCount(8, 3), 5);  // two rows of one item make one entry
  EXPECT_EQ(db.party.itemLists[kListType8].size(), 1u);
  EXPECT_EQ(db.party.GetItemCount(7, 2), 1);
}

TEST_F(DatabaseLoaderTest, LookupsFindTheRecordsOrNull) {
  WriteFixture(datagen::WriteDatabase(SampleDatabase()));
  CGameDataLoader loader(0);
  CGameDataBase& db = g_gameDataBase;
  EXPECT_EQ(db.FindHero(9), nullptr);
  EXPECT_EQ(db.FindEnemy(1), nullptr);
  EXPECT_EQ(db.FindItem(8, 1), nullptr);  // id 1 is a weapon
  EXPECT_EQ(db.FindSkill(8), nullptr);
  EXPECT_EQ(db.FindCondition(4), nullptr);
  EXPECT_EQ(db.FindShop(6), nullptr);

  const ITEMDESC* sword = db.FindItem(1, 1);
  ASSERT_NE(sword, nullptr);
  EXPECT_EQ(sword->name, "Oak Sword");
  EXPECT_EQ(sword->iconName, "it_sword");
  EXPECT_EQ(sword->description, "A plain blade.");
  EXPECT_EQ(sword->Price(), 120);
  EXPECT_EQ(sword->values[kItemReachFirst], 40);
  EXPECT_EQ(sword->values[kItemBasePower], 12);
  ASSERT_EQ(sword->modifiers.size(), 1u);
  EXPECT_EQ(sword->modifiers[0].value, 10);
  EXPECT_EQ(sword->modifiers[0].turns, kPermanentTurns);
  EXPECT_EQ(sword->modifiers[0].appliedTotal, 0);  // the database's record is never worn

  const CGDEnemySoul* wolf = db.FindEnemy(31);
  ASSERT_NE(wolf, nullptr);
  EXPECT_EQ(wolf->modelName, "E031");
  EXPECT_EQ(wolf->kind, 31);
  EXPECT_EQ(wolf->GetMoneyValue(), 40);
  EXPECT_EQ(wolf->GetExperienceValue(), 25);
  ASSERT_EQ(wolf->drops.size(), 1u);
  EXPECT_EQ(wolf->drops[0].type, 8);
  EXPECT_EQ(wolf->GetPairSecond(1), 2);
  EXPECT_EQ(wolf->GetAttribute(kAttrHp), 30);  // enemies keep their file attributes

  const SHOPDESC* inn = db.FindShop(5);
  ASSERT_NE(inn, nullptr);
  EXPECT_EQ(inn->name, "Inn");
  ASSERT_EQ(inn->stock.size(), 2u);
  EXPECT_EQ(inn->stock[0].count, -1);
  EXPECT_EQ(inn->stock[1].itemType, 1);

  const CONDITIONDESC* poison = db.FindCondition(3);
  ASSERT_NE(poison, nullptr);
  EXPECT_EQ(poison->name, "Poison");
  ASSERT_EQ(poison->rows.size(), 1u);
  EXPECT_EQ(poison->rows[0].key, 6);
  ASSERT_NE(db.FindSkill(7), nullptr);
  EXPECT_EQ(db.FindSkill(7)->values[kItemPointsNeeded], 50);
}

TEST_F(DatabaseLoaderTest, TheSecondStoryStartsWithItsOwnInventoryWithinTheLimits) {
  WriteFixture(datagen::WriteDatabase(SampleDatabase()));
  CGameDataLoader loader(1);
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), kMaxMoney);
  EXPECT_EQ(g_gameDataBase.party.GetItemCount(8, 3), 99);
  EXPECT_EQ(g_gameDataBase.party.GetItemCount(7, 2), 0);
}

TEST_F(DatabaseLoaderTest, DestroyingTheLoaderResetsHeroesAndParty) {
  WriteFixture(datagen::WriteDatabase(SampleDatabase()));
  {
    CGameDataLoader loader(0);
    g_gameDataBase.party.members = {1};
  }
  CGameDataBase& db = g_gameDataBase;
  ASSERT_EQ(db.heroes.size(), 2u);
  EXPECT_TRUE(db.heroes[0].attributes.empty());
  EXPECT_TRUE(db.heroes[0].learnedActions.empty());
  EXPECT_EQ(db.heroes[0].GetEquippedItem(1), nullptr);
  EXPECT_TRUE(db.party.members.empty());
  EXPECT_EQ(db.party.GetMoney(), 0);
  EXPECT_EQ(db.party.GetItemCount(8, 3), 0);
  EXPECT_EQ(db.items.size(), 4u);
  // A new game's loader reads everything afresh.
  CGameDataLoader again(0);
  EXPECT_EQ(db.FindHero(1)->GetAttribute(kAttrLevel), 3);
  EXPECT_EQ(db.party.GetItemCount(8, 3), 5);
}

TEST_F(DatabaseLoaderTest, AMissingFileLeavesAnEmptyDatabase) {
  testsupport::DebugTraceCapture trace;
  CGameDataLoader loader(0);
  EXPECT_TRUE(DatabaseIsEmpty());
  EXPECT_TRUE(trace.Contains("file .\\resource\\DoRevu.res open error"));
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 0);
}

TEST_F(DatabaseLoaderTest, EveryTruncationGivesAnEmptyDatabaseAndATrace) {
  std::vector<uint8_t> full = datagen::WriteDatabase(SampleDatabase());
  WriteFixture(full);
  CGameDataLoader loader(0);
  ASSERT_FALSE(DatabaseIsEmpty());
  for (size_t size = 0; size < full.size(); ++size) {
    WriteFixture(std::vector<uint8_t>(full.begin(), full.begin() + size));
    testsupport::DebugTraceCapture trace;
    EXPECT_EQ(loader.Load(kGameDatabasePath), 0) << size;
    EXPECT_TRUE(DatabaseIsEmpty()) << size;
    EXPECT_TRUE(loader.startingInventories.empty()) << size;
    EXPECT_TRUE(trace.Contains("damaged")) << size;
  }
}

void PatchI32(std::vector<uint8_t>& bytes, size_t offset, int32_t v) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}
void PatchI16(std::vector<uint8_t>& bytes, size_t offset, int16_t v) {
  bytes[offset] = static_cast<uint8_t>(v);
  bytes[offset + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

TEST_F(DatabaseLoaderTest, ImpossibleCountsGiveAnEmptyDatabaseAndATrace) {
  // Without inventories the first item starts right behind the table, at 132.
  datagen::DatabaseData data = SampleDatabase();
  data.startInventories.clear();
  const std::vector<uint8_t> good = datagen::WriteDatabase(data);
  const size_t item = 48 + 7 * 12;
  const size_t modifierCount = item + kItemHeadBytes;
  const size_t firstHero =
      item + (kItemHeadBytes + 4 + 40) + (kItemHeadBytes + 4) + (kItemHeadBytes + 4 + 40) + (kItemHeadBytes + 4 + 40);
  const size_t heroAttributeCount = firstHero + 104;
  struct Case {
    const char* what;
    void (*patch)(std::vector<uint8_t>&, size_t, size_t, size_t);
  } cases[] = {
      {"fewer than seven sections", [](auto& b, size_t, size_t, size_t) { PatchI16(b, 46, 3); }},
      {"negative section count", [](auto& b, size_t, size_t, size_t) { PatchI16(b, 48 + 12 + 4, -1); }},
      {"section count beyond the file", [](auto& b, size_t, size_t, size_t) { PatchI16(b, 48 + 12 + 4, 30000); }},
      {"huge modifier count", [](auto& b, size_t m, size_t, size_t) { PatchI32(b, m, 0x7FFFFFFF); }},
      {"negative modifier count", [](auto& b, size_t m, size_t, size_t) { PatchI32(b, m, -1); }},
      {"huge attribute count", [](auto& b, size_t, size_t a, size_t) { PatchI32(b, a, 0x10000000); }},
      {"table beyond the file", [](auto& b, size_t, size_t, size_t) { PatchI16(b, 46, 32000); }},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = good;
    c.patch(bytes, modifierCount, heroAttributeCount, 0);
    WriteFixture(bytes);
    testsupport::DebugTraceCapture trace;
    CGameDataLoader loader(0);
    EXPECT_TRUE(DatabaseIsEmpty()) << c.what;
    EXPECT_TRUE(trace.Contains("damaged")) << c.what;
  }
  // The offsets above point where they should: the unpatched file loads.
  WriteFixture(good);
  CGameDataLoader loader(0);
  ASSERT_NE(g_gameDataBase.FindHero(1), nullptr);
  EXPECT_EQ(good[heroAttributeCount], 2);  // the hero's two file attributes
  EXPECT_EQ(good[modifierCount], 1);       // the sword's one modifier
}

}  // namespace
