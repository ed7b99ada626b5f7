// Cut-scene scripts started by events and travels: the field steps back
// while the play runs and comes back as it was when it ends.
#include "cutscene/cut_scene_player.h"
#include "game/event_runner.h"
#include "game/game.h"
#include "talk/talk_host.h"
#include "ui/screen_manager.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"
#include "world/scene_markers.h"

void CGame::StartScript(const char* name, int event) {
  ShowSelectedItem(0);
  // Only a running talk is paused: a paused idle player would read as a
  // talk to resume when the script ends, and the field would wait on it.
  if (talk->talking && talk->player) {
    talk->player->Pause();
    talk->Update();
  }
  talk->ShowWindow(0, 0);
  skipScript = 0;
  scriptEvent = event <= 0 ? -1 : event - events->EventBase() + 1;
  cutScene->Create(640, 480, nullptr, 0);
  cutScene->AttachScene(scene);
  cutScene->SetDirectories("creature", "resource", "waves", "texture", "scripts");
  cutScene->Load(name, 1);
  state = GS_SCRIPT;
  ShowScene(0, 1);
  SetCursorMode(2);
  BindScriptKeys();
  if (scene && scene->content) scene->content->ShowNpcs(0);
  ApplyDisplaySettings();
  if (scene) {
    if (scene->automap) scene->automap->Show(0);
    if (scene->portals) scene->portals->Show(0);
  }
}

void CGame::EndScript() {
  ShowScene(1, 0);
  if (scene && scene->content && scene->content->environment) scene->content->environment->ApplyFog();
  if (cutScene->GetAnswer() >= 0)
    events->lastResult = static_cast<int16_t>(cutScene->GetAnswer() + CEventRunner::kAnswerBase);
  state = GS_SETTLE;
  cutScene->Stop();
  // The play's cameras had the main viewport.
  if (scene && scene->camera) scene->camera->Activate();
}
