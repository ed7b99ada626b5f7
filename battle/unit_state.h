#pragma once

class CFEnemy;
struct BATTLEMSG;

// A state of an enemy's behaviour: a stateless singleton that the enemy calls
// every frame and hands every message to. Message operations answer 1 when
// the message took effect, 0 when it was ignored or resisted.
class CUnitState {
 public:
  virtual ~CUnitState() = default;

  // Another enemy was hit by a paralysing or snatching blow.
  virtual int OnAllyAlarm(CFEnemy* enemy, int frames) = 0;
  // Another fighter stands in the way and is not the enemy's target.
  virtual int OnBlocked(CFEnemy* enemy) = 0;
  virtual int OnHeavyBlow(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnRelease(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnCure(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnSnatch(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnParalyse(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnBlow(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnSureBlow(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int OnThreat(CFEnemy* enemy, BATTLEMSG* message) = 0;
  virtual int Update(CFEnemy* enemy, int frames) = 0;
};
