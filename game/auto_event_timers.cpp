#include "game/auto_event_timers.h"

#include <strings.h>
#include <cstdio>
#include <cstdlib>

#include "game/game.h"

CAutoEventTimers::CAutoEventTimers() {
  for (Slot& slot : slots) slot.timer.Stop();
}

void CAutoEventTimers::Add(const char* text, float frames) {
  if (!text) return;
  for (Slot& slot : slots) {
    if (slot.active) continue;
    // A long text is cut to the name's room.
    std::snprintf(slot.slotName, sizeof slot.slotName, "AUTO%s", text);
    slot.active = 1;
    slot.timer.Set(frames, CCountdownTimer::kOnce);
    return;
  }
}

void CAutoEventTimers::Tick() {
  for (Slot& slot : slots) {
    if (!slot.timer.IsDue() || strncasecmp(slot.slotName, "Auto", 4) != 0) continue;
    int n = std::atoi(slot.slotName + 4);
    if (g_game) g_game->StartEvent(6, g_game->EventBase() + n);
    slot.slotName[0] = '\0';
    slot.active = 0;
  }
}

void CAutoEventTimers::Pause(int slot) {
  if (slot >= 0 && slot < kSlots) slots[slot].timer.Pause();
}

void CAutoEventTimers::Resume(int slot) {
  if (slot >= 0 && slot < kSlots) slots[slot].timer.Resume();
}
