#include "game/pick_manager.h"

#include <cfloat>
#include <cmath>

#include "database/game_resource.h"
#include "database/scene_records.h"
#include "engine/core/picking.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/force_feedback_mouse.h"
#include "game/game.h"
#include "world/collision_boxes.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/obj_bound_volume.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_markers.h"
#include "world/scene_npc.h"
#include "world/terrain_boundary.h"

namespace {

constexpr int kFeedbackMagnitude = 50000, kFeedbackPeriodMs = 50, kFeedbackDurationMs = 100;

ObjBoundVolume* VolumeAt(std::vector<ObjBoundVolume>& volumes, int index) {
  return index >= 0 && static_cast<size_t>(index) < volumes.size() ? &volumes[static_cast<size_t>(index)] : nullptr;
}

CSceneContent* ContentOf(const CGame* game) { return game && game->scene ? game->scene->content.get() : nullptr; }

CSceneNpc* PersonAt(CSceneContent* content, int index) {
  if (!content || index < 0 || static_cast<size_t>(index) >= content->people.size()) return nullptr;
  return content->people[static_cast<size_t>(index)].get();
}

bool ObjectShown(const CSceneContent* content, int index) {
  return content && index >= 0 && static_cast<size_t>(index) < content->boxes.size() &&
         IsContentActive(content->boxes[static_cast<size_t>(index)].flags);
}

// The box of a trigger's quad: edges from the first corner, its height range.
ORIENTEDBOX TriggerBox(const TRIGGERDESC& trigger) {
  const auto& c = trigger.zone.corners;
  ORIENTEDBOX box;
  box.centre = {(c[0][0] + c[1][0] + c[2][0] + c[3][0]) / 4, (c[0][1] + c[1][1] + c[2][1] + c[3][1]) / 4,
                (trigger.zone.zMin + trigger.zone.zMax) / 2};
  for (int e = 0; e < 2; ++e) {
    VECTOR3 edge{c[e + 1][0] - c[e][0], c[e + 1][1] - c[e][1], 0};
    const float length = std::hypot(edge.x, edge.y);
    if (length > 0) edge = {edge.x / length, edge.y / length, 0};
    box.axes[e] = edge;
    box.half[e] = length / 2;
  }
  box.axes[2] = {0, 0, 1};
  box.half[2] = std::fabs(trigger.zone.zMax - trigger.zone.zMin) / 2;
  return box;
}

}  // namespace

int PickNodeIndex(const HOBJECT* nodes, int count, int flag, int x, int y) {
  if (!nodes || count <= 0) return 0;
  HOBJECT hit = 0;
  if (!PickNode(0, nodes, count, flag, x, y, &hit) || !hit) return 0;
  for (int i = 0; i < count; ++i)
    if (nodes[i] == hit) return i + 1;
  return 0;
}

CPickManager::CPickManager(CGame* owner) : game(owner) {}

void CPickManager::MarkPortals(const CPortalSet& portals) {
  ClearMarkers();
  for (int i = 0; i < portals.count; ++i)
    if (portals.active[i]) AddMarker(i, portals.areas[i]);
}

void CPickManager::AddMarker(int index, HOBJECT node) {
  if (markerCount >= kMaxMarkers) return;
  markerIndices[static_cast<size_t>(markerCount)] = static_cast<uint8_t>(index);
  markerNodes[static_cast<size_t>(markerCount)] = node;
  ++markerCount;
}

void CPickManager::ClearLists() {
  nearNpcs.clear();
  objectIndices.clear();
  objectNodes.clear();
  examIndices.clear();
  chkIndices.clear();
  chkNodes.clear();
  triggerHits.clear();
  doorIndices.clear();
  doorNodes.clear();
  allVolumes.clear();
  npcVolumes.clear();
  examVolumes.clear();
  objectVolumes.clear();
}

void CPickManager::ScanNpcs(const std::vector<int>& list, std::vector<ObjBoundVolume*>* volumes,
                            std::vector<uint8_t>* indices) {
  CSceneContent* content = ContentOf(game);
  for (int npc : list) {
    const CSceneNpc* person = PersonAt(content, npc);
    ObjBoundVolume* volume = VolumeAt(game->npcVolumes, npc);
    if (!person || !volume || !IsContentActive(person->flags)) continue;
    if (game->walkerVolume.GetGapTo(*volume) >= game->npcRange) continue;
    volume->RebuildBoxes();
    allVolumes.push_back(volume);
    if (volumes) volumes->push_back(volume);
    if (indices) indices->push_back(static_cast<uint8_t>(npc));
  }
}

