#include "game/world_services.h"

#include "database/game_resource.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/map_special_events.h"
#include "world/chase_event.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_host.h"

namespace {

ChaseEventServices GameChaseEventServices() {
  ChaseEventServices s;
  s.walkerPose = [] { return g_game && g_game->walker ? g_game->walker->action : -1; };
  s.storyCounter = [](int counter) { return g_game && g_game->events ? g_game->events->GetEventCount(counter) : 0; };
  s.startEvent = [](int kind, int number) {
    if (g_game) g_game->StartEvent(kind, number);
  };
  s.eventBase = [] { return g_game && g_game->gameResource ? static_cast<int>(g_game->gameResource->EventBase()) : 0; };
  s.content = []() -> CSceneContent* { return g_game && g_game->scene ? g_game->scene->content.get() : nullptr; };
  return s;
}

MSceneHost GameSceneHost() {
  MSceneHost h;
  h.society = []() -> CSocietyExt* { return g_game ? g_game->society : nullptr; };
  h.walkerPosition = [](VECTOR3* position, VECTOR3* facing) {
    if (g_game && g_game->walker) g_game->walker->GetPosition(position, facing);
  };
  h.entered = [](MScene* scene) {
    if (g_game) g_game->scene = scene;
  };
  h.left = [](MScene* scene) {
    if (g_game && g_game->scene == scene) g_game->scene = nullptr;
  };
  // Run with or without a game, as the special events look for it themselves.
  h.specialEvents = UpdateMapSpecialEvents;
  return h;
}

}  // namespace

void InstallWorldServices() {
  SetChaseEventServices(GameChaseEventServices());
  SetSceneHost(GameSceneHost());
}
