// Scene changes and the loading screen.
#include "components/society_ext.h"
#include "game/game.h"
#include "game/game_audio.h"
#include "game/pick_manager.h"
#include "ui/screen_manager.h"
#include "world/game_camera.h"
#include "world/game_resource.h"
#include "world/map_scene.h"

namespace {

constexpr int kMapCdTrackByte = 68;

}  // namespace

// MINIMAL: no scene is loaded; the first call only makes the scene society.
void CGame::OpenScene(const char* sceneFile) {
  if (!sceneFile) return;
  if (!society) {
    society = new CSocietyExt(0);
    state = GS_SETTLE;
    tickCounter = 0;
  }
}

// MINIMAL: no lists, volumes or boundary are built and the walker is not
// followed; only the settle state, cursor, camera lock and tick count are set.
void CGame::FinishSceneEntry() {
  talkNpc = nullptr;
  returnState = GS_FIELD;
  state = GS_SETTLE;
  SetCursorMode(2);
  ShowSelectedItem(0);
  pick->closeUpActive = 0;
  if (scene && scene->camera) scene->camera->mouseLookLocked = 1;
  tickCounter &= 63;
}

// MINIMAL: there is no scene to show or hide.
void CGame::ShowScene(int, int) {}
// MINIMAL: no loading screen is shown.
void CGame::ShowLoading(int, int) {}
// MINIMAL: no display settings are applied.
void CGame::ApplyDisplaySettings() {}
// MINIMAL: no automap exists.
void CGame::RefreshAutomap(int) {}
// MINIMAL: the camera does not follow the walker yet.
void CGame::OnWalkerMoved(int) {}
// MINIMAL: no travel script plays; the change is done at once.
int CGame::UpdateAreaChange(int) { return 1; }
// MINIMAL: no scene is loaded.
void CGame::EnterScene(const std::string&, int) {}
// MINIMAL: no scene is loaded.
void CGame::GoToScene(const std::string&, int) {}
// MINIMAL: no volumes are built from the creatures and objects yet.
void CGame::BuildCollisionVolumes() {}
// MINIMAL: the camera does not follow the walker yet.
void CGame::FollowWalker() {}

void CGame::FollowVolumes() {
  walkerVolume.Follow();
  for (ObjBoundVolume& volume : npcVolumes) volume.Follow();
  for (ObjBoundVolume& volume : objectVolumes) volume.Follow();
}
// MINIMAL: the walker is not placed.
void CGame::PlaceWalkerAtStart() {}
// MINIMAL: no characters exist to remember.
void CGame::SaveNpcSnapshots() {}
void CGame::PlaySceneTrack() {
  if (!scene || !scene->mapRecord || !audio) return;
  const int track = static_cast<int8_t>(scene->mapRecord->bytes[kMapCdTrackByte]);
  if (track > 0) audio->PlayTrack(track);
}
