#include <gtest/gtest.h>

#include "database/game_database.h"
#include "database/party.h"
#include "tests/database/database_test_support.h"

namespace {

using dbtest::Attributes;
using dbtest::Modifier;

class PartyTest : public dbtest::DatabaseTest {
 protected:
  CParty& party = g_gameDataBase.party;
};

TEST_F(PartyTest, TypesMapToTheirLists) {
  struct Case {
    int32_t type;
    int list;
  } cases[] = {{8, kListType8}, {7, kListType7}, {6, kListType6}, {1, kListType1}, {2, kListGear},
               {3, kListGear},  {4, kListGear},  {5, kListGear},  {0, -1},         {9, -1}};
  for (const auto& c : cases) EXPECT_EQ(PartyListOfType(c.type), c.list) << c.type;
}

TEST_F(PartyTest, ChangeItemCountAddsSetsAndRemoves) {
  struct Step {
    const char* what;
    int32_t id, amount, type;
    int setFlag;
    int result;
    int32_t count;
  } steps[] = {
      {"new entry", 3, 4, 8, 0, 0, 4},
      {"grows", 3, 2, 8, 0, 0, 6},
      {"no upper limit here", 3, 150, 8, 1, 0, 150},
      {"set to 0 removes", 3, 0, 8, 1, 0, 0},
      {"negative amount for an absent entry", 3, -5, 8, 0, -1, 0},
      {"type outside 1 to 8", 3, 5, 9, 0, -1, 0},
      {"falls to 0 and is removed", 4, 2, 7, 0, 0, 2},
      {"", 4, -2, 7, 0, 0, 0},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(party.ChangeItemCount(s.id, s.amount, s.type, s.setFlag), s.result) << s.what;
    EXPECT_EQ(party.GetItemCount(s.type, s.id), s.count) << s.what;
  }
  for (const auto& list : party.itemLists) EXPECT_TRUE(list.empty());
  EXPECT_EQ(party.GetItemCount(0, 3), 0);
}

TEST_F(PartyTest, RemovingAMiddleEntryKeepsTheOrder) {
  for (int32_t id : {1, 2, 3, 4}) party.ChangeItemCount(id, 1, 2 + id % 4, 0);
  party.ChangeItemCount(2, 0, 4, 1);
  ASSERT_EQ(party.itemLists[kListGear].size(), 3u);
  EXPECT_EQ(party.itemLists[kListGear][0].id, 1);
  EXPECT_EQ(party.itemLists[kListGear][1].id, 3);
  EXPECT_EQ(party.itemLists[kListGear][2].id, 4);
  // Types sharing a list are told apart by type.
  EXPECT_EQ(party.GetItemCount(3, 1), 1);
  EXPECT_EQ(party.GetItemCount(2, 1), 0);
}

TEST_F(PartyTest, MoneyIsKeptWithinItsRange) {
  struct Case {
    int64_t set, money;
  } cases[] = {{500, 500}, {1500000, 999999}, {999999, 999999}, {-5, 0}, {0, 0}};
  for (const auto& c : cases) {
    party.SetMoney(c.set);
    EXPECT_EQ(party.GetMoney(), c.money) << c.set;
    EXPECT_EQ(party.header[CParty::kMoney], c.money);
  }
}

TEST_F(PartyTest, MembersAndReset) {
  CGDMainManSoul hero;
  hero.id = 1;
  g_gameDataBase.heroes.push_back(hero);
  CGDMainManSoul other;
  other.id = 2;
  g_gameDataBase.heroes.push_back(other);
  party.members = {1, 5};
  EXPECT_EQ(party.FindMember(1), g_gameDataBase.FindHero(1));
  EXPECT_EQ(party.FindMember(2), nullptr);  // a hero, but not a member
  EXPECT_EQ(party.FindMember(5), nullptr);  // a member without a hero record
  party.header = {1, 2, 3, 4, 5, 6, 7, 8};
  party.ChangeItemCount(1, 1, 1, 0);
  party.Clear();
  EXPECT_EQ(party.header[2], 0);
  EXPECT_EQ(party.members.size(), 2u);
  party.Reset();
  EXPECT_TRUE(party.members.empty());
  EXPECT_EQ(party.GetItemCount(1, 1), 0);
}

TEST_F(PartyTest, MemberEffectsTickAndClearWithTheirChangesTakenBack) {
  CONDITIONDESC weak;
  weak.id = 2;
  weak.rows = {{9, 0, 1}};
  g_gameDataBase.conditions.push_back(weak);
  CGDMainManSoul hero;
  hero.id = 1;
  hero.attributes = Attributes({{9, 50}, {10, 20}});
  g_gameDataBase.heroes.push_back(hero);
  party.members = {1};
  CGDMainManSoul* member = g_gameDataBase.FindHero(1);
  member->AddEffect(Modifier(kModOnTarget, kModKindCondition, 2, kModeAdd, -10, 5));
  member->AddEffect(Modifier(kModOnTarget, kModKindAttribute, 10, kModeAdd, -5, 5, 1, 1));
  EXPECT_EQ(member->GetAttribute(9), 40);
  EXPECT_EQ(member->GetAttribute(10), 15);
  party.TickMemberEffects();
  EXPECT_EQ(member->GetAttribute(10), 10);
  EXPECT_EQ(member->activeEffects.front().turns, 4);
  party.ClearMemberEffects();
  EXPECT_EQ(member->GetAttribute(9), 50);
  EXPECT_EQ(member->GetAttribute(10), 20);
  EXPECT_TRUE(member->activeEffects.empty());
  EXPECT_TRUE(member->conditionStacks[2].empty());
}

}  // namespace
