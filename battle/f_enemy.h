#pragma once
#include <memory>
#include <string>
#include <vector>

#include "battle/fighter_gauge.h"
#include "battle/fighting_man.h"

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

  CFighterGauge hpBar;
  CFightingMan* target = nullptr;
  CFightingMan* blocker = nullptr;
  std::vector<int> candidates;
  std::vector<int> queue;
  int behaviour = 0;
  std::unique_ptr<CBehaviourSet> switches;
  VECTOR3 desiredDirection{0, 1, 0};
  VECTOR3 targetPoint{0, 0, 0};
  int aiEnabled = 1;
  CUnitState* state = nullptr;
  int finalBlow = 0;
  std::unique_ptr<CGDEnemySoul> ownSoul;

 private:
  void DecideStyle();
  void ShowHpPercent();
};
