#include "world/scene_npc.h"

#include <strings.h>
#include <cmath>

#include "base/game_globals.h"
#include "components/mix_creature.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "engine/core/node_transforms.h"
#include "engine/core/walking.h"

namespace {

constexpr int kStartRandom = 2;

bool SameText(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

CSceneNpc::CSceneNpc(SCENEPERSONDESC& personRecord, const CGameResource& resource, HOBJECT terrainHandle, int,
                     const std::vector<std::unique_ptr<CSceneNpc>>& built)
    : person(personRecord), terrain(terrainHandle) {
  const std::vector<NPCDESC>& rows = resource.Npcs();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!SameText(rows[i].Name(), person.name)) continue;
    npc = &rows[i];
    person.npcId = static_cast<int16_t>(i + 1);
    break;
  }
  if (!npc) return;
  BuildCreature(built);
  if (!creature) return;
  node = creature->rootNode;

  position = person.position;
  heading = {person.direction.x, person.direction.y, 0};
  if (heading.x == 0 && heading.y == 0) heading = {0, 1, 0};
  const VECTOR3 up{0, 0, 1};
  SetNodeDirection(node, &position, &heading, &up);

  pose = -1;
  SetPose(0, 1);
  if (PlaceNodeOnTerrain(node, terrain, 0, 0) == MOVE_DONE) {
    flags |= NPC_ON_TERRAIN;
    ReadPosition();
  } else {
    flags &= ~NPC_ON_TERRAIN;
  }
  waypoint = 0;
  if ((person.flags & SCENEPERSONDESC::kFollowKey) && person.routine && (person.routine->mode & 0x0F) != kStartRandom) {
    flags |= NPC_FOLLOWS_KEYS;
  } else {
    creature->SetRootMotion(1, 1);
    creature->walking = 1;
  }
  if (person.flags & SCENEPERSONDESC::kHide) {
    flags |= NPC_HIDDEN;
    creature->SetVisible(0);
  }
  flags |= NPC_WITHIN;
}

CSceneNpc::~CSceneNpc() { delete creature; }

void CSceneNpc::BuildCreature(const std::vector<std::unique_ptr<CSceneNpc>>& built) {
  const std::string model = npc->Model();
  for (const auto& earlier : built) {
    if (!earlier->creature || !earlier->npc || !SameText(earlier->npc->Model(), model)) continue;
    auto* clone = new CGCBMixCreature();
    if (earlier->creature->CloneShared(clone)) {
      creature = clone;
      break;
    }
    delete clone;
  }
  if (!creature) {
    auto* loaded = new CGCBMixCreature((model + ".mcb").c_str(), 1, "creature");
    if (!loaded->modelData || loaded->modelData->Empty() || !loaded->rootNode) {
      delete loaded;
      return;
    }
    creature = loaded;
  }
  if (g_hardwareRendering) creature->ShowShadow(1);
}

void CSceneNpc::ReadPosition() { GetNodeWorldVectors(node, &position, nullptr, nullptr); }

void CSceneNpc::Settle() {
  flags |= NPC_ON_TERRAIN;
  PlaceNodeOnTerrain(node, terrain, 0, 0);
}

void CSceneNpc::WalkTo(const VECTOR3& point) {
  creature->moved = 1;
  SetPose(1, 1);
  walkTarget = point;
  FaceTowards(point);
}

void CSceneNpc::FaceTowards(const VECTOR3& point) {
  const float dx = point.x - position.x, dy = point.y - position.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length == 0) return;
  heading = {dx, dy, 0};
  const float x = dx / length, y = dy / length;
  const MATRIX34 m{{{-y, x, 0}, {-x, -y, 0}, {0, 0, 1}, position}};
  SetNodeMatrix(node, &m, TRANSFORM_SET);
  Settle();
}

void CSceneNpc::MoveTo(const VECTOR3& point) {
  heading = {point.x - position.x, point.y - position.y, 0};
  position = point;
  MATRIX34 m;
  GetNodeMatrix(node, &m, 1);
  m.row[3] = point;
  SetNodeMatrix(node, &m, TRANSFORM_SET);
  Settle();
  creature->moved = 1;
}

void CSceneNpc::SetPose(int newPose, int loop) {
  if (newPose == pose) return;
  pose = newPose;
  creature->PlayPose(newPose, loop ? 1 : 0, kPoseBlend, 0);
}

bool CSceneNpc::HasArrived() { return TargetWithinSquared(kArrivedSquared); }

bool CSceneNpc::IsWithin(float r) { return TargetWithinSquared(r * r); }

bool CSceneNpc::TargetWithinSquared(float limit) {
  ReadPosition();
  const float dx = walkTarget.x - position.x, dy = walkTarget.y - position.y;
  return dx * dx + dy * dy <= limit;
}
