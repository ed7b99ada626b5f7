#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "battle/action_table.h"
#include "battle/battle_desc.h"
#include "battle/hit_vertices.h"
#include "components/gc_base.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CMenuAgency;
class CSceneContent;
class CFightingMan;
class CFEnemy;
class CKBSConsole;
class CXPTrapManager;
class CXShot;

// The battle system, a member of the scene society.
// MINIMAL: no battle runs: its states, arena scene, input, shots, script,
// heads-up display and debug commands are not built yet; it holds the
// fighters, the action table and the hit vertices that the fighters read.
// A battle is never running and counts as won.
class CBattleSys : public CGCBase {
 public:
  static constexpr int kEnemySlots = 5;

  explicit CBattleSys(CMenuAgency* overlay = nullptr);
  ~CBattleSys() override;

  int Update(int) override { return 1; }
  // MINIMAL: the battle is not played: it is kept and counts as won at once.
  void Start(BATTLEDESC desc, int) { started = std::move(desc); }
  // 0 after the end, with result 1 won, -1 lost.
  int IsRunning(int* result) {
    if (result) *result = 1;
    return 0;
  }
  void End() {}
  void ForceWin() {}

  // MINIMAL: the battle script is not built; every value is -1.
  int GetScriptValue(int, int) { return -1; }
  // MINIMAL: no controller-camera shot plays, nothing to end.
  void EndControllerCamera() {}
  // MINIMAL: no states tick yet, so pausing changes nothing.
  int Pause() { return 1; }
  int Resume() { return 1; }
  // MINIMAL: the orbit camera's mouse precision is not kept yet.
  void SetMousePrecision(int) {}
  // MINIMAL: no slow motion, controller camera or forced result yet.
  void SetHeroSlowFactor(int) {}
  void PlayControllerCamera(const VECTOR3*, const VECTOR3*, const MATRIX34*) {}
  void Finish(int) {}
  int updateDivider = 1;

  // Loads "kbs.acb" and "HitVertice.txt" from the battle folder.
  void LoadBattleData(const char* folder);
  // The hero node the battle camera follows.
  HOBJECT HeroBodyNode() const;

  CMenuAgency* overlay;
  CSceneContent* arenaContent = nullptr;  // the arena's scene content while a battle runs
  HOBJECT heroBodyNode = 0;               // used while no hero body stands
  CFightingMan* hero = nullptr;
  CFEnemy* enemies[kEnemySlots] = {};
  int enemyCount = 0;
  std::vector<HITVERTEXDESC> hitVertices;
  CActionTable actionTable;
  BATTLEDESC started;  // the record of the last Start

  // Shots, traps and the debug command set (battle/battle_sys_shots.cpp).
  // Takes the shot and aims it at the hero's body.
  void AddShot(CXShot* shot);
  // Hands every hit over to the hero, drops one finished shot a call, and
  // every shot once the hero is down.
  void UpdateShots();
  void ClearShots();
  // count positions of three floats; level 1..10 sets the interval.
  void CreateTraps(int level, int value, const float* positions, int count);
  void TickTraps(int n);
  void DeleteTraps();
  // A developer-console line; 1 when the debug set took it.
  int DebugCommand(const char* line);
  void DrawDebug(int arg);
  // The ground mesh node of the arena; 0 without an arena.
  HOBJECT ArenaTerrainNode() const;
  std::unique_ptr<CKBSConsole> console;
  std::vector<CXShot*> shots;
  std::unique_ptr<CXPTrapManager> traps;
};

// The one battle system, set by its constructor.
extern CBattleSys* g_battleSys;