int CPickManager::Scan() {
  if (!game) return 0;
  game->FollowVolumes();
  ClearLists();
  if (closeUpActive) return 0;
  CSceneContent* content = ContentOf(game);
  const ObjBoundVolume& walker = game->walkerVolume;

  for (int npc : game->npcsK) {
    const CSceneNpc* person = PersonAt(content, npc);
    const ObjBoundVolume* volume = VolumeAt(game->npcVolumes, npc);
    if (!person || !volume || !IsContentActive(person->flags)) continue;
    const float gap = walker.GetGapTo(*volume);
    if (gap >= kTalkGapBehind) continue;
    bool talks = gap < kTalkGap;
    if (!talks) {
      VECTOR3 toNpc{volume->centre[0] - walker.centre[0], volume->centre[1] - walker.centre[1], 0};
      const float length = std::hypot(toNpc.x, toNpc.y);
      if (length > 0) toNpc = {toNpc.x / length, toNpc.y / length, 0};
      talks = toNpc.x * person->heading.x + toNpc.y * person->heading.y > kBehindCosine;
    }
    // A character with nothing to start lets the walker pass: its approach
    // would settle back into the field and start again on the next tick,
    // holding the walker there for good.
    if (!talks || !game->ApproachStartsSomething(npc)) continue;
    target = static_cast<int16_t>(npc);
    game->ApproachTarget(npc, 0);
    return 1;
  }

  ScanNpcs(game->otherNpcs, &npcVolumes, &nearNpcs);
  ScanNpcs(game->npcsHtoJ, &examVolumes, &examIndices);
  ScanNpcs(game->npcsL, nullptr, nullptr);

  auto near = [&](int index) -> ObjBoundVolume* {
    ObjBoundVolume* volume = VolumeAt(game->objectVolumes, index);
    if (!volume || !ObjectShown(content, index)) return nullptr;
    return walker.GetGapTo(*volume) < game->objectRange ? volume : nullptr;
  };
  for (int index : game->plainObjects)
    if (ObjBoundVolume* v = near(index)) {
      objectVolumes.push_back(v);
      objectIndices.push_back(static_cast<uint8_t>(index));
      objectNodes.push_back(content->NodeOf(index));
    }
  for (int index : game->animatedObjects)
    if (ObjBoundVolume* v = near(index)) objectVolumes.push_back(v);
  for (int index : game->chkObjects)
    if (ObjBoundVolume* v = near(index)) {
      objectVolumes.push_back(v);
      chkIndices.push_back(static_cast<uint8_t>(index));
      chkNodes.push_back(content->NodeOf(index));
    }
  const bool doorOpen = game->events && game->events->GetEventCount(kDoorOpenEvent) > 0 &&
                        game->events->GetEventCount(kDoorClosedEvent) == 0;
  for (int index : game->hitDoorObjects)
    if (ObjBoundVolume* v = near(index)) {
      objectVolumes.push_back(v);
      if (!doorOpen) continue;
      doorIndices.push_back(static_cast<uint8_t>(index));
      doorNodes.push_back(content->NodeOf(index));
    }
  for (int index : game->wwwObjects)
    if (ObjBoundVolume* v = near(index)) v->RebuildBoxes();

  const std::vector<TRIGGERDESC>* triggers = game->scene && game->scene->data ? &game->scene->data->triggers : nullptr;
  for (int index : game->chkTriggers) {
    if (!triggers || index < 0 || static_cast<size_t>(index) >= triggers->size()) continue;
    const ORIENTEDBOX box = TriggerBox((*triggers)[static_cast<size_t>(index)]);
    if (std::hypot(box.centre.x - walker.centre[0], box.centre.y - walker.centre[1]) < game->triggerRange)
      triggerHits.push_back(index);
  }
  return 0;
}

bool CPickManager::CameraRay(int x, int y, VECTOR3* origin, VECTOR3* direction) const {
  const CGameCamera* camera = game && game->scene ? game->scene->camera : nullptr;
  if (!camera) return false;
  VECTOR3 near{};
  camera->GetPositionAndDirection(origin, nullptr);
  camera->UnprojectScreenPoint(&near, x, y);
  *direction = {near.x - origin->x, near.y - origin->y, near.z - origin->z};
  NormalizeVector3(direction);
  return true;
}

