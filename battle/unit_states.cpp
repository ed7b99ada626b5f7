#include "battle/unit_states.h"

#include "battle/after_image.h"
#include "battle/f_enemy.h"
#include "battle/tarnwick.h"
#include "database/man_soul.h"
#include "engine/core/walking.h"
#include "platform/crt.h"

namespace {

int HP(const CFEnemy* enemy) { return enemy->soul ? enemy->soul->GetAttribute(6) : 0; }

// Aiming and turning toward the target, the start of most updates.
void Steer(CFEnemy* enemy, int frames) {
  enemy->AimAtTarget();
  enemy->FaceTargetPoint(frames);
}

}  // namespace

// The shared message operations.

int CUnitShared::OnAllyAlarm(CFEnemy* enemy, int frames) {
  if (!Has(unitslots::kAllyAlarm)) return 0;
  enemy->AddTimer(CFEnemy::kHoldTimer, frames, 1);
  enemy->StartAction(enemy->IsWeak() ? 12 : 11);
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitShared::OnBlocked(CFEnemy* enemy) {
  if (!Has(unitslots::kBlocked)) return 0;
  if (enemy->TrySideStep()) enemy->ChangeState(CUnitBeBlock::Instance());
  return 1;
}

int CUnitShared::OnHeavyBlow(CFEnemy* enemy, BATTLEMSG* message) {
  if (!Has(unitslots::kHeavyBlow)) return 0;
  if (plat::Rand() % 5 == 0) {
    enemy->Evade();
    return 0;
  }
  enemy->ReactToHeavyBlow(message);
  Fall(enemy);
  return 1;
}

int CUnitShared::OnCure(CFEnemy* enemy, BATTLEMSG* message) {
  if (!Has(unitslots::kCure)) return 0;
  enemy->ChangeHP(message->Get(1), 0);
  return 1;
}

int CUnitShared::OnSnatch(CFEnemy* enemy, BATTLEMSG* message) {
  if (!Has(unitslots::kSnatch)) return 0;
  if (!enemy->RollSnatch(message)) {
    enemy->StartOneOf({187});
    return 0;
  }
  Interrupt(enemy);
  Snatched(enemy);
  return 1;
}

void CUnitShared::Snatched(CFEnemy* enemy) {
  enemy->BeSnatched();
  enemy->ChangeState(CUnitBeSnatch::Instance());
}

int CUnitShared::OnParalyse(CFEnemy* enemy, BATTLEMSG* message) {
  if (!Has(unitslots::kParalyse)) return 0;
  if (!enemy->RollParalysis(message)) {
    enemy->StartAction(177);
    return 0;
  }
  Interrupt(enemy);
  enemy->BeParalysed();
  enemy->ChangeState(CUnitPalsy::Instance());
  return 1;
}

int CUnitShared::OnBlow(CFEnemy* enemy, BATTLEMSG* message) {
  if (!Has(unitslots::kBlow)) return 0;
  Interrupt(enemy);
  enemy->ReactToBlow(message);
  if (LiesAfterBlow() && HP(enemy) >= 1) enemy->SetLyingTime();
  Fall(enemy);
  return 1;
}

int CUnitShared::OnSureBlow(CFEnemy* enemy, BATTLEMSG* message) {
  if (!Has(unitslots::kSureBlow)) return 0;
  enemy->ReactToSureBlow(message);
  enemy->ChangeState(HP(enemy) < 1 ? static_cast<CUnitState*>(CUnitDie::Instance()) : CUnitFallDown::Instance());
  return 1;
}

int CUnitShared::OnThreat(CFEnemy* enemy, BATTLEMSG*) {
  if (!Has(unitslots::kThreat) || !enemy->RollThreat()) return 0;
  Interrupt(enemy);
  Threatened(enemy);
  enemy->ChangeState(CUnitEscape::Instance());
  return 1;
}

void CUnitShared::Threatened(CFEnemy* enemy) { enemy->BeThreatened(); }

void CUnitShared::Fall(CFEnemy* enemy) {
  if (HP(enemy) >= 1) {
    enemy->ChangeState(CUnitFallDown::Instance());
    return;
  }
  if (enemy->CountOthers() == 0) enemy->StartFinalBlow();
  enemy->ChangeState(CUnitDie::Instance());
}

// The variants.

CUnitPrepareAttack* CUnitPrepareAttack::Instance() {
  static CUnitPrepareAttack instance;
  return &instance;
}

void CUnitPrepareAttack::Interrupt(CFEnemy* enemy) { enemy->CancelPrepare(); }

void CUnitPrepareAttack::Snatched(CFEnemy* enemy) {
  enemy->BeSnatched();
  enemy->ChangeState(CUnitWait::Instance());
}

CUnitResumeAttack* CUnitResumeAttack::Instance() {
  static CUnitResumeAttack instance;
  return &instance;
}

void CUnitResumeAttack::Interrupt(CFEnemy* enemy) { enemy->EndAttack(0); }

void CUnitResumeAttack::Snatched(CFEnemy* enemy) { enemy->ChangeState(CUnitBeSnatch::Instance()); }

CUnitPalsy* CUnitPalsy::Instance() {
  static CUnitPalsy instance;
  return &instance;
}

int CUnitPalsy::OnRelease(CFEnemy* enemy, BATTLEMSG*) {
  if (enemy->body) enemy->body->PlayEffect("-x-", 0, 0, 0, 0);
  enemy->flags &= ~CFightingMan::kParalysed;
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitPalsy::OnSnatch(CFEnemy* enemy, BATTLEMSG*) {
  enemy->PlaySnatched();
  enemy->flags &= ~CFightingMan::kParalysed;
  enemy->ChangeState(CUnitBeSnatch::Instance());
  return 1;
}

// The paralysis ends with any blow that lands.
void CUnitPalsy::Interrupt(CFEnemy* enemy) { enemy->flags &= ~CFightingMan::kParalysed; }

CUnitEscape* CUnitEscape::Instance() {
  static CUnitEscape instance;
  return &instance;
}

CUnitDoingAttack* CUnitDoingAttack::Instance() {
  static CUnitDoingAttack instance;
  return &instance;
}

// The updates.

int CUnitWait::Update(CFEnemy* enemy, int frames) {
  enemy->GainMP(frames);
  enemy->HoldOnTargetDown();
  if (enemy->RunQueue() || enemy->GetTimer(CFEnemy::kHoldTimer) > 0) return 1;
  switch (enemy->ChooseDefence()) {
    case 9: enemy->ChangeState(CUnitNearAlly::Instance()); return 1;
    case 10:
      enemy->StartCureAction();
      enemy->ChangeState(CUnitCureSelf::Instance());
      return 1;
    case 11:
      enemy->PickEscapePoint();
      if (enemy->switches->Has(CFEnemy::kFleeingMark) && enemy->EscapeReached()) enemy->CompleteEscape();
      enemy->QueueMovement(3, 1 | 2 | 4);
      enemy->ChangeState(CUnitEscape::Instance());
      return 1;
    default: break;
  }
  if (enemy->ChooseReleaseAlly()) {
    enemy->ChangeState(CUnitApproachForReleaseAlly::Instance());
  } else if (enemy->ChooseCureAlly()) {
    enemy->ChangeState(CUnitApproachForCureAlly::Instance());
  } else if (enemy->ChooseApproach()) {
    enemy->ChangeState(CUnitApproachAttackRange::Instance());
  } else {
    plat::Rand();
    enemy->AddTimer(CFEnemy::kHoldTimer, 30, 1);
  }
  return 1;
}

int CUnitApproachAttackRange::Update(CFEnemy* enemy, int frames) {
  enemy->GainMP(frames);
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue()) return 1;
  if (!enemy->IsTargetAlive()) enemy->ChangeState(CUnitWait::Instance());
  const int band = enemy->AttackBand();
  if (band == 2) {
    const int behaviour = enemy->ChooseAttack();
    if (behaviour && !(behaviour == 6 && enemy->SideStepsInsteadOfAttack()) && enemy->CanStartAttack()) {
      enemy->BeginPrepare();
      enemy->ChangeState(CUnitPrepareAttack::Instance());
    }
    return 1;
  }
  if (enemy->ChooseApproach()) {
    static constexpr int kSets[] = {0, 1, 2, 4};
    if (enemy->behaviour >= 1 && enemy->behaviour <= 3) enemy->QueueMovement(band, kSets[enemy->behaviour]);
  }
  return 1;
}

namespace {

// Closing in on an ally that passes the test, then acting on it in reach.
void ApproachAlly(CFEnemy* enemy, int frames, int (*test)(const CFightingMan*), void (CFEnemy::*act)(),
                  CUnitState* acting) {
  enemy->GainMP(frames);
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue()) return;
  if (!enemy->target || !test(enemy->target)) {
    enemy->ChangeState(CUnitWait::Instance());
    return;
  }
  const int band = enemy->SupportBand();
  if (band == 2) {
    (enemy->*act)();
    enemy->ChangeState(acting);
  } else {
    enemy->QueueMovement(band, 1);
  }
}

}  // namespace

