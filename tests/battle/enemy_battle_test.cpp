#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "battle/after_image.h"
#include "battle/ai_monitor.h"
#include "battle/battle_interface.h"
#include "battle/kbs_console.h"
#include "battle/phase_codes.h"
#include "battle/reward_desc.h"
#include "battle/tarnwick.h"
#include "battle/unit_states.h"
#include "battle/x_shot.h"
#include "battle/x_trap.h"
#include "platform/crt.h"
#include "tests/battle/battle_sys_fixture.h"

namespace battletest {
namespace {

// A running battle on the sample arena; enemy 102 is the sample's shooter.
class EnemyBattleFlowTest : public BattleSysTest {
 protected:
  void SetUp() override {
    BattleSysTest::SetUp();
    for (CGDEnemySoul& e : g_gameDataBase.enemies) {
      if (e.id != datagen::sample::kShooterId) continue;
      e.kind = datagen::sample::kShooterId;
      e.modelName = datagen::sample::kShooterModel;
    }
    plat::Srand(11);
  }

  // Starts with the enemies and ticks through the introduction.
  void Fight(const std::vector<int>& enemies) {
    ASSERT_EQ(StartWith(enemies), 1);
    ASSERT_GE(TickUntil(HERO_FIRST_FIGHTING), 0);
  }
  void Frame() { society_.Update(1); }
  int Line(const char* line) { return sys_->DebugCommand(line); }
  CKBSConsole& Console() { return *sys_->console; }
  int HeroHP() { return sys_->hero->soul->GetAttribute(6); }
  static int Playing(const CFightingMan* f) { return f->body->current[ACTIONDESC::ID]; }
};

TEST_F(EnemyBattleFlowTest, OutsideABattleNoLineIsTaken) {
  Make();
  EXPECT_EQ(Line("MVX.LIFT"), 0);
  EXPECT_EQ(Console().open, 0);
  EXPECT_EQ(g_battleInterface.DebugCommand("KBS.WIN"), 0);
}

TEST_F(EnemyBattleFlowTest, TheSetOpensWithItsWordAndClosesAgain) {
  Fight({101, 101});
  EXPECT_EQ(Line("KBS.WIN"), 0) << "closed: not taken";
  EXPECT_EQ(Line("MVX.LIFTAI 101"), 1) << "the monitor command only opens the set";
  EXPECT_EQ(Console().open, 1);
  EXPECT_EQ(Console().monitor->enemy, nullptr);
  EXPECT_EQ(Line(""), 0);
  EXPECT_EQ(Line("mvx.liftai 101"), 1);
  EXPECT_EQ(Console().monitor->enemy, sys_->enemies[0]);
  EXPECT_EQ(Console().monitor->IsEnabled(), 1);
  EXPECT_EQ(Line("KBS.CLOSEAI"), 1);
  EXPECT_EQ(Console().monitor->IsEnabled(), 0);
  EXPECT_EQ(Console().open, 1);
  EXPECT_EQ(Line("KBS.CLOSE"), 1);
  EXPECT_EQ(Console().open, 0);
}

TEST_F(EnemyBattleFlowTest, FreezingStopsTheMindsButNotTheBlows) {
  Fight({101, 101});
  Line("MVX.LIFT");
  ASSERT_EQ(Line("KBS.FREEZE 0"), 1);
  for (int i = 0; i < sys_->enemyCount; ++i) EXPECT_EQ(sys_->enemies[i]->aiEnabled, 0);
  CFEnemy* e = sys_->enemies[0];
  const CUnitState* before = e->state;
  for (int i = 0; i < 30; ++i) Frame();
  EXPECT_EQ(e->state, before) << "no state runs";
  BATTLEMSG blow;
  blow.type = 1;
  blow.Set(1, 5);
  blow.Set(2, 1);
  EXPECT_EQ(e->ReceiveMessage(&blow), 1) << "blows are still answered";
  ASSERT_EQ(Line("KBS.UNFREEZE 101"), 1);
  EXPECT_EQ(sys_->enemies[0]->aiEnabled, 1) << "the first enemy of that id";
  EXPECT_EQ(sys_->enemies[1]->aiEnabled, 0);
}

TEST_F(EnemyBattleFlowTest, UnknownLinesAreShownCut) {
  Fight({101});
  Line("MVX.LIFT");
  const std::string longLine(100, 'X');
  ASSERT_EQ(Line(longLine.c_str()), 1);
  ASSERT_EQ(Console().messages.size(), 1u);
  const CONSOLEMSGDESC& m = Console().messages.front();
  EXPECT_EQ(m.text.size(), 63u) << "cut to 64 bytes";
  EXPECT_EQ(m.text.rfind("Invalid command 'XXXX", 0), 0u);
  EXPECT_EQ(m.x, 10);
  EXPECT_EQ(m.y, 400);
  EXPECT_EQ(m.framesLeft, 60);
  EXPECT_EQ(m.red + m.green + m.blue, 3 * 255);
  for (int i = 0; i < 60; ++i) g_battleInterface.DrawDebug(0);
  EXPECT_EQ(Console().messages.size(), 1u);
  g_battleInterface.DrawDebug(0);
  EXPECT_TRUE(Console().messages.empty()) << "gone after 60 frames";

  const std::string longWord = "KBS.SHOWINFO" + std::string(200, 'Y') + " 1";
  ASSERT_EQ(Line(longWord.c_str()), 1);
  EXPECT_EQ(Console().showInfo, 0) << "a word too long for the reader gives no number";
  ASSERT_EQ(Line("KBS.SHOWINFO 1"), 1);
  sys_->DrawDebug(0);
  ASSERT_FALSE(Console().messages.empty());
  EXPECT_EQ(Console().messages.front().text, ", ID: 001") << "the hero has no name here";
  EXPECT_EQ(Console().messages.back().y, 80 + 5 * 20 + 40 + 16) << "one enemy line pair below the hero's";
}

TEST_F(EnemyBattleFlowTest, WinAndFailureDecideTheBattle) {
  Fight({101});
  Line("MVX.LIFT");
  ASSERT_EQ(Line("kbs.win"), 1);
  EXPECT_EQ(sys_->phaseCode, PHASE_VICTORY);
  sys_.reset();
  Fight({101});
  Line("MVX.LIFT");
  ASSERT_EQ(Line("KBS.FAILURE"), 1);
  EXPECT_EQ(sys_->phaseCode, PHASE_DEFEAT);
  EXPECT_EQ(Result(), 0);
  ASSERT_EQ(Line("KBS.CURE"), 1);
  EXPECT_EQ(HeroHP(), 200);
}

TEST_F(EnemyBattleFlowTest, TheLastDeathRunsInSlowMotion) {
  Fight({101});
  CFEnemy* e = sys_->enemies[0];
  e->soul->SetAttributeBase(6, 1);
  BATTLEMSG blow;
  blow.type = 1;
  blow.Set(1, 500);
  blow.Set(2, 1);
  ASSERT_EQ(e->ReceiveMessage(&blow), 1);
  ASSERT_EQ(e->state, CUnitDie::Instance());
  EXPECT_EQ(e->finalBlow, 1);
  EXPECT_EQ(e->body->divider, 32);
  EXPECT_EQ(sys_->updateDivider, 10) << "the controller shot's divider comes last";
  EXPECT_EQ(sys_->phaseCode, HERO_CONTROLLER_CAMERA);
  EXPECT_EQ(Camera()->cameraMode, CBattleCamera::MODE_CONTROLLER);
  EXPECT_TRUE(Camera()->controller.IsPlaying()) << "controller shot 101";
  CAfterImage* trail = CAfterImage::Instance();
  EXPECT_EQ(trail->desc.body, e->body);
  EXPECT_EQ(trail->desc.period, 16);
  EXPECT_EQ(trail->desc.life, 12);

  const int s = e->body->current[ACTIONDESC::START];
  const int end = e->body->current[ACTIONDESC::END];
  std::vector<std::pair<int, int>> steps;  // frame, divider
  int last = e->body->divider;
  for (int i = 0; i < 5000 && e->state == CUnitDie::Instance() && !(e->flags & CFightingMan::kDown); ++i) {
    e->Update(1);
    CTarnwick* body = e->body;
    if (body->divider != last) steps.emplace_back(body->currentFrame, last = body->divider);
    body->Update(1);
    body->PostUpdate(1);
  }
  const std::vector<std::pair<int, int>> expected = {{s + 1, 16}, {s + (end - s) / 3, 4}, {s + 2 * (end - s) / 3, 1}};
  EXPECT_EQ(steps, expected);
  EXPECT_TRUE(e->flags & CFightingMan::kDown) << "removed at the end of its death";
  EXPECT_EQ(e->finalBlow, 0);
  EXPECT_EQ(trail->desc.body, nullptr);
  EXPECT_EQ(sys_->updateDivider, 1);
}

TEST_F(EnemyBattleFlowTest, AnEscapedEnemyGivesAThirdOfItsExperience) {
  Fight({101, 102});
  CFEnemy* e = sys_->enemies[0];
  e->CompleteEscape();
  sys_->enemies[1]->Remove();
  EXPECT_EQ(sys_->NextWave(), 0);
  REWARDDESC reward;
  CSysState::Instance()->ComputeRewards(sys_.get(), &reward);
  EXPECT_EQ(sys_->spawnList[0].outcome, CBattleSys::kOutcomeEscaped);
  EXPECT_EQ(reward.experience, 303 + 612) << "the escaped wolf gives 0.3 of its 1010, the felled shooter 0.6 of 1020";
}

TEST_F(EnemyBattleFlowTest, AHeadlessFight) {
  Fight({101, 102});
  CFEnemy* wolf = sys_->enemies[0];
  CFEnemy* shooter = sys_->enemies[1];
  ASSERT_EQ(shooter->style, 2);
  const VECTOR3 wolfStart = wolf->position;
  std::vector<const CUnitState*> wolfStates, shooterStates;
  bool shot = false, bitten = false;
  for (int i = 0; i < 1500 && sys_->running; ++i) {
    const int hp = HeroHP();
    const bool attacking = wolf->state == CUnitDoingAttack::Instance();
    Frame();
    bitten |= attacking && HeroHP() < hp;
    for (auto [e, states] : {std::pair{wolf, &wolfStates}, std::pair{shooter, &shooterStates}})
      if (states->empty() || states->back() != e->state) states->push_back(e->state);
    shot |= !sys_->shots.empty();
  }
  auto after = [](const std::vector<const CUnitState*>& states, const CUnitState* first, const CUnitState* then) {
    auto at = std::find(states.begin(), states.end(), first);
    return at != states.end() && std::find(at, states.end(), then) != states.end();
  };
  const float moved = std::hypot(wolf->position.x - wolfStart.x, wolf->position.y - wolfStart.y);
  EXPECT_GT(moved, 20.0f) << "the wolf closed in";
  EXPECT_TRUE(after(wolfStates, CUnitApproachAttackRange::Instance(), CUnitPrepareAttack::Instance()));
  EXPECT_TRUE(after(wolfStates, CUnitPrepareAttack::Instance(), CUnitDoingAttack::Instance()));
  EXPECT_TRUE(bitten) << "the wolf's bite took the hero's HP";
  EXPECT_TRUE(shot) << "the shooter shot";
  EXPECT_TRUE(after(shooterStates, CUnitDoingAttack::Instance(), CUnitWait::Instance())) << "a shot never lands";
}

TEST_F(EnemyBattleFlowTest, BattleEightThrowsFromItsTraps) {
  Fight({101});
  EXPECT_EQ(sys_->traps, nullptr) << "only battle 8 sets traps";
  sys_.reset();
  ASSERT_EQ(StartWith({101}, 8), 1);
  ASSERT_NE(sys_->traps, nullptr);
  ASSERT_EQ(sys_->traps->Count(), 2) << "the positions of \"scriptdata.txt\"";
  const auto* second = static_cast<const CXPTrap*>(sys_->traps->GetAt(2));
  EXPECT_EQ(second->position.x, 50);
  ASSERT_NE(second->box, nullptr);
  EXPECT_EQ(second->box->shown, 0) << "the marker is hidden";
  ASSERT_GE(TickUntil(HERO_FIRST_FIGHTING), 0);
  int firstShot = -1;
  for (int i = 1; i <= 180; ++i) {
    Frame();
    if (firstShot < 0 && sys_->traps->shotsFired == 1) firstShot = i;
  }
  EXPECT_EQ(firstShot, 60) << "60 frames of fighting: the tick that begins the hero's turn ticks no traps";
  EXPECT_EQ(sys_->traps->interval, 57);
}

}  // namespace
}  // namespace battletest
