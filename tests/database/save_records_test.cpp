#include <gtest/gtest.h>

#include "database/game_database.h"
#include "database/save_records.h"
#include "tests/database/database_test_support.h"
#include "tests/support/captures.h"

namespace {

using dbtest::Attributes;
using dbtest::Gear;
using dbtest::Item;
using dbtest::Modifier;

bool SameModifier(const MODIFIERDESC& a, const MODIFIERDESC& b) {
  return a.flags == b.flags && a.kind == b.kind && a.key == b.key && a.period == b.period && a.turns == b.turns &&
         a.mode == b.mode && a.value == b.value && a.revertFlag == b.revertFlag && a.appliedTotal == b.appliedTotal &&
         a.reserved == b.reserved;
}

class SaveRecordsTest : public dbtest::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    CONDITIONDESC weak;
    weak.id = 2;
    weak.rows = {{9, 0, 1}};
    g_gameDataBase.conditions.push_back(weak);
    ITEMDESC sword = Item(1, 1, {Gear(9, 10)});
    sword.name = "Oak Sword";
    sword.iconName = "it_sword";
    sword.description = "A plain blade.";
    g_gameDataBase.items.push_back(sword);
    g_gameDataBase.items.push_back(Item(6, 4, {Gear(11, 2)}));
    ITEMDESC focus = Item(0, 7, {Gear(12, 3)});
    g_gameDataBase.skills.push_back(focus);
    for (int32_t id : {1, 2}) {
      CGDMainManSoul hero;
      hero.id = id;
      g_gameDataBase.heroes.push_back(hero);
    }
  }

  // A hero in the middle of a game: every saved part holds something.
  void Play(CGDMainManSoul& hero) {
    hero.stateWord = 9;
    hero.attributes = Attributes({{9, 50}, {11, 0}, {12, 0}, {kAttrHp, 70}, {kAttrMaxHp, 100}});
    hero.Equip(1, 1, nullptr);
    hero.Equip(6, 4, nullptr);
    hero.AddEffect(Modifier(kModOnTarget, kModKindCondition, 2, kModeAdd, -5, 3));
    hero.AddEffect(Modifier(kModOnTarget, kModKindAttribute, kAttrHp, kModeAdd, 4, 2, 1, 1));
    hero.protections[3] = {{6, 0, 0}, {7, 0, 1}};
    hero.LearnAction(101);
    hero.LearnAction(103);
    hero.skillProgress.push_back({7, 20, 50});
    hero.ToggleSkill(7, 0);
  }
};

TEST_F(SaveRecordsTest, APartyComesBackWhole) {
  CParty& party = g_gameDataBase.party;
  party.header = {1, 2, 3, 4, 5000, 6, 7, 8};
  party.members = {1, 2, 3};
  party.ChangeItemCount(3, 5, 8, 0);
  party.ChangeItemCount(9, 1, 7, 0);
  party.ChangeItemCount(4, 1, 3, 0);
  plat::ByteWriter w;
  WritePartyChunk(party, w);
  EXPECT_EQ(w.Size(), 32u + 2 + 12 + 5 * 2 + 3 * 12);

  CParty loaded;
  plat::ByteReader r(w.Bytes());
  ASSERT_TRUE(ReadPartyChunk(r, loaded));
  EXPECT_EQ(loaded.header, party.header);
  EXPECT_EQ(loaded.members, party.members);
  for (int list = 0; list < kPartyListCount; ++list) {
    ASSERT_EQ(loaded.itemLists[list].size(), party.itemLists[list].size());
    for (size_t i = 0; i < party.itemLists[list].size(); ++i) {
      EXPECT_EQ(loaded.itemLists[list][i].id, party.itemLists[list][i].id);
      EXPECT_EQ(loaded.itemLists[list][i].count, party.itemLists[list][i].count);
      EXPECT_EQ(loaded.itemLists[list][i].type, party.itemLists[list][i].type);
    }
  }

  // A damaged chunk leaves the party as it was.
  testsupport::DebugTraceCapture trace;
  std::vector<uint8_t> cut(w.Bytes().begin(), w.Bytes().end() - 3);
  plat::ByteReader shortReader(cut);
  EXPECT_FALSE(ReadPartyChunk(shortReader, loaded));
  EXPECT_EQ(loaded.members, party.members);
  EXPECT_FALSE(trace.Lines().empty());
}

