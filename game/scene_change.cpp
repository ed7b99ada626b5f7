// Scene changes: the first scene, entering and re-entering scenes, day-night
// travel and the world map.
#include "game/scene_change.h"

#include <strings.h>

#include "base/debug_trace.h"
#include "battle/battle_sys.h"
#include "components/society_ext.h"
#include "components/sword_man.h"
#include "cutscene/cut_scene_player.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/system_config.h"
#include "engine/core/back_buffer.h"
#include "engine/core/frame_timers.h"
#include "engine/media/cdaudio.h"
#include "engine/media/data_directories.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/force_feedback_mouse.h"
#include "game/game.h"
#include "game/map_special_events.h"
#include "game/message_board.h"
#include "game/pick_manager.h"
#include "platform/files.h"
#include "ui/screen_manager.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/object_state_memory.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"
#include "world/scene_markers.h"
#include "world/terrain_boundary.h"
#include "world/world_map_screen.h"

namespace {

constexpr int kDay = 1;
constexpr int kNight = 2;
constexpr int kCaptionTicks = 90;
constexpr int kNewGameEntry = -2;
constexpr int kNightFlag = 16;
constexpr int kFeedbackMagnitude = 50000, kLoadFeedbackPeriodMs = 50, kFeedbackDurationMs = 300;
constexpr float kFollowRadiusShare = 0.7f;

void ResetEncounters(CGame& g) {
  if (!g.encounters || !g.gameResource || !g.scene) return;
  g.encounters->Reset(*g.gameResource, g.scene->mapIndex);
  g.encounters->enabled &= g.encountersOn;
}

int MapIndexOf(const CGame& g) { return g.scene ? g.scene->mapIndex : 0; }

// The day phase of a scene by its name; 0 when it has none or no map row.
int DayPhaseOf(const CGame& g, const std::string& name) {
  if (!g.scene || !g.gameResource) return 0;
  const int index = g.scene->FindMapIndex(name.c_str());
  if (index <= 0 || index > static_cast<int>(g.gameResource->Maps().size())) return 0;
  return g.gameResource->Maps()[static_cast<size_t>(index - 1)].DayPhase();
}

int StoryFlag(const CGame& g, int n) { return g.events && g.events->TestFlag(n) ? 1 : 0; }

int MilestoneRun(const CGame& g) { return g.events && g.events->GetEventCount(g.milestoneEvent) > 0 ? 1 : 0; }

}  // namespace

void OnWorldMapResult(const char* sceneFile, int entry) {
  if (!g_game) return;
  g_game->worldMapChosen = 1;
  g_game->pendingScene = sceneFile ? sceneFile : "";
  g_game->pendingEntry = entry;
}

void CGame::CreateScene(const char* sceneFile) {
  scene = new MScene(sceneFile, gameResource);
  if (scene->content && scene->content->environment) sceneEffectFlags = scene->content->environment->GetEffectFlags();
  society = new CSocietyExt(scene->camera ? scene->camera->node : 0);
  scene->CreateLights();
  if (battle) battle->Attach(society);
  // The tracks are files beside the data: the drive letter names nothing.
  CloseCDAudio();
  OpenCDAudio(0);
  PlaySceneTrack();
  if (!encounters) encounters = new CEncounterTable;
  ResetEncounters(*this);
  if (!walker) walker = new CFieldWalker(&g_gameDataBase);
  SetFrameTimer(0, 30.0f, OnGameFrame, 1);
}

void CGame::OpenScene(const char* sceneFile) {
  if (!sceneFile) return;
  if (!scene) {
    CreateScene(sceneFile);
    state = GS_SETTLE;
    tickCounter = 0;
    UpdateMapSpecialEvents(MapIndexOf(*this), 0);
  } else {
    LoadScene(sceneFile, kNewGameEntry);
  }
  dayPhase = scene && scene->mapRecord ? scene->mapRecord->DayPhase() : 0;
  if (events) events->Reset();
}

void CGame::GoToScene(const std::string& name, int entry) {
  SetCursorShape(2, 0);
  if (scene && scene->automap) scene->automap->Show(0);
  if (strncasecmp(name.c_str(), "map", 3) == 0) {
    UpdateMapSpecialEvents(MapIndexOf(*this), 1);
    OpenWorldMap(entry);
    return;
  }
  const int phase = DayPhaseOf(*this, name);
  if (phase == 0 || phase == dayPhase) {
    EnterScene(name, entry);
    return;
  }
  pendingScene = name;
  pendingEntry = entry;
  TravelToArea(phase);
  state = GS_AREA_CHANGE;
  dayPhase = phase;
}

