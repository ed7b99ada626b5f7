#pragma once
#include <vector>

#include "battle/kbs_state.h"
#include "engine/core/math3d.h"

class CFEnemy;
class CFMaster;
class CTarnwick;

// The hero's turn, shared by both heroes: the order of work in a tick, the
// key combinations, the battle script's decision, the fighters' ticks, the
// targets' highlights and gauges, the command menu, item menu and threat,
// the special gauge's drain and Escape. The phase code is the hero code.
class CMasterState : public CKBSState {
 public:
  // How a blow on the hero ended.
  static constexpr int kHurt = 1;
  static constexpr int kBlocked = 2;
  static constexpr int kDowned = -1;
  // Fighter flags of an enemy that is down or has escaped.
  static constexpr int kOutOfFight = 0x12;

  // The shared tick alone; each hero's state adds its codes.
  int Update(CBattleSys* sys, int frames) override;
  // Dispatches left button (16), right button (18), pointer moves (20) and keys (22).
  int Input(CBattleSys* sys, int type, int a, int b) override;

  // Called by the hero fighter when a blow reached it.
  virtual int OnHeroHit(CBattleSys* sys, int kind);
  virtual int UpdateMode(CBattleSys*) { return 1; }
  virtual int OnTurnStart(CBattleSys*) { return 1; }
  virtual int OnKey(CBattleSys* sys, int key, int down);
  virtual int OnMouseMove(CBattleSys* sys, int x, int y);
  virtual int OnLeftButton(CBattleSys*, int, int) { return 0; }
  virtual int OnRightButton(CBattleSys* sys, int a, int b);
  virtual int OnCommand(CBattleSys* sys, int id, int b);

  // The start of every tick: decision, combinations, fighters, mode, gauges, camera.
  void CommonUpdate(CBattleSys* sys, int frames);
  static void CheckBattleEnd(CBattleSys* sys, int frames);
  static void ComboInput(CBattleSys* sys, int frames);
  static void TickFighters(CBattleSys* sys, int frames);
  static void UpdateEnemyGauges(CBattleSys* sys);
  // The first standing enemy nearer than the hero's first reach; -1 when none.
  static int FindEnemyInReach(CBattleSys* sys);
  // Type 1, 2 or 3 for codes 211, 221 or 231.
  static void HighlightTargets(CBattleSys* sys, int type);
  static void SetHighlight(CBattleSys* sys, int index, int on);
  static int IsHighlighted(const CFEnemy* enemy);
  // 0 when a body is missing.
  static float BodyDistance(CTarnwick* a, CTarnwick* b);
  static int EnemyInFront(CBattleSys* sys, int reachRow, const VECTOR3& point);
  // The first other enemy in the fan from the hero towards enemy `index`; -1 when none.
  static int FindBlockerInFan(CBattleSys* sys, int index, float angle, float distance);
  // step > 0 starts a drain of the special gauge, step 0 ticks it; 0 once it is empty.
  static int DrainSpecialGauge(CFMaster* hero, float step);
  void ReturnToHeroControl(CBattleSys* sys);
  static void PlayNamedSound(const char* name);
  static void ThreatenTick(CBattleSys* sys);
  static void AttachCameraToHero(CBattleSys* sys, int on);
  static int OnEscape(CBattleSys* sys, int key, int down);
  static void OnMouseMoveDefault(CBattleSys* sys, int x, int y);
  static int OnRightButtonDefault(CBattleSys* sys);
  static int OnCommandDefault(CBattleSys* sys, int id);
  // The first highlighted enemy under the screen centre; -1 when none.
  static int PickedHighlighted(CBattleSys* sys);

