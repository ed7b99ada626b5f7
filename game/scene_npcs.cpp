// The scene NPCs' visibility requests and the snapshots taken when the main
// menu opens.
#include "base/debug_trace.h"
#include "components/mix_creature.h"
#include "database/scene_records.h"
#include "game/event_runner.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace {

CSceneNpc* FindSceneNpc(const CGame& g, int npc) {
  if (!g.scene || !g.scene->content) return nullptr;
  for (const auto& person : g.scene->content->people)
    if (person->person.npcId == npc) return person.get();
  return nullptr;
}

}  // namespace

int CGame::SetNpcVisible(int npc, int show) {
  CSceneNpc* person = FindSceneNpc(*this, npc);
  if (!person) return 0;
  // The toggle marks NPCs whose visibility differs from their scene's default.
  if (((person->flags & NPC_HIDDEN) != 0) == (show != 0) && events) events->FlipNpcToggle(npc);
  scene->content->ShowNpc(npc, show);
  return 1;
}

void CGame::ShowNpc(int npc, int show) {
  DebugTrace(plat::DebugLevel::Info, "## NPC id : %d %s\n", npc, show ? "Show" : "Hide");
  if (!SetNpcVisible(npc, show)) {
    pendingNpcVisibility.push_back({npc, show});
    return;
  }
  BuildNpcLists();
  BuildCollisionVolumes();
  if (pick) pick->Scan();
}

void CGame::ApplyPendingNpcVisibility() {
  std::vector<NPCVISIBILITYDESC> kept;
  for (const NPCVISIBILITYDESC& request : pendingNpcVisibility)
    if (!SetNpcVisible(request.npc, request.show)) kept.push_back(request);
  pendingNpcVisibility = std::move(kept);
}

void CGame::SaveNpcSnapshots() {
  npcSnapshots.clear();
  if (!scene || !scene->content) return;
  for (const auto& person : scene->content->people) {
    NPCSNAPSHOTDESC s;
    s.flags = person->flags;
    s.state = person->state;
    s.counter = person->counter;
    s.waypoint = person->waypoint;
    s.pose = person->pose;
    s.direction = person->direction;
    const VECTOR3 at = person->position, facing = person->heading;
    s.position[0] = at.x, s.position[1] = at.y, s.position[2] = at.z;
    s.facing[0] = facing.x, s.facing[1] = facing.y, s.facing[2] = facing.z;
    if (const CGCBMixCreature* creature = person->creature) {
      s.posePlaying = creature->currentPose;
      s.routine[0] = creature->playMode;
      s.routine[1] = creature->currentFrame;
    }
    npcSnapshots.push_back(s);
  }
}

void CGame::RestoreNpcSnapshots() {
  if (!scene || !scene->content || npcSnapshots.size() != scene->content->people.size()) return;
  for (size_t i = 0; i < npcSnapshots.size(); ++i) {
    CSceneNpc& person = *scene->content->people[i];
    const NPCSNAPSHOTDESC& s = npcSnapshots[i];
    person.flags = s.flags;
    person.state = static_cast<uint8_t>(s.state);
    person.counter = static_cast<int16_t>(s.counter);
    person.waypoint = s.waypoint;
    person.direction = static_cast<uint8_t>(s.direction);
    person.position = {s.position[0], s.position[1], s.position[2]};
    person.heading = {s.facing[0], s.facing[1], s.facing[2]};
    // Unknown, so the saved pose plays again below.
    person.pose = -1;
    if (!person.creature) continue;
    if (person.state == NPCR_WALKING && person.person.routine) {
      const auto& keys = person.person.routine->positionKeys;
      if (keys.empty()) {
        person.state = NPCR_FINISHED;
      } else {
        if (person.waypoint < 0 || person.waypoint >= static_cast<int>(keys.size())) person.waypoint = 0;
        person.WalkTo(keys[static_cast<size_t>(person.waypoint)].value);
        person.heading = {s.facing[0], s.facing[1], s.facing[2]};
      }
    }
    person.pose = -1;
    person.SetPose(s.pose, s.pose <= 1 ? 1 : 0);
    const VECTOR3 ahead{person.position.x + person.heading.x, person.position.y + person.heading.y, person.position.z};
    person.FaceTowards(ahead);
  }
}
