#include <gtest/gtest.h>

#include "database/level_rules.h"
#include "database/main_man_soul.h"
#include "tests/database/database_test_support.h"

namespace {

// Four levels: need (3), maximum HP (5), attack (9), gauge (17), 19 and the 26/27 pair.
CGDMainManSoul MakeHero() {
  CGDMainManSoul hero;
  for (int32_t key = 1; key <= kHeroAttributeCount; ++key) hero.attributes.push_back({key, 0, 0});
  hero.levelTable = {
      {{3, 100, 0}, {5, 50, 0}, {9, 10, 0}, {17, 5, 0}, {19, 3, 0}, {27, 8, 0}},
      {{3, 300, 0}, {5, 60, 0}, {9, 12, 0}, {17, 7, 0}, {19, 4, 0}},
      {{3, 600, 0}, {5, 75, 0}, {9, 15, 0}, {17, 9, 0}},
      {{3, 1000, 0}, {5, 90, 0}},
  };
  hero.learnTable = {{10, 0, 1}, {11, 0, 2}, {12, 0, 3}, {13, 0, 5}};
  return hero;
}

void SetExperience(CGDMainManSoul& hero, int32_t experience) { hero.SetAttributeBase(kAttrExperience, experience); }

TEST(LevelRules, LevelUpRaisesWhileTheExperienceReachesTheNeed) {
  struct Case {
    int32_t experience;
    int force;
    int gained;
    int32_t level, experienceAfter, needAfter;
  } cases[] = {
      {500, 0, 2, 3, 500, 600},                               // thresholds 100, 300, 600 from level 1
      {50, 0, 0, 1, 50, 100},   {50, 1, 1, 2, 100, 300},      // a forced step lifts the experience to the need
      {100, 0, 1, 2, 100, 300}, {5000, 0, 3, 4, 5000, 1000},  // the table ends at four rows
  };
  for (const auto& c : cases) {
    CGDMainManSoul hero = MakeHero();
    ASSERT_EQ(RaiseToLevel(&hero, 1), 1);
    ASSERT_EQ(hero.GetAttribute(kAttrNextExperience), 100);
    SetExperience(hero, c.experience);
    EXPECT_EQ(LevelUp(&hero, c.force), c.gained) << c.experience << " forced " << c.force;
    EXPECT_EQ(hero.GetAttribute(kAttrLevel), c.level) << c.experience;
    EXPECT_EQ(hero.GetAttribute(kAttrExperience), c.experienceAfter) << c.experience;
    EXPECT_EQ(hero.GetAttribute(kAttrNextExperience), c.needAfter) << c.experience;
  }
}

TEST(LevelRules, RowsAddTheirDifferencesExceptTheExcludedKeys) {
  struct Case {
    bool ex;
    int32_t gauge, key19, maxHp, hp, pair26;
  } cases[] = {
      {false, 0, 0, 75, 75, 0},  // plain: 17 and 19 excluded, 6 and 8 refilled
      {true, 9, 0, 75, 75, 8},   // Ex: only 19 excluded; 26 refilled too
  };
  for (const auto& c : cases) {
    CGDMainManSoul hero = MakeHero();
    hero.SetAttributeBase(9, 100);  // rows add to what is there
    EXPECT_EQ(c.ex ? RaiseToLevelEx(&hero, 3) : RaiseToLevel(&hero, 3), 1);
    EXPECT_EQ(hero.GetAttribute(kAttrLevel), 3);
    EXPECT_EQ(hero.GetAttribute(9), 115) << c.ex;
    EXPECT_EQ(hero.GetAttribute(kAttrSpecial), c.gauge) << c.ex;
    EXPECT_EQ(hero.GetAttribute(19), c.key19) << c.ex;
    EXPECT_EQ(hero.GetAttribute(kAttrMaxHp), c.maxHp) << c.ex;
    EXPECT_EQ(hero.GetAttribute(kAttrHp), c.hp) << c.ex;
    EXPECT_EQ(hero.GetAttribute(26), c.pair26) << c.ex;
  }
}

TEST(LevelRules, RaiseToLevelNeedsARowBelowTheLevel) {
  CGDMainManSoul hero = MakeHero();
  EXPECT_EQ(RaiseToLevel(&hero, 4), 0);
  EXPECT_EQ(hero.GetAttribute(kAttrLevel), 0);
  EXPECT_EQ(RaiseToLevel(&hero, 2), 1);
  EXPECT_EQ(RaiseToLevel(&hero, 2), 1);  // already there: no step
  EXPECT_EQ(RaiseToLevel(&hero, 1), 1);  // never lowers
  EXPECT_EQ(hero.GetAttribute(kAttrLevel), 2);
  EXPECT_EQ(RaiseToLevel(nullptr, 1), 0);

  CGDMainManSoul bare;
  bare.levelTable = hero.levelTable;
  EXPECT_EQ(LevelUp(&bare, 1), 0);
}

TEST(LevelRules, LevelUpExTeachesTheActionsOfEachLevelReached) {
  CGDMainManSoul hero = MakeHero();
  std::vector<int32_t> learned;
  EXPECT_EQ(LevelUpEx(&hero, 1, &learned), 1);
  EXPECT_EQ(learned, std::vector<int32_t>{10});
  EXPECT_EQ(RaiseToLevelEx(&hero, 3), 1);
  EXPECT_EQ(hero.learnedActions, (std::vector<int32_t>{10, 11, 12}));
  EXPECT_EQ(hero.HasLearnedAction(13), 0);
  SetExperience(hero, 5000);
  learned.clear();
  EXPECT_EQ(LevelUpEx(&hero, 0, &learned), 1);
  EXPECT_TRUE(learned.empty());  // nothing to learn at level 4
}

}  // namespace

namespace {

TEST(LevelRules, TheFirstEntryOfAKeyInTheRowBeforeCounts) {
  CGDMainManSoul hero = MakeHero();
  hero.levelTable = {{{9, 10, 0}, {9, 50, 0}}, {{9, 15, 0}, {9, 16, 0}}, {}};
  ASSERT_EQ(RaiseToLevel(&hero, 2), 1);
  // Row 0 adds 10 and 50; row 1 adds 15 - 10 and 16 - 10.
  EXPECT_EQ(hero.GetAttribute(9), 10 + 50 + 5 + 6);
}

}  // namespace
