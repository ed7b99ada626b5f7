// A person's routine, run once per frame by the scene content.
#include <algorithm>

#include "components/mix_creature.h"
#include "database/scene_records.h"
#include "engine/core/walking.h"
#include "platform/crt.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace {

constexpr int kStartNow = 1;
constexpr int kStartRandom = 2;
constexpr uint8_t kRepeatBounce = 1;
constexpr int kWanderRange = 150;
constexpr int kIdleTicks = 60;
constexpr float kOffTerrainReach = 30;

int StartMode(const SCENEANIMDESC& r) { return r.mode & 0x0F; }

// rand() x count / 32768: an index below count.
int RandomBelow(int count) { return count > 0 ? plat::Rand() * count / (plat::kRandMax + 1) : 0; }

}  // namespace

void CSceneNpc::RunRoutine(int n) {
  if (!creature) return;
  if (pose == 1 && positionHook && positionHook(&position) == -2) return;
  const bool finished = creature->Update(n) == 0;
  creature->PostUpdate(n);
  // A person without a routine record stands.
  if (!person.routine) return;
  if (person.routine->lastKey == 0) IdleRoutine(n, finished);
  else if (!IsPaused()) KeyRoutine(n, finished);
}

void CSceneNpc::IdleRoutine(int n, bool finished) {
  const SCENEANIMDESC& r = *person.routine;
  if (StartMode(r) == kStartRandom) {
    switch (pose) {
      case 0:
        if (IsPaused()) break;
        counter = static_cast<int16_t>(counter + n);
        if (counter >= r.delay) {
          const int dx = (16383 - plat::Rand()) * kWanderRange / plat::kRandMax;
          const int dy = (16383 - plat::Rand()) * kWanderRange / plat::kRandMax;
          WalkTo({position.x + dx, position.y + dy, position.z});
          counter = 0;
        }
        break;
      case 1:
        if (flags & NPC_ON_TERRAIN) {
          if (creature->lastRootResult == 0) {
            SetPose(0, 1);
          } else if (HasArrived()) {
            const int f = RandomBelow(creature->poseCount - 1);
            if (f > 0) SetPose(f + 1, 0);
            else SetPose(0, 1);
          }
        } else if (!IsWithin(kOffTerrainReach)) {
          WalkNodeOnTerrain(node, -1, 1, 0, 0, 0);
          SetPose(0, 1);
        }
        break;
      case 2:
      case 3:
        counter = static_cast<int16_t>(counter + n);
        if (finished) SetPose(0, 1);
        break;
      default: break;
    }
    return;
  }
  if (pose == 0) {
    if (IsPaused()) return;
    counter = static_cast<int16_t>(counter + n);
    if (counter > kIdleTicks) {
      const int f = RandomBelow(creature->poseCount);
      if (f > 1) SetPose(f, 0);
      counter = 0;
    }
  } else if ((pose == 2 || pose == 3) && finished) {
    SetPose(0, 1);
  }
}

void CSceneNpc::KeyRoutine(int n, bool finished) {
  const SCENEANIMDESC& r = *person.routine;
  const auto& keys = r.positionKeys;
  switch (state) {
    case NPCR_START:
      if (StartMode(r) == kStartNow) {
        state = NPCR_NEXT;
        counter = static_cast<int16_t>(keys.empty() ? 1 : n + keys.front().frame);
        SetPose(1, 1);
      } else if (StartMode(r) == kStartRandom) {
        if (pose != 0) {
          counter = static_cast<int16_t>(counter + n);
          if (finished) {
            state = NPCR_WAITING;
            SetPose(0, 1);
          }
        } else {
          const int o = RandomBelow(creature->poseCount - 1);
          if (o > 0) SetPose(o + 1, 0);
          else state = NPCR_WAITING;
        }
      }
      return;
    case NPCR_WAITING:
      if (++counter >= r.delay) {
        state = NPCR_NEXT;
        counter = 1;
        SetPose(1, 1);
      }
      return;
    case NPCR_FINISHED:
      if (StartMode(r) == kStartRandom) state = NPCR_START, counter = 0;
      return;
    case NPCR_NEXT:
      waypoint += direction ? -1 : 1;
      if (!keys.empty()) {
        waypoint = std::clamp(waypoint, 0, static_cast<int>(keys.size()) - 1);
        WalkTo(keys[waypoint].value);
        state = NPCR_WALKING;
      }
      [[fallthrough]];
    case NPCR_WALKING:
      if (state == NPCR_WALKING) Move(n);
      return;
    default: return;
  }
}

void CSceneNpc::Move(int n) {
  const SCENEANIMDESC& r = *person.routine;
  if (flags & NPC_FOLLOWS_KEYS) {
    float alpha = 0;
    if (CSceneContent::SampleVisibility(&alpha, r, counter)) creature->SetAlpha(std::clamp(alpha, 0.0f, 1.0f));
    VECTOR3 point{0, 0, 0};
    const int o = CSceneContent::SamplePosition(&point, r, counter);
    MoveTo(point);
    if (o >= 2) {
      state = NPCR_NEXT;
      Advance(n);
    } else if (o == 0) {
      Advance(n);
    } else {
      ReachEnd(n, o);
    }
    return;
  }
  const int last = static_cast<int>(r.positionKeys.size()) - 1;
  if (last < 0) return;
  if (creature->lastRootResult == 0) {
    state = NPCR_STOPPED;
    SetPose(0, 1);
    waypoint = 0;
    direction = 0;
    Advance(n);
    return;
  }
  if (!HasArrived()) {
    Advance(n);
    return;
  }
  state = NPCR_NEXT;
  const int o = waypoint >= last ? 1 : waypoint <= 0 ? -1 : 0;
  if (o != 0) ReachEnd(n, o);
}

void CSceneNpc::ReachEnd(int n, int o) {
  SCENEANIMDESC& r = *person.routine;
  state = NPCR_NEXT;
  if (r.repeat == kRepeatBounce) {
    if (r.playsLeft > 0) --r.playsLeft;
    if (r.playsLeft == 0) {
      state = NPCR_FINISHED;
      SetPose(0, 1);
    }
    counter = static_cast<int16_t>(counter + (direction ? n : -n));
    direction ^= 1;
  } else if (o == 1) {
    if (r.playsLeft > 0) --r.playsLeft;
    if (r.playsLeft == 0) {
      state = NPCR_FINISHED;
      direction ^= 1;
      SetPose(0, 1);
    } else {
      // Plays remain: the walk starts again from the first waypoint.
      waypoint = -1;
      direction = 0;
    }
    counter = 0;
  } else {
    Advance(n);
  }
}
