#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "battle/fighter_gauge.h"
#include "battle/fighting_man.h"

class CAIMonitor;
class CGDEnemySoul;
class CUnitState;

// The behaviour numbers an enemy may use (1 to 13) and the runtime marks
// 201 (disarmed) and 202 (fleeing); no duplicates, in insertion order.
class CBehaviourSet {
 public:
  void Add(int n);
  int Has(int n) const;
  // The i-th entry counting from 1; 0 beyond the count.
  int GetAt(int i) const;
  void Clear() { entries.clear(); }

  std::vector<int> entries;
};

// An enemy in battle: spawned from the database's enemy record scaled to the
// hero's level, with its body, hit vertices and behaviour switches; every
// message and frame goes to its current unit state.
class CFEnemy : public CFightingMan {
 public:
  static constexpr int kDisarmedMark = 201;
  static constexpr int kFleeingMark = 202;
  static constexpr int kEscaped = 0xb000;

  CFEnemy();
  ~CFEnemy() override;

  void Reset() override;
  // Spawns the enemy of that database id.
  void SetOwner(CBattleSys* owner, int id) override;
  int Update(int frames) override;
  int StartAction(int id) override;
  void GetTarget(int* id, int* valid) override;
  void PlayIdle() override;
  void ChangeHP(int delta, int flag) override;
  int BuildMessage(int type, BATTLEMSG* message) override;
  int ReceiveMessage(BATTLEMSG* message) override;
  int GetAttackPower() override;

  void ResetAi();
  void LoadAiSwitches(const char* path);
  void NotifyAllies();
  // The level factor 1 + 0.13 x min(level / 7, 8).
  static float LevelFactor(int heroLevel);
  void SetMonitor(CAIMonitor* watcher) { monitor = watcher; }
  // Empties the watching monitor (its names stay) and forgets it.
  void DetachMonitor();
  void ChangeState(CUnitState* next) { state = next; }

  // Status timers of the enemy's decisions.
  static constexpr int kHoldTimer = 0x20;
  static constexpr int kPrepareTimer = 0x800;
  static constexpr int kPauseTimer = 0x2000;
  static constexpr int kReleaseTimer = 0x10000;
  static constexpr int kCureTimer = 0x80000;
  static constexpr int kLyingTimer = 0x800000;
  static constexpr int kAttacking = 0x4;

  // Perception.
  int IsTargetAlive() const;
  int IsWeak() const;
  static int NeedsCure(const CFightingMan* fighter);
  static int IsParalysedAlive(const CFightingMan* fighter);
  int CountOthers() const;
  // The other enemies neither gone nor escaped, in the battle's order.
  std::vector<CFEnemy*> FreeAllies() const;
  // 1 nearer than the inner bound, 2 in reach, 3 beyond.
  int AttackBand() const;
  int SupportBand() const;
  int IsFacing(const CFightingMan* fighter) const;
  // 1 front, 2 behind, 3 and 4 the sides.
  int HitQuadrant() const;
  // Degrees from a to b (unit vectors, z up); the sign is that of the turn.
  static float SignedAngle(const VECTOR3& a, const VECTOR3& b);

  // The action queue.
  int AddCandidate(int id);
  void PickCandidate();
  // 1 when a queued action started this frame.
  int RunQueue();
  void QueueIdle() { queue.push_back(11); }
  void QueueMovement(int band, int set);

  // Movement and facing.
  void AimAtTarget();
  int FaceTargetPoint(int frames);
  void CheckBlocked(int notify);
  int TrySideStep();
  void HoldOnTargetDown();
  void PickEscapePoint();
  int EscapeReached() const;

  // Choices; each stores the behaviour it chose.
  int ChooseApproach();
  int ChooseAttack();
  int ChooseDefence();
  int FindStrongerAlly();
  int ChooseCureAlly();
  int ChooseReleaseAlly();
  // Facing each other, a behaviour-6 enemy proposes a side-step instead.
  int SideStepsInsteadOfAttack();

  // Attacks.
  int CanStartAttack();
  void BeginPrepare();
  void CancelPrepare();
  void StartAttack();
  int AttackHit();
  void Shoot();
  void EndAttack(int landed);

  // Cures and releases.
  void StartCureAction();
  void StartReleaseAction();
  void CureTarget();
  void CureSelf();
  void ReleaseTarget();

  // Reactions to messages.
  void TakeDamage(int power, int part);
  void ReactToBlow(const BATTLEMSG* message);
  void ReactToSureBlow(const BATTLEMSG* message);
  void ReactToHeavyBlow(const BATTLEMSG* message);
  void Evade();
  int RollParalysis(const BATTLEMSG* message);
  void BeParalysed();
  int RollSnatch(const BATTLEMSG* message);
  void PlaySnatched();
  void BeSnatched();
  int RollThreat();
  void BeThreatened();
  void SetLyingTime();
  void GetUp();
  void GainMP(int frames);
  // One of the present ids, drawn with rand; 0 when none is present.
  int StartOneOf(std::initializer_list<int> ids);

  // Final blow and removal.
  void SetSlowMotion(int n);
  void StartFinalBlow();
  // The divider steps while the death action plays.
  void StepFinalBlow();
  void EndFinalBlow();
  void Remove();
  void CompleteEscape();

  CFighterGauge hpBar;
  CFightingMan* target = nullptr;
  CFightingMan* blocker = nullptr;
  std::vector<int> candidates;
  std::vector<int> queue;
  int behaviour = 0;
  std::unique_ptr<CBehaviourSet> switches;
  CAIMonitor* monitor = nullptr;
  VECTOR3 desiredDirection{0, 1, 0};
  VECTOR3 targetPoint{0, 0, 0};
  int aiEnabled = 1;
  CUnitState* state = nullptr;
  int finalBlow = 0;
  std::unique_ptr<CGDEnemySoul> ownSoul;

 private:
  void DecideStyle();
  void ShowHpPercent();
  // One of the present entries of ids (action ids, or switches with
  // fromSwitches), drawn with rand; 0 when none is present.
  int DrawPresent(std::initializer_list<int> ids, int fromSwitches);
  int IsWayClear() const;
  float Distance(const CFightingMan* fighter) const;
  // The nearest of the wave's other enemies that pass the test and are no
  // free ally's target in `approach`; null when none.
  CFEnemy* NearestNeedy(int (*test)(const CFightingMan*), CUnitState* approach) const;
};
