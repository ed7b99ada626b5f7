#include <gtest/gtest.h>

#include "database/enemy_soul.h"
#include "database/game_database.h"
#include "database/main_man_soul.h"
#include "platform/crt.h"
#include "tests/database/database_test_support.h"

namespace {

using dbtest::Attributes;
using dbtest::Gear;
using dbtest::Item;
using dbtest::Modifier;

class ManSoulTest : public dbtest::DatabaseTest {};

int g_scriptedRoll = 0;
int ScriptedRoll() { return g_scriptedRoll; }

TEST_F(ManSoulTest, RollHitFollowsTheChanceCurveWithAScriptedGenerator) {
  SetHitRollRandom(ScriptedRoll);
  struct Case {
    int32_t accuracy, evasion;  // d = accuracy - evasion
    int roll;
    int hit;
  } cases[] = {
      {60, 10, 32767, 1}, {60, 10, 0, 1},      // d = 50: always
      {99, 10, 32767, 1},                      // d > 50: always
      {0, 51, 0, 1},      {0, 51, 1, 0},       // d = -51: only a roll of 0
      {0, 50, 0, 1},      {0, 50, 1, 0},       // d = -50: chance 0
      {20, 20, 9830, 1},  {20, 20, 9831, 0},   // d = 0: chance 0.3
      {0, 25, 4915, 1},   {0, 25, 4916, 0},    // d = -25: chance 0.15
      {35, 10, 21298, 1}, {35, 10, 21299, 0},  // d = 25: chance 0.65
  };
  for (const auto& c : cases) {
    CGDManSoul user, target;
    user.attributes = Attributes({{kAttrAccuracy, c.accuracy}});
    target.attributes = Attributes({{kAttrEvasion, c.evasion}});
    g_scriptedRoll = c.roll;
    EXPECT_EQ(user.RollHit(&target), c.hit) << "d=" << c.accuracy - c.evasion << " roll=" << c.roll;
  }
}

TEST_F(ManSoulTest, RollHitDrawsFromTheSharedGeneratorByDefault) {
  CGDManSoul user, target;
  user.attributes = Attributes({{kAttrAccuracy, 20}});
  target.attributes = Attributes({{kAttrEvasion, 20}});
  plat::Srand(7);
  int hits = 0;
  for (int i = 0; i < 1000; ++i) hits += user.RollHit(&target);
  plat::Srand(7);
  int expected = 0;
  for (int i = 0; i < 1000; ++i) expected += plat::Rand() <= 9830 ? 1 : 0;
  EXPECT_EQ(hits, expected);
  EXPECT_GT(hits, 250);
  EXPECT_LT(hits, 350);
}

TEST_F(ManSoulTest, OnlyKeys6And8And17AreLimitedByTheirMaxima) {
  struct Case {
    int32_t current, maximum;
    bool limited;
  } pairs[] = {{6, 5, true},    {8, 7, true},    {17, 18, true},  {19, 20, false},
               {26, 27, false}, {28, 29, false}, {30, 31, false}, {32, 33, false}};
  for (const auto& p : pairs) {
    CGDManSoul soul;
    soul.attributes = Attributes({{p.current, 90}, {p.maximum, 100}});
    int32_t applied = 0;
    ASSERT_EQ(soul.AddAttribute(p.current, 30, &applied), 0);
    EXPECT_EQ(soul.GetAttribute(p.current), p.limited ? 100 : 120) << "key " << p.current;
    EXPECT_EQ(applied, p.limited ? 10 : 30) << "key " << p.current;
  }
}

TEST_F(ManSoulTest, ChangeLimitCases) {
  struct Case {
    const char* what;
    int32_t current, maximum, change;
    int32_t value, applied;
  } cases[] = {
      {"rises to the maximum", 90, 100, 30, 100, 10},
      {"above a lowered maximum falls to it", 120, 100, 5, 100, -20},
      {"no lower limit", 50, 100, -70, 0, -70},
      {"within the maximum", 10, 100, 20, 30, 20},
  };
  for (const auto& c : cases) {
    CGDManSoul soul;
    soul.attributes = Attributes({{kAttrHp, c.current}, {kAttrMaxHp, c.maximum}});
    int32_t applied = 0;
    soul.AddAttribute(kAttrHp, c.change, &applied);
    EXPECT_EQ(soul.GetAttribute(kAttrHp), c.value) << c.what;
    EXPECT_EQ(applied, c.applied) << c.what;
  }
  // A character without the maximum has no limit; a missing key changes nothing.
  CGDManSoul loose;
  loose.attributes = Attributes({{kAttrHp, 90}});
  loose.AddAttribute(kAttrHp, 30);
  EXPECT_EQ(loose.GetAttribute(kAttrHp), 120);
  EXPECT_EQ(loose.AddAttribute(kAttrMp, 5), -1);
  int32_t base = 7;
  EXPECT_EQ(loose.GetAttribute(kAttrMp, &base), 0);
  EXPECT_EQ(base, 0);
}

TEST_F(ManSoulTest, EveryKindOfChangeIsLimited) {
  CGDManSoul soul;
  soul.attributes = Attributes({{kAttrHp, 90}, {kAttrMaxHp, 100}});
  int32_t change = 0;
  soul.SetAttributeValue(kAttrHp, 150, &change);
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 100);
  EXPECT_EQ(change, 10);