int CUnitApproachForCureAlly::Update(CFEnemy* enemy, int frames) {
  ApproachAlly(enemy, frames, &CFEnemy::NeedsCure, &CFEnemy::StartCureAction, CUnitCureAlly::Instance());
  return 1;
}

int CUnitApproachForReleaseAlly::Update(CFEnemy* enemy, int frames) {
  ApproachAlly(enemy, frames, &CFEnemy::IsParalysedAlive, &CFEnemy::StartReleaseAction, CUnitReleaseAlly::Instance());
  return 1;
}

int CUnitNearAlly::Update(CFEnemy* enemy, int frames) {
  enemy->GainMP(frames);
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue()) return 1;
  if (!enemy->IsTargetAlive()) {
    enemy->ChangeState(CUnitWait::Instance());
    return 1;
  }
  const int band = enemy->SupportBand();
  if (band == 2) enemy->ChangeState(CUnitWait::Instance());
  else enemy->QueueMovement(band, 1);
  return 1;
}

int CUnitBeBlock::Update(CFEnemy* enemy, int frames) {
  enemy->GainMP(frames);
  enemy->FaceTargetPoint(frames);
  enemy->HoldOnTargetDown();
  if (enemy->RunQueue() || !enemy->body) return 1;
  const int playing = enemy->body->current[ACTIONDESC::ID];
  if (playing == 115 || playing == 116)
    StrafeNodeOnTerrain(enemy->body->Node(), playing == 115 ? 5.0f : -5.0f, 1, 0, 0, 1);
  if (enemy->body->IsReleased()) enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitBeSnatch::Update(CFEnemy* enemy, int) {
  enemy->CheckBlocked(0);
  if (enemy->IsActing()) return 1;
  enemy->style = 0;
  if (enemy->body) enemy->body->RemoveWeapon();
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitCureSelf::Update(CFEnemy* enemy, int) {
  if (enemy->RunQueue() || enemy->IsActing()) return 1;
  enemy->CureSelf();
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitCureAlly::Update(CFEnemy* enemy, int frames) {
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue() || enemy->IsActing()) return 1;
  enemy->CureTarget();
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitReleaseAlly::Update(CFEnemy* enemy, int frames) {
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue() || enemy->IsActing()) return 1;
  enemy->ReleaseTarget();
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitDoingAttack::Update(CFEnemy* enemy, int frames) {
  enemy->HoldOnTargetDown();
  enemy->FaceTargetPoint(frames);
  if (enemy->RunQueue()) return 1;
  if (enemy->body && enemy->body->AtHitFrame()) {
    lastHitLanded = enemy->AttackHit();
    if (!enemy->IsTargetAlive()) {
      enemy->HoldOnTargetDown();
      for (CFEnemy* ally : enemy->FreeAllies()) ally->HoldOnTargetDown();
    }
  }
  if (enemy->IsActing()) return 1;
  if (lastHitLanded) {
    enemy->EndAttack(1);
    enemy->StartAction(11);
    enemy->ChangeState(CUnitResumeAttack::Instance());
  } else {
    enemy->ChangeState(CUnitWait::Instance());
  }
  return 1;
}

int CUnitResumeAttack::Update(CFEnemy* enemy, int frames) {
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->GetTimer(CFEnemy::kPauseTimer) > 0 || enemy->RunQueue()) return 1;
  enemy->EndAttack(0);
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitPrepareAttack::Update(CFEnemy* enemy, int frames) {
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue()) return 1;
  if (!enemy->IsTargetAlive()) {
    enemy->ChangeState(CUnitWait::Instance());
    enemy->CancelPrepare();
    return 1;
  }
  if (enemy->GetTimer(CFEnemy::kPrepareTimer) > 0 || enemy->IsActing()) return 1;
  enemy->CancelPrepare();
  if (enemy->CanStartAttack()) {
    enemy->StartAttack();
    enemy->ChangeState(CUnitDoingAttack::Instance());
  } else {
    enemy->ChangeState(CUnitApproachAttackRange::Instance());
  }
  return 1;
}

int CUnitEscape::Update(CFEnemy* enemy, int frames) {
  enemy->GainMP(frames);
  enemy->HoldOnTargetDown();
  enemy->FaceTargetPoint(frames);
  if (enemy->RunQueue()) return 1;
  if (!enemy->IsActing()) {
    enemy->ChangeState(CUnitWait::Instance());
  } else if (enemy->switches->Has(CFEnemy::kFleeingMark) && enemy->EscapeReached()) {
    enemy->CompleteEscape();
  }
  return 1;
}

int CUnitFallDown::Update(CFEnemy* enemy, int frames) {
  if (enemy->IsActing()) {
    Steer(enemy, frames);
    enemy->CheckBlocked(1);
    return 1;
  }
  if (enemy->GetTimer(CFEnemy::kLyingTimer) >= 1) return 1;
  enemy->RemoveTimers(CFEnemy::kLyingTimer);
  enemy->GetUp();
  enemy->ChangeState(CUnitStandUp::Instance());
  return 1;
}

int CUnitStandUp::Update(CFEnemy* enemy, int frames) {
  enemy->HoldOnTargetDown();
  Steer(enemy, frames);
  if (enemy->RunQueue() || enemy->IsActing()) return 1;
  enemy->ChangeState(CUnitWait::Instance());
  return 1;
}

int CUnitDie::Update(CFEnemy* enemy, int frames) {
  if (enemy->IsActing()) {
    if (enemy->finalBlow) enemy->StepFinalBlow();
    Steer(enemy, frames);
    if (enemy->finalBlow) CAfterImage::Instance()->Update(frames);
    return 1;
  }
  if (enemy->finalBlow) {
    CAfterImage::Instance()->Clear();
    CAfterImage::Instance()->SetBody(nullptr);
  }
  enemy->Remove();
  return 1;
}

int UnitStateNumber(const CUnitState* state) {
  const CUnitState* const numbered[] = {CUnitApproachAttackRange::Instance(),
                                        CUnitApproachForCureAlly::Instance(),
                                        CUnitApproachForReleaseAlly::Instance(),
                                        CUnitBeBlock::Instance(),
                                        CUnitBeSnatch::Instance(),
                                        CUnitCureAlly::Instance(),
                                        CUnitCureSelf::Instance(),
                                        CUnitDie::Instance(),
                                        CUnitDoingAttack::Instance(),
                                        CUnitEscape::Instance(),
                                        CUnitFallDown::Instance(),
                                        CUnitNearAlly::Instance(),
                                        CUnitPalsy::Instance(),
                                        CUnitPrepareAttack::Instance(),
                                        CUnitReleaseAlly::Instance(),
                                        CUnitResumeAttack::Instance(),
                                        CUnitStandUp::Instance(),
                                        CUnitWait::Instance()};
  for (int i = 0; i < 18; ++i)
    if (numbered[i] == state) return 15 + i;
  return 0;
}
