// Reaching a character in the field: a close-up for characters 'i' and 'j',
// else a talk approach that may hold the character still.
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/force_feedback_mouse.h"
#include "game/game.h"
#include "game/game_audio.h"
#include "game/pick_manager.h"
#include "game/util/debug_trace.h"
#include "ui/screen_manager.h"
#include "world/game_resource.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"
#include "world/scene_records.h"

namespace {

constexpr int kPoseTalk = 2;

}  // namespace

int CGame::ApproachTarget(int npc, int holdNpc) {
  CSceneContent* content = scene ? scene->content.get() : nullptr;
  if (!content || npc < 0 || npc >= static_cast<int>(content->people.size()) || !content->people[static_cast<size_t>(npc)]->npc) {
    DebugTrace("Approach: no character %d\n", npc);
    return 0;
  }
  CSceneNpc& target = *content->people[static_cast<size_t>(npc)];
  returnState = GS_FIELD;
  const char kind = target.npc->Kind();
  if (kind == 'i' || kind == 'j') {
    returnState = GS_CLOSEUP;
    state = GS_CLOSEUP_IN;
    if (pick) pick->closeUp = target.npc->Role();
    ClearBindings();
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