 protected:
  // Neither down nor escaped.
  static bool Standing(const CFEnemy* enemy);
  // The enemy's box lies under the screen point.
  static bool BoxUnderPoint(const CFEnemy* enemy, int x, int y);
  // The enemy's box lies under the screen centre.
  static bool UnderScreenCentre(const CFEnemy* enemy);
  // Battle running again, locked cursor, command panel hidden, orbit camera.
  static void LeaveCommandMenu(CBattleSys* sys);
  static void StartThreatening(CBattleSys* sys);
  // Changes the hero's slow-motion divisor only when it differs: setting it
  // puts the body back on its whole frame.
  static void SetHeroDivider(CBattleSys* sys, int divider);
  // Divisor 1 for the hero and every enemy, updateDivider 1.
  static void RestoreSpeed(CBattleSys* sys);
  static void ClearAfterImage();
  static void SetCameraMode(int mode);
  static void SetOrbitDistance(float distance);
  // Camera track 9 from the orbit's centre, angles and radius.
  static void PullBackCamera(CBattleSys* sys);
  static VECTOR3 HeroPosition(CBattleSys* sys);
  static VECTOR3 HeroForward(CBattleSys* sys);
  static VECTOR3 EnemyPosition(const CFEnemy* enemy);
};

// The first hero's turn: targeted attacks through the direction circles,
// paralyse and snatch modes, speed mode and the finishing move on the
// enemies marked while the special gauge drains.
class CMVekState : public CMasterState {
 public:
  static CMVekState* Instance();

  int Update(CBattleSys* sys, int frames) override;
  int Input(CBattleSys* sys, int type, int a, int b) override;
  int OnHeroHit(CBattleSys* sys, int kind) override;
  int UpdateMode(CBattleSys* sys) override;
  int OnTurnStart(CBattleSys* sys) override;
  int OnLeftButton(CBattleSys* sys, int a, int b) override;
  int OnRightButton(CBattleSys* sys, int a, int b) override;
  int OnCommand(CBattleSys* sys, int id, int b) override;

  // The marked enemies of the special, or the one target of the targeted attack.
  std::vector<CFEnemy*> targets;
  // Frames strafed in codes 801, 803 and 804; -1 when done.
  int strafe = -1;

 private:
  CMVekState() = default;

  void Strafe(CBattleSys* sys, int frames, float step);
  void StartTargetedAttack(CBattleSys* sys);
  // Circles at the target's hit points; style 1 the small ones not blocked.
  void ShowCircles(CBattleSys* sys);
  static void HideCircles(CBattleSys* sys);
  // Message type 4 (paralyse) or 5 (snatch) to the picked enemy.
  void AttemptHold(CBattleSys* sys, bool snatch);
  void Mark(CBattleSys* sys);
  void EndMarking(CBattleSys* sys);
  void StartFinishingMove(CBattleSys* sys);
  void TickTargetedAttack(CBattleSys* sys, int frames);
  void TickFinishingMove(CBattleSys* sys, int frames);
  void AfterAttack(CBattleSys* sys);
  void AfterHold(CBattleSys* sys, bool snatch);
};

// The second hero's turn: random attacks on the enemy in front and the
// special, whose clicks play special attacks in slow motion while its gauge
// drains.
class CMYsaState : public CMasterState {
 public:
  static CMYsaState* Instance();

  int Update(CBattleSys* sys, int frames) override;
  int OnHeroHit(CBattleSys* sys, int kind) override;
  int OnTurnStart(CBattleSys* sys) override;
  int OnLeftButton(CBattleSys* sys, int a, int b) override;
  int OnRightButton(CBattleSys* sys, int a, int b) override;
  int OnCommand(CBattleSys* sys, int id, int b) override;

 private:
  CMYsaState() = default;

  static void Target(CBattleSys* sys);
  static void Attack(CBattleSys* sys);
  static void SpecialAttack(CBattleSys* sys);
  // A message of `type` to the nearest enemy within 45 degrees and radius + extra.
  static void AttackHit(CBattleSys* sys, int type, float extra);
  static void EndSlowMotion(CBattleSys* sys);
  static void TickSpecialAttack(CBattleSys* sys, int frames);
};
