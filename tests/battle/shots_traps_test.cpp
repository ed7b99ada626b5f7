#include <gtest/gtest.h>

#include <cmath>

#include "battle/x_shot.h"
#include "battle/x_trap.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "tests/battle/enemy_fixture.h"

namespace battletest {
namespace {

TEST(Countdown, SetsAddsAndRunsOut) {
  CXPCountDownTimer t;
  t.Set(5, 1);
  t.Set(3, 2);
  t.Set(100, 7);
  EXPECT_EQ(t.count, 8);
  EXPECT_EQ(t.CountDown(2), 0) << "not started";
  t.Start();
  EXPECT_EQ(t.CountDown(2), 1);
  EXPECT_EQ(t.CountDown(4), 0) << "4 frames of 4 left: run out";
  EXPECT_TRUE(t.IsZero());
  EXPECT_EQ(t.running, 0);
}

TEST(ShotFlight, AcceleratesToSixtyAndLivesThreeHundredFrames) {
  CXShot shot("none");
  shot.SetMotion(25, 1.5f);
  for (int i = 1; i <= 24; ++i) {
    shot.Update(1);
    if (i == 23) {
      EXPECT_LT(shot.speed, 60.0f);
    }
  }
  EXPECT_GE(shot.speed, 60.0f);
  const float top = shot.speed;
  for (int i = 25; i < 300; ++i) {
    shot.Update(1);
    ASSERT_FALSE(shot.IsFinished()) << i;
  }
  EXPECT_EQ(shot.speed, top) << "constant from then on";
  shot.Update(1);
  EXPECT_TRUE(shot.IsFinished()) << "finished after 300 frames";
  CXShot fast("none");
  fast.SetMotion(10, 1);
  fast.Update(3);
  EXPECT_FLOAT_EQ(fast.speed, 19) << "three frames each add three accelerations";
}

// One counting cell.
struct FakeTrap : CXPCell {
  void Fire() override { fired.push_back(now); }
  void Tick(int) override { ++now; }
  std::vector<int> fired;
  int now = 0;
};

TEST(TrapManager, FiresEveryIntervalAndEscalates) {
  {
    CXPTrapManager traps;
    auto* cell = new FakeTrap;
    traps.Add(cell);
    traps.Add(cell);
    EXPECT_EQ(traps.Count(), 1);
    EXPECT_EQ(traps.GetAt(0), nullptr);
    EXPECT_EQ(traps.GetAt(2), nullptr);
    traps.Setup(100000, 20, 0);
    for (int i = 0; i < 90; ++i) traps.Tick(1);
    EXPECT_EQ(cell->fired, (std::vector<int>{30, 60, 90})) << "an interval of 20 is raised to 30";
    EXPECT_EQ(traps.shotsFired, 3);
  }
  CXPTrapManager traps;
  traps.Setup(180, 60, 3);
  for (int i = 0; i < 180; ++i) traps.Tick(1);
  EXPECT_EQ(traps.interval, 57);
  EXPECT_EQ(traps.escalations, 1);
  for (int i = 0; i < 180 * 20; ++i) traps.Tick(1);
  EXPECT_EQ(traps.interval, 30) << "never below 30";
  EXPECT_EQ(traps.shotsFired, 0) << "no traps, nothing fired";
}

class ShotBattleTest : public EnemyBattleTest {
 protected:
  void SetUp() override {
    EnemyBattleTest::SetUp();
    plat::ByteWriter out;
    std::string error;
    datagen::CreatureModel bolt = datagen::BattleModel("_E311W", 1, 1);
    bolt.objects.resize(1);
    bolt.objects[0].name = "boltW";
    ASSERT_TRUE(datagen::WriteCreatureBinary(bolt, out, error)) << error;
    ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/weapon/_E311W.MCB", out.Bytes().data(), out.Size()));
  }
  // A box node of the size standing at the point.
  static HOBJECT Block(VECTOR3 at, VECTOR3 size) {
    const HOBJECT node = CreateDummyNode(0, &size);
    const VECTOR3 forward{0, 1, 0}, up{0, 0, 1};
    SetNodeDirection(node, &at, &forward, &up);
    return node;
  }
};

TEST_F(ShotBattleTest, GroundEndsTheFlightButAHitStillCounts) {
  Battle({});
  auto shot = std::make_unique<CXShot>("_E311W.MCB");
  shot->Attach(sys_.get());
  ASSERT_NE(shot->body, nullptr);
  ASSERT_NE(shot->body->Node(), 0u);
  const VECTOR3 start{0, -200, 0}, ahead{0, 1, 0}, up{0, 0, 1};
  shot->ground = Block({0, -190, 20}, {100, 10, 10});
  shot->SetTarget(Block({0, -160, 20}, {20, 20, 20}));
  shot->Place(&start, &ahead, &up);
  shot->SetMotion(60, 0);
  shot->Update(1);
  EXPECT_TRUE(shot->IsFinished());
  EXPECT_TRUE(shot->IsHit()) << "the hit in the same update counts";
}

TEST_F(ShotBattleTest, TheBattleHandsAShotsBlowToTheHero) {
  Battle({});
  CFEnemy* shooter = Spawn({0, -300, 0}, {0, 1, 0});
  shooter->target = hero_.get();
  shooter->Shoot();
  ASSERT_EQ(sys_->shots.size(), 1u);
  CXShot* shot = sys_->shots[0];
  EXPECT_EQ(shot->target, hero_->body->Node());
  EXPECT_EQ(shot->power, 100);
  EXPECT_GE(shot->speed, 15.0f);
  EXPECT_LE(shot->speed, 25.0f);
  // Two more that have finished: one goes per call.
  for (int i = 0; i < 2; ++i) {
    auto* done = new CXShot("none");
    done->Finish();
    sys_->AddShot(done);
  }
  shot->hit = 1;
  const int before = HP(hero_.get());
  sys_->UpdateShots();
  EXPECT_LT(HP(hero_.get()), before) << "the blow reached the hero";
  EXPECT_EQ(sys_->shots.size(), 1u) << "the hit shot and one finished shot are gone";
  sys_->UpdateShots();
  EXPECT_TRUE(sys_->shots.empty());
}

TEST_F(ShotBattleTest, ShootingWithoutWeaponPartsStartsInFront) {
  Battle({});
  CFEnemy* shooter = Spawn({0, -300, 0}, {0, 1, 0});
  shooter->target = hero_.get();
  shooter->Shoot();
  ASSERT_EQ(sys_->shots.size(), 1u);
  EXPECT_NEAR(sys_->shots[0]->position.y, -300 + shooter->collisionRadius, 0.01f);
}

TEST_F(ShotBattleTest, AShotLeavesTheSecondWeaponPartEvenAPlainOne) {
  // A bowman whose weapon parts are rigid objects: the bow hand is the second.
  datagen::CreatureModel bowman =
      datagen::BattleModel("wolf", static_cast<int>(datagen::WolfActionIds().size()) + 3, 1);
  bowman.objects[1].name = "_larmW";
  bowman.objects[2].name = "_rarmW";
  plat::ByteWriter out;
  std::string error;
  ASSERT_TRUE(datagen::WriteCreatureBinary(bowman, out, error)) << error;
  ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/wolf.MCB", out.Bytes().data(), out.Size()));
  Battle({});
  CFEnemy* shooter = Spawn({0, -300, 0}, {0, 1, 0});
  shooter->target = hero_.get();
  const HOBJECT hand = shooter->body->FindPartNode("_rarmW");
  ASSERT_NE(hand, 0u);
  VECTOR3 from{0, 0, 0};
  GetNodeWorldVectors(hand, &from, nullptr, nullptr);
  shooter->Shoot();
  ASSERT_EQ(sys_->shots.size(), 1u);
  EXPECT_NEAR(sys_->shots[0]->position.x, from.x, 0.01f);
  EXPECT_NEAR(sys_->shots[0]->position.y, from.y, 0.01f);
  EXPECT_NEAR(sys_->shots[0]->position.z, from.z, 0.01f);
  EXPECT_GT(std::fabs(sys_->shots[0]->position.y - (-300 + shooter->collisionRadius)), 0.5f) << "not the front point";
}

TEST_F(ShotBattleTest, TrapsFromTheScriptShootAtTheHero) {
  Battle({});
  const std::vector<VECTOR3> positions = {{100, 0, 0}, {-100, 0, 0}};
  sys_->CreateTraps(1, 1800, positions, 2);
  ASSERT_NE(sys_->traps, nullptr);
  EXPECT_EQ(sys_->traps->Count(), 2);
  EXPECT_EQ(sys_->traps->interval, 60);
  EXPECT_EQ(sys_->traps->period, 180);
  for (int i = 0; i < 59; ++i) sys_->TickTraps(1);
  EXPECT_TRUE(sys_->shots.empty());
  sys_->TickTraps(1);
  ASSERT_EQ(sys_->shots.size(), 1u) << "the first shot after 60 frames";
  const int power = sys_->shots[0]->power;
  EXPECT_TRUE(power == 60 || power == 80 || power == 100) << power;
  for (int i = 0; i < 120; ++i) sys_->TickTraps(1);
  EXPECT_EQ(sys_->traps->interval, 57);
  sys_->DeleteTraps();
  EXPECT_EQ(sys_->traps, nullptr);

  for (const auto& [level, interval] : {std::pair{0, 60}, std::pair{10, 330}, std::pair{11, 330}}) {
    sys_->CreateTraps(level, 0, positions, 1);
    EXPECT_EQ(sys_->traps->interval, interval) << "level " << level;
    sys_->DeleteTraps();
  }
  CXPTrap lone;
  lone.SetOwner(sys_.get());
  sys_->hero = nullptr;
  const size_t shots = sys_->shots.size();
  lone.Fire();
  EXPECT_EQ(sys_->shots.size(), shots) << "no hero, no shot";
}

}  // namespace
}  // namespace battletest
