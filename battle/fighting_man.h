#pragma once
#include <list>
#include <map>
#include <string>
#include <vector>

#include "battle/action_table.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CBattleSys;
class CGDManSoul;
class CTarnwick;

// A status timer: the flag bits it clears when its frames run out.
struct FIGHTERTIMER {
  int bits = 0;
  int frames = 0;
};

// What fighters send one another: a type (1 to 9), a sender's code and
// key/value pairs.
struct BATTLEMSG {
  int type = 0;
  int code = 0;
  std::map<int, int> values;

  // A key already set keeps its value.
  void Set(int key, int value) { values.emplace(key, value); }
  // 0 for a key the sender did not set.
  int Get(int key) const;
};

// The battle side of every fighter: a character record joined to a battle
// body, the fighter's actions from the action table, timed status flags and
// the range and facing tests.
class CFightingMan {
 public:
  static constexpr int kFirstHero = 0x10000;
  static constexpr int kSecondHero = 0x20000;
  static constexpr int kDown = 0x2;
  static constexpr int kParalysed = 0x200;
  static constexpr int kDisarmed = 0x400;

  CFightingMan() { Init(); }
  virtual ~CFightingMan();
  CFightingMan(const CFightingMan&) = delete;
  CFightingMan& operator=(const CFightingMan&) = delete;

  virtual void Init();
  virtual void Reset();
  virtual void Attach(CBattleSys* owner, CTarnwick* body, CGDManSoul* soul);
  virtual void SetOwner(CBattleSys* owner, int id);
  // 0 while frozen; else refreshes position and facing and ticks the timers.
  virtual int Update(int frames);
  virtual int StartAction(int id);
  virtual void GetTarget(int* id, int* valid);
  virtual void PlayIdle() {}
  virtual void ChangeHP(int, int) {}
  virtual int BuildMessage(int, BATTLEMSG*) { return 0; }
  virtual int ReceiveMessage(BATTLEMSG*) { return 0; }
  virtual int GetAttackPower() { return 0; }

  // A body from "creature/battle", joined to the battle's society, with its
  // wire box.
  void CreateBody(const char* modelFile);
  // The wire box, then the body.
  void ReleaseBody();
  // The body's model file name without extension; 0 when none or too long.
  int GetModelBaseName(char* buffer, int size) const;
  void SetRanges(float radius, float r1, float r2, float r3);
  // Takes this fighter's record of the owner's action table and resolves
  // each action's frame defaults from its pose.
  void LoadActions();
  int HasAction(int id) const { return actions.count(id) != 0; }
  int GetActionParam(int id, int i) const;
  int GetActionLength() const;
  int GetFramesLeft() const;
  int IsActing() const;
  void SetHidden(int hidden);
  // The current action's direction; 0 when the body plays no table action.
  int GetActionFacing(VECTOR3* out) const;
  int InAttackRange(const CFightingMan* target) const;
  void GetFrontPoint(VECTOR3* point, VECTOR3* direction, float distance) const;
  int StartAction11() { return StartAction(11); }
  int PlayActionEffect();
  // "<model base name>e<pose>" of the current action; 0 without a body.
  int ActionEffectName(char* out, int size) const;

  int AddTimer(int bits, int frames, int mode);
  void RemoveTimers(int bits);
  int GetTimer(int bits) const;

  // The fighter type of the action table: the soul's kind, 3 and 4 for the
  // heroes' second costumes.
  int FighterType() const;

  int kind = 0;
  int style = 0;
  int flags = 0;
  int mode = 0;
  CBattleSys* owner = nullptr;
  int frozen = 0;
  int stopped = 0;
  int spare[3] = {};
  VECTOR3 position{0, 0, 0};
  VECTOR3 facing{0, 0, 0};
  int spareAfterFacing = 0;
  float range2 = 0, range3 = 0, range1 = 0;
  float collisionRadius = 0;
  int hitDirection = 0;
  int targetId = 0;
  int spareAfterTarget = 0;
  CTarnwick* body = nullptr;
  CGDManSoul* soul = nullptr;
  std::vector<int> extra;
  HOBJECT boxNode = 0;
  int boxSpare = 0;
  std::list<FIGHTERTIMER> timers;
  std::vector<ACTIONTRANSITION> transitions;
  std::map<int, ACTIONDESC> actions;

 protected:
  // The forward vector turned in the ground plane by a facing code.
  static VECTOR3 TurnByFacing(const VECTOR3& forward, int code);

 private:
  // A new wire box under the body, in place of an old one.
  void BuildWireBox();
  void DestroyWireBox();
};
