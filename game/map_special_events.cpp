#include "game/map_special_events.h"

#include <cstdio>

#include "base/debug_trace.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "game/auto_event_timers.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "world/chase_event.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

int g_mapTimerFrames = 0;
CAutoEventTimers* g_mapTimers = nullptr;

namespace {

// The map whose chasing character chases the first hero.
constexpr int kChaseMap = 14;

// A map whose timed event runs once its start event has run once and its
// own event never: the timer is named after the event and restarts at the
// second limit once it had expired.
struct TIMEDMAPDESC {
  int map;
  int startEvent;
  int timedEvent;
  int limit;
  int restart;
};

constexpr TIMEDMAPDESC kTimedMaps[] = {
    {24, 351, 350, 900, 450},
    {46, 365, 101, 900, 450},
    {125, 235, 237, 600, 300},
};

const TIMEDMAPDESC* TimedMap(int map) {
  for (const TIMEDMAPDESC& m : kTimedMaps)
    if (m.map == map) return &m;
  return nullptr;
}

void TickMapTimers(int n) {
  g_mapTimerFrames += n;
  if (g_mapTimers) g_mapTimers->Tick();
}

void PauseMapTimers(int paused) {
  if (!g_mapTimers) return;
  for (int i = 0; i < CAutoEventTimers::kSlots; ++i) {
    if (paused) g_mapTimers->Pause(i);
    else g_mapTimers->Resume(i);
  }
}

void ClearHooks() {
  g_mapTimerFrames = 0;
  g_fieldFrameHook = nullptr;
  g_fieldPauseHook = nullptr;
}

void TickChase(int) { OnChaseEventFrame(); }

void PauseChase(int paused) {
  if (paused) g_chaseEvent.watchTimer.Pause();
  else g_chaseEvent.watchTimer.Resume();
}

// Binds the first character of role 251 as the chaser and shows it; only the
// first hero is chased.
void BeginChase(CGame& game) {
  CSceneContent* content = game.scene ? game.scene->content.get() : nullptr;
  for (size_t i = 0; content && i < content->people.size(); ++i) {
    CSceneNpc& npc = *content->people[i];
    if (!npc.npc || npc.npc->Role() != CNpcChaseEvent::kChaserRole) continue;
    g_chaseEvent.Begin(npc.node, game.walker ? game.walker->node : 0, game.scene->GetTerrain(), static_cast<int>(i));
    content->ShowNpc(npc.person.npcId, 1);
    if (game.hero == 1) {
      g_chaseEvent.switchedOn = 1;
      g_chaseEvent.over = 0;
      g_fieldFrameHook = TickChase;
      g_fieldPauseHook = PauseChase;
    }
    return;
  }
  DebugTrace("Map %d has no chasing character\n", kChaseMap);
}

}  // namespace

void UpdateMapSpecialEvents(int map, int leaving) {
  // The chase event reads the live content on its own; it is on only where
  // it was bound last.
  g_chaseEvent.state = CNpcChaseEvent::kHome;
  g_chaseEvent.switchedOn = 0;
  const TIMEDMAPDESC* timed = TimedMap(map);
  if (leaving) {
    if (timed) {
      delete g_mapTimers;
      g_mapTimers = nullptr;
    }
    ClearHooks();
    return;
  }
  if (map == kChaseMap && g_game) {
    ClearHooks();
    BeginChase(*g_game);
    return;
  }
  CEventRunner* events = g_game ? g_game->events : nullptr;
  if (!timed || !events || events->GetEventCount(timed->startEvent) != 1 ||
      events->GetEventCount(timed->timedEvent) != 0) {
    ClearHooks();
    return;
  }
  delete g_mapTimers;
  g_mapTimers = new CAutoEventTimers;
  if (g_mapTimerFrames >= timed->limit) g_mapTimerFrames = timed->restart;
  char name[16];
  std::snprintf(name, sizeof name, "%d", timed->timedEvent);
  g_mapTimers->Add(name, static_cast<float>(timed->limit - g_mapTimerFrames));
  g_fieldFrameHook = TickMapTimers;
  g_fieldPauseHook = PauseMapTimers;
}