  soul.attributes = Attributes({{kAttrHp, 90}, {kAttrMaxHp, 100}});
  int32_t appliedTotal = 0, newValue = 0;
  soul.ScaleAttribute(kAttrHp, 2.0f, appliedTotal, &newValue);
  EXPECT_EQ(newValue, 100);
  EXPECT_EQ(appliedTotal, -10);

  soul.attributes = Attributes({{kAttrHp, 90}, {kAttrMaxHp, 100}});
  int32_t baseOut = 0;
  soul.SetAttributeBase(kAttrHp, 150, &change);
  EXPECT_EQ(soul.GetAttribute(kAttrHp, &baseOut), 100);
  EXPECT_EQ(baseOut, 100);
}

TEST_F(ManSoulTest, PercentModesTruncateTowardZero) {
  struct Case {
    const char* path;
    int32_t base, bonus, percent;
    int32_t change;
  } cases[] = {
      {"scale", 7, 0, 150, 3},      {"scale", 7, 0, 50, -3},      {"scale", 5, 2, 150, 3},  // scales base + bonus
      {"modifier", 7, 100, 150, 3}, {"modifier", 7, 100, 50, -3},                           // scales the base only
      {"effect", 7, 0, 150, 3},     {"effect", 7, 0, 50, -3},
  };
  for (const auto& c : cases) {
    CGDManSoul soul;
    soul.attributes = {{9, c.base, c.bonus}};
    std::string path = c.path;
    if (path == "scale") {
      int32_t total = 0;
      soul.ScaleAttribute(9, c.percent * 0.01f, total, nullptr);
      EXPECT_EQ(total, -c.change) << path << " " << c.percent;
    } else if (path == "modifier") {
      MODIFIERDESC m = Gear(9, c.percent, 1, kModeScale);
      int32_t amount = 0;
      soul.ApplyModifier(m, &amount);
      EXPECT_EQ(amount, c.change) << path << " " << c.percent;
      EXPECT_EQ(m.appliedTotal, -c.change);
    } else {
      EXPECT_EQ(soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeScale, c.percent, 3, 0, 1)), 0);
      ASSERT_EQ(soul.activeEffects.size(), 1u);
      EXPECT_EQ(soul.activeEffects.front().appliedTotal, -c.change) << path << " " << c.percent;
    }
    EXPECT_EQ(soul.GetAttribute(9), c.base + c.bonus + c.change) << path << " " << c.percent;
  }
}

