#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "platform/files.h"
#include "tests/database/database_test_support.h"
#include "tests/support/captures.h"
#include "tools/datagen/game_resource_writer.h"
#include "ui/role_rules.h"

namespace {

using dbtest::Attributes;
using dbtest::Gear;
using dbtest::Item;

constexpr int kPotion = 1, kHerb = 2, kTonic = 6;

RECIPEDESC Recipe(std::vector<std::pair<int, int>> ingredients, std::vector<std::pair<int, int>> results) {
  RECIPEDESC r;
  for (size_t i = 0; i < ingredients.size(); ++i) {
    r.values[i] = static_cast<int16_t>(ingredients[i].first);
    r.values[8 + i] = static_cast<int16_t>(ingredients[i].second);
  }
  for (size_t i = 0; i < results.size(); ++i) {
    r.values[4 + i] = static_cast<int16_t>(results[i].first);
    r.values[12 + i] = static_cast<int16_t>(results[i].second);
  }
  return r;
}

TEST(RoleRulesTest, GridOrderPutsConsumablesFirstAndIdsAscending) {
  std::vector<std::pair<int, int>> items = {{0, 1}, {3, 2}, {2, 9}, {1, 4}, {7, 5},  {6, 8}, {8, 7},
                                            {8, 3}, {9, 1}, {1, 2}, {4, 6}, {10, 2}, {5, 3}};
  std::sort(items.begin(), items.end(),
            [](auto a, auto b) { return ItemSortsBefore(a.first, a.second, b.first, b.second); });
  std::vector<std::pair<int, int>> head(items.begin(), items.begin() + 8);
  std::vector<std::pair<int, int>> expected = {{8, 3}, {8, 7}, {6, 8}, {7, 5}, {1, 2}, {1, 4}, {2, 9}, {3, 2}};
  EXPECT_EQ(head, expected);
  for (size_t i = 8; i < items.size(); ++i) EXPECT_EQ(ItemTypeOrder(items[i].first), 10) << i;
  EXPECT_FALSE(ItemSortsBefore(8, 3, 8, 3));
}

TEST(RoleRulesTest, EachHeroWearsItsOwnWeapons) {
  struct Case {
    int heroKind, type, id;
    bool allowed;
  } cases[] = {{1, 1, 1, true}, {1, 1, 5, true},  {1, 1, 6, false}, {2, 1, 5, false}, {2, 1, 6, true},
               {2, 1, 8, true}, {2, 1, 9, false}, {1, 2, 40, true}, {2, 3, 1, true}};
  for (const Case& c : cases)
    EXPECT_EQ(CanEquip(c.heroKind, c.type, c.id), c.allowed) << c.heroKind << " " << c.type << "," << c.id;
}

class RolePoolTest : public dbtest::DatabaseTest {
 protected:
  void SetUp() override {
    dbtest::DatabaseTest::SetUp();
    g_gameDataBase.items = {Item(8, kPotion),          Item(8, kHerb), Item(8, kTonic), Item(7, 89),
                            Item(1, 3, {Gear(9, 10)}), Item(7, 10),    Item(7, 11)};
    CGDMainManSoul hero;
    hero.id = 1;
    hero.attributes = Attributes({{9, 50}, {17, 30}, {18, 0}, {23, 200000}, {35, 4}});
    g_gameDataBase.heroes.push_back(hero);
    g_gameDataBase.party.members = {1};
    leader = g_gameDataBase.FindHero(1);
    pool.RebuildSlots();
  }

  CGDItemPool pool{&g_gameDataBase};
  CGDMainManSoul* leader = nullptr;
  std::vector<RECIPEDESC> recipes = {Recipe({{8, kHerb}, {8, kPotion}}, {{8, kTonic}}),
                                     Recipe({{7, 10}, {7, 11}}, {{7, 10}, {8, kTonic}})};
};

TEST_F(RolePoolTest, ShownValuesGuardAgainstAZeroWhole) {
  EXPECT_EQ(SpecialShare(*leader), 0);  // "0 / 100"
  leader->SetAttributeBase(18, 60);
  EXPECT_EQ(SpecialShare(*leader), 50);

  EXPECT_EQ(WeaponSkill(*leader), 0);
  EXPECT_EQ(DerivedPower(*leader), 5);
  ASSERT_EQ(pool.EquipItem(1, 3), 1);
  EXPECT_EQ(WeaponSkill(*leader), 2000);
  // 2000 x 0.0001 x 10 + (60 - 10) / 10
  EXPECT_EQ(DerivedPower(*leader), 7);
}

TEST_F(RolePoolTest, HerbAndPotionMakeATonicThePoolKeeps) {
  pool.AddItem(8, kHerb, 2, -1);
  pool.AddItem(8, kPotion, 1, -1);
  EXPECT_EQ(CombineItems(pool, leader, recipes, 1, 8, kHerb, 8, kPotion), CombineResult::kCombined);
  EXPECT_EQ(pool.GetItemCount(8, kHerb), 1);
  EXPECT_EQ(pool.GetItemCount(8, kPotion), 0);
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 1);
  pool.RebuildSlots();
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 1);
  EXPECT_GE(pool.GetItemSlot(8, kTonic), 0);

  // An existing tonic stack grows, and the order of the pair does not matter.
  pool.AddItem(8, kPotion, 1, -1);
  EXPECT_EQ(CombineItems(pool, leader, recipes, 1, 8, kPotion, 8, kHerb), CombineResult::kCombined);
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 2);
  EXPECT_EQ(pool.GetItemCount(8, kHerb), 0);
}

