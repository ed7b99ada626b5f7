#include "battle/sys_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "battle/battle_interface.h"
#include "battle/hero_states.h"
#include "battle/tarnwick.h"
#include "battle/x_wave.h"
#include "platform/crt.h"
#include "tests/battle/battle_sys_fixture.h"

namespace battletest {
namespace {

std::vector<std::vector<int>> g_given;
void GiveProc(int id, int count, int type) { g_given.push_back({id, count, type}); }

// Enemy 101 drops items 1 to 3, 102 items 4 to 6, 103 items 7 to 9 (type 1, two each).
class BattleFlowTest : public BattleSysTest {
 protected:
  void SetUp() override {
    BattleSysTest::SetUp();
    for (CGDEnemySoul& e : g_gameDataBase.enemies) {
      const int first = (e.id - 101) * 3 + 1;
      for (int k = 0; k < 3; ++k) e.drops.push_back({first + k, 2, 1});
    }
    for (int id = 1; id <= 9; ++id) {
      ITEMDESC item;
      item.name = "item" + std::to_string(id);
      item.values[kItemId] = id;
      item.values[kItemType] = 1;
      g_gameDataBase.items.push_back(item);
    }
    g_given.clear();
  }

  // The track numbers the introduction plays until the hero's turn.
  std::vector<int> IntroTracks() {
    std::vector<int> tracks;
    for (int i = 0; i < 1000 && sys_->state == CSysState::Instance(); ++i) {
      sys_->TickState(1);
      const int track = Camera()->track.GetCurrentTrack();
      if (sys_->state == CSysState::Instance() && (tracks.empty() || tracks.back() != track)) tracks.push_back(track);
    }
    return tracks;
  }

  // An action that plays for a while longer.
  static void KeepActing(CFightingMan* fighter) {
    fighter->body->current[ACTIONDESC::KIND] = 1;
    fighter->body->current[ACTIONDESC::END] = fighter->body->currentFrame + 1000;
  }
  static void StopActing(CFightingMan* fighter) { fighter->body->current[ACTIONDESC::KIND] = 0; }
};

TEST_F(BattleFlowTest, TheIntroductionFollowsTheScript) {
  struct Case {
    const char* name;
    std::vector<datagen::ScriptLimitRow> limits;
    std::vector<int> tracks;
  };
  const Case cases[] = {
      {"no limits (absent is -1)", {}, {1, 2, 3}},
      {"opening on the hero off", {{0, 0x10000, 0x2000A, 0}}, {2, 3}},
      {"both off", {{0, 0x10000, 0x2000A, 0}, {0, 0x10000, 0x2000B, 0}}, {3}},
      {"another battle's limits", {{5, 0x10000, 0x2000A, 0}, {5, 0x10000, 0x2000B, 0}}, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteScript({{}, c.limits, {}});
    ASSERT_EQ(StartWith({101}), 1);
    EXPECT_EQ(IntroTracks(), c.tracks);
    EXPECT_EQ(sys_->state, CMVekState::Instance());
    sys_.reset();
  }

  // A click skips to the last track; a click during it changes nothing.
  ASSERT_EQ(StartWith({101}), 1);
  sys_->TickState(1);
  ASSERT_EQ(Camera()->track.GetCurrentTrack(), 1);
  Click();
  EXPECT_EQ(Camera()->track.GetCurrentTrack(), 3);
  EXPECT_EQ(sys_->phaseCode, PHASE_INTRO);
  sys_->TickState(5);
  Click();
  EXPECT_EQ(IntroTracks(), (std::vector<int>{3}));
}

TEST_F(BattleFlowTest, ABattleWithoutEnemiesOpensOnTheHero) {
  ASSERT_EQ(StartWith({}, 8), 1);
  EXPECT_EQ(sys_->enemyCount, 0);
  EXPECT_EQ(IntroTracks(), (std::vector<int>{1, 3})) << "the enemies' track stops at once";
  EXPECT_EQ(sys_->state, CMVekState::Instance());
}

TEST_F(BattleFlowTest, EscapeEndsTheBattleAsLostInEveryPhase) {
  for (int code : {0, 50, 901, 903, 920, 911, 913, 900, 999}) {
    SCOPED_TRACE(code);
    ASSERT_EQ(StartWith({101}), 1);
    sys_->SetState(CSysState::Instance(), code);
    Key(27, 0);
    EXPECT_EQ(sys_->IsRunning(nullptr), 1) << "a key going up does nothing";
    Key(27);
    EXPECT_EQ(sys_->IsRunning(nullptr), 0);
    EXPECT_EQ(Result(), -1);
    sys_.reset();
  }
}

TEST_F(BattleFlowTest, VictoryWaitsForTheEnemiesThenRewardsAndEnds) {
  g_gameDataBase.heroes[0].attributes[2].base = 100000;  // no level-up
  ASSERT_EQ(StartWith({101}), 1);
  sys_->enemies[0]->flags |= CFightingMan::kParalysed;
  ASSERT_EQ(sys_->Finish(1), 1);
  EXPECT_EQ(sys_->phaseCode, PHASE_VICTORY);
  EXPECT_EQ(Result(), 1);
  sys_->enemies[0]->flags = 0;
  KeepActing(sys_->enemies[0]);
  for (int i = 0; i < 5; ++i) sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_VICTORY) << "an enemy still acts";
  sys_->enemies[0]->flags |= CFightingMan::kParalysed;
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_VICTORY_CAMERA);
  EXPECT_EQ(sys_->spawnList[0].outcome, 512);
  EXPECT_EQ(sys_->enemyCount, 0);
  EXPECT_EQ(Camera()->track.GetCurrentTrack(), 7);
  EXPECT_EQ(Camera()->orbit.IsEnabled(), 0);
  ASSERT_NE(sys_->music, nullptr);

