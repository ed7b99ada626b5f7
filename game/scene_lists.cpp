// The per-scene index lists and collision volumes, rebuilt at every entry.
#include <strings.h>

#include <cstdlib>
#include <string>

#include "components/mix_creature.h"
#include "components/sword_man.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "engine/core/node_states.h"
#include "game/encounter_table.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_npc.h"

namespace {

// The pick manager keeps listed indices in bytes: later ones are not listed.
constexpr size_t kListedLimit = 256;

bool StartsWith(const std::string& text, const char* head) {
  return strncasecmp(text.c_str(), head, std::char_traits<char>::length(head)) == 0;
}

// A "$CHK" "Body" trigger's group: the number after the first "_" of the
// text from its ninth character, or that whole text without one.
int BodyGroupOf(const std::string& name) {
  const std::string tail = name.size() > 8 ? name.substr(8) : std::string();
  const size_t underscore = tail.find('_');
  return std::atoi(underscore == std::string::npos ? tail.c_str() : tail.c_str() + underscore + 1);
}

ObjBoundVolume CreatureVolume(IBsCreature* creature) {
  ObjBoundVolume volume;
  if (creature) creature->CollectNodes(&volume.nodes, nullptr);
  volume.Build();
  return volume;
}

}  // namespace

void CGame::BuildNpcLists() {
  otherNpcs.clear();
  npcsHtoJ.clear();
  npcsK.clear();
  npcsL.clear();
  if (!scene || !scene->content) return;
  const auto& people = scene->content->people;
  for (size_t i = 0; i < people.size() && i < kListedLimit; ++i) {
    const CSceneNpc& person = *people[i];
    if (!person.npc || (person.flags & NPC_HIDDEN)) continue;
    const int index = static_cast<int>(i);
    switch (person.npc->Kind()) {
      case 'k': npcsK.push_back(index); break;
      case 'l': npcsL.push_back(index); break;
      case 'h':
      case 'i':
      case 'j': npcsHtoJ.push_back(index); break;
      default: otherNpcs.push_back(index); break;
    }
  }
}

void CGame::BuildObjectLists() {
  chkObjects.clear();
  wwwObjects.clear();
  hitDoorObjects.clear();
  animatedObjects.clear();
  plainObjects.clear();
  if (!scene || !scene->content) return;
  CSceneContent& content = *scene->content;
  for (size_t i = 0; i < content.objects.size() && i < kListedLimit; ++i) {
    const SCENEOBJECTDESC& object = *content.objects[i];
    const int index = static_cast<int>(i);
    if (StartsWith(object.name, "_CHK")) {
      chkObjects.push_back(index);
    } else if (StartsWith(object.name, "_WWW")) {
      wwwObjects.push_back(index);
      ShowNode(object.node, 0);
      content.boxes[i].flags |= CF_HIDDEN;
    } else if (StartsWith(object.name, "_hitdoor")) {
      hitDoorObjects.push_back(index);
    } else if ((object.flags & 0x0F) || (!object.name.empty() && object.name[0] == 2)) {
      animatedObjects.push_back(index);
    } else {
      plainObjects.push_back(index);
    }
  }
}

void CGame::BuildTriggerLists() {
  walkInTriggers.clear();
  chkTriggers.clear();
  bodyTriggerGroups.clear();
  battleZones = 0;
  if (!scene || !scene->data) return;
  const std::vector<TRIGGERDESC>& triggers = scene->data->triggers;
  for (size_t i = 0; i < triggers.size(); ++i) {
    const std::string& name = triggers[i].name;
    const int index = static_cast<int>(i);
    if (!StartsWith(name, "$CHK")) {
      walkInTriggers.push_back(index);
      if (StartsWith(name, "$FB")) {
        battleZones = 1;
        if (encounters) encounters->enabled = 0;
      }
    } else if (!StartsWith(name.substr(4), "Body")) {
      chkTriggers.push_back(index);
    } else {
      const int number = BodyGroupOf(name);
      TRIGGERGROUPDESC* group = nullptr;
      for (TRIGGERGROUPDESC& g : bodyTriggerGroups)
        if (g.group == number) group = &g;
      if (!group) {
        bodyTriggerGroups.push_back({number, {}});
        group = &bodyTriggerGroups.back();
      }
      group->triggers.push_back(index);
    }
  }
}

void CGame::BuildCollisionVolumes() {
  walkerVolume = CreatureVolume(walker ? walker->creature : nullptr);
  npcVolumes.clear();
  objectVolumes.clear();
  if (!scene || !scene->content) return;
  for (const auto& person : scene->content->people) npcVolumes.push_back(CreatureVolume(person->creature));
  for (const SCENEOBJECTDESC* object : scene->content->objects) {
    ObjBoundVolume volume;
    if (object->node) volume.nodes.push_back(object->node);
    volume.Build();
    objectVolumes.push_back(std::move(volume));
  }
}

void CGame::FollowVolumes() {
  walkerVolume.Follow();
  for (ObjBoundVolume& volume : npcVolumes) volume.Follow();
  for (ObjBoundVolume& volume : objectVolumes) volume.Follow();
}