int CPickManager::TestRayTrigger(const TRIGGERDESC& trigger, int x, int y) const {
  VECTOR3 origin{}, direction{};
  if (!CameraRay(x, y, &origin, &direction)) return 0;
  float t = 0;
  return IntersectRayBox(origin, direction, TriggerBox(trigger), &t) ? 1 : 0;
}

int CPickManager::FirstTriggerHit(const std::vector<int>& list, int x, int y) const {
  const std::vector<TRIGGERDESC>* triggers = game->scene && game->scene->data ? &game->scene->data->triggers : nullptr;
  if (!triggers) return -1;
  for (int index : list)
    if (index >= 0 && static_cast<size_t>(index) < triggers->size() &&
        TestRayTrigger((*triggers)[static_cast<size_t>(index)], x, y))
      return index;
  return -1;
}

int CPickManager::NearestNpcHit(const std::vector<ObjBoundVolume*>& volumes, const std::vector<uint8_t>& indices,
                                const VECTOR3& origin, const VECTOR3& direction, float* nearest) const {
  int hit = -1;
  for (size_t v = 0; v < volumes.size() && v < indices.size(); ++v)
    for (const ORIENTEDBOX& box : volumes[v]->boxes) {
      float t = 0;
      if (!IntersectRayBox(origin, direction, box, &t) || t <= kNearestHit || t >= *nearest) continue;
      const VECTOR3 point{origin.x + t * direction.x, origin.y + t * direction.y, origin.z + t * direction.z};
      if (game->boundary && game->boundary->SegmentHitsObstacle(origin, point)) continue;
      *nearest = t;
      hit = indices[v];
    }
  return hit;
}

void CPickManager::PickAt(int x, int y) {
  if (!game || game->state == GS_SETTLE) return;
  if (game->state == GS_FIELD) {
    x = CGameMouse::kCentreX;
    y = CGameMouse::kCentreY;
  }
  if (pickMode != 1 && pickMode != 2 && pickMode != 4) return;
  VECTOR3 origin{}, direction{};
  if (!CameraRay(x, y, &origin, &direction)) return;

  int type = CT_NOTHING;
  if (closeUpActive) {
    target = -1;
    for (const TRIGGERGROUPDESC& group : game->bodyTriggerGroups) {
      if (group.group != closeUpGroup) continue;
      const int hit = FirstTriggerHit(group.triggers, x, y);
      if (hit >= 0) {
        type = CT_TRIGGER;
        target = static_cast<int16_t>(hit);
      }
      break;
    }
  } else if (const int trigger = FirstTriggerHit(triggerHits, x, y); trigger >= 0) {
    type = CT_TRIGGER;
    target = static_cast<int16_t>(trigger);
  } else {
    target = -2;
    float nearest = FLT_MAX;
    if (const int npc = NearestNpcHit(npcVolumes, nearNpcs, origin, direction, &nearest); npc >= 0) {
      type = CT_NPC;
      target = static_cast<int16_t>(npc);
    }
    if (const int npc = NearestNpcHit(examVolumes, examIndices, origin, direction, &nearest); npc >= 0) {
      type = CT_EXAMINE_NPC;
      target = static_cast<int16_t>(npc);
    }
    if (target < 0) {
      const struct {
        const std::vector<HOBJECT>& nodes;
        const uint8_t* indices;
        int type;
      } lists[] = {{objectNodes, objectIndices.data(), CT_OBJECT},
                   {chkNodes, chkIndices.data(), CT_CHECK_OBJECT},
                   {doorNodes, doorIndices.data(), CT_DOOR}};
      for (const auto& list : lists) {
        const int at = PickNodeIndex(list.nodes.data(), static_cast<int>(list.nodes.size()), 0, x, y);
        if (at > 0) {
          type = list.type;
          target = list.indices[at - 1];
          break;
        }
      }
      if (target < 0) {
        const int at = PickNodeIndex(markerNodes.data(), markerCount, 0, x, y);
        if (at > 0) {
          type = CT_MARKER;
          target = markerIndices[static_cast<size_t>(at - 1)];
        }
      }
      if (target < 0) {
        game->SetCursorShape(0, 0);
        return;
      }
    }
  }
  if (type == game->mouse.type) return;
  if (game->walker && game->walker->action == CFieldWalker::kFalling) return;
  if (type != CT_NOTHING) g_forceFeedbackMouse.PlayPeriodic(kFeedbackMagnitude, kFeedbackPeriodMs, kFeedbackDurationMs);
  game->SetCursorShape(1, type);
  if (!closeUpActive) game->mouse.Lock(1);
}
