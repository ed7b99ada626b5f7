#include "game/map_special_events.h"

#include <cstdio>

#include "game/event_runner.h"
#include "game/game.h"
#include "talk/auto_event_timers.h"

int g_mapTimerFrames = 0;
CAutoEventTimers* g_mapTimers = nullptr;

namespace {

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
    if (paused)
      g_mapTimers->Pause(i);
    else
      g_mapTimers->Resume(i);
  }
}

void ClearHooks() {
  g_mapTimerFrames = 0;
  g_fieldFrameHook = nullptr;
  g_fieldPauseHook = nullptr;
}

}  // namespace

void UpdateMapSpecialEvents(int map, int leaving) {
  const TIMEDMAPDESC* timed = TimedMap(map);
  if (leaving) {
    if (timed) {
      delete g_mapTimers;
      g_mapTimers = nullptr;
    }
    ClearHooks();
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
