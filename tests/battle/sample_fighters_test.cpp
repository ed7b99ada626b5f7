// The sample world's heroes and wolf as the battle sets them up.
#include <gtest/gtest.h>

#include <memory>

#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "components/efficacy.h"
#include "database/database_loader.h"
#include "database/game_database.h"
#include "engine/core/math3d.h"
#include "engine/core/node_transforms.h"
#include "tests/battle/battle_fixture.h"
#include "tests/database/database_test_support.h"
#include "tools/datagen/battle_models.h"
#include "tools/datagen/sample_world.h"

namespace battletest {
namespace {

using namespace datagen::sample;

class SampleFightersTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    dbtest::ClearDatabase();
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
    loader_ = std::make_unique<CGameDataLoader>(0);
    sys_ = std::make_unique<CBattleSys>();
  }
  void TearDown() override {
    sys_.reset();
    loader_.reset();
    dbtest::ClearDatabase();
  }

  std::unique_ptr<CGameDataLoader> loader_;
  std::unique_ptr<CBattleSys> sys_;
};

TEST_F(SampleFightersTest, HeroesAndTheWolfSpawnWithTheirActionsAndVertices) {
  const struct {
    int id;
    const char* model;
    float thrownReach;
  } heroes[] = {{kFirstHeroId, "m001", 10}, {kSecondHeroId, "m004", 0}};
  for (const auto& h : heroes) {
    CFMaster hero;
    hero.SetOwner(sys_.get(), h.id);
    ASSERT_NE(hero.body, nullptr) << h.model;
    char base[32] = {};
    hero.GetModelBaseName(base, sizeof base);
    EXPECT_STREQ(base, h.model);
    EXPECT_EQ(hero.actions.size(), datagen::HeroActionIds().size()) << h.model;
    EXPECT_EQ(hero.GetReach(0, 0), h.thrownReach) << h.model << ": the knife first in the type-8 list";
    EXPECT_GT(hero.GetAttackPower(), 1) << h.model;
    for (int key : {5, 7, 9, 10, 15, 16, 18, 21}) EXPECT_GT(hero.soul->GetAttribute(key), 0) << h.model << " " << key;
    EXPECT_GT(hero.soul->GetAttribute(8), 150) << h.model << ": MP for every command";
  }
  EXPECT_GT(g_gameDataBase.FindHero(kFirstHeroId)->GetAttribute(34), 0);

  CFMaster hero;
  hero.SetOwner(sys_.get(), kFirstHeroId);
  ASSERT_NE(hero.EquippedWeapon(), nullptr);
  EXPECT_LE(hero.EquippedWeapon()->values[kItemMpCost], hero.soul->GetAttribute(8));
  sys_->hero = &hero;
  CFEnemy wolf;
  wolf.SetOwner(sys_.get(), kEnemyId);
  EXPECT_TRUE(boxes_.Boxes().empty()) << "every hit vertex lies on the wolf's model";
  ASSERT_NE(wolf.body, nullptr);
  for (const MESHVERTEX* v : wolf.body->hitVertices) EXPECT_NE(v, nullptr);
  EXPECT_EQ(wolf.actions.size(), datagen::WolfActionIds().size());
  for (int n : {1, 4, 5}) EXPECT_TRUE(wolf.switches->Has(n)) << n << ": approach, attacks 4 and 5";
  for (int key : {1, 7, 10, 15}) EXPECT_GT(wolf.soul->GetAttribute(key), 0) << key;

  ASSERT_EQ(hero.StartAction(101), 1);
  EXPECT_EQ(hero.body->current[ACTIONDESC::POSE], 1);
  EXPECT_GT(hero.GetActionParam(104, 0), 0) << "the blow with an enemy in reach has a hit frame";
  EXPECT_EQ(hero.GetActionParam(101, 0), 0) << "the step strikes nothing";
  ASSERT_EQ(hero.PlayActionEffect(), 1);
  ASSERT_NE(hero.body->effect, nullptr);
  EXPECT_EQ(hero.body->effect->Name(), "m001e001");
  wolf.Reset();
  sys_->hero = nullptr;
}

// Without an enemy in reach the direction keys step: each step carries the
// hero its own distance along his forward and side axes.
TEST_F(SampleFightersTest, TheHerosStepsMoveHim) {
  const struct {
    int action;
    float forward;
    float right;
  } steps[] = {{101, 40, 0}, {107, -40, 0}, {117, 0, -40}, {118, 0, 40}, {102, 28, -28}, {113, 120, 0}};
  for (const auto& step : steps) {
    CFMaster hero;
    hero.SetOwner(sys_.get(), kFirstHeroId);
    ASSERT_NE(hero.body, nullptr);
    const HOBJECT node = hero.body->Node();
    VECTOR3 start{0, 0, 0}, forward{0, 0, 0}, up{0, 0, 0};
    GetNodeWorldVectors(node, &start, &forward, &up);
    VECTOR3 right{0, 0, 0};
    CrossVector3(&right, &forward, &up);
    ASSERT_EQ(hero.StartAction(step.action), 1) << step.action;
    for (int frame = 0; frame < datagen::kBattleFramesPerPose; ++frame) {
      hero.body->Update(1);
      hero.body->PostUpdate(1);
    }
    VECTOR3 end{0, 0, 0};
    GetNodeWorldVectors(node, &end, nullptr, nullptr);
    const VECTOR3 moved{end.x - start.x, end.y - start.y, end.z - start.z};
    EXPECT_NEAR(DotVector3(&moved, &forward), step.forward, 1.0f) << step.action;
    EXPECT_NEAR(DotVector3(&moved, &right), step.right, 1.0f) << step.action;
  }
}

}  // namespace
}  // namespace battletest