  Click();
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_REWARDS) << "the click cut the camera short";
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), 50 + 101);
  Click();
  EXPECT_EQ(sys_->phaseCode, PHASE_CLOSING);
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_END);
  sys_->TickState(1);
  EXPECT_EQ(sys_->IsRunning(nullptr), 0);
  EXPECT_EQ(Result(), 1);
}

TEST_F(BattleFlowTest, ASecondWaveGoesBackToTheHerosTurn) {
  ASSERT_EQ(StartWith({101, 101, 101, 101, 101, 102}), 1);
  ASSERT_EQ(sys_->Finish(1), 1);
  for (int i = 0; i < 5; ++i) sys_->enemies[i]->flags |= CFightingMan::kDown;
  sys_->TickState(1);
  EXPECT_EQ(sys_->state, CMVekState::Instance());
  ASSERT_EQ(sys_->enemyCount, 1);
  EXPECT_EQ(sys_->enemies[0]->soul->id, 102);

  ASSERT_EQ(sys_->Finish(1), 1);
  sys_->enemies[0]->flags |= CFightingMan::kDown;
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_VICTORY_CAMERA);
  EXPECT_EQ(TickUntil(PHASE_REWARDS), 200) << "the whole victory track";
}

TEST_F(BattleFlowTest, ALevelUpTakesTwoClicks) {
  for (int levelUp : {0, 1}) {
    SCOPED_TRACE(levelUp);
    g_gameDataBase.heroes[0].attributes[2].base = levelUp ? 100 : 100000;  // the next threshold
    ASSERT_EQ(StartWith({101}), 1);
    sys_->enemies[0]->flags |= CFightingMan::kDown;
    sys_->Finish(1);
    sys_->TickState(1);
    Click();
    sys_->TickState(1);
    ASSERT_EQ(sys_->phaseCode, PHASE_REWARDS);
    Click();
    EXPECT_EQ(sys_->phaseCode, levelUp ? PHASE_REWARDS : PHASE_CLOSING);
    Click();
    EXPECT_EQ(sys_->phaseCode, PHASE_CLOSING);
    sys_.reset();
  }
}

TEST_F(BattleFlowTest, DefeatSlowsEverythingAndEndsLost) {
  ASSERT_EQ(StartWith({101, 102}), 1);
  ASSERT_EQ(sys_->Finish(0), 1);
  EXPECT_EQ(sys_->phaseCode, PHASE_DEFEAT);
  EXPECT_EQ(Result(), 0);
  KeepActing(sys_->hero);
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_DEFEAT) << "the hero still acts";
  StopActing(sys_->hero);
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_DEFEAT_CAMERA);
  EXPECT_EQ(Camera()->track.GetCurrentTrack(), 8);
  EXPECT_EQ(sys_->updateDivider, 6);
  EXPECT_EQ(sys_->hero->body->divider, 6);
  EXPECT_EQ(sys_->enemies[1]->body->divider, 6);
  Click();
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_DEFEAT_CAMERA) << "a click does not cut the defeat short";
  EXPECT_GT(TickUntil(PHASE_CLOSING), 0);
  sys_->TickState(1);
  EXPECT_EQ(sys_->phaseCode, PHASE_END);
  sys_->TickState(1);
  EXPECT_EQ(sys_->IsRunning(nullptr), 0);
  EXPECT_EQ(Result(), 0);
  EXPECT_EQ(sys_->updateDivider, 1);
}

