#pragma once
#include "base/tick_timer.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "world/chase_path.h"

class CSceneContent;
class CSceneNpc;

// What the event asks of the game around it. A service left out answers
// "nothing": no pose, counters and event base 0, no content, no event started.
struct ChaseEventServices {
  int (*walkerPose)() = nullptr;  // the walker's current pose
  int (*storyCounter)(int counter) = nullptr;
  void (*startEvent)(int kind, int number) = nullptr;
  int (*eventBase)() = nullptr;           // the event runner's number base
  CSceneContent* (*content)() = nullptr;  // the map's content
};
// The services g_chaseEvent uses, and every chase event made from now on;
// the game installs its own at start-up.
void SetChaseEventServices(const ChaseEventServices& services);

// A character of one field map that chases the party when the player turns
// its back on it for five seconds, and starts a story event on a catch.
class CNpcChaseEvent {
 public:
  static constexpr float kWatchRange = 100;
  static constexpr float kCatchRange = 8;
  static constexpr int kAttempts = 3;
  static constexpr int kCaughtEvent = 1049;
  // The role (NPC record byte 38) of the character that chases.
  static constexpr int kChaserRole = 251;
  enum State { kHome = 0, kGoingHome = 2, kCaught = 3 };

  CNpcChaseEvent();
  ~CNpcChaseEvent();
  CNpcChaseEvent(const CNpcChaseEvent&) = delete;
  CNpcChaseEvent& operator=(const CNpcChaseEvent&) = delete;

  void Reset();
  void Begin(HOBJECT npc, HOBJECT player, HOBJECT newTerrain, int index);
  // The per-frame logic; answers result.
  int Update();
  // 1 while over is set; otherwise one step of the mover and -1.
  int StepPatrol();
  // The character back on its home matrix, in pose 0.
  void RestoreNpc();

  // 1 when the walker's pose is 2, 10, 11 or 12.
  int CheckWalkerPose() const;
  // 0 (watched) when the character faces the player and the player has its
  // back to the character, else 1.
  int IsWatched() const;
  // 1 once within reach of the target (going home: back on the home matrix).
  int MoveTowards(const VECTOR3& target, int chase);

  int over = 0;
  CCountdownTimer watchTimer;
  int stopped = 0;
  int state = kHome;
  HOBJECT npcNode = 0;
  int npcIndex = -1;
  HOBJECT playerNode = 0;
  VECTOR3 homePosition{0, 0, 0};
  MATRIX34 homeMatrix{};
  int result = 0;
  int chasing = 0;
  int attempts = kAttempts;
  int watchSeconds = 5;
  int watchArmed = 0;
  int returning = 0;
  CChasePath sparePath;
  CChasePath mover;
  HOBJECT terrain = 0;
  int switchedOn = 0;  // set by the game core on the map that has the event
  ChaseEventServices services;

 private:
  CSceneNpc* Npc() const;
  void SetPose(int pose) const;
  void Catch();
};

extern CNpcChaseEvent g_chaseEvent;

// Makes g_chaseEvent as it was at start-up.
void ChaseEventStaticInit();
// Does nothing while stopped; resets the event when the patrol reports over.
void OnChaseEventFrame();
// 1 when the event is switched on and the character walks home.
int IsChaseEventChasing();
void StopChaseEvent();