void CGame::GoToSceneIndex(int mapIndex, int entry) {
  if (!gameResource || mapIndex < 0 || mapIndex >= static_cast<int>(gameResource->Maps().size())) return;
  GoToScene(gameResource->Maps()[static_cast<size_t>(mapIndex)].SceneName() + ".SB", entry);
}

void CGame::TravelToArea(int phase) {
  const char* travelScene = "K035.SB";
  const char* script = "night";
  if (phase == kDay) {
    travelScene = MilestoneRun(*this) ? "L002.SB" : "B006.SB";
    script = MilestoneRun(*this) ? "morning2" : "morning1";
  }
  showCaption = 0;
  EnterScene(travelScene, 0);
  showCaption = 1;
  StartScript(script, -1);
}

int CGame::UpdateAreaChange(int n) {
  ClearScreenRect(0, 0, 640, 480);
  if (!cutScene->Tick(n) || skipScript) {
    if (scene && scene->camera) scene->camera->mouseLookLocked = 0;
    EndScript();
    tickCounter = 0;
    return 1;
  }
  if ((++tickCounter & 63) == 0 && scene) {
    scene->CullByDistance(1);
    if (scene->content) scene->content->ShowNpcs(0);
  }
  return 0;
}

void CGame::PlaceWalkerAtEntry(int entry) {
  if (!scene || !scene->data || entry == 0) return;
  VECTOR3 position = scene->data->startPosition;
  VECTOR3 direction{0, 1, 0};
  if (entry > 0 && !scene->data->FindPoint(entry, &position, &direction)) {
    position = scene->data->startPosition;
    direction = {0, 1, 0};
  }
  PlaceWalker(&position, &direction, scene->GetTerrain());
}

void CGame::EnterScene(const std::string& name, int entry) {
  state = GS_SETTLE;
  if (worldMap) {
    delete worldMap;
    worldMap = nullptr;
    SetImageDirectory(".\\Image");
    if (scene && strcasecmp(scene->sceneName.c_str(), name.c_str()) == 0) {
      UpdateMapSpecialEvents(MapIndexOf(*this), 0);
      ReenterScene(entry);
      return;
    }
  }
  if (!LoadScene(name, entry)) return;
  if (entry == 0) {
    if (walker && walker->creature) {
      VECTOR3 position{0, 0, 0}, direction{0, 1, 0};
      walker->GetPosition(&position, &direction);
      PlaceWalker(&position, &direction, scene->GetTerrain());
    }
  } else {
    PlaceWalkerAtEntry(entry);
  }
  if (walker) GiveWalkerTheScene();
  ReattachSceneObjects();
  FinishSceneEntry();
  UpdateMapSpecialEvents(MapIndexOf(*this), 0);
}

int CGame::LoadScene(const std::string& name, int entry) {
  if (name.empty() || !plat::FileExists("scenes\\" + name)) {
    DebugTrace("Scene file scenes\\%s is missing\n", name.c_str());
    return 0;
  }
  UpdateMapSpecialEvents(MapIndexOf(*this), 1);
  ShowScene(0, 0);
  g_forceFeedbackMouse.PlayPeriodic(kFeedbackMagnitude, kLoadFeedbackPeriodMs, kFeedbackDurationMs);
  ShowLoading(1, 0);
  // The walker must let go of the people and triggers about to be freed.
  if (walker) {
    walker->SetObstacles({});
    walker->SetTriggers(nullptr);
  }
  if (scene) scene->Unload(entry != kNewGameEntry);
  if (!scene || !scene->mapRecord) {
    // Nothing may point into the scene just unloaded.
    BuildNpcLists();
    BuildObjectLists();
    BuildTriggerLists();
    BuildCollisionVolumes();
    state = GS_FIELD;
    ShowLoading(0, 0);
    return 0;
  }
  scene->Load(name.c_str());
  sceneEffectFlags = scene->content && scene->content->environment ? scene->content->environment->GetEffectFlags() : 0;
  if (state == GS_SCRIPT) {
    ShowLoading(0, 1);
  } else {
    ShowLoading(0, 0);
    ShowScene(1, 0);
  }
  if (banner) banner->Show(showCaption && scene->mapRecord ? scene->mapRecord->Caption().c_str() : " ", kCaptionTicks);
  ResetEncounters(*this);
  return 1;
}