TEST_F(ManSoulTest, RefillSetsCurrentValuesToTheirMaxima) {
  CGDManSoul soul;
  soul.attributes = {{kAttrHp, 10, 5}, {kAttrMaxHp, 80, 20}, {19, 0, 0}, {20, 7, 0}, {9, 1, 0}};
  EXPECT_EQ(soul.RefillAttribute(kAttrHp), 1);
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 100);
  EXPECT_EQ(soul.RefillAttribute(19), 1);
  EXPECT_EQ(soul.GetAttribute(19), 7);
  EXPECT_EQ(soul.RefillAttribute(9), 0);        // not a current key
  EXPECT_EQ(soul.RefillAttribute(kAttrMp), 0);  // missing
}

class ConditionTest : public ManSoulTest {
 protected:
  void SetUp() override {
    ManSoulTest::SetUp();
    CONDITIONDESC poison;
    poison.id = 3;
    poison.rows = {{9, 0, 1}};  // weakens attack while it lasts
    g_gameDataBase.conditions.push_back(poison);
    soul.attributes = Attributes({{9, 50}, {kAttrHp, 90}, {kAttrMaxHp, 100}});
  }
  MODIFIERDESC Poison(int32_t mode, int32_t value) {
    return Modifier(kModOnTarget, kModKindCondition, 3, mode, value, 5);
  }
  CGDManSoul soul;
};

TEST_F(ConditionTest, AWeakerConditionIsIgnoredAndAStrongerOneReplacesIt) {
  struct Case {
    int32_t mode, active, incoming;
    int result;
    int32_t valueInForce;
    int32_t attack;  // 50 changed by the condition in force
  } cases[] = {
      {kModeAdd, -20, -10, 1, -20, 30},   {kModeAdd, -20, -30, 0, -30, 20}, {kModeAdd, -20, -20, 0, -20, 30},
      {kModeScale, 150, 120, 1, 150, 75}, {kModeScale, 50, 80, 1, 50, 25},  {kModeScale, 50, 20, 0, 20, 10},
  };
  for (const auto& c : cases) {
    soul.attributes = Attributes({{9, 50}});
    soul.activeEffects.clear();
    for (auto& stack : soul.conditionStacks) stack.clear();
    ASSERT_EQ(soul.AddEffect(Poison(c.mode, c.active)), 0);
    EXPECT_EQ(soul.AddEffect(Poison(c.mode, c.incoming)), c.result) << c.active << " vs " << c.incoming;
    ASSERT_EQ(soul.activeEffects.size(), 1u);
    EXPECT_EQ(soul.activeEffects.front().value, c.valueInForce);
    // The replaced condition's change was taken back before the new one applied.
    ASSERT_EQ(soul.conditionStacks[3].size(), 1u);
    EXPECT_EQ(soul.GetAttribute(9), c.attack) << c.active << " vs " << c.incoming;
  }
}

TEST_F(ConditionTest, AConditionOfAnotherModeInForceIsInvalid) {
  MODIFIERDESC odd = Poison(kModeAdd, -20);
  odd.mode = 5;
  soul.activeEffects.push_back(odd);
  EXPECT_EQ(soul.AddEffect(Poison(kModeAdd, -30)), -1);
}

TEST_F(ConditionTest, ACureEndsTheConditionAndRevertsItsStack) {
  soul.AddEffect(Poison(kModeAdd, -20));
  EXPECT_EQ(soul.GetAttribute(9), 30);
  EXPECT_EQ(soul.AddEffect(Modifier(kModOnTarget, kModKindCondition, 3, kModeCure, 0, 1)), 1);
  EXPECT_EQ(soul.RemoveEffect(kModKindCondition, 3), 0);
  EXPECT_EQ(soul.GetAttribute(9), 50);
  EXPECT_TRUE(soul.activeEffects.empty());
  EXPECT_TRUE(soul.conditionStacks[3].empty());
  EXPECT_EQ(soul.RemoveEffect(kModKindCondition, 3), -1);
  EXPECT_EQ(soul.RemoveEffect(7, 3), -1);
}

