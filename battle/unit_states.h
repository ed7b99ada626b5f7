#pragma once
#include "battle/unit_state.h"

// The eighteen states of an enemy's behaviour. Each is a singleton made on
// first use; which message operations a state answers is its slot mask, the
// rest ignore the message and answer 0.
namespace unitslots {
enum : unsigned {
  kAllyAlarm = 1u << 0,
  kBlocked = 1u << 1,
  kHeavyBlow = 1u << 2,
  kCure = 1u << 3,
  kSnatch = 1u << 4,
  kParalyse = 1u << 5,
  kBlow = 1u << 6,
  kSureBlow = 1u << 7,
  kThreat = 1u << 8,
  // Every state that can be hurt answers these.
  kHurt = kHeavyBlow | kCure | kSnatch | kParalyse | kBlow | kSureBlow,
};
}  // namespace unitslots

// The shared message operations; a state answers those of its mask. A
// snatch, paralysis, blow or threat that takes effect first interrupts what
// the state was doing.
class CUnitShared : public CUnitState {
 public:
  int OnAllyAlarm(CFEnemy* enemy, int frames) override;
  int OnBlocked(CFEnemy* enemy) override;
  int OnHeavyBlow(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnRelease(CFEnemy*, BATTLEMSG*) override { return 0; }
  int OnCure(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnSnatch(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnParalyse(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnBlow(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnSureBlow(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnThreat(CFEnemy* enemy, BATTLEMSG* message) override;

  // After a landed blow: Die (with the final blow for the last enemy) at
  // HP below 1, else FallDown.
  static void Fall(CFEnemy* enemy);

 protected:
  virtual unsigned Slots() const = 0;
  int Has(unsigned slot) const { return (Slots() & slot) != 0; }
  virtual void Interrupt(CFEnemy*) {}
  // Whether a landed blow sets the lying time before the fall.
  virtual int LiesAfterBlow() const { return 0; }
  // A successful snatch: disarmed, to BeSnatch.
  virtual void Snatched(CFEnemy* enemy);
  // A successful threat: the flinch or the flight.
  virtual void Threatened(CFEnemy* enemy);
};

#define UNIT_STATE(Name, mask)                       \
  class Name : public CUnitShared {                  \
   public:                                           \
    static Name* Instance() {                        \
      static Name instance;                          \
      return &instance;                              \
    }                                                \
    int Update(CFEnemy* enemy, int frames) override; \
                                                     \
   protected:                                        \
    unsigned Slots() const override { return mask; } \
  }

namespace unitslots {
constexpr unsigned kApproach = kAllyAlarm | kBlocked | kHurt | kThreat;
}  // namespace unitslots

UNIT_STATE(CUnitApproachAttackRange, unitslots::kApproach);
UNIT_STATE(CUnitApproachForCureAlly, unitslots::kApproach);
UNIT_STATE(CUnitApproachForReleaseAlly, unitslots::kApproach);
UNIT_STATE(CUnitNearAlly, unitslots::kAllyAlarm | unitslots::kBlocked | unitslots::kHurt);
UNIT_STATE(CUnitWait, unitslots::kHurt | unitslots::kThreat);
UNIT_STATE(CUnitBeBlock, unitslots::kHurt | unitslots::kThreat);
UNIT_STATE(CUnitCureAlly, unitslots::kHurt | unitslots::kThreat);
UNIT_STATE(CUnitReleaseAlly, unitslots::kHurt | unitslots::kThreat);
UNIT_STATE(CUnitStandUp, unitslots::kHurt);
UNIT_STATE(CUnitCureSelf, unitslots::kHeavyBlow | unitslots::kCure | unitslots::kBlow | unitslots::kSureBlow);
UNIT_STATE(CUnitBeSnatch, 0);
UNIT_STATE(CUnitDie, 0);
UNIT_STATE(CUnitFallDown, 0);

#undef UNIT_STATE

// Attacking. The one flag of whether the last attack landed at its hit
// frame is shared by every enemy: the later writer of a frame wins.
class CUnitDoingAttack : public CUnitShared {
 public:
  static CUnitDoingAttack* Instance();
  int Update(CFEnemy* enemy, int frames) override;

  int lastHitLanded = 0;

 protected:
  unsigned Slots() const override { return unitslots::kHurt | unitslots::kThreat; }
};

// Fleeing: a blocked way is answered without a side-step.
class CUnitEscape : public CUnitShared {
 public:
  static CUnitEscape* Instance();
  int OnBlocked(CFEnemy*) override { return 1; }
  int Update(CFEnemy* enemy, int frames) override;

 protected:
  unsigned Slots() const override { return unitslots::kAllyAlarm | unitslots::kHurt; }
};

// Around an own attack a landed blow sets the lying time.
class CUnitAttackStep : public CUnitShared {
 protected:
  unsigned Slots() const override { return unitslots::kHurt | unitslots::kThreat; }
  int LiesAfterBlow() const override { return 1; }
};

// Preparing an attack: a message that takes effect first cancels the
// preparation; a snatch only waits.
class CUnitPrepareAttack : public CUnitAttackStep {
 public:
  static CUnitPrepareAttack* Instance();
  int Update(CFEnemy* enemy, int frames) override;

 protected:
  void Interrupt(CFEnemy* enemy) override;
  void Snatched(CFEnemy* enemy) override;
};

// Recovering from an own attack: a message that takes effect first ends the
// attack without a pause; a snatch neither plays nor disarms, a threat sends
// it fleeing without a reaction.
class CUnitResumeAttack : public CUnitAttackStep {
 public:
  static CUnitResumeAttack* Instance();
  int Update(CFEnemy* enemy, int frames) override;

 protected:
  void Interrupt(CFEnemy* enemy) override;
  void Snatched(CFEnemy* enemy) override;
  void Threatened(CFEnemy*) override {}
};

// Paralysed: only messages move it; a blow or a snatch ends the paralysis,
// an ally's release sets it free.
class CUnitPalsy : public CUnitShared {
 public:
  static CUnitPalsy* Instance();
  int OnRelease(CFEnemy* enemy, BATTLEMSG* message) override;
  int OnSnatch(CFEnemy* enemy, BATTLEMSG* message) override;
  int Update(CFEnemy*, int) override { return 0; }

 protected:
  unsigned Slots() const override {
    return unitslots::kHeavyBlow | unitslots::kCure | unitslots::kSnatch | unitslots::kBlow | unitslots::kSureBlow;
  }
  void Interrupt(CFEnemy* enemy) override;
  int LiesAfterBlow() const override { return 1; }
};

// The monitor's number of a state: 15 to 32, 0 for none of them.
int UnitStateNumber(const CUnitState* state);
