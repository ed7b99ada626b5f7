#include <gtest/gtest.h>

#include <cmath>

#include "tests/battle/enemy_fixture.h"

namespace battletest {
namespace {

using PerceptionTest = EnemyBattleTest;

TEST_F(PerceptionTest, HalvingFavoursTheLaterCandidates) {
  Battle({});
  CFEnemy* e = Spawn({0, -300, 0}, {1, 0, 0});
  int survived[3] = {};
  const int kRounds = 10000;
  for (int i = 0; i < kRounds; ++i) {
    e->queue.clear();
    e->candidates = {101, 102, 103};
    e->PickCandidate();
    ASSERT_EQ(e->queue.size(), 1u);
    ASSERT_TRUE(e->candidates.empty());
    ++survived[e->queue[0] - 101];
  }
  EXPECT_NEAR(survived[0] / double(kRounds), 0.16, 0.02);
  EXPECT_NEAR(survived[1] / double(kRounds), 0.24, 0.02);
  EXPECT_NEAR(survived[2] / double(kRounds), 0.60, 0.02);
}

TEST_F(PerceptionTest, WithoutMovementSwitchesItTurnsButNeverMoves) {
  Battle({});
  CFEnemy* e = Spawn({0, -300, 0}, {1, 0, 0});
  for (int i = 0; i < 200; ++i) {
    Tick();
    const int playing = Playing(e);
    ASSERT_FALSE(playing == 97 || (playing >= 101 && playing <= 110)) << "frame " << i << " plays " << playing;
  }
  EXPECT_EQ(e->state, CUnitApproachAttackRange::Instance());
  EXPECT_LT(std::fabs(CFEnemy::SignedAngle(e->facing, {0, 1, 0})), 10.0f) << "it faces the hero";
}

TEST_F(PerceptionTest, ASmallTurnGoesTowardTheTarget) {
  Battle({});
  for (float sign : {1.0f, -1.0f}) {
    CFEnemy* e = Spawn({0, -300, 0}, {0, 1, 0});
    const float off = 13.0f / 57.29578f;
    Put(e, {0, -300, 0}, {-sign * std::sin(off), std::cos(off), 0});
    e->targetPoint = {0, 0, 0};
    const float before = CFEnemy::SignedAngle(e->facing, {0, 1, 0});
    EXPECT_NEAR(std::fabs(before), 13.0f, 0.01f);
    EXPECT_EQ(e->FaceTargetPoint(1), 1);
    e->CFightingMan::Update(0);
    EXPECT_NEAR(CFEnemy::SignedAngle(e->facing, {0, 1, 0}), before * 7.0f / 13.0f, 0.01f) << "turned 6 degrees toward";
    EXPECT_EQ(e->FaceTargetPoint(1), 0) << "below 10 degrees it stops turning";
  }
}

TEST_F(PerceptionTest, BandsAndFacing) {
  Battle({}, {151});
  CFEnemy* e = Spawn({0, -30, 0}, {0, 1, 0});
  const struct {
    int style;
    float distance;
    int band;
  } rows[] = {{0, 10, 1}, {0, 30, 2}, {0, 64, 2}, {0, 65, 3},  {1, 80, 2},
              {1, 85, 3}, {2, 80, 1}, {2, 90, 2}, {2, 429, 2}, {2, 430, 3}};
  for (const auto& row : rows) {
    e->style = row.style;
    Put(e, {0, -row.distance, 0}, {0, 1, 0});
    EXPECT_EQ(e->AttackBand(), row.band) << row.style << " at " << row.distance;
  }
  e->style = 2;
  const float off = 14.0f / 57.29578f;
  Put(e, {0, -100, 0}, {std::sin(off), std::cos(off), 0});
  EXPECT_TRUE(e->IsFacing(hero_.get()));
  e->style = 0;
  Put(e, {0, -100, 0}, {std::sin(0.6f), std::cos(0.6f), 0});
  EXPECT_FALSE(e->IsFacing(hero_.get()));
}

TEST_F(PerceptionTest, AnotherFighterInTheWayBarsACandidate) {
  Battle({});
  CFEnemy* e = Spawn({0, -31, 0}, {0, 1, 0});
  EXPECT_EQ(e->AddCandidate(104), 0) << "the hero stands right ahead";
  EXPECT_EQ(e->AddCandidate(999), 0) << "not in the action table";
  Put(e, {0, -31, 0}, {1, 0, 0});
  EXPECT_EQ(e->AddCandidate(104), 1) << "turned away the way is clear";
  Put(e, {0, -300, 0}, {0, 1, 0});
  EXPECT_EQ(e->AddCandidate(104), 1) << "far off the way is clear";
}

TEST_F(PerceptionTest, EscapeReachedOrNowhereToGo) {
  Battle({11});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  Spawn({200, 0, 0}, {0, 1, 0});
  e->PickEscapePoint();
  EXPECT_NEAR(e->desiredDirection.y, -1.0f, 1e-4f) << "without an arena it flees straight away from the hero";

  // Weak, fleeing and standing at its escape point, it escapes at once.
  e->switches->Add(CFEnemy::kFleeingMark);
  e->targetPoint = {0, -65, 0};
  e->soul->SetAttributeBase(6, 10);
  e->queue.clear();
  e->state->Update(e, 1);
  EXPECT_EQ(e->behaviour, 11);
  EXPECT_EQ(e->state, CUnitEscape::Instance());
  EXPECT_EQ(e->flags & CFEnemy::kEscaped, CFEnemy::kEscaped);
  EXPECT_TRUE(e->flags & CFightingMan::kDown) << "removed from the battle";
  EXPECT_EQ(e->body->fadeMode, 2);
  EXPECT_EQ(e->CountOthers(), 1);
  EXPECT_EQ(sys_->enemies[1]->CountOthers(), 0);
}

TEST_F(PerceptionTest, ChoicesOfAlliesToCureAndRelease) {
  Battle({12, 13});
  CFEnemy* e = Spawn({0, -200, 0}, {0, 1, 0});
  CFEnemy* hurt = Spawn({100, -200, 0}, {0, 1, 0});
  CFEnemy* helper = Spawn({300, -200, 0}, {0, 1, 0});
  EXPECT_EQ(e->ChooseCureAlly(), 0) << "nobody needs a cure";
  hurt->soul->SetAttributeBase(6, 60);
  ASSERT_EQ(e->ChooseCureAlly(), 1);
  EXPECT_EQ(e->target, hurt);
  EXPECT_EQ(e->behaviour, 12);
  helper->target = hurt;
  helper->ChangeState(CUnitApproachForCureAlly::Instance());
  EXPECT_EQ(e->ChooseCureAlly(), 0) << "another ally is on its way";
  EXPECT_EQ(e->ChooseReleaseAlly(), 0);
  hurt->flags |= CFightingMan::kParalysed;
  ASSERT_EQ(e->ChooseReleaseAlly(), 1);
  EXPECT_EQ(e->behaviour, 13);
  e->ReleaseTarget();
  EXPECT_GE(e->GetTimer(CFEnemy::kReleaseTimer), 30);
  EXPECT_EQ(e->ChooseReleaseAlly(), 0) << "cooling down";
}

}  // namespace
}  // namespace battletest
