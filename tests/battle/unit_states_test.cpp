#include "battle/unit_states.h"

#include <gtest/gtest.h>

#include <functional>

#include "components/efficacy.h"

#include "tests/battle/enemy_fixture.h"

namespace battletest {
namespace {

using UnitStatesTest = EnemyBattleTest;

// What a message or an alarm could change on the enemy.
struct Snapshot {
  CUnitState* state;
  int hp, flags, playing;
  size_t timers, queue, candidates, switches;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CFEnemy* e) {
  return {e->state,
          e->soul->GetAttribute(6),
          e->flags,
          e->body->current[ACTIONDESC::ID],
          e->timers.size(),
          e->queue.size(),
          e->candidates.size(),
          e->switches->entries.size()};
}

TEST_F(UnitStatesTest, EachStateAnswersOnlyItsSlots) {
  Battle({});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  Spawn({200, 200, 0}, {0, 1, 0});
  struct Row {
    const char* name;
    CUnitState* state;
    const char* slots;  // AllyAlarm Blocked HeavyBlow Release Cure Snatch Paralyse Blow SureBlow Threat
  } rows[] = {
      {"ApproachAttackRange", CUnitApproachAttackRange::Instance(), "AB+-++++++"},
      {"ApproachForCureAlly", CUnitApproachForCureAlly::Instance(), "AB+-++++++"},
      {"ApproachForReleaseAlly", CUnitApproachForReleaseAlly::Instance(), "AB+-++++++"},
      {"NearAlly", CUnitNearAlly::Instance(), "AB+-+++++-"},
      {"Wait", CUnitWait::Instance(), "--+-++++++"},
      {"BeBlock", CUnitBeBlock::Instance(), "--+-++++++"},
      {"CureAlly", CUnitCureAlly::Instance(), "--+-++++++"},
      {"ReleaseAlly", CUnitReleaseAlly::Instance(), "--+-++++++"},
      {"DoingAttack", CUnitDoingAttack::Instance(), "--+-++++++"},
      {"StandUp", CUnitStandUp::Instance(), "--+-+++++-"},
      {"CureSelf", CUnitCureSelf::Instance(), "--+-+--++-"},
      {"Escape", CUnitEscape::Instance(), "A1+-+++++-"},
      {"PrepareAttack", CUnitPrepareAttack::Instance(), "--+-++++++"},
      {"ResumeAttack", CUnitResumeAttack::Instance(), "--+-++++++"},
      {"Palsy", CUnitPalsy::Instance(), "--++++-++-"},
      {"BeSnatch", CUnitBeSnatch::Instance(), "----------"},
      {"Die", CUnitDie::Instance(), "----------"},
      {"FallDown", CUnitFallDown::Instance(), "----------"},
  };
  const std::function<int(CUnitState*, int)> slots[10] = {
      [&](CUnitState* s, int) { return s->OnAllyAlarm(e, 15); },
      [&](CUnitState* s, int) { return s->OnBlocked(e); },
      [&](CUnitState* s, int t) {
        BATTLEMSG m;
        m.type = 7;
        m.Set(1, 5);
        m.Set(4, t % 6);
        return s->OnHeavyBlow(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 6;
        m.Set(1, 5);
        return s->OnRelease(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 2;
        m.Set(1, 5);
        return s->OnCure(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 5;
        m.Set(1, 1000);
        return s->OnSnatch(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 4;
        m.Set(1, 1000);
        return s->OnParalyse(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 1;
        m.Set(1, 5);
        m.Set(2, 1);
        return s->OnBlow(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 8;
        m.Set(1, 5);
        m.Set(2, 1);
        return s->OnSureBlow(e, &m);
      },
      [&](CUnitState* s, int) {
        BATTLEMSG m;
        m.type = 3;
        return s->OnThreat(e, &m);
      },
  };
  for (const Row& row : rows)
    for (int slot = 0; slot < 10; ++slot) {
      // A roll may resist; an answering slot takes effect within a few tries.
      bool acted = false, answered = false;
      for (int attempt = 0; attempt < 30; ++attempt) {
        e->soul->SetAttributeBase(6, 90);
        e->flags = row.state == CUnitPalsy::Instance() ? CFightingMan::kParalysed : 0;
        e->RemoveTimers(-1);
        e->queue.clear();
        e->candidates.clear();
        e->switches->Clear();
        e->StartAction(11);
        e->ChangeState(row.state);
        const Snapshot before = Take(e);
        const int result = slots[slot](row.state, attempt);
        answered |= result == 1;
        acted |= !(Take(e) == before) || result == 1;
        if (row.slots[slot] != '-') continue;
        {
          EXPECT_EQ(result, 0) << row.name << " slot " << slot;
          EXPECT_TRUE(Take(e) == before) << row.name << " slot " << slot << " changed the enemy";
        }
      }
      if (row.slots[slot] != '-') {
        EXPECT_TRUE(acted) << row.name << " slot " << slot;
      }
      if (row.slots[slot] == '1') {
        EXPECT_TRUE(answered) << row.name << " slot " << slot;
      }
    }
}

TEST_F(UnitStatesTest, ParalysisEndsWithABlowOrARelease) {
  Battle({});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  plat::CreateDirectories("Data/Efficacy");
  e->flags |= CFightingMan::kParalysed;
  e->ChangeState(CUnitPalsy::Instance());
  BATTLEMSG blow;
  blow.type = 1;
  blow.Set(1, 5);
  blow.Set(2, 1);
  EXPECT_EQ(e->ReceiveMessage(&blow), 1);
  EXPECT_EQ(e->flags & CFightingMan::kParalysed, 0);
  EXPECT_EQ(e->state, CUnitFallDown::Instance());
  EXPECT_GT(e->GetTimer(CFEnemy::kLyingTimer), 0) << "a paralysed enemy lies a while";

  e->flags |= CFightingMan::kParalysed;
  e->ChangeState(CUnitPalsy::Instance());
  BATTLEMSG release;
  release.type = 6;
  EXPECT_EQ(e->ReceiveMessage(&release), 1);
  EXPECT_EQ(e->flags & CFightingMan::kParalysed, 0);
  EXPECT_EQ(e->state, CUnitWait::Instance());
  EXPECT_EQ(e->body->effect->Name(), "-x-");
}

TEST_F(UnitStatesTest, HeavyBlowsMissAFifthOfTheTimeSureBlowsNever) {
  Battle({});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  int landed = 0, sure = 0;
  for (int i = 0; i < 1000; ++i) {
    e->soul->SetAttributeBase(6, 100);
    BATTLEMSG heavy;
    heavy.type = 7;
    heavy.Set(1, 1);
    e->ChangeState(CUnitWait::Instance());
    landed += e->ReceiveMessage(&heavy);
    BATTLEMSG certain;
    certain.type = 8;
    certain.Set(1, 1);
    e->ChangeState(CUnitWait::Instance());
    sure += e->ReceiveMessage(&certain);
  }
  EXPECT_NEAR(1000 - landed, 200, 50);
  EXPECT_EQ(sure, 1000);
}

TEST_F(UnitStatesTest, SnatchWhileRecoveringDoesNotDisarm) {
  Battle({}, {141, 142, 143});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  ASSERT_EQ(e->style, 1);
  e->ChangeState(CUnitResumeAttack::Instance());
  e->flags |= CFEnemy::kAttacking;
  BATTLEMSG snatch;
  snatch.type = 5;
  snatch.Set(1, 10000);
  ASSERT_EQ(e->ReceiveMessage(&snatch), 1);
  EXPECT_EQ(e->state, CUnitBeSnatch::Instance());
  EXPECT_EQ(e->flags & (CFightingMan::kDisarmed | CFEnemy::kAttacking), 0) << "not disarmed; the attack ended";
  EXPECT_FALSE(e->switches->Has(CFEnemy::kDisarmedMark));

  e->ChangeState(CUnitWait::Instance());
  ASSERT_EQ(e->ReceiveMessage(&snatch), 1);
  EXPECT_EQ(e->state, CUnitBeSnatch::Instance());
  EXPECT_TRUE(e->flags & CFightingMan::kDisarmed);
  EXPECT_TRUE(e->switches->Has(CFEnemy::kDisarmedMark));
  const int snatched = Playing(e);
  EXPECT_TRUE(snatched == 181 || snatched == 183 || snatched == 185) << snatched;
}

TEST_F(UnitStatesTest, TheLaterHitFrameOfAFrameDecidesTheSharedFlag) {
  Battle({});
  CFEnemy* near = Spawn({0, -30, 0}, {0, 1, 0});
  CFEnemy* far = Spawn({0, -400, 0}, {0, 1, 0});
  for (auto order : {std::pair{near, far}, std::pair{far, near}}) {
    for (CFEnemy* e : {near, far}) {
      e->soul->SetAttributeBase(6, 100);
      e->target = hero_.get();
      e->StartAction(131);
      e->body->hitFrame = e->body->current[ACTIONDESC::START] + 1;
      e->ChangeState(CUnitDoingAttack::Instance());
    }
    heroSoul_.SetAttributeBase(6, 500);
    hero_->flags = 0;
    order.first->state->Update(order.first, 1);
    order.second->state->Update(order.second, 1);
    EXPECT_EQ(CUnitDoingAttack::Instance()->lastHitLanded, order.second == near ? 1 : 0);
  }
  EXPECT_LT(HP(hero_.get()), 500) << "the near wolf's blow landed";
}

TEST_F(UnitStatesTest, DamageAndLyingTime) {
  Battle({});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  const struct { int power, part, loss; } blows[] = {{12, 1, 10}, {1, 2, 1}, {3, 0, 3}};
  for (const auto& b : blows) {
    e->soul->SetAttributeBase(6, 100);
    e->TakeDamage(b.power, b.part);
    EXPECT_EQ(HP(e), 100 - b.loss) << b.power << " on part " << b.part;
  }
  for (const auto& [hp, lying] : {std::pair{100, 40}, std::pair{0, 90}, std::pair{50, 65}}) {
    e->soul->SetAttributeBase(6, hp);
    e->SetLyingTime();
    EXPECT_EQ(e->GetTimer(CFEnemy::kLyingTimer), lying) << hp;
  }
}

TEST_F(UnitStatesTest, PausesAndRollsOutsideTheirRanges) {
  Battle({});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  const struct {
    int behaviour, least, most;
  } pauses[] = {{4, 20, 50}, {5, 10, 30}, {6, 20, 40}, {7, 20, 40}, {8, 40, 70}, {0, 0, 0}, {9, 0, 0}};
  for (const auto& p : pauses)
    for (int i = 0; i < 20; ++i) {
      e->behaviour = p.behaviour;
      e->EndAttack(1);
      const int pause = e->GetTimer(CFEnemy::kPauseTimer);
      EXPECT_GE(pause, p.least) << p.behaviour;
      EXPECT_LE(pause, p.most) << p.behaviour;
    }
  // Level 0 against power 0 leaves nothing to draw from: the paralysis fails.
  e->soul->SetAttributeBase(1, 0);
  BATTLEMSG nothing;
  nothing.type = 4;
  EXPECT_EQ(e->RollParalysis(&nothing), 0);
  e->ChangeState(CUnitWait::Instance());
  EXPECT_EQ(e->ReceiveMessage(&nothing), 0);
  EXPECT_EQ(Playing(e), 177) << "resisted";
}

TEST_F(UnitStatesTest, HeavyBlowReactionsByHitPart) {
  Battle({});
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  const int reaction[6] = {511, 514, 513, 515, 516, 513};
  const int direction[6] = {0, 3, 2, 4, 5, 2};
  for (int key = 0; key < 6; ++key) {
    BATTLEMSG m;
    m.type = 7;
    m.Set(1, 1);
    m.Set(4, key);
    e->ReactToHeavyBlow(&m);
    EXPECT_EQ(Playing(e), reaction[key]) << key;
    EXPECT_EQ(e->hitDirection, direction[key]) << key;
  }
}

TEST_F(UnitStatesTest, StateNumbersAndTheFallAfterAFall) {
  Battle({});
  EXPECT_EQ(UnitStateNumber(CUnitApproachAttackRange::Instance()), 15);
  EXPECT_EQ(UnitStateNumber(CUnitDoingAttack::Instance()), 23);
  EXPECT_EQ(UnitStateNumber(CUnitWait::Instance()), 32);
  EXPECT_EQ(UnitStateNumber(nullptr), 0);
  CFEnemy* e = Spawn({0, -60, 0}, {0, 1, 0});
  EXPECT_EQ(e->state, CUnitWait::Instance()) << "an enemy starts waiting";
  BATTLEMSG blow;
  blow.type = 1;
  blow.Set(1, 5);
  blow.Set(2, 2);
  ASSERT_EQ(e->ReceiveMessage(&blow), 1);
  EXPECT_EQ(e->state, CUnitFallDown::Instance());
  for (int i = 0; i < 80 && e->state == CUnitFallDown::Instance(); ++i) Tick();
  EXPECT_EQ(e->state, CUnitStandUp::Instance());
  EXPECT_EQ(e->queue, std::vector<int>{523}) << "the get-up of the hit direction";
  EXPECT_EQ(e->hitDirection, 0);
  for (int i = 0; i < 80 && e->state == CUnitStandUp::Instance(); ++i) Tick();
  EXPECT_EQ(e->state, CUnitWait::Instance());
}

}  // namespace
}  // namespace battletest