TEST_F(ConditionTest, RevertingAStackedChangeTakesBackOnlyWhatTheLimitLetThrough) {
  CONDITIONDESC vigour;
  vigour.id = 4;
  vigour.rows = {{kAttrHp, 0, 1}};
  g_gameDataBase.conditions.push_back(vigour);
  soul.AddEffect(Modifier(kModOnUser, kModKindCondition, 4, kModeAdd, 50, 3));
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 100);
  soul.RemoveEffect(kModKindCondition, 4);
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 90);
}

TEST_F(ConditionTest, ConditionsOutsideTheStacksPushNothing) {
  EXPECT_EQ(soul.PushModifier(0, nullptr), -1);
  EXPECT_EQ(soul.PushModifier(30, nullptr), -1);
  CONDITIONDESC far;
  far.id = 40;
  far.rows = {{9, 0, 1}};
  g_gameDataBase.conditions.push_back(far);
  EXPECT_EQ(soul.AddEffect(Modifier(kModOnUser, kModKindCondition, 40, kModeAdd, -5, 2)), 0);
  EXPECT_EQ(soul.GetAttribute(9), 50);
  soul.TickEffects(nullptr);
  soul.TickEffects(nullptr);
  soul.TickEffects(nullptr);
  EXPECT_TRUE(soul.activeEffects.empty());
}

TEST_F(ManSoulTest, EffectStepsByPeriodAndRevertsWhenItsTurnsRunOut) {
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}});
  ASSERT_EQ(soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 5, 3, 2, 1)), 0);
  EXPECT_EQ(soul.GetAttribute(9), 55);
  struct Step {
    int32_t value;
    std::vector<std::pair<int32_t, int32_t>> changes;
    size_t active;
  } steps[] = {
      {60, {{9, 5}}, 1},    // 2 turns left: a multiple of the period
      {60, {}, 1},          // 1 left
      {50, {{9, -10}}, 1},  // 0 left: everything taken back
      {50, {}, 0},          // removed
  };
  int tick = 1;
  for (const auto& s : steps) {
    ChangeList changes;
    EXPECT_EQ(soul.TickEffects(&changes), s.changes.empty() ? 0 : 1) << "tick " << tick;
    EXPECT_EQ(soul.GetAttribute(9), s.value) << "tick " << tick;
    ASSERT_EQ(changes.size(), s.changes.size()) << "tick " << tick;
    for (size_t i = 0; i < changes.size(); ++i) {
      EXPECT_EQ(changes[i].key, s.changes[i].first);
      EXPECT_EQ(changes[i].change, s.changes[i].second);
    }
    EXPECT_EQ(soul.activeEffects.size(), s.active) << "tick " << tick;
    ++tick;
  }
}

TEST_F(ManSoulTest, EffectsThatChangeOnceAndKeepNothingAreNotKept) {
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}});
  EXPECT_EQ(soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 5, 3)), 0);
  EXPECT_EQ(soul.GetAttribute(9), 55);
  EXPECT_TRUE(soul.activeEffects.empty());
  // A revert flag, a period or an immunity keeps the effect in the list.
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 5, 3, 0, 1));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 5, 3, 2, 0));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeImmunity, 0, 3));
  EXPECT_EQ(soul.activeEffects.size(), 3u);
}

TEST_F(ConditionTest, AConditionStepsItsStackEveryTurn) {
  CONDITIONDESC bleed;
  bleed.id = 5;
  bleed.rows = {{kAttrHp, 0, 0}};
  g_gameDataBase.conditions.push_back(bleed);
  soul.AddEffect(Modifier(kModOnTarget, kModKindCondition, 5, kModeAdd, -10, 2, 1));
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 80);
  ChangeList changes;
  soul.TickEffects(&changes);
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 70);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].change, -10);
  soul.TickEffects(nullptr);  // last turn: no revert flag, the damage stays
  EXPECT_EQ(soul.GetAttribute(kAttrHp), 70);
  soul.TickEffects(nullptr);
  EXPECT_TRUE(soul.activeEffects.empty());
  EXPECT_TRUE(soul.conditionStacks[5].empty());
}

