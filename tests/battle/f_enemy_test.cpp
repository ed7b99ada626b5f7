#include "battle/f_enemy.h"

#include <gtest/gtest.h>

#include "battle/f_master.h"
#include "components/efficacy.h"
#include "database/enemy_soul.h"
#include "database/game_database.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/action_table_writer.h"

namespace battletest {
namespace {

TEST(EnemyLevels, FactorGrowsEverySevenLevelsUpTo204) {
  const struct {
    int level;
    float factor;
  } cases[] = {{6, 1.00f}, {7, 1.13f}, {55, 1.91f}, {56, 2.04f}, {70, 2.04f}};
  for (const auto& c : cases) EXPECT_NEAR(CFEnemy::LevelFactor(c.level), c.factor, 1e-5f) << c.level;
}

// Enemy 101 ("wolf") in the database with level, HP, MP, power and defences,
// a hero of a given level, and the battle files.
class EnemyTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    CGDEnemySoul wolf;
    wolf.id = 101;
    wolf.kind = 101;
    wolf.modelName = "wolf";
    for (int key = 1; key <= 15; ++key) wolf.attributes.push_back({key, key == 1 ? 3 : 100, 0});
    saved_ = g_gameDataBase.enemies;
    g_gameDataBase.enemies = {wolf};
    hero_.soul = &heroSoul_;
    heroSoul_.attributes.push_back({1, 7, 0});
    WriteModel("wolf", 4);
  }
  void TearDown() override {
    enemy_.Reset();
    g_gameDataBase.enemies = saved_;
  }

  void Files(const std::vector<int>& ids, const std::string& ai, bool hitRow) {
    std::string error;
    ASSERT_TRUE(datagen::WriteActionTable("creature/battle/kbs.acb", {datagen::BattleActionRecord(101, ids)}, error));
    std::string hv = "#Describle\nrows 1\n#Begin\n" + std::string(hitRow ? "101" : "102");
    for (float v : datagen::BattleHitVertices()) hv += " " + std::to_string(v);
    hv += "\n#EndDescrible\n";
    ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/HitVertice.txt", hv.data(), hv.size()));
    ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/Ai.txt", ai.data(), ai.size()));
    sys_ = std::make_unique<CBattleSys>();
    sys_->hero = &hero_;
  }

  std::vector<CGDEnemySoul> saved_;
  CGDManSoul heroSoul_;
  CFMaster hero_;
  std::unique_ptr<CBattleSys> sys_;
  CFEnemy enemy_;
};

TEST_F(EnemyTest, SpawnScalesReadsSwitchesAndPicksTheStyle) {
  Files({11, 131, 151},
        "// styles\n#BEGIN_STY\nother 1 1 1 1 1 1 1 1 1 1 1 1 1\nWoLF 1 0 0 1 2 0 0 0 0 0 0 0 1\n#END_STY\n", true);
  enemy_.SetOwner(sys_.get(), 101);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(enemy_.kind, 1);
  EXPECT_EQ(enemy_.soul->GetAttribute(5), 113);
  EXPECT_EQ(enemy_.soul->GetAttribute(6), 113);
  EXPECT_EQ(enemy_.soul->GetAttribute(15), 113);
  EXPECT_EQ(enemy_.soul->GetAttribute(1), 3) << "the level stays";
  EXPECT_EQ(enemy_.style, 2);
  EXPECT_EQ(enemy_.switches->entries, (std::vector<int>{1, 4, 13})) << "2 enables nothing";
  EXPECT_EQ(enemy_.target, &hero_);
  for (const MESHVERTEX* v : enemy_.body->hitVertices) EXPECT_NE(v, nullptr);
  EXPECT_EQ(enemy_.ReceiveMessage(nullptr), 0);
  BATTLEMSG blow;
  blow.type = 9;
  EXPECT_EQ(enemy_.ReceiveMessage(&blow), 0) << "no state answers type 9";
}

TEST_F(EnemyTest, WithoutAHitVertexRowTheSpawnWarnsAndGoesOn) {
  Files({11, 131}, "", false);
  enemy_.SetOwner(sys_.get(), 101);
  EXPECT_TRUE(boxes_.Contains("Warning", "Canot find vertices data from src file"));
  ASSERT_NE(enemy_.body, nullptr);
  EXPECT_EQ(enemy_.style, 0);
  EXPECT_TRUE(enemy_.switches->entries.empty());
  VECTOR3 points[6] = {};
  enemy_.body->GetHitPoints(points, 3);
  EXPECT_GT(points[0].z, points[1].z) << "the head aims at the top of the box, the body at its middle";
}

TEST_F(EnemyTest, MessagesAndPower) {
  Files({11, 131, 521}, "", true);
  enemy_.SetOwner(sys_.get(), 101);
  BATTLEMSG m;
  ASSERT_EQ(enemy_.BuildMessage(1, &m), 1);
  EXPECT_EQ(m.code, 7);
  EXPECT_EQ(m.Get(1), 113);
  EXPECT_GE(m.Get(4), 0);
  EXPECT_LT(m.Get(4), 6);
  BATTLEMSG cure;
  ASSERT_EQ(enemy_.BuildMessage(2, &cure), 1);
  EXPECT_GE(cure.Get(1), 113 * 20 / 100 + 1);
  EXPECT_LE(cure.Get(1), 113 * 39 / 100 + 1);
  BATTLEMSG other;
  EXPECT_EQ(enemy_.BuildMessage(3, &other), 0);
  enemy_.switches->Add(CFEnemy::kDisarmedMark);
  EXPECT_EQ(enemy_.GetAttackPower(), 79);

  plat::CreateDirectories("Data/Efficacy");
  const std::string junk = "x";
  for (int pose : {2, 3}) {
    char name[64];
    std::snprintf(name, sizeof name, "Data/Efficacy/wolfe%03d.efc", pose);
    ASSERT_TRUE(plat::WriteFileAtomic(name, junk.data(), junk.size()));
  }
  EXPECT_EQ(enemy_.StartAction(521), 1);
  EXPECT_EQ(enemy_.body->effect->Name(), "") << "521 to 526 start no effect file";
  EXPECT_EQ(enemy_.StartAction(131), 1);
  EXPECT_EQ(enemy_.body->effect->Name(), "wolfe002") << "other actions try their pose's file";
  ASSERT_NE(enemy_.hpBar.node, 0);
  EXPECT_EQ(enemy_.hpBar.target, enemy_.boxNode) << "the HP bar follows the wire box";
  EXPECT_EQ(enemy_.hpBar.width, 16);
  EXPECT_EQ(enemy_.hpBar.height, 3);
  EXPECT_FLOAT_EQ(enemy_.hpBar.percent, 100);
  enemy_.ChangeHP(-13, 0);
  EXPECT_EQ(enemy_.soul->GetAttribute(6), 100);
  EXPECT_NEAR(enemy_.hpBar.percent, 100.0f * 100 / 113, 1e-3f);
  enemy_.hpBar.Show(1);
  enemy_.Reset();
  EXPECT_EQ(enemy_.hpBar.shown, 0) << "a reset hides the bar";
}

}  // namespace
}  // namespace battletest