TEST_F(BattleFlowTest, RewardsByOutcome) {
  g_battleInterface.SetGiveItemProc(GiveProc);
  ASSERT_EQ(StartWith({101, 102, 103}), 1);
  sys_->spawnList[0].outcome = CBattleSys::kOutcomeEscaped;
  sys_->spawnList[1].outcome = CBattleSys::kOutcomeDown;
  sys_->spawnList[2].outcome = CBattleSys::kOutcomeParalysed;

  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    g_given.clear();
    CGDManSoul* hero = sys_->hero->soul;
    hero->SetAttributeBase(1, 1);
    hero->SetAttributeBase(2, 0);
    hero->SetAttributeBase(3, 100000);
    hero->SetAttributeBase(26, 0);
    g_gameDataBase.party.SetMoney(50);
    plat::Srand(seed);
    REWARDDESC reward;
    CSysState::ComputeRewards(sys_.get(), &reward);
    // 1010 x 0.3 + 1020 x 0.6 + 1030, truncated at each step.
    EXPECT_EQ(reward.experience, 303 + 612 + 1030);
    EXPECT_EQ(reward.money, 102 + 103) << "the escaped enemy pays nothing";
    EXPECT_EQ(g_gameDataBase.party.GetMoney(), 50 + 205);
    EXPECT_EQ(reward.level, 1);
    EXPECT_EQ(reward.toNextLevel, 100000);
    EXPECT_EQ(reward.newLevel, 0);
    EXPECT_EQ(hero->GetAttribute(2), 1945);
    EXPECT_EQ(hero->GetAttribute(26), 1) << "one enemy down";

    ASSERT_LE(g_given.size(), 3u);
    ASSERT_FALSE(g_given.empty());
    int counted = 0;
    std::set<int> ids;
    for (const auto& g : g_given) {
      EXPECT_GE(g[0], 4) << "nothing of the escaped enemy";
      EXPECT_EQ(g[2], 1);
      EXPECT_TRUE(ids.insert(g[0]).second) << "one entry per item";
      EXPECT_EQ(reward.items.at("item" + std::to_string(g[0])), g[1]);
      counted += g[1];
    }
    EXPECT_EQ(reward.items.size(), g_given.size());
    EXPECT_EQ(counted % 2, 0);
  }
}

TEST_F(BattleFlowTest, ALevelUpFillsTheLevelValues) {
  ASSERT_EQ(StartWith({101}), 1);
  sys_->spawnList[0].outcome = 0;
  REWARDDESC reward;
  CSysState::ComputeRewards(sys_.get(), &reward);
  const CGDManSoul* hero = sys_->hero->soul;
  EXPECT_EQ(reward.level, 1);
  EXPECT_EQ(reward.toNextLevel, 100);
  EXPECT_EQ(reward.newLevel, hero->GetAttribute(1));
  EXPECT_GT(reward.newLevel, 1);
  EXPECT_EQ(reward.hp, hero->GetAttribute(6));
  EXPECT_EQ(reward.mp, hero->GetAttribute(8));
  EXPECT_EQ(reward.percent, 100);
  EXPECT_EQ(reward.attackPower, sys_->hero->GetAttackPower());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(reward.defence[i], hero->GetAttribute(10 + i)) << i;
}

TEST_F(BattleFlowTest, MusicByKind) {
  ASSERT_EQ(StartWith({101}), 1);
  sys_->PlayMusic(2);
  ASSERT_NE(sys_->music, nullptr);
  sys_->heroSound = std::make_unique<CXWave>();
  sys_->StopMusic();
  EXPECT_EQ(sys_->music, nullptr);
  EXPECT_EQ(sys_->heroSound, nullptr);
  sys_->PlayMusic(7);
  EXPECT_EQ(sys_->music, nullptr) << "no such music";
}

}  // namespace
}  // namespace battletest