TEST_F(ManSoulTest, OneCureRemovesEveryAttributeEffectOnTheKeyButNotImmunities) {
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}, {10, 5}});
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 5, 3, 0, 1));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 7, 3, 0, 1));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 10, kModeAdd, 1, 3, 0, 1));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeImmunity, 0, 3));
  EXPECT_EQ(soul.GetAttribute(9), 62);
  EXPECT_EQ(soul.RemoveEffect(kModKindAttribute, 9), 0);
  EXPECT_EQ(soul.GetAttribute(9), 50);
  ASSERT_EQ(soul.activeEffects.size(), 2u);
  EXPECT_EQ(soul.activeEffects.front().key, 10);
  EXPECT_EQ(soul.activeEffects.back().mode, kModeImmunity);
}

TEST_F(ManSoulTest, ImmunitiesAndProtectionsBlockEffects) {
  g_gameDataBase.items.push_back(Item(2, 8, {Modifier(kModOnUser, kModKindCondition, 3, kModeImmunity, 0, -1)}));
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}});
  ASSERT_EQ(soul.Equip(2, 8, nullptr), 1);
  MODIFIERDESC poison = Modifier(kModOnTarget, kModKindCondition, 3, kModeAdd, -5, 3);
  EXPECT_EQ(soul.AddEffect(poison), 2);
  // An incoming immunity with a duration passes the item.
  EXPECT_EQ(soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeImmunity, 0, 4)), 0);
  EXPECT_EQ(soul.HasImmunity(&poison), 0);
  MODIFIERDESC attack = Modifier(kModOnTarget, kModKindAttribute, 9, kModeAdd, -5, 3);
  EXPECT_EQ(soul.HasImmunity(&attack), 1);
  EXPECT_EQ(soul.AddEffect(attack), 2);
  // A longer incoming immunity is not blocked by a shorter one in force.
  EXPECT_EQ(soul.HasImmunity(&soul.activeEffects.front()), 1);
  MODIFIERDESC longer = Modifier(kModOnUser, kModKindAttribute, 9, kModeImmunity, 0, 9);
  EXPECT_EQ(soul.HasImmunity(&longer), 0);

  CGDManSoul guarded;
  guarded.attributes = Attributes({{11, 5}});
  guarded.protections[1] = {{11, 0, kModKindAttribute}};
  EXPECT_EQ(guarded.AddEffect(Modifier(kModOnTarget, kModKindAttribute, 11, kModeAdd, -5, 3)), 2);
  EXPECT_EQ(guarded.GetAttribute(11), 5);
  EXPECT_EQ(guarded.IsImmuneByItem(nullptr, &attack), -1);
}

