#include "battle/battle_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "tests/battle/battle_sys_fixture.h"

namespace battletest {
namespace {

constexpr int kHero = 0x10000;
constexpr int kWave = 0xffff;

class BattleScriptTest : public BattleSysTest {
 protected:
  CBattleScript* Script() { return CBattleScript::Instance(); }
  // The battle started with these enemies and this script.
  void Begin(const datagen::BattleScript& script, const std::vector<int>& enemies, int battleId = 0) {
    WriteScript(script);
    ASSERT_EQ(StartWith(enemies, battleId), 1);
  }
};

TEST_F(BattleScriptTest, ConditionItemsOnTheHeroAndTheEnemies) {
  // Hero HP 200 of 200, MP 100; enemies 101 and 102 with HP 80 of 80, MP 10.
  Begin({{{kHero, 0x10001, 0x10002, 200},  // 0 HP <= 200
          {kHero, 0x10001, 0x10001, 200},  // 1 HP < 200
          {kHero, 0x10001, 0x10003, 200},  // 2 HP == 200
          {kHero, 0x10001, 0x10004, 201},  // 3 HP >= 201
          {kHero, 0x10002, 0x10003, 100},  // 4 MP == 100
          {kHero, 0x10001, 0x10009, 0},    // 5 an unknown comparison
          {kHero, 0x10003, 0x10004, 30},   // 6 30 frames or more
          {kHero, 0x10007, 0x10003, 0},    // 7 another number: 0
          {kHero, 0x40002, 0, 0},          // 8 hurt
          {102, 0x40001, 0, 0},            // 9 enemy 102 down or paralysed
          {kWave, 0x40001, 0, 0},          // 10 every enemy down or paralysed
          {101, 0x20001, 0x20002, 0},      // 11 101 not paralysed
          {101, 0x20001, 0, 0},            // 12 101 paralysed
          {102, 0x20002, 0, 0},            // 13 102 disarmed
          {102, 0x20005, 0x20002, 0},      // 14 another flag: clear
          {kHero, 0x40005, 0, 0},          // 15 another state test
          {kHero, 0x5, 0, 0},              // 16 no test at all
          {555, 0x20001, 0x20002, 0}},     // 17 a kind not in the wave
         {},
         {}},
        {101, 102});
  CBattleSys* sys = sys_.get();
  CBattleScript* script = Script();
  const int fresh[] = {1, 0, 1, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 18; ++i) EXPECT_EQ(script->CheckItem(sys, i), fresh[i]) << i;

  sys->hero->soul->AddAttribute(6, -1);
  script->elapsed = 30;
  sys->enemies[1]->flags |= CFightingMan::kDown | CFightingMan::kDisarmed;
  sys->enemies[0]->flags |= CFightingMan::kParalysed;
  const int later[] = {1, 1, 0, 0, 1, 0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0};
  for (int i = 0; i < 18; ++i) EXPECT_EQ(script->CheckItem(sys, i), later[i]) << i;

  EXPECT_EQ(script->CheckItem(sys, 18), 0) << "past the items";
  EXPECT_EQ(script->CheckItem(sys, -1), 0);

  // An empty wave passes as a whole.
  sys->NextWave();
  EXPECT_EQ(script->CheckItem(sys, 10), 1);
  EXPECT_EQ(script->CheckItem(sys, 9), 0);
}

TEST_F(BattleScriptTest, ExpressionsDecideTheBattle) {
  Begin({{{kHero, 0x10001, 0x10002, 0},  // 0 hero down
          {kWave, 0x40001, 0, 0}},       // 1 wave down
         {},
         {{0, 2, "0"}, {0, 1, "0&1"}, {0, 1, "1"}, {3, 1, "0"}}},
        {101});
  CBattleScript* script = Script();
  EXPECT_EQ(script->winExpression, 2) << "the later win expression";
  EXPECT_EQ(script->loseExpression, 0);
  EXPECT_EQ(script->Check(sys_.get(), 4), 0);
  EXPECT_EQ(script->elapsed, 4);
  EXPECT_EQ(Result(), 0);

  sys_->enemies[0]->flags |= CFightingMan::kDown;
  EXPECT_EQ(script->Check(sys_.get(), 1), 1);
  EXPECT_EQ(Result(), 1);

  sys_->enemies[0]->flags = 0;
  sys_->hero->soul->SetAttributeBase(6, 0);
  EXPECT_EQ(script->Check(sys_.get(), 1), -1);
  EXPECT_EQ(Result(), -1);
  sys_->hero->soul->SetAttributeBase(6, 50);
  EXPECT_EQ(script->Check(sys_.get(), 1), 0);
  EXPECT_EQ(Result(), -1) << "a decision stays";

  // Another battle has no lose expression: nothing to hold; operand 7 is no item.
  sys_.reset();
  Begin({{{kHero, 0x10001, 0x10004, 0}}, {}, {{3, 1, "7|!0"}}}, {101}, 3);
  EXPECT_EQ(Script()->loseExpression, -1);
  EXPECT_EQ(Script()->Check(sys_.get(), 1), 0);
  EXPECT_EQ(CBattleScript::OperandProc("7"), 0);
  EXPECT_EQ(CBattleScript::OperandProc("0"), 1);
  EXPECT_EQ(CBattleScript::OperandProc("99999999999999999999"), 0);
}

TEST_F(BattleScriptTest, Operators) {
  struct Case {
    int left, right, code, count, value;
  };
  const Case cases[] = {
      {0, 5, 101, 1, 5}, {0, 5, 102, 1, -5}, {1, 1, 201, 2, 1}, {1, 0, 201, 2, 0}, {0, 0, 202, 2, 0}, {0, 3, 202, 2, 1},
      {1, 0, 203, 2, 1}, {0, 1, 203, 2, 0},  {7, 0, 203, 2, 1}, {1, 1, 204, 2, 0}, {0, 1, 103, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CBattleScript::OperatorProc(c.left, c.right, c.code, c.count), c.value)
        << c.left << " " << c.code << " " << c.right;
  }
}

TEST_F(BattleScriptTest, LimitsOfThisBattle) {
  Begin({{}, {{4, 101, 0x20001, 0}, {4, 101, 0x20001, 9}, {4, 102, 0x20002, 3}, {5, 103, 0x20001, 0}}, {}}, {101}, 4);
  EXPECT_EQ(sys_->GetScriptValue(101, 0x20001), 0) << "the first record";
  EXPECT_EQ(sys_->GetScriptValue(102, 0x20002), 3);
  EXPECT_EQ(sys_->GetScriptValue(103, 0x20001), -1) << "another battle's";
  EXPECT_EQ(sys_->GetScriptValue(102, 0x20001), -1) << "absent";
  EXPECT_EQ(Script()->limits.size(), 3u);
}

TEST_F(BattleScriptTest, MissingFiles) {
  ASSERT_TRUE(plat::RemoveFile("creature/battle/sbe.sc"));
  Make();
  // Which folder and file were looked for, for a game started in the wrong folder.
  const std::string expected = (std::filesystem::current_path() / "creature" / "battle" / "sbe.sc").string();
  EXPECT_TRUE(boxes_.Contains("", "Open file error: " + expected)) << expected;
  EXPECT_TRUE(Script()->store->expressions.empty());
  EXPECT_TRUE(Script()->store->limits.empty());
  ASSERT_EQ(StartWith({101}), 1);
  EXPECT_EQ(Script()->Check(sys_.get(), 1), 0);
  EXPECT_EQ(Script()->LoadThrows("nothing.txt"), 0);
}

TEST_F(BattleScriptTest, TrapThrows) {
  std::string error;
  ASSERT_TRUE(
      datagen::WriteThrowData("creature/battle/scriptdata.txt", {{3, {{1, 2, 3}, {4, 5, 6}}}, {4, {{7, 8, 9}}}}, error))
      << error;
  Make();
  CBattleScript* script = Script();
  EXPECT_EQ(script->throwCount, 1);
  EXPECT_EQ(script->throwLevel, 4);
  ASSERT_EQ(script->throwPositions.size(), 3u);
  EXPECT_EQ(script->throwPositions[2].x, 7);
  EXPECT_EQ(script->throwPositions[1].z, 6);
}

}  // namespace
}  // namespace battletest
