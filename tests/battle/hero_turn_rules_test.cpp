// The rules both heroes' turns share, driven through the battle's input.
#include "engine/media/sound_table.h"
#include "tests/battle/hero_turn_fixture.h"

namespace battletest {
namespace {

TEST_F(HeroTurnTest, CombinationsStartTheMappedActions) {
  // A talk's key bindings went away before the battle: the battle hooks its keys itself.
  FreeInputHooks();
  Begin(1, 1);
  ASSERT_EQ(sys_->phaseCode, 201);
  qmz::CLCTCamera& orbit = Camera()->orbit;
  const struct {
    float distance;
    int action, follow;
  } cases[] = {{2000, 101, 2}, {30, 104, 1}};
  for (const auto& c : cases) {
    Place(0, c.distance, 0);
    Step(40);
    EXPECT_EQ(Combination('W'), c.action) << c.distance;
    EXPECT_EQ(orbit.GetFollowMode(), c.follow) << c.distance;
  }
  // Letting every key go after a combination is type 0: the idle action.
  Place(0, 2000, 0);
  Step(40);
  orbit.SetFollowMode(2);
  Hold('W', true);
  Step(4);
  Hold('W', false);
  Step(3);
  EXPECT_EQ(HeroAction(), 11);
  EXPECT_EQ(orbit.GetFollowMode(), 1);
}

TEST_F(HeroTurnTest, TheDashDelaysTheNextCombinationByTheDivider) {
  Begin(1, 1);
  Step(40);
  sys_->SetHeroSlowFactor(2);
  Hold('W', true);
  Step(3);
  Hold('W', false);
  Step(3);
  Hold('W', true);
  Step(3);
  Hold('W', false);
  ASSERT_EQ(HeroAction(), 113);
  // No combination for divider x 35 = 70 passes.
  Hold('A', true);
  int passes = 0;
  while (HeroAction() != 117 && passes < 200) {
    Step();
    ++passes;
  }
  Hold('A', false);
  EXPECT_GE(passes, 65);
  EXPECT_LE(passes, 75);
}

TEST_F(HeroTurnTest, CombinationsAreIgnoredInAHitReactionAndOutsideTheFightingCodes) {
  Begin(1, 1);
  Step(40);
  Hero()->flags |= CFMaster::kHitReaction;
  Hero()->AddTimer(CFMaster::kHitReaction, 200, 1);
  EXPECT_NE(Combination('W'), 101) << "in a hit reaction";
  Hero()->RemoveTimers(CFMaster::kHitReaction);
  Hero()->flags &= ~CFMaster::kHitReaction;
  Step(10);
  Right();
  ASSERT_EQ(sys_->phaseCode, 121);
  EXPECT_NE(Combination('W'), 101) << "with the command menu open";
}

TEST_F(HeroTurnTest, TheRightButtonTogglesTheCommandMenu) {
  for (int kind : {1, 2}) {
    Begin(kind, 1);
    const int fighting = kind == 1 ? 201 : 231;
    ASSERT_EQ(sys_->phaseCode, fighting);
    Right();
    EXPECT_EQ(sys_->phaseCode, 121);
    EXPECT_EQ(sys_->savedPhaseCode, fighting);
    EXPECT_EQ(Hero()->frozen, 1);
    EXPECT_EQ(sys_->enemies[0]->frozen, 1);
    EXPECT_EQ(sys_->sceneFrozen, 1);
    EXPECT_TRUE(Shown(sys_->hud.CommandButton(0)));
    EXPECT_EQ(Shown(sys_->hud.CommandButton(5)), kind == 1) << "the second hero has three commands";
    EXPECT_EQ(Camera()->cameraMode, 0);
    Right();
    EXPECT_EQ(sys_->phaseCode, fighting);
    EXPECT_EQ(Hero()->frozen, 0);
    EXPECT_EQ(sys_->enemies[0]->frozen, 0);
    EXPECT_FALSE(Shown(sys_->hud.CommandButton(0)));
    EXPECT_EQ(Camera()->cameraMode, 1);
    sys_.reset();
  }
}

TEST_F(HeroTurnTest, InTheTargetedAttackEnemiesUpdateTwiceATick) {
  Begin(1, 1);
  for (int code : {201, 280}) {
    sys_->phaseCode = code;
    sys_->enemies[0]->AddTimer(0x100, 10, 1);
    Step();
    EXPECT_EQ(sys_->enemies[0]->GetTimer(0x100), code == 280 ? 8 : 9) << code;
  }
}

TEST_F(HeroTurnTest, EscapeEndsTheBattleLostInAnyHeroCode) {
  const struct { int kind, code; } cases[] = {{1, 201}, {1, 121}, {1, 802}, {1, 650}, {2, 231}, {2, 242}, {2, 420}};
  for (const auto& c : cases) {
    Begin(c.kind, 1);
    sys_->phaseCode = c.code;
    Key(27);
    EXPECT_EQ(sys_->running, 0) << c.code;
    EXPECT_EQ(Result(), -1) << c.code;
    sys_.reset();
  }
}

TEST_F(HeroTurnTest, TheSpecialGaugeDrainsOverGaugeOverStepTicks) {
  Begin(1, 1);
  const struct {
    int gauge;
    float step;
    int ticks;
  } cases[] = {{100, 0.4f, 250}, {100, 4.0f, 25}, {100, 0.666f, 150}, {1, 4.0f, 1}};
  for (const auto& c : cases) {
    Hero()->soul->SetAttributeValue(17, c.gauge);
    ASSERT_EQ(CMasterState::DrainSpecialGauge(Hero(), c.step), 1);
    int ticks = 0;
    while (CMasterState::DrainSpecialGauge(Hero(), 0) && ticks < 1000) ++ticks;
    EXPECT_EQ(ticks, c.ticks) << c.step;
    EXPECT_EQ(Attr(17), 0);
  }
  EXPECT_EQ(CMasterState::DrainSpecialGauge(Hero(), 0.4f), 0) << "an empty gauge does not start";
}

TEST_F(HeroTurnTest, ThreateningWarnsEveryStandingEnemyThenFightsOn) {
  for (int kind : {1, 2}) {
    Begin(kind, 3);
    for (auto& mind : minds_) mind.types.clear();
    sys_->enemies[2]->flags |= CFightingMan::kDown;
    const int mp = Attr(8);
    Right();
    Command(CUIManager::kThreatenId);
    EXPECT_EQ(sys_->phaseCode, 820);
    EXPECT_EQ(HeroAction(), 400);
    EXPECT_EQ(Hero()->mode, CFMaster::MODE_THREATEN);
    EXPECT_EQ(Camera()->cameraMode, 0);
    const int fighting = kind == 1 ? 201 : 231;
    EXPECT_GT(StepUntil(fighting), 0);
    EXPECT_EQ(minds_[0].Count(3), 1);
    EXPECT_EQ(minds_[1].Count(3), 1);
    EXPECT_EQ(minds_[2].Count(3), 0) << "a downed enemy hears nothing";
    EXPECT_EQ(Hero()->mode, kind == 1 ? CFMaster::MODE_NORMAL : CFMaster::MODE_SECOND_NORMAL);
    EXPECT_LE(Attr(8), mp - 50 + 20) << "the threat costs 50 MP (regeneration aside)";
    EXPECT_EQ(Camera()->cameraMode, 1);
    sys_.reset();
  }
}

TEST_F(HeroTurnTest, CriesReuseTheirSound) {
  Begin(1, 1);
  const int before = g_soundTable.mark;
  for (int i = 0; i < 300; ++i) {
    CMasterState::PlayNamedSound("MajorHurt");
    CMasterState::PlayNamedSound("MajorDef");
  }
  EXPECT_LE(g_soundTable.mark, before + 2) << "one sound each, not one per cry";
  EXPECT_NE(LoadSound("MajorHurt"), 0u) << "the table still takes sounds";
}

TEST_F(HeroTurnTest, TheBattleScriptDecidesInTheFightingCodes) {
  datagen::BattleScript script;
  script.items = {{0xffff, 0x40001, 0, 0}, {0x10000, 0x10001, 0x10002, 0}};
  script.expressions = {{0, 1, "0"}, {0, 2, "1"}};
  WriteScript(script);
  Begin(1, 1);
  sys_->enemies[0]->flags |= CFightingMan::kDown;
  sys_->phaseCode = 802;
  Step(3);
  EXPECT_EQ(sys_->state, CMVekState::Instance()) << "choosing a direction decides nothing";
  sys_->phaseCode = 201;
  Step();
  EXPECT_EQ(sys_->state, CSysState::Instance());
  EXPECT_EQ(sys_->phaseCode, PHASE_VICTORY);
}

}  // namespace
}  // namespace battletest