TEST_F(ManSoulTest, EquippingOverAnOccupiedSlotTakesTheOldItemOffFirst) {
  auto& items = g_gameDataBase.items;
  items.push_back(Item(1, 1, {Gear(9, 10)}));
  items.push_back(Item(1, 2, {Gear(9, 5)}));
  items.push_back(Item(2, 3, {Gear(10, 3, 0)}));  // no revert: its change stays
  items.push_back(Item(7, 4, {Gear(9, 99)}));
  items.push_back(Item(6, 5, {Gear(11, 2)}));
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}, {10, 0}, {11, 0}});

  struct Step {
    const char* what;
    int32_t type, id;
    int result;
    int32_t attack;
    int32_t weaponId;
  } steps[] = {
      {"first weapon", 1, 1, 1, 60, 1},
      {"second weapon replaces it", 1, 2, 1, 55, 2},
      {"carried type refused", 7, 4, 0, 55, 2},
      {"unknown item", 1, 77, 0, 55, 2},
      {"known id of another type", 2, 1, 0, 55, 2},
  };
  for (const auto& s : steps) {
    std::optional<ITEMDESC> old;
    EXPECT_EQ(soul.Equip(s.type, s.id, &old), s.result) << s.what;
    EXPECT_EQ(soul.GetAttribute(9), s.attack) << s.what;
    EXPECT_EQ(soul.GetEquippedId(1), s.weaponId) << s.what;
    if (std::string(s.what) == "second weapon replaces it") {
      ASSERT_TRUE(old.has_value());
      EXPECT_EQ(old->Id(), 1);
      EXPECT_EQ(old->modifiers[0].appliedTotal, 0);
    }
  }
  EXPECT_EQ(soul.Equip(6, 5, nullptr), 1);
  EXPECT_EQ(soul.equipmentIds[0], 5);  // kind 6 is the first slot
  EXPECT_EQ(soul.GetAttribute(11), 2);

  EXPECT_EQ(soul.Equip(2, 3, nullptr), 1);
  EXPECT_EQ(soul.GetAttribute(10), 3);
  std::optional<ITEMDESC> off;
  EXPECT_EQ(soul.Unequip(2, &off), 1);
  EXPECT_TRUE(off.has_value());
  EXPECT_EQ(soul.GetAttribute(10), 3);
  EXPECT_EQ(soul.GetEquippedItem(2), nullptr);
  EXPECT_EQ(soul.Unequip(2, nullptr), 1);  // empty slot
  EXPECT_EQ(soul.Unequip(7, nullptr), 0);
  EXPECT_EQ(soul.Unequip(1, nullptr), 1);
  EXPECT_EQ(soul.GetAttribute(9), 50);
}

TEST_F(ManSoulTest, PreviewAndAffordabilityOfItems) {
  g_gameDataBase.items.push_back(Item(1, 1, {Gear(9, 10), Gear(9, 150, 1, kModeScale), Gear(10, 4)}));
  CGDManSoul soul;
  soul.attributes = {{9, 20, 6}, {kAttrMp, 5, 0}};
  EXPECT_EQ(soul.GetAttributeWithItem(1, 1, 9), 26 + 10 + 10);  // percent counts by the base
  EXPECT_EQ(soul.GetAttributeWithItem(1, 99, 9), 26);

  ITEMDESC spell = Item(8, 2, {Modifier(kModOnUser, kModKindAttribute, kAttrMp, kModeAdd, -6, 0)});
  EXPECT_EQ(soul.CanAffordItem(&spell), 0);
  spell.modifiers[0].value = -5;
  EXPECT_EQ(soul.CanAffordItem(&spell), 1);
  EXPECT_EQ(soul.CanAffordItem(nullptr), 0);
}

TEST_F(ManSoulTest, ActionsReachUsersTargetsAndGroups) {
  SetHitRollRandom(ScriptedRoll);
  CGDManSoul user, a, b;
  for (CGDManSoul* s : {&user, &a, &b}) s->attributes = Attributes({{9, 50}, {kAttrEvasion, 0}});
  user.attributes.push_back({kAttrAccuracy, 0, 0});
  ITEMDESC blow = Item(8, 1,
                       {Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 1, 0),
                        Modifier(kModOnTarget | kModOnGroup, kModKindAttribute, 9, kModeAdd, -4, 0),
                        Gear(9, 100)});  // permanent: never part of an action
  CGDManSoul* group[] = {&a, &b};
  EXPECT_EQ(user.ApplyAction(&blow, nullptr, {}, group), 0);
  EXPECT_EQ(user.GetAttribute(9), 51);
  EXPECT_EQ(a.GetAttribute(9), 46);
  EXPECT_EQ(b.GetAttribute(9), 46);
  EXPECT_EQ(user.ApplyAction(nullptr, &a, {}, {}), -1);

  // Targets: a blocked target and a miss record 1.
  b.protections[0] = {{9, 0, kModKindAttribute}};
  std::vector<int32_t> outcomes;
  g_scriptedRoll = 0;  // d = 0: hits
  user.ApplyActionToTargets(&blow, group, 0, &outcomes);
  EXPECT_EQ(outcomes, (std::vector<int32_t>{0, 1}));
  outcomes.clear();
  g_scriptedRoll = 32767;  // misses
  user.ApplyActionToTargets(&blow, group, 0, &outcomes);
  EXPECT_EQ(outcomes, (std::vector<int32_t>{1, 1}));
  EXPECT_EQ(a.GetAttribute(9), 42);
  outcomes.clear();
  user.ApplyActionToTargets(&blow, group, 1, &outcomes);  // no roll
  EXPECT_EQ(outcomes, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(a.GetAttribute(9), 38);

  // Self with the group: permanent user modifiers count here too.
  CGDManSoul* self[] = {&user};
  user.ApplyActionToAll(&blow, {}, self, 1);
  EXPECT_EQ(user.GetAttribute(9), 51 + 1 + 100);
}

