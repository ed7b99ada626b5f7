#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "battle/action_table.h"
#include "battle/battle_desc.h"
#include "battle/hit_vertices.h"
#include "battle/ui_manager.h"
#include "components/gc_base.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "ui/qmz/sp_cursor.h"

class CBattleArena;
class CBattleScene;
class CFEnemy;
class CFMaster;
class CKBSConsole;
class CKBSState;
class CMenuAgency;
class CSceneContent;
class CTarnwick;
class CXPTrapManager;
class CXShot;
class CXWave;

// One wave slot of the battle description: an enemy id and how its enemy
// left the battle (0 until its wave is cleared).
struct SPAWNDESC {
  int enemyId = 0;
  int outcome = 0;
};

// The battle: a member of the scene society that loads the arena scene,
// places the hero and the enemy waves, runs the state machine of the battle
// flow and the hero's turns, feeds it the overlay's input and ends with the
// result the game reads. Start it with a description, poll IsRunning.
class CBattleSys : public CGCBase {
 public:
  static constexpr int kEnemySlots = 5;
  // Outcomes of a spawn entry.
  static constexpr int kOutcomeEscaped = 0xB000;
  static constexpr int kOutcomeDown = 2;
  static constexpr int kOutcomeParalysed = 512;
  // Fighter flags that mean the enemy ran away.
  static constexpr int kEscapeFlags = 0x1000 | 0x2000 | 0x8000;
  // SetFrozen masks.
  static constexpr int kFreezeEnemies = 4;
  static constexpr int kFreezeHero = 2;
  static constexpr int kFreezeScene = 1;
  // Cursor modes.
  static constexpr int kCursorHidden = -1;
  static constexpr int kCursorFree = 0;
  static constexpr int kCursorLocked = 0x10002;

  explicit CBattleSys(CMenuAgency* owner = nullptr);
  ~CBattleSys() override;

  // 1 when the battle started; 0 without society or owner, with an empty
  // scene name, an arena without terrain or a battle already running
  // (nothing changed).
  int Start(BATTLEDESC battle, int extraValue);
  // 0 when no battle runs.
  int End();
  // The result goes to `result` when given: 1 won, -1 lost, 0 undecided.
  int IsRunning(int* result);
  // Ends a running battle as won; 0 when none runs.
  int ForceWin();
  // Decides a running battle: nonzero won (victory phase), 0 lost (defeat).
  int Finish(int result);
  void SetState(CKBSState* newState, int code);
  // 1: the battle runs from the introduction; 0: the hero's turn.
  void EnterPhase(int start);

  // Advances the arena scene on every updateDivider-th call.
  int Update(int n) override;
  // The state's tick, after every other member's Update.
  int PostUpdate(int n) override { return TickState(n); }
  int TickState(int n);
  // The overlay's message callback.
  static int OnInput(int type, int a, int b, intptr_t c);

  // The item menu: everything frozen, no input reaches the state.
  int Pause();
  int Resume();
  void SetMousePrecision(int level);
  void SetCursorMode(int mode);
  // An enemy's final blow filmed by controller shot 101.
  int PlayControllerCamera(const VECTOR3& position, const VECTOR3& direction, const float* matrix);
  void EndControllerCamera();
  void HoldState(int code);

  int GetScriptValue(int kind, int key);
  // index -1: every active enemy.
  void SetEnemySlowFactor(int index, int factor);
  void SetHeroSlowFactor(int factor);
  void SetFrozen(int frozenFlag, int mask);
  // 2: enemies down; 1: enemies standing; else 0.
  int CountEnemies(int kind) const;

  // 1 "music1", 2 "victory", 3 "majorDie".
  void PlayMusic(int kind);
  void StopMusic();

  void PlaceHero(int heroId);
  // 1 when the next wave came, 0 when the battle is won.
  int NextWave();

  // The body's running action jumps to its last frame and stops moving it.
  static void CutAction(CTarnwick* body);

  HOBJECT HeroBodyNode() const;
  CSceneContent* ArenaContent() const;

  // ---- Shots, traps and debug commands (battle/battle_sys_shots.cpp) ----
  // Takes the shot and aims it at the hero's body.
  void AddShot(CXShot* shot);
  // Hands every hit over to the hero, drops one finished shot a call, and
  // every shot once the hero is down.
  void UpdateShots();
  void ClearShots();
  // The first count positions become traps; level 1..10 sets the interval
  // (others are taken as the nearest of them), value / 10 the period.
  void CreateTraps(int level, int value, const std::vector<VECTOR3>& positions, int count);
  void TickTraps(int n);
  void DeleteTraps();
  // Suspends or resumes every shot.
  void FreezeShots(int frozenFlag);
  void SlowShots(int factor);
  // A developer-console line; 1 when the debug set took it.
  int DebugCommand(const char* line);
  // Each drawing counts as one frame of the debug set's timed texts.
  void DrawDebug(int arg);
  // The ground mesh node of the arena; 0 without an arena.
  HOBJECT ArenaTerrainNode() const;
  std::unique_ptr<CKBSConsole> console;
  std::vector<CXShot*> shots;
  std::unique_ptr<CXPTrapManager> traps;
  // ---- end of shots, traps and debug commands ----

  BATTLEDESC desc;
  int extra = 0;
  CKBSState* state = nullptr;
  CFMaster* hero = nullptr;
  CFEnemy* enemies[kEnemySlots] = {};
  std::vector<SPAWNDESC> spawnList;
  size_t spawnCursor = 0;
  int enemyCount = 0;
  int phaseCode = 0;
  int savedPhaseCode = 0;
  int running = 0;
  CMenuAgency* overlay = nullptr;  // the overlay root that delivers input
  std::vector<HITVERTEXDESC> hitVertices;
  HOBJECT savedViewCamera = 0;
  std::unique_ptr<CBattleScene> scene;
  int sceneFrozen = 0;
  qmz::CSpCursor cursor;
  CUIManager hud;
  int paused = 0;
  int updateDivider = 1;
  CActionTable actionTable;
  std::unique_ptr<CBattleArena> arena;
  std::unique_ptr<CXWave> music;
  std::unique_ptr<CXWave> heroSound;
  int heroStateValue = 0;

  // Counts Update calls towards updateDivider, shared by every battle system.
  static int updateCounter;

 private:
  // Loads "kbs.acb" and "HitVertice.txt" from the battle folder.
  void LoadBattleData();
  void SpawnWave(int scriptPlacement);
  CFEnemy* CreateEnemy(int slot, int enemyId);
  void PlaceFirstWave(int fixedPlace);
  void PlaceLaterWave();
  void ReleaseEnemies();
  // Cuts the hero's and every enemy's running action to its end.
  void CutActions();
  // Places the node facing the direction and drops it onto the arena floor;
  // the engine's move result (MOVE_DONE when it stands on the floor).
  int PutOnGround(HOBJECT node, const VECTOR3& position, const VECTOR3& direction);
};

// The one battle system, set by its constructor.
extern CBattleSys* g_battleSys;
