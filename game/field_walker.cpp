#include "game/field_walker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/debug_trace.h"
#include "base/game_audio.h"
#include "base/game_globals.h"
#include "base/game_math.h"
#include "components/sword_man.h"
#include "database/game_database.h"
#include "database/scene_records.h"
#include "engine/core/node_transforms.h"
#include "engine/core/walking.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "platform/crt.h"
#include "world/obj_bound_volume.h"
#include "world/scene_npc.h"

namespace {

constexpr int kAttributeSpeed = 43;
constexpr int kIdleTicksAfterMoving = 240;
constexpr float kDiagonal = 0.707f;

// Where the walker stood after its last step, for the NPCs' hook.
VECTOR3 g_walkerPosition{0, 0, 0};

QUADVOLUME QuadOf(const SCENEZONE& zone) {
  QUADVOLUME quad{};
  for (int i = 0; i < 4; ++i) {
    quad.corner[i][0] = zone.corners[static_cast<size_t>(i)][0];
    quad.corner[i][1] = zone.corners[static_cast<size_t>(i)][1];
  }
  quad.zMin = zone.zMin;
  quad.zMax = zone.zMax;
  return quad;
}

// Pushes the end point out of every box of the volume; true when one was touched.
bool PushOut(const ObjBoundVolume& volume, const VECTOR3& from, const ObjBoundVolume& walker, VECTOR3* end) {
  bool touched = false;
  for (const ORIENTEDBOX& box : volume.boxes) {
    VECTOR3 positions[3] = {*end, from, {walker.radius, walker.height, 0}};
    if (TestCylinderHitsBox(positions, box)) {
      *end = positions[0];
      touched = true;
    }
  }
  return touched;
}

}  // namespace

CFieldWalker::CFieldWalker(CGameDataBase* database) : database(database) {}

CFieldWalker::~CFieldWalker() {
  SetObstacles({});
  delete creature;
}

void CFieldWalker::SetForm(int newForm, int visible) {
  if (creature && newForm == form) return;
  VECTOR3 position{0, 0, 0}, direction{0, 1, 0};
  const bool hadCreature = creature != nullptr;
  if (hadCreature) GetPosition(&position, &direction);
  delete creature;
  char file[32];
  std::snprintf(file, sizeof file, "Walk%02d.MCB", newForm);
  creature = new CMSwordMan(file, 1, "creature");
  form = newForm;
  node = creature->rootNode;
  if (g_hardwareRendering) {
    creature->SetShadowMode(16);
    creature->ShowShadow(1);
  }
  // A missing model leaves no node: handle 0 would be the node under construction.
  if (node) SetNodeAxes(node, 4, 2);
  if (hadCreature) {
    SetDirection(&position, &direction);
    if (terrain) PlaceNodeOnTerrain(node, terrain, 0, 0);
  }
  action = 0;
  SetAction(kStanding);
  creature->SetVisible(visible);
}

void CFieldWalker::SetSpeeds(int heroForm) {
  int best = 0;
  const std::vector<int32_t>& members = database->party.members;
  for (size_t i = 0; i < members.size() && i < 3; ++i)
    if (const CGDMainManSoul* hero = database->FindHero(members[i]))
      best = std::max(best, static_cast<int>(hero->GetAttribute(kAttributeSpeed)));
  const int factor = best < 10 ? 100 : best;
  walkSpeed = heroForm == 6 || heroForm == 9 ? 0 : kBaseSpeed * static_cast<float>(factor) * 0.01f;
  UpdateEncounterFactor();
}

void CFieldWalker::UpdateEncounterFactor() { encounterFactor = form >= 1 && form <= 4 ? 1 : 0; }

void CFieldWalker::RebuildIdleActions() {
  idleActions.clear();
  if (form == 1 || form == 2) idleActions.push_back(12);
}

int CFieldWalker::SetAction(int a) {
  if (a == action || !creature) return 0;
  const int result = creature->PlayPose(a, 2, CGCBMixCreature::kImmediate, 0);
  action = a;
  return result;
}