TEST_F(ManSoulTest, EffectQueries) {
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}, {10, 50}});
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, -5, 4, 0, 1));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 10, kModeImmunity, 0, 6));
  EXPECT_EQ(soul.HasEffect(kModKindAttribute), 1);
  EXPECT_EQ(soul.HasEffect(kModKindCondition), 0);
  EXPECT_EQ(soul.GetEffectTurns(kModKindAttribute, 9), 4);
  EXPECT_EQ(soul.GetEffectTurns(kModKindAttribute, 10), 0);  // immunities do not count
  std::vector<int32_t> keys{99};
  soul.GetEffectKeys(kModKindAttribute, keys);
  EXPECT_EQ(keys, std::vector<int32_t>{9});
  EXPECT_EQ(soul.HasRaisingEffect(), 0);
  EXPECT_EQ(soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeScale, 120, 2, 0, 1)), 0);
  EXPECT_EQ(soul.HasRaisingEffect(), 1);
}

TEST_F(ManSoulTest, FinishedEffectsGetTheirLastStep) {
  CGDManSoul soul;
  soul.attributes = Attributes({{9, 50}});
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 5, 1, 0, 1));
  soul.AddEffect(Modifier(kModOnUser, kModKindAttribute, 9, kModeAdd, 3, 4, 0, 1));
  soul.activeEffects.front().turns = 0;
  EXPECT_EQ(soul.RemoveFinishedEffects(), 1);
  EXPECT_EQ(soul.GetAttribute(9), 53);
  EXPECT_EQ(soul.activeEffects.size(), 1u);
}

class HeroSkillTest : public ManSoulTest {
 protected:
  void SetUp() override {
    ManSoulTest::SetUp();
    ITEMDESC focus = Item(0, 7, {Gear(kAttrSkillCapacity, -3), Gear(9, 4)});
    focus.values[kItemPointsNeeded] = 50;
    g_gameDataBase.skills.push_back(focus);
    hero.attributes = Attributes({{kAttrSkillCapacity, 2}, {9, 10}});
  }
  CGDMainManSoul hero;
};

TEST_F(HeroSkillTest, SkillsSwitchOnOnlyWithinTheCapacity) {
  EXPECT_EQ(hero.ToggleSkill(7, 0), 0);  // 2 - 3 < 0
  hero.attributes[0].base = 5;
  EXPECT_EQ(hero.ToggleSkill(7, 0), 1);
  EXPECT_EQ(hero.GetAttribute(kAttrSkillCapacity), 2);
  EXPECT_EQ(hero.GetAttribute(9), 14);
  EXPECT_EQ(hero.ToggleSkill(7, 0), 0);  // on, and no off flag
  EXPECT_EQ(hero.ToggleSkill(7, 1), 1);
  EXPECT_EQ(hero.GetAttribute(kAttrSkillCapacity), 5);
  EXPECT_EQ(hero.GetAttribute(9), 10);
  EXPECT_EQ(hero.ToggleSkill(99, 0), 0);
}

