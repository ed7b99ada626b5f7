// Treasure boxes, walk-in triggers and the battle zones of the field.
#include "game/boxes_and_traps.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/debug_trace.h"
#include "base/game_audio.h"
#include "base/game_math.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_markers.h"

namespace {

constexpr int kBoxEntries = 3;
constexpr int kTriggerStone = 0;
constexpr int kTriggerTrapdoor = 2;
constexpr int kTriggerEvent = 5;
constexpr int kTriggerApproach = 6;

CSceneContent* Content() { return g_game->scene ? g_game->scene->content.get() : nullptr; }

const std::vector<TRIGGERDESC>* Triggers() {
  return g_game->scene && g_game->scene->data ? &g_game->scene->data->triggers : nullptr;
}

// The 4-character number at from of a "$FB" trigger name; 0 when absent.
int ZoneNumber(const std::string& name, size_t from) {
  if (name.size() < from + 4) return 0;
  return std::atoi(name.substr(from, 4).c_str());
}

bool IsBattleZone(const std::string& name) {
  std::string head = name.substr(0, 3);
  for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return head == "$FB";
}

}  // namespace

const char* BoxSoundName(int kind, const std::string& objectName) {
  if (objectName.size() >= 2 && objectName[objectName.size() - 2] == '1') return nullptr;
  switch (kind / 32) {
    case 1: return "wood.wav";
    case 2: return "stone.wav";
    case 3: return "stone1.wav";
    case 5: return "stone_broke.wav";
    case 6: return "snake.wav";
    default: return "OpenBox.wav";
  }
}

int CGame::OpenBox(int index) {
  CSceneContent* content = Content();
  if (index < 0 || !content || index >= static_cast<int>(content->keyframed.size())) return 0;
  ANIMOBJSTATE& box = content->keyframed[static_cast<size_t>(index)];
  if (box.state == ANIM_PLAYING || !box.record) return 0;
  if (box.state == ANIM_PLAYED_OUT && box.record->repeat == 1) return 1;
  const int key = box.record->keyNumber;
  if (key != 0 && !MatchUsedItem(6, key)) return 1;
  const SCENEOBJECTDESC* object = box.index >= 0 && box.index < static_cast<int>(content->objects.size())
                                      ? content->objects[static_cast<size_t>(box.index)]
                                      : nullptr;
  PlaySound(BoxSoundName(box.record->mode, object ? object->name : std::string()));
  const SCENEANIMDESC* record = content->TriggerAnimation(index);
  if (pick) pick->Scan();
  if (record) {
    ITEMREWARDDESC rewards[kBoxEntries];
    int count = 0;
    const int held = std::min<int>(record->links & 0x03, static_cast<int>(record->items.size()));
    for (int i = 0; i < held && count < kBoxEntries; ++i) {
      const SCENEITEMDESC& item = record->items[static_cast<size_t>(i)];
      rewards[count++] = ITEMREWARDDESC{item.a, item.itemId, static_cast<int8_t>(item.b)};
    }
    GiveItems(rewards, count);
  }
  return 1;
}

int CGame::FireTrigger(int index) {
  const std::vector<TRIGGERDESC>* triggers = Triggers();
  if (!triggers || index < 0 || index >= static_cast<int>(triggers->size())) return 0;
  const TRIGGERDESC& trigger = (*triggers)[static_cast<size_t>(index)];
  CSceneContent* content = Content();
  bool started = false;
  const size_t targets = std::min(trigger.targetNames.size(), trigger.targetIndices.size());
  for (size_t i = 0; content && i < targets; ++i) {
    const int k = trigger.targetIndices[i];
    if (k >= static_cast<int>(content->keyframed.size())) continue;
    if (content->keyframed[static_cast<size_t>(k)].state == ANIM_PLAYED_OUT) break;
    content->TriggerAnimation(k);
    started = true;
  }
  switch (trigger.type) {
    case kTriggerStone:
      if (started) PlaySound("stone.wav");
      break;
    case kTriggerTrapdoor:
      PlaySound("stone.wav");
      if (walker) walker->Drop();
      break;
    case kTriggerEvent:
      if (!StartEvent(6, trigger.Value() + events->EventBase())) return 0;
      break;
    case kTriggerApproach: StartApproachEvent(events->GroupBase() + trigger.Value()); break;
    default: break;
  }
  return 1;
}

void CGame::CheckTriggers() {
  const std::vector<TRIGGERDESC>* triggers = Triggers();
  if (!triggers || !walker) return;
  VECTOR3 position{0, 0, 0};
  VECTOR3 direction{0, 0, 0};
  walker->GetPosition(&position, &direction);
  const int previous = currentTrigger;
  int inside = 0;
  for (int t : walkInTriggers) {
    if (t < 0 || t >= static_cast<int>(triggers->size())) continue;
    const QUADVOLUME quad = ZoneQuad((*triggers)[static_cast<size_t>(t)].zone);
    if (!IsPointInQuadVolume(&position, &quad)) continue;
    inside = t + 1;
    if (inside != previous && FireTrigger(t)) break;
  }
  currentTrigger = static_cast<int16_t>(inside);
  if (!battleZones || !encounters) return;
  encounters->enabled = 0;
  if (!inside) return;
  for (const TRIGGERDESC& zone : *triggers) {
    if (!IsBattleZone(zone.name)) continue;
    const int e = ZoneNumber(zone.name, 4);
    const int f = ZoneNumber(zone.name, 8);
    if (e == 0 || (e > 0 && events->GetEventCount(e) == 1)) {
      encounters->enabled = 1;
      return;
    }
    if (f > 0 && events->GetEventCount(f) == 1) return;
  }
}