int CFieldWalker::SetActionNow(int a, int mode) {
  if (!creature) return 0;
  action = a;
  return creature->PlayPose(a, mode, CGCBMixCreature::kImmediate, 0);
}

void CFieldWalker::GetPosition(VECTOR3* position, VECTOR3* direction) const {
  // Node 0 would be the node under construction.
  if (!node) return;
  GetNodeWorldVectors(node, position, direction, nullptr);
}

void CFieldWalker::SetDirection(const VECTOR3* position, const VECTOR3* direction) {
  if (!node || !position) return;
  VECTOR3 facing{0, 1, 0};
  if (direction) {
    const float length = std::sqrt(direction->x * direction->x + direction->y * direction->y);
    if (length > 0) facing = {direction->x / length, direction->y / length, 0};
  }
  const VECTOR3 up{0, 0, 1};
  SetNodeDirection(node, position, &facing, &up);
}

void CFieldWalker::SetPose(int a, const VECTOR3* position, const VECTOR3* direction, HOBJECT terrainHandle) {
  SetAction(a);
  const VECTOR3 north{0, 1, 0};
  SetDirection(position, direction ? direction : &north);
  if (terrainHandle) {
    PlaceNodeOnTerrain(node, terrainHandle, 0, 0);
    terrain = terrainHandle;
  }
}

void CFieldWalker::SetObstacles(const std::vector<CSceneNpc*>& list) {
  for (CSceneNpc* npc : npcs)
    if (npc->positionHook == NpcCollision) npc->positionHook = nullptr;
  npcs = list;
  for (CSceneNpc* npc : npcs) npc->positionHook = NpcCollision;
}

void CFieldWalker::SetTriggers(const std::vector<TRIGGERDESC>* list) { triggers = list; }

void CFieldWalker::Drop() {
  action = kFalling;
  if (!creature) return;
  VECTOR3 position;
  GetPosition(&position, nullptr);
  creature->StartMoveTo(2, position.x, position.y, position.z - 100, 0, 0);
}

void CFieldWalker::SetShadowArea(const void* area) {
  if (area == shadowArea) return;
  shadowArea = area;
  if (!creature) return;
  if (!area) {
    creature->RestoreMaterialColours();
    return;
  }
  const float half[3] = {0.5f, 0.5f, 0.5f}, none[3] = {0, 0, 0};
  creature->SetMaterialColours(half, half, nullptr, none);
}

int CFieldWalker::IsInParty(int heroId) const {
  const std::vector<int32_t>& members = database->party.members;
  return std::find(members.begin(), members.end(), heroId) != members.end() ? 1 : 0;
}

void CFieldWalker::ShowCreature(int on) {
  if (creature) creature->SetVisible(on);
}

int CFieldWalker::NpcCollision(const VECTOR3* p) {
  if (!p) return 0;
  const float dx = p->x - g_walkerPosition.x, dy = p->y - g_walkerPosition.y;
  return dx * dx + dy * dy < 256 && std::fabs(p->z - g_walkerPosition.z) < 30 ? -2 : 0;
}

bool CFieldWalker::Displacement(int mask, float s, VECTOR3* d) const {
  VECTOR3 facing{0, 1, 0};
  GetPosition(nullptr, &facing);
  const float dx = facing.x, dy = facing.y;
  switch (mask) {
    case 1: *d = {s * dx, s * dy, 0}; return true;
    case 8: *d = {-s * dx, -s * dy, 0}; return true;
    case 2: *d = {s * dy, -s * dx, 0}; return true;
    case 4: *d = {-s * dy, s * dx, 0}; return true;
    case 3: *d = {kDiagonal * s * (dx + dy), kDiagonal * s * (dy - dx), 0}; return true;
    case 5: *d = {kDiagonal * s * (dx - dy), kDiagonal * s * (dx + dy), 0}; return true;
    case 10: *d = {-kDiagonal * s * (dx - dy), -kDiagonal * s * (dx + dy), 0}; return true;
    case 12: *d = {-kDiagonal * s * (dx + dy), -kDiagonal * s * (dy - dx), 0}; return true;
    default: return false;
  }
}

