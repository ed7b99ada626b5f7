#pragma once
// A person of a scene file as a live character: an animated creature on the
// scene terrain, bound to its row of the game resource's NPC table, running
// its routine each frame (idling, wandering, or walking its waypoints).
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CGameResource;
class CGCBMixCreature;
struct NPCDESC;
struct SCENEPERSONDESC;

// Called with the person's position while it walks; -2 holds it for the frame.
using NpcPositionHook = int (*)(const VECTOR3* position);

enum NPCFLAG : int32_t {
  NPC_WITHIN = 0x0001,
  NPC_ON_TERRAIN = 0x0002,
  NPC_PAUSED = 0x0004,
  NPC_FOLLOWS_KEYS = 0x0008,
  NPC_ALWAYS = 0x1000,
  NPC_HIDDEN = 0x2000,
};

enum NPCROUTINESTATE : uint8_t {
  NPCR_START = 0,
  NPCR_WAITING = 1,
  NPCR_WALKING = 2,
  NPCR_FINISHED = 3,
  NPCR_NEXT = 4,
  NPCR_STOPPED = 5,
};

class CSceneNpc {
 public:
  static constexpr float kArrivedSquared = 20;
  static constexpr int kPoseBlend = 16;

  // Builds the creature (sharing the model of an earlier person of the same
  // model file) unless the person's name has no NPC record or the model does
  // not load: such a person has no creature and takes part in nothing.
  CSceneNpc(SCENEPERSONDESC& person, const CGameResource& resource, HOBJECT terrain, int index,
            const std::vector<std::unique_ptr<CSceneNpc>>& built);
  ~CSceneNpc();
  CSceneNpc(const CSceneNpc&) = delete;
  CSceneNpc& operator=(const CSceneNpc&) = delete;

  void WalkTo(const VECTOR3& point);
  // Turns to the point in the ground plane and settles on the terrain.
  void FaceTowards(const VECTOR3& point);
  // Moves without turning.
  void MoveTo(const VECTOR3& point);
  // Plays the pose (looped or once) unless it is already current.
  void SetPose(int pose, int loop);
  // Whether the walk target lies within 20 squared units horizontally.
  bool HasArrived();
  bool IsWithin(float r);
  void PauseRoutine() { flags |= NPC_PAUSED; }
  void ResumeRoutine() { flags = (flags & 0xFFFF) & ~NPC_PAUSED; }
  bool IsPaused() const { return (flags & NPC_PAUSED) != 0; }

  // One frame of the routine with n ticks.
  void RunRoutine(int n);

  const NPCDESC* npc = nullptr;
  SCENEPERSONDESC& person;
  CGCBMixCreature* creature = nullptr;  // owned
  HOBJECT terrain;
  VECTOR3 position{0, 0, 0};
  VECTOR3 heading{0, 1, 0};
  VECTOR3 walkTarget{0, 0, 0};
  int32_t waypoint = 0;
  HOBJECT node = 0;
  int32_t flags = 0;
  uint8_t state = NPCR_START;
  uint8_t direction = 0;
  int16_t counter = 0;
  int32_t pose = -1;
  NpcPositionHook positionHook = nullptr;

 private:
  void BuildCreature(const std::vector<std::unique_ptr<CSceneNpc>>& built);
  void Settle();
  void ReadPosition();
  bool TargetWithinSquared(float limit);
  void Advance(int n) { counter = static_cast<int16_t>(counter + (direction ? -n : n)); }
  void IdleRoutine(int n, bool finished);
  void KeyRoutine(int n, bool finished);
  void Move(int n);
  // The end rules of a walk that reached an end (o 1) or its start (o -1).
  void ReachEnd(int n, int o);
};
