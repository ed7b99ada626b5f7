#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CGameDataBase;
class CMSwordMan;
class CSceneNpc;
struct TRIGGERDESC;

// The party leader's body in a field scene: a swordsman loaded for the hero
// form, stepped over the terrain under the walk-key mask, blocked by nearby
// character and object volumes and by "Block" triggers, idling now and then
// and falling back onto the ground after a drop.
class CFieldWalker {
 public:
  // Actions: the creature's poses, and these codes of the walker's own.
  static constexpr int kFalling = -2;
  static constexpr int kStanding = 2;
  static constexpr float kBaseSpeed = 4.345f;  // units per tick at 100 percent

  explicit CFieldWalker(CGameDataBase* database);
  ~CFieldWalker();
  CFieldWalker(const CFieldWalker&) = delete;
  CFieldWalker& operator=(const CFieldWalker&) = delete;

  // Loads "creature\Walk<form, two digits>.MCB" unless that form is loaded;
  // a replaced creature hands on its place and the new one drops there.
  void SetForm(int form, int visible);
  void SetSpeeds(int form);
  void UpdateEncounterFactor();
  void RebuildIdleActions();
  // Plays a pose (looping after its start, at once) when it is not the
  // current action; the creature's answer.
  int SetAction(int action);
  int SetActionNow(int action, int mode);
  // One field tick under the direction mask; 1 when the walker moved or acted.
  int Step(int mask, int n);
  void GetPosition(VECTOR3* position, VECTOR3* direction) const;
  // Up is +z; the facing is made horizontal; a zero facing keeps (0, 1, 0).
  void SetDirection(const VECTOR3* position, const VECTOR3* direction);
  void SetPose(int action, const VECTOR3* position, const VECTOR3* direction, HOBJECT terrainHandle);
  // Installs the walker-collision hook in every NPC; an empty list takes it
  // out of the NPCs given before.
  void SetObstacles(const std::vector<CSceneNpc*>& list);
  void SetTriggers(const std::vector<TRIGGERDESC>* list);
  void Drop();
  // None restores the creature's lighting; an area darkens it.
  void SetShadowArea(const void* area);
  int IsInParty(int heroId) const;
  void ShowCreature(int on);

  // The NPCs' hook: -2 when their next position comes within 16 units of the
  // walker horizontally and 30 in height.
  static int NpcCollision(const VECTOR3* position);

  CGameDataBase* database;
  HOBJECT terrain = 0;
  int form = 0;
  HOBJECT node = 0;
  CMSwordMan* creature = nullptr;
  std::vector<int> idleActions;
  std::vector<CSceneNpc*> npcs;
  const std::vector<TRIGGERDESC>* triggers = nullptr;
  int action = kStanding;
  float walkSpeed = 0;
  int encounterFactor = 100;
  const void* shadowArea = reinterpret_cast<const void*>(1);
  int idleAllowed = 1;
  int idleTimer = 240;

 private:
  // The horizontal step of a mask; false for a mask that does not move.
  bool Displacement(int mask, float s, VECTOR3* d) const;
  // -3 passes (the displacement may be pushed back), 0 blocks.
  int CheckCollision(VECTOR3* displacement) const;
  int StepFalling();
};