int CFieldWalker::CheckCollision(VECTOR3* d) const {
  if (!g_game) return -3;
  const ObjBoundVolume& volume = g_game->walkerVolume;
  const VECTOR3 from{volume.centre[0], volume.centre[1], volume.centre[2] + 0.3f * volume.height};
  VECTOR3 end{from.x + d->x, from.y + d->y, from.z + d->z};
  const auto moved = [&] { *d = {end.x - from.x, end.y - from.y, end.z - from.z}; };
  bool touchedNpc = false;
  if (g_game->pick)
    for (const ObjBoundVolume* npc : g_game->pick->allVolumes)
      if (npc && PushOut(*npc, from, volume, &end)) {
        touchedNpc = true;
        moved();
      }
  if (!touchedNpc && triggers) {
    VECTOR3 ground;
    GetPosition(&ground, nullptr);
    const VECTOR3 point{ground.x + d->x, ground.y + d->y, ground.z};
    for (const TRIGGERDESC& trigger : *triggers) {
      if (trigger.type != TRIGGER_BLOCK || trigger.typeData[1] == 0) continue;
      const QUADVOLUME quad = QuadOf(trigger.zone);
      if (IsPointInQuadVolume(&point, &quad)) return 0;
    }
  }
  if (g_game->pick)
    for (const ObjBoundVolume* object : g_game->pick->objectVolumes)
      if (object && PushOut(*object, from, volume, &end)) {
        moved();
        break;
      }
  return -3;
}

int CFieldWalker::Step(int mask, int n) {
  if (!creature || !node) return 0;
  creature->moved = 1;
  idleTimer -= n;
  switch (action) {
    case kStanding: {
      if (!idleAllowed || idleTimer > 0) return 0;
      const bool roll = static_cast<float>(plat::Rand()) > 16383.5f;
      if (roll && g_game && g_game->state == GS_FIELD && !idleActions.empty()) SetActionNow(idleActions[0], 0);
      idleTimer = 30 + static_cast<int>(static_cast<float>(plat::Rand()) * 0.0036622211f);
      return 0;
    }
    case 3:
    case 4:
    case 5:
    case 6: {
      idleTimer = kIdleTicksAfterMoving;
      VECTOR3 d;
      if (!Displacement(mask, walkSpeed * static_cast<float>(n), &d)) return 0;
      if (CheckCollision(&d) == 0) {
        SetAction(kStanding);
        return 0;
      }
      const int result = creature->MoveRootBy(d.x, d.y, 0, 1);
      GetPosition(&g_walkerPosition, nullptr);
      const bool approaching = g_game && g_game->state == GS_APPROACH_NPC;
      if (approaching ? (result & 3) != 0 : result == 3) {
        // Along the edge instead, the same length.
        const float length = std::sqrt(d.x * d.x + d.y * d.y);
        VECTOR3 slide{d.x, d.y, 0};
        if (GetTerrainSlideDirection(node, &slide, 2, 1, 120) == 1) {
          creature->MoveRootBy(slide.x * length, slide.y * length, 0, 1);
          GetPosition(&g_walkerPosition, nullptr);
        }
      }
      return 1;
    }
    case -1:
    case 10:
    case 11:
    case 12:
      if (creature->IsPlayDone()) SetAction(kStanding);
      return 0;
    case kFalling: return StepFalling();
    default: return 0;
  }
}

int CFieldWalker::StepFalling() {
  const std::vector<int32_t>& members = database->party.members;
  if (members.empty() || members[0] != 1) {
    // The fall ends on the looping idle pose, which never reports done.
    if (creature->IsPlayDone() || creature->moveToState == 0) SetAction(kStanding);
    return 1;
  }
  if (creature->moveToState != 0) return 1;
  if (PlaceNodeOnTerrain(node, terrain, 0, 0) != MOVE_DONE) DebugTrace("Can't put on terrain.");
  SetAction(kStanding);
  if (g_game && g_game->audio) g_game->audio->PlayEffect("step02a");
  creature->SetRootMotion(0, 1);
  return 1;
}
