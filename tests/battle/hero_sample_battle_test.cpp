// Each hero wins and loses a battle against the sample world's wolves, by
// the sample's "sbe.sc", with the wolves' own minds taking the blows.
#include "battle/unit_states.h"
#include "tests/battle/hero_turn_fixture.h"

namespace battletest {
namespace {

class HeroSampleBattleTest : public HeroTurnTest {
 protected:
  // The sample's win and lose rules; the wolves fight with their own minds.
  void Fight(int heroKind) {
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
    Begin(heroKind, 2);
    for (int i = 0; i < sys_->enemyCount; ++i) sys_->enemies[i]->ChangeState(CUnitWait::Instance());
    Hero()->soul->SetAttributeValue(9, 400);  // strong enough to end it soon
    Hero()->soul->SetAttributeValue(5, 100000);
    Hero()->soul->SetAttributeValue(6, 100000);
  }
  int Standing() { return sys_->CountEnemies(1); }
  // After the decision: the closing clicks, then the end.
  void PlayOut(int decided) {
    ASSERT_EQ(sys_->state, CSysState::Instance());
    EXPECT_EQ(codes_.count(decided), 1u);
    for (int i = 0; i < 3000 && sys_->running; ++i) {
      Step();
      if (sys_->phaseCode == PHASE_REWARDS || sys_->phaseCode == PHASE_CLOSING) Click();
    }
    EXPECT_EQ(sys_->running, 0);
    EXPECT_EQ(sys_->phaseCode, PHASE_END);
  }
};

TEST_F(HeroSampleBattleTest, TheFirstHeroWinsWithThrownKnives) {
  Fight(1);
  for (int throws = 0; throws < 40 && Standing() > 0 && sys_->state == CMVekState::Instance(); ++throws) {
    int target = 0;
    while (sys_->enemies[target]->flags & CFightingMan::kDown) ++target;
    Place(target, 150, 0);
    Step();
    LookAt(target);
    Step();
    Left();
    if (StepUntil(802, 200) < 0) continue;
    Left(1, 0xFFFF);
    StepUntil(201, 600);
    Step();
  }
  EXPECT_EQ(Standing(), 0);
  PlayOut(PHASE_VICTORY);
  EXPECT_EQ(Result(), 1);
}

TEST_F(HeroSampleBattleTest, TheSecondHeroWinsWithItsSword) {
  Fight(2);
  for (int attacks = 0; attacks < 200 && Standing() > 0 && sys_->state == CMYsaState::Instance(); ++attacks) {
    int target = 0;
    while (sys_->enemies[target]->flags & CFightingMan::kDown) ++target;
    // A beaten wolf's mind lays it down (its last fall filmed by the shot).
    if (EnemyHp(target) <= 0) {
      sys_->enemies[target]->aiEnabled = 1;
      Step(10);
      continue;
    }
    // A wolf standing at ease in front: one that is attacking shrugs off heavy blows.
    sys_->enemies[target]->aiEnabled = 0;
    sys_->enemies[target]->ChangeState(CUnitWait::Instance());
    Place(target, Hero()->collisionRadius + 10, 0);
    Hero()->soul->SetAttributeValue(8, 300);
    Left();
    StepUntil(231, 300);
    Step(40);
  }
  EXPECT_EQ(Standing(), 0);
  PlayOut(PHASE_VICTORY);
  EXPECT_EQ(Result(), 1);
}

TEST_F(HeroSampleBattleTest, EitherHeroLosesWhenItsHpRunsOut) {
  for (int kind : {1, 2}) {
    Fight(kind);
    Hero()->soul->SetAttributeValue(6, 200);
    for (int blows = 0; blows < 100 && Attr(6) > 0; ++blows) {
      BATTLEMSG bite;
      bite.type = 1;
      bite.Set(1, 40);
      bite.Set(2, 2);
      Hero()->ReceiveMessage(&bite);
      Step(5);
    }
    EXPECT_LE(Attr(6), 0);
    StepUntil(PHASE_DEFEAT_CAMERA, 300);
    PlayOut(PHASE_DEFEAT);
    EXPECT_EQ(Result(), -1);
    sys_.reset();
  }
}

}  // namespace
}  // namespace battletest