TEST_F(RolePoolTest, AFullResultStackRefusesAndSpendsNothing) {
  pool.AddItem(8, kHerb, 1, -1);
  pool.AddItem(8, kPotion, 1, -1);
  pool.AddItem(8, kTonic, 99, -1);
  EXPECT_EQ(CombineItems(pool, leader, recipes, 1, 8, kHerb, 8, kPotion), CombineResult::kRefused);
  EXPECT_EQ(pool.GetItemCount(8, kHerb), 1);
  EXPECT_EQ(pool.GetItemCount(8, kPotion), 1);
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 99);
}

TEST_F(RolePoolTest, AResultThatIsAnIngredientIsKeptAndUnjoinedItemsSwap) {
  pool.AddItem(7, 10, 1, -1);
  pool.AddItem(7, 11, 3, -1);
  EXPECT_EQ(CombineItems(pool, leader, recipes, 1, 7, 11, 7, 10), CombineResult::kCombined);
  EXPECT_EQ(pool.GetItemCount(7, 10), 1);
  EXPECT_EQ(pool.GetItemCount(7, 11), 2);
  EXPECT_EQ(pool.GetItemCount(8, kTonic), 1);

  pool.AddItem(8, kHerb, 1, -1);
  EXPECT_EQ(CombineItems(pool, leader, recipes, 1, 8, kHerb, 7, 11), CombineResult::kSwap);
  EXPECT_EQ(pool.GetItemCount(8, kHerb), 1);
  EXPECT_EQ(pool.GetItemCount(7, 11), 2);
}

TEST_F(RolePoolTest, TheWhetstoneTrainsOnlyTheFirstHero) {
  EXPECT_EQ(CombineItems(pool, leader, recipes, 2, 1, 3, 7, 89), CombineResult::kSwap);
  EXPECT_EQ(leader->GetAttribute(35), 4);
  EXPECT_EQ(CombineItems(pool, leader, recipes, 1, 7, 89, 1, 3), CombineResult::kSwap);
  EXPECT_EQ(leader->GetAttribute(35), 5);
}

TEST(RoleRecipesTest, RecipesComeFromKind37AndStopAtTheBlockEnd) {
  testsupport::ScopedWorkDir dir;
  RECIPEDESC tonic = Recipe({{8, kHerb}, {8, kPotion}}, {{8, kTonic}});
  std::vector<uint8_t> bytes(32 + 20);  // one whole recipe, then a cut one
  for (int i = 0; i < 16; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(tonic.values[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>((tonic.values[i] >> 8) & 0xFF);
  }
  datagen::ResourceSectionData section;
  section.kind = 37;
  section.count = 5;
  section.data = bytes;
  std::vector<uint8_t> file = datagen::BuildResourceContainer({section});
  plat::CreateDirectories("Resource");
  ASSERT_TRUE(plat::WriteFileAtomic("Resource/test.res", file.data(), file.size()));

  CGameResource resource;
  resource.Open("test.res");
  std::vector<RECIPEDESC> recipes = ReadRecipes(resource);
  ASSERT_EQ(recipes.size(), 1u);
  EXPECT_EQ(recipes[0].values, tonic.values);
  EXPECT_NE(FindRecipe(recipes, 8, kPotion, 8, kHerb), nullptr);
  EXPECT_EQ(FindRecipe(recipes, 8, kPotion, 8, kTonic), nullptr);

  CGameResource empty;
  empty.Open("missing.res");
  EXPECT_TRUE(ReadRecipes(empty).empty());
}

}  // namespace
