// Reaching a character in the field: a close-up for characters 'i' and 'j',
// the chaser of map 14 caught while it walks home, else a talk approach that
// may hold the character still.
#include "base/debug_trace.h"
#include "base/game_audio.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/force_feedback_mouse.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "ui/screen_manager.h"
#include "world/chase_event.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace {

constexpr int kPoseTalk = 2;
// The story events of catching up with the chaser, by the party's money.
constexpr int kChaserPaidEvent = 1036;
constexpr int kChaserPoorEvent = 1031;
constexpr int kChaserFee = 500;

// The scene's person npc when it has a character record, else null.
CSceneNpc* CharacterAt(MScene* scene, int npc) {
  CSceneContent* content = scene ? scene->content.get() : nullptr;
  if (!content || npc < 0 || npc >= static_cast<int>(content->people.size())) return nullptr;
  CSceneNpc* person = content->people[static_cast<size_t>(npc)].get();
  return person->npc ? person : nullptr;
}

// Reaching the chaser while it walks home catches it.
bool CatchesChaser(const CSceneNpc& person) {
  return person.npc->Role() == CNpcChaseEvent::kChaserRole && IsChaseEventChasing();
}

}  // namespace

bool CGame::ApproachStartsSomething(int npc) {
  const CSceneNpc* person = CharacterAt(scene, npc);
  return person && (CatchesChaser(*person) || FindApproachEvent(person->npc->Role()) >= 0);
}

int CGame::ApproachTarget(int npc, int holdNpc) {
  CSceneNpc* person = CharacterAt(scene, npc);
  if (!person) {
    DebugTrace("Approach: no character %d\n", npc);
    return 0;
  }
  CSceneNpc& target = *person;
  returnState = GS_FIELD;
  const char kind = target.npc->Kind();
  if (kind == 'i' || kind == 'j') {
    returnState = GS_CLOSEUP;
    state = GS_CLOSEUP_IN;
    if (pick) {
      pick->closeUpActive = 1;
      pick->closeUpGroup = target.npc->Role();
    }
    if (scene->camera) scene->camera->BeginTalkCloseUp(target.node, kind == 'j');
    ClearBindings();
    return 1;
  }
  if (CatchesChaser(target)) {
    const int poor = g_gameDataBase.party.GetMoney() < kChaserFee;
    StartEvent(6, EventBase() + (poor ? kChaserPoorEvent : kChaserPaidEvent));
    StopChaseEvent();
    return 1;
  }
  if (holdNpc) {
    talkNpc = &target;
    talkNpcPose = target.person.routine ? target.pose : 0;
    talkNpcState = target.state;
    talkNpcFacing[0] = target.heading.x;
    talkNpcFacing[1] = target.heading.y;
    talkNpcFacing[2] = target.heading.z;
    target.SetPose(kPoseTalk, 1);
    if (walker) {
      VECTOR3 position{0, 0, 0};
      VECTOR3 direction{0, 0, 0};
      walker->GetPosition(&position, &direction);
      target.FaceTowards(position);
      walker->SetAction(2);
    }
    target.PauseRoutine();
  }
  state = GS_APPROACH_NPC;
  PlaySound("TalkToNpc.wav");
  if (mouse.forceFeedback) mouse.forceFeedback->PlayPeriodic(50000, 5, 100);
  SetCursorMode(2);
  ShowSelectedItem(0);
  BindTalkKeys();
  return 1;
}