TEST_F(SaveRecordsTest, AHeroComesBackWithoutItsEquipmentAppliedTwice) {
  CGDMainManSoul& hero = g_gameDataBase.heroes[0];
  Play(hero);
  ASSERT_EQ(hero.GetAttribute(9), 55);  // 50 + sword 10 - condition 5
  ASSERT_EQ(hero.GetAttribute(12), 3);
  const CGDMainManSoul saved = hero;
  plat::ByteWriter w;
  for (const auto& h : g_gameDataBase.heroes) WriteCharacterRecord(h, w);

  for (auto& h : g_gameDataBase.heroes) {
    h.CGDManSoul::Reset();
    h.learnedActions.clear();
    h.skillProgress.clear();
    h.switchedOnSkills.clear();
  }
  plat::ByteReader r(w.Bytes());
  ASSERT_TRUE(ReadCharacterRecords(r, 2, g_gameDataBase));
  EXPECT_EQ(r.Remaining(), 0u);

  EXPECT_EQ(hero.stateWord, 9);
  ASSERT_EQ(hero.attributes.size(), saved.attributes.size());
  for (size_t i = 0; i < saved.attributes.size(); ++i) {
    EXPECT_EQ(hero.attributes[i].key, saved.attributes[i].key);
    EXPECT_EQ(hero.attributes[i].base, saved.attributes[i].base);
    EXPECT_EQ(hero.attributes[i].bonus, saved.attributes[i].bonus);
  }
  EXPECT_EQ(hero.GetAttribute(9), 55);
  ASSERT_EQ(hero.activeEffects.size(), 2u);
  EXPECT_TRUE(SameModifier(hero.activeEffects.back(), saved.activeEffects.back()));
  ASSERT_EQ(hero.conditionStacks[2].size(), 1u);
  EXPECT_TRUE(SameModifier(hero.conditionStacks[2][0], saved.conditionStacks[2][0]));
  ASSERT_EQ(hero.protections.size(), 1u);
  EXPECT_EQ(hero.protections[3].size(), 2u);
  EXPECT_EQ(hero.protections[3][1].kind, 1);
  EXPECT_EQ(hero.equipmentIds, saved.equipmentIds);
  ASSERT_NE(hero.GetEquippedItem(1), nullptr);
  EXPECT_EQ(hero.GetEquippedItem(1)->name, "Oak Sword");
  EXPECT_EQ(hero.GetEquippedItem(1)->iconName, "it_sword");
  EXPECT_EQ(hero.GetEquippedItem(1)->modifiers[0].appliedTotal, -10);  // totals kept for the revert
  EXPECT_EQ(hero.learnedActions, saved.learnedActions);
  ASSERT_EQ(hero.skillProgress.size(), 1u);
  EXPECT_EQ(hero.skillProgress[0].points, 20);
  ASSERT_EQ(hero.switchedOnSkills.size(), 1u);
  EXPECT_EQ(hero.switchedOnSkills.front().Id(), 7);

  // Taking the sword off after the load reverts exactly what it gave.
  hero.Unequip(1, nullptr);
  EXPECT_EQ(hero.GetAttribute(9), 45);
}

TEST_F(SaveRecordsTest, UnknownHeroesAreSkippedAndDamageIsReported) {
  CGDMainManSoul stranger;
  stranger.id = 99;
  Play(stranger);
  Play(g_gameDataBase.heroes[1]);
  plat::ByteWriter w;
  WriteCharacterRecord(stranger, w);
  WriteCharacterRecord(g_gameDataBase.heroes[1], w);
  g_gameDataBase.heroes[1].CGDManSoul::Reset();

  plat::ByteReader r(w.Bytes());
  ASSERT_TRUE(ReadCharacterRecords(r, 2, g_gameDataBase));
  EXPECT_EQ(g_gameDataBase.heroes[1].GetAttribute(9), 55);
  EXPECT_TRUE(g_gameDataBase.heroes[0].attributes.empty());

  for (size_t cut : {size_t{3}, size_t{40}, w.Size() / 2, w.Size() - 1}) {
    std::vector<uint8_t> bytes(w.Bytes().begin(), w.Bytes().begin() + cut);
    plat::ByteReader shortReader(bytes);
    testsupport::DebugTraceCapture trace;
    EXPECT_FALSE(ReadCharacterRecords(shortReader, 2, g_gameDataBase)) << cut;
    EXPECT_FALSE(trace.Lines().empty()) << cut;
  }
}

}  // namespace