void CGame::ReenterScene(int entry) {
  ShowScene(0, 0);
  if (entry != 0) PlaceWalkerAtEntry(entry);
  if (scene && scene->memory) scene->memory->Save(*scene);
  if (scene && scene->content) scene->EnterMap();
  ShowScene(1, 0);
  FinishSceneEntry();
}

void CGame::FinishSceneEntry() {
  BuildNpcLists();
  BuildObjectLists();
  BuildTriggerLists();
  BuildCollisionVolumes();
  CGameCamera* camera = scene ? scene->camera : nullptr;
  if (boundary && scene && scene->automap) {
    boundary->Build(scene->automap->Automap().Outline());
    if (camera) camera->boundary = boundary;
  }
  talkNpc = nullptr;
  returnState = GS_FIELD;
  state = GS_SETTLE;
  SetCursorMode(2);
  ShowSelectedItem(0);
  pick->closeUpActive = 0;
  if (camera) camera->mouseLookLocked = 1;
  tickCounter &= 63;
  FollowWalker();
  ResetEncounters(*this);
  if (walker && walker->creature) walker->creature->SetAlpha(1);
  pick->Scan();
  ApplyDisplaySettings();
}

void CGame::OpenWorldMap(int place) {
  ShowScene(0, 0);
  ShowLoading(1, 0);
  if (scene) scene->Show(0, 1);
  delete worldMap;
  worldMap = new CWorldMapScreen;
  worldMap->Init(".\\image\\map.qxo");
  worldMap->SetResultCallback(OnWorldMapResult);
  const int early = MilestoneRun(*this) ? 0 : 1;
  for (int i = 0; i < CWorldMapScreen::kPlaces; ++i)
    worldMap->SetPlaceState(i, StoryFlag(*this, i + 1), StoryFlag(*this, kNightFlag), early);
  const int previousPhase = dayPhase;
  dayPhase = StoryFlag(*this, kNightFlag) ? kNight : kDay;
  worldMap->Open(place - 1, StoryFlag(*this, place), previousPhase != kDay ? 1 : 0, early);
  state = GS_WORLD_MAP;
  SetCursorMode(2);
  BindWorldMapKeys();
  ShowLoading(0, 0);
  if (scene) scene->Show(1, 1);
}

void CGame::FollowWalker() {
  if (!scene || !scene->camera || !walker || !walker->node) return;
  scene->AttachCamera(walker->node, scene->GetTerrain(), 0);
  scene->camera->StartFollow(kFollowRadiusShare * walkerVolume.radius, 0, walkerVolume.height);
  VECTOR3 position{0, 0, 0}, direction{0, 1, 0};
  walker->GetPosition(&position, &direction);
  scene->UpdateCamera(&position, &direction, cameraFollow, 1);
  scene->camera->Update(1);
}

void CGame::OnWalkerMoved(int stepped) {
  if ((state != GS_FIELD && state != GS_SETTLE) || !scene || !walker) return;
  VECTOR3 position{0, 0, 0}, direction{0, 1, 0};
  walker->GetPosition(&position, &direction);
  scene->UpdateCamera(&position, &direction, cameraFollow, 1);
  if (walker->creature && scene->camera) walker->creature->SetAlpha(scene->camera->GetWalkerFade());
  if (stepped) {
    ++tickCounter;
    if (!TryRandomEncounter()) {
      std::string destination;
      int point = 0;
      if (scene->FindPortalAt(position, &destination, &point)) {
        GoToScene(destination + ".SB", point);
        return;
      }
      if (scene->portals) {
        scene->portals->UpdateProximity(position);
        if (pick) pick->MarkPortals(*scene->portals);
      }
      CheckTriggers();
    }
  }
  if (scene->content)
    walker->SetShadowArea(scene->content->IsInShadowArea(position) ? &scene->content->shadowAreas : nullptr);
}

void CGame::PlaceWalkerAtStart() {
  if (!scene) return;
  PlaceWalkerAtEntry(-1);
  if (scene->camera && config) scene->camera->SetViewDistance(config->viewDistance);
}