TEST_F(HeroSkillTest, ASwitchedOnSkillCanMakeTheHeroImmune) {
  g_gameDataBase.skills[0].modifiers.push_back(
      Modifier(kModOnUser, kModKindAttribute, 9, kModeImmunity, 0, kPermanentTurns));
  hero.attributes[0].base = 5;
  ASSERT_EQ(hero.ToggleSkill(7, 0), 1);
  EXPECT_EQ(hero.AddEffect(Modifier(kModOnTarget, kModKindAttribute, 9, kModeAdd, -5, 2)), 2);
}

TEST_F(HeroSkillTest, SkillPointsAccumulateToTheNeed) {
  struct Step {
    int32_t id, points;
    int result;
    int32_t progress;
  } steps[] = {
      {99, 10, -1, 0},  // no such skill
      {7, 10, 2, 10},   // new entry
      {7, 20, 0, 30},  {7, 25, 1, 50}, {7, 5, 3, 50},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(hero.AddSkillPoints(s.id, s.points), s.result) << s.points;
    int32_t needed = 0;
    EXPECT_EQ(hero.GetSkillProgress(s.id, &needed), s.progress);
  }
  int32_t needed = 0;
  hero.GetSkillProgress(7, &needed);
  EXPECT_EQ(needed, 50);
  CGDMainManSoul other;
  EXPECT_EQ(other.AddSkillPoints(7, 80), 1);
  EXPECT_EQ(other.GetSkillProgress(7, nullptr), 50);
}

TEST_F(HeroSkillTest, LearningVisitingAndReset) {
  EXPECT_EQ(hero.LearnAction(4), 1);
  EXPECT_EQ(hero.LearnAction(4), 0);
  EXPECT_EQ(hero.HasLearnedAction(4), 1);
  EXPECT_EQ(hero.HasLearnedAction(5), 0);
  EXPECT_EQ(hero.Visit(nullptr, nullptr), 0);
  int seen = 0;
  EXPECT_EQ(hero.Visit(
                [](CGDMainManSoul* h, void* user) {
                  *static_cast<int*>(user) = h->HasLearnedAction(4);
                  return 7;
                },
                &seen),
            7);
  EXPECT_EQ(seen, 1);
  hero.levelTable.resize(2);
  hero.activeEffects.push_back({});
  hero.equipment[1] = Item(1, 1);
  hero.equipmentIds[1] = 1;
  hero.Reset();
  EXPECT_TRUE(hero.attributes.empty());
  EXPECT_TRUE(hero.learnedActions.empty());
  EXPECT_TRUE(hero.levelTable.empty());
  EXPECT_TRUE(hero.activeEffects.empty());
  EXPECT_EQ(hero.GetEquippedItem(1), nullptr);
  EXPECT_EQ(hero.equipmentIds[1], 0);
}

TEST_F(ManSoulTest, EnemyPairsAndReset) {
  CGDEnemySoul enemy;
  enemy.pairs = {{1, 10}, {2, 20}, {3, 20}};
  enemy.values = {40, 25, 0, 0};
  EXPECT_EQ(enemy.GetPairFirst(20), 2);
  EXPECT_EQ(enemy.GetPairSecond(3), 20);
  EXPECT_EQ(enemy.GetPairFirst(99), -1);
  EXPECT_EQ(enemy.GetPairSecond(99), -1);
  EXPECT_EQ(enemy.GetMoneyValue(), 40);
  EXPECT_EQ(enemy.GetExperienceValue(), 25);
  CGDEnemySoul copy = enemy;
  copy.ClearPairs();
  EXPECT_TRUE(copy.pairs.empty());
  EXPECT_EQ(enemy.pairs.size(), 3u);
  enemy.drops.push_back({1, 1, 8});
  enemy.Reset();
  EXPECT_EQ(enemy.GetMoneyValue(), 0);
  EXPECT_TRUE(enemy.drops.empty());
  EXPECT_TRUE(enemy.pairs.empty());
}

}  // namespace
