// The second hero's turn: attacks on the enemy in front and the special,
// driven through the battle's input.
#include "tests/battle/hero_turn_fixture.h"

namespace battletest {
namespace {

class SecondHeroTest : public HeroTurnTest {
 protected:
  void Order(int id) {
    Right();
    ASSERT_EQ(sys_->phaseCode, 121);
    Command(id);
  }
  float Radius() { return Hero()->collisionRadius; }
};

TEST_F(SecondHeroTest, TheAttackNeedsMoreThanTwentyMp) {
  Begin(2, 1, 20);
  ASSERT_EQ(sys_->phaseCode, 231);
  Place(0, 50, 0);
  Step(40);
  Hero()->soul->SetAttributeValue(8, 20);
  const int action = HeroAction();
  Left();
  EXPECT_EQ(sys_->phaseCode, 231);
  EXPECT_EQ(HeroAction(), action);
}

TEST_F(SecondHeroTest, TheAttackHitsTheNearestEnemyWithinFortyFiveDegrees) {
  Begin(2, 3);
  Step(40);
  Place(0, Radius() + 30, 0);
  Place(1, Radius() + 10, 50);   // nearer, but too far to the side
  Place(2, Radius() + 60, -10);  // in front, out of reach
  const int mp = Attr(8);
  Left();
  EXPECT_EQ(sys_->phaseCode, 410);
  const int action = HeroAction();
  EXPECT_TRUE(action >= 221 && action <= 223) << action;
  Step();
  EXPECT_EQ(sys_->phaseCode, 420);
  ASSERT_GT(StepUntil(231), 0);
  EXPECT_EQ(minds_[0].Count(7), 1);
  EXPECT_EQ(minds_[1].Count(7) + minds_[2].Count(7), 0);
  EXPECT_LT(Attr(8), mp) << "the weapon's MP";
}

TEST_F(SecondHeroTest, TheEnemyInFrontIsHighlightedAndShowsItsGauge) {
  Begin(2, 1);
  const struct {
    float degrees, extra;
    bool highlighted, gauge;
  } cases[] = {{20, 30, true, true}, {-20, 30, true, true}, {25, 30, false, false}, {20, 40, false, true}};
  for (const auto& c : cases) {
    Place(0, Radius() + c.extra, c.degrees);
    Step();
    EXPECT_EQ(CMasterState::IsHighlighted(sys_->enemies[0]) != 0, c.highlighted) << c.degrees << " " << c.extra;
    EXPECT_EQ(sys_->enemies[0]->hpBar.shown != 0, c.gauge) << c.degrees << " " << c.extra;
  }
}

TEST_F(SecondHeroTest, TheSpecialPlaysSlowSpecialAttacksWhileTheGaugeDrains) {
  Begin(2, 1, 400, 100);
  Place(0, Radius() + 20, 0);
  Step(2);
  const int mp = Attr(8);
  Order(CUIManager::kSpecialId);
  EXPECT_EQ(sys_->phaseCode, 885);
  Step();
  EXPECT_EQ(sys_->phaseCode, 242);
  EXPECT_EQ(Hero()->mode, CFMaster::MODE_SPECIAL);
  EXPECT_LE(Attr(8), mp - 150 + 1);
  Step(2);
  EXPECT_LT(Attr(17), 100) << "the gauge drains";
  Left();
  EXPECT_EQ(sys_->phaseCode, 650);
  const int action = HeroAction();
  EXPECT_TRUE(action >= 451 && action <= 453) << action;
  EXPECT_TRUE(SoundLoaded("YsaS0" + std::to_string(action - 450))) << "the voice of the chosen attack";
  EXPECT_EQ(sys_->heroStateValue, 1);
  EXPECT_EQ(sys_->enemies[0]->body->divider, 2);
  EXPECT_EQ(sys_->updateDivider, 2);
  ASSERT_GT(StepUntil(242, 2000), 0);
  EXPECT_EQ(minds_[0].Count(8), 3) << "a sure blow at each of the three hit frames";
  EXPECT_EQ(sys_->heroStateValue, 0);
  EXPECT_EQ(Hero()->body->divider, 1);
  EXPECT_EQ(sys_->updateDivider, 1);
  // The gauge runs out: the special ends by itself.
  EXPECT_GT(StepUntil(231, 400), 0);
  EXPECT_EQ(Hero()->mode, CFMaster::MODE_SECOND_NORMAL);
  EXPECT_EQ(Attr(17), 0);
}

TEST_F(SecondHeroTest, TheSpecialEnds) {
  const struct {
    const char* how;
    int code;
  } cases[] = {{"last enemy down", 231}, {"hurt", 242}, {"downed", 889}, {"right button", 231}};
  for (const auto& c : cases) {
    Begin(2, 1, 400, 100);
    Order(CUIManager::kSpecialId);
    Step();
    ASSERT_EQ(sys_->phaseCode, 242);
    const std::string how = c.how;
    BATTLEMSG blow;
    blow.type = 1;
    blow.Set(2, 2);  // from behind: never blocked
    if (how == "last enemy down") {
      sys_->enemies[0]->flags |= CFightingMan::kDown;
      Step();
      EXPECT_EQ(sys_->phaseCode, 889) << how;
      Step();
    } else if (how == "hurt") {
      blow.Set(1, 5);
      Hero()->ReceiveMessage(&blow);
    } else if (how == "downed") {
      blow.Set(1, 100000);
      Hero()->ReceiveMessage(&blow);
    } else {
      Right();
      Step();
    }
    EXPECT_EQ(sys_->phaseCode, c.code) << how;
    sys_.reset();
  }
}

}  // namespace
}  // namespace battletest
