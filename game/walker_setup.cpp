// The walker's set-up and the hero forms.
#include <cfloat>
#include <vector>

#include "components/society_ext.h"
#include "components/sword_man.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "game/encounter_table.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "talk/talk_host.h"
#include "ui/screen_manager.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_npc.h"

namespace {

// Per hero form: the hero, the talk name's message, the camera's yaw range,
// whether mouse look turns the walker, the separate leader model (0 none)
// and whether the walker's creature leads.
struct HEROFORMDESC {
  int hero;
  int talkName;
  float yawRange;
  int turnsWalker;
  int leaderModel;
  int walkerLeads;
};

const HEROFORMDESC* FormOf(int form) {
  static const HEROFORMDESC kForms[9] = {
      {1, 127, 180, 1, 0, 1}, {1, 127, 180, 1, 0, 1}, {2, 128, 180, 1, 0, 1},
      {2, 128, 180, 1, 0, 1}, {1, 127, 180, 1, 0, 1}, {1, 127, 80, 0, 1, 0},
      {1, 129, 180, 1, 0, 0}, {1, 129, 180, 1, 0, 0}, {1, 127, 80, 0, 2, 0},
  };
  return form >= 1 && form <= 9 ? &kForms[form - 1] : nullptr;
}

CGDMainManSoul* LeaderRecord() {
  const std::vector<int32_t>& members = g_gameDataBase.party.members;
  return members.empty() ? nullptr : g_gameDataBase.FindHero(members[0]);
}

}  // namespace

void CGame::DeleteSeparateLeader() {
  if (leaderCreature && (!walker || leaderCreature != walker->creature)) delete leaderCreature;
  leaderCreature = nullptr;
}

void CGame::GiveWalkerTheScene() {
  if (walker->creature && society) walker->creature->Attach(society);
  if (scene && scene->content && scene->data) {
    std::vector<CSceneNpc*> people;
    for (const auto& person : scene->content->people) people.push_back(person.get());
    walker->SetObstacles(people);
    walker->SetTriggers(&scene->data->triggers);
  } else {
    walker->SetObstacles({});
    walker->SetTriggers(nullptr);
  }
}

void CGame::SetupWalker() {
  if (!walker) walker = new CFieldWalker(&g_gameDataBase);
  if (walker->creature) walker->creature->Detach();
  std::vector<int32_t>& members = g_gameDataBase.party.members;
  // The hero's starting form also stands in for a leader without a record
  // or with a form no walker model exists for.
  int form = hero == 1 ? 1 : 3;
  // With an empty party too: the leader is about to be chosen anew, and the
  // walker's old creature goes with the new form.
  DeleteSeparateLeader();
  if (!members.empty()) {
    const CGDMainManSoul* leader = LeaderRecord();
    if (leader && FormOf(leader->subKind)) form = leader->subKind;
  } else {
    const int heroId = hero == 1 ? 1 : 2;
    members.push_back(heroId);
    if (CGDMainManSoul* record = g_gameDataBase.FindHero(heroId)) record->subKind = form;
  }
  walker->SetForm(form, 1);
  ApplyHeroForm(form);
  GiveWalkerTheScene();
}

void CGame::ApplyHeroForm(int form) {
  // A form outside the table names no hero: the party keeps its leader and
  // the story its events rather than taking hero id -1.
  if (const HEROFORMDESC* f = FormOf(form)) {
    hero = f->hero;
    if (CGameCamera* camera = scene ? scene->camera : nullptr) {
      camera->SetYawRange(f->yawRange);
      camera->turnsWalker = f->turnsWalker;
    }
    DeleteSeparateLeader();
    if (f->walkerLeads) {
      leaderCreature = walker ? walker->creature : nullptr;
    } else if (f->leaderModel) {
      auto* leader = new CMSwordMan(f->leaderModel == 1 ? "Walk01.MCB" : "Walk02.MCB", 1, "creature");
      leader->SetVisible(0);
      leaderCreature = leader;
    }
    const char* talkName = GetMessageString(f->talkName);
    if (leaderCreature) leaderCreature->SetName(talkName);
    // Where the hero speaks in a talk, the talk shows this name.
    if (talkName && talk && talk->player) talk->player->SetPlayerName(talkName);
    // The other forms leave random battles as the map and the console set them.
    if (encounters && (form == 7 || form == 8)) encounters->enabled = 0;
    if (walker) {
      walker->RebuildIdleActions();
      walker->UpdateEncounterFactor();
      walker->SetSpeeds(form);
    }
    std::vector<int32_t>& members = g_gameDataBase.party.members;
    if (members.empty()) members.push_back(f->hero);
    else members[0] = f->hero;
    if (CGDMainManSoul* record = g_gameDataBase.FindHero(f->hero)) record->subKind = form;
    milestoneEvent = f->hero == 1 ? 135 : 1594;
    endingEvent = f->hero == 1 ? 335 : 1679;
  }
  SetScreenHero(leaderCreature);
  const bool unlimited = form == 6 || form == 9;
  npcRange = unlimited ? FLT_MAX : 100;
  objectRange = unlimited ? FLT_MAX : 100;
  triggerRange = unlimited ? FLT_MAX : 200;
}

void CGame::ChangeHeroForm(int form) {
  // No walker model exists for another form: the leader would lose its body.
  if (!walker || !FormOf(form)) return;
  const CGDMainManSoul* leader = LeaderRecord();
  if (leader && leader->subKind == form) return;
  DeleteSeparateLeader();
  if (walker->creature) walker->creature->Detach();
  walker->SetForm(form, 1);
  GiveWalkerTheScene();
  OnWalkerMoved(0);
  ApplyHeroForm(form);
  BuildCollisionVolumes();
  FollowWalker();
}

void CGame::PlaceWalker(const VECTOR3* position, const VECTOR3* direction, HOBJECT terrain) {
  if (walker) walker->SetPose(CFieldWalker::kStanding, position, direction, terrain);
  if (scene && scene->camera) scene->camera->accumulatedYaw = 0;
}

void CGame::ShowLeaderCreature(int on) {
  auto* creature = dynamic_cast<CGCBMixCreature*>(leaderCreature);
  if (!creature) return;
  if (on) {
    creature->PlayPose(0, 1, CGCBMixCreature::kImmediate, 0);
    creature->SetAlpha(1);
  }
  creature->SetVisible(on);
}
