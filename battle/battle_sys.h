#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "battle/action_table.h"
#include "battle/battle_desc.h"
#include "battle/hit_vertices.h"
#include "components/gc_base.h"
#include "engine/core/handles.h"

class CMenuAgency;
class CSceneContent;
class CFightingMan;
class CFEnemy;

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
  // MINIMAL: no debug command set; every line answers 0 and nothing is drawn.
  int DebugCommand(const char*) { return 0; }
  void DrawDebug(int) {}

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
};

// The one battle system, set by its constructor.
extern CBattleSys* g_battleSys;
