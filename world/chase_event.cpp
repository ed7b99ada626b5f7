#include "world/chase_event.h"

#include <cmath>
#include <new>

#include "database/scene_records.h"
#include "engine/core/node_transforms.h"
#include "engine/core/walking.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace {

// Made before g_chaseEvent, which starts with them.
ChaseEventServices g_installedServices;

constexpr float kWatchCosine = 0.17364818f;  // cos 80 degrees
constexpr float kFramesPerSecond = 30;
constexpr float kHiddenHeight = 600;
constexpr int kStoryActionKind = 6;
constexpr VECTOR3 kPatrol[] = {{-434, -937, 0}, {-370, -720, 0}, {-392, -550, 0}};

VECTOR3 Flat(VECTOR3 v) {
  v.z = 0;
  const float length = std::sqrt(v.x * v.x + v.y * v.y);
  if (length > 0) {
    v.x /= length;
    v.y /= length;
  }
  return v;
}

float FlatDistance(const VECTOR3& a, const VECTOR3& b) { return std::hypot(a.x - b.x, a.y - b.y); }

VECTOR3 Position(HOBJECT node) {
  VECTOR3 p{0, 0, 0};
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  return p;
}

VECTOR3 Forward(HOBJECT node) {
  VECTOR3 f{0, 0, 0};
  GetNodeWorldVectors(node, nullptr, &f, nullptr);
  return f;
}

}  // namespace

CNpcChaseEvent g_chaseEvent;

void SetChaseEventServices(const ChaseEventServices& services) {
  g_installedServices = services;
  g_chaseEvent.services = services;
}

CNpcChaseEvent::CNpcChaseEvent() : services(g_installedServices) {
  sparePath.Clear();
  mover.Clear();
  Reset();
}

CNpcChaseEvent::~CNpcChaseEvent() = default;

void CNpcChaseEvent::Reset() {
  result = 0;
  chasing = 0;
  over = 0;
  watchSeconds = 5;
  watchArmed = 0;
  returning = 0;
  terrain = 0;
  mover.Clear();
  for (const VECTOR3& point : kPatrol) mover.AddPoint(point);
}

void CNpcChaseEvent::Begin(HOBJECT npc, HOBJECT player, HOBJECT newTerrain, int index) {
  npcNode = npc;
  playerNode = player;
  terrain = newTerrain;
  npcIndex = index;
  for (CChasePath* path : {&sparePath, &mover}) {
    path->node = npc;
    path->terrain = newTerrain;
  }
  state = kHome;
  stopped = 0;
  homePosition = Position(npc);
  GetNodeMatrix(npc, &homeMatrix, 2);
}

CSceneNpc* CNpcChaseEvent::Npc() const {
  CSceneContent* content = services.content ? services.content() : nullptr;
  if (!content || npcIndex < 0 || npcIndex >= static_cast<int>(content->people.size())) return nullptr;
  return content->people[npcIndex].get();
}

void CNpcChaseEvent::SetPose(int pose) const {
  if (CSceneNpc* npc = Npc()) npc->SetPose(pose, 1);
}

int CNpcChaseEvent::CheckWalkerPose() const {
  const int pose = services.walkerPose ? services.walkerPose() : -1;
  return pose == 2 || pose == 10 || pose == 11 || pose == 12 ? 1 : 0;
}

int CNpcChaseEvent::IsWatched() const {
  const VECTOR3 f = Flat(Forward(npcNode));
  const VECTOR3 g = Flat(Forward(playerNode));
  const VECTOR3 from = Position(npcNode);
  const VECTOR3 to = Position(playerNode);
  const VECTOR3 d = Flat({to.x - from.x, to.y - from.y, 0});
  const bool watched = f.x * d.x + f.y * d.y > kWatchCosine && f.x * g.x + f.y * g.y > kWatchCosine;
  return watched ? 0 : 1;
}

int CNpcChaseEvent::MoveTowards(const VECTOR3& target, int chase) {
  if (FlatDistance(Position(npcNode), target) > kCatchRange) {
    if (chase) {
      SetPose(1);
      mover.GoTo(Position(playerNode));
    } else {
      returning = 1;
      if (mover.GoTo(homePosition)) {
        SetPose(0);
        TurnNodeOnTerrainReverse(npcNode, 180, 0, 0);
      }
    }
    return 0;
  }
  if (returning) {
    SetNodeMatrix(npcNode, &homeMatrix, 0);
    returning = 0;
  }
  SetPose(0);
  return 1;
}

void CNpcChaseEvent::Catch() {
  stopped = 1;
  state = kCaught;
  if (services.startEvent)
    services.startEvent(kStoryActionKind, (services.eventBase ? services.eventBase() : 0) + kCaughtEvent);
  SetNodePosition(npcNode, homePosition.x, homePosition.y, homePosition.z + kHiddenHeight, TRANSFORM_SET);
  if (CSceneNpc* npc = Npc()) {
    npc->PauseRoutine();
    if (CSceneContent* content = services.content()) content->ShowNpc(npc->person.npcId, 0);
  }
  sparePath.Clear();
  mover.active = 0;
  over = 0;
  watchTimer.Stop();
  // Disarmed too, or the watch would never be armed again at the next entry.
  watchArmed = 0;
  chasing = 0;
  result = 0;
  --attempts;
}

int CNpcChaseEvent::Update() {
  if (over || !playerNode || !npcNode || attempts <= 0) return result;
  const VECTOR3 player = Position(playerNode);
  if (FlatDistance(player, Position(npcNode)) > kWatchRange) return result;
  if (chasing) {
    if (!CheckWalkerPose()) {
      watchTimer.Stop();
      watchArmed = 0;
      chasing = 0;
    } else if (IsWatched() == 1) {
      watchTimer.Stop();
      watchArmed = 0;
      chasing = 0;
      if (!MoveTowards(homePosition, 0)) state = kGoingHome;
    } else if (MoveTowards(player, 1)) {
      Catch();
    }
    return result;
  }
  SetPose(1);
  if (MoveTowards(homePosition, 0)) {
    state = kHome;
    if (services.storyCounter && services.storyCounter(0) == 1) {
      result = 1;
      return 1;
    }
    if (CheckWalkerPose() && IsWatched() == 0) {
      if (!watchArmed) {
        watchTimer.Set(static_cast<float>(watchSeconds) * kFramesPerSecond, CCountdownTimer::kOnce);
        watchArmed = 1;
      }
      if (watchTimer.IsDue()) chasing = 1;
    } else {
      watchTimer.Stop();
      watchArmed = 0;
    }
  }
  return result;
}

int CNpcChaseEvent::StepPatrol() {
  if (over) return 1;
  mover.Step();
  return -1;
}

void CNpcChaseEvent::RestoreNpc() {
  if (npcNode) SetNodeMatrix(npcNode, &homeMatrix, 0);
  SetPose(0);
}

void ChaseEventStaticInit() {
  g_chaseEvent.~CNpcChaseEvent();
  new (&g_chaseEvent) CNpcChaseEvent();
}

void OnChaseEventFrame() {
  if (g_chaseEvent.stopped) return;
  g_chaseEvent.Update();
  if (g_chaseEvent.StepPatrol() == 1) g_chaseEvent.Reset();
}

int IsChaseEventChasing() {
  return g_chaseEvent.switchedOn && g_chaseEvent.state == CNpcChaseEvent::kGoingHome ? 1 : 0;
}

void StopChaseEvent() {
  g_chaseEvent.stopped = 1;
  g_chaseEvent.state = CNpcChaseEvent::kHome;
  g_chaseEvent.RestoreNpc();
}
