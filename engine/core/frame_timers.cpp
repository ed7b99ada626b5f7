#include "engine/core/frame_timers.h"

#include <algorithm>
#include <cmath>

#include "engine/core/engine_state.h"
#include "platform/time.h"

FRAMETIMER g_frameTimers[kFrameTimerCount];

namespace {
int g_dispatchOn = 1;
}

void SetFrameTimer(unsigned slot, float ratePerSecond, FrameTimerCallback callback, int fixedRate) {
  if (!g_engineOpen || slot >= kFrameTimerCount) return;
  FRAMETIMER& t = g_frameTimers[slot];
  t.callback = callback;
  t.fixedRate = fixedRate;
  t.period = g_timerFrequency / static_cast<double>(ratePerSecond);
  t.active = 1;
  t.resynchronise = 1;
}

void DispatchFrameTimers() {
  double now = GetCounterNow();
  for (FRAMETIMER& t : g_frameTimers) {
    if (!t.active || !t.callback) continue;
    if (t.resynchronise) {
      t.resynchronise = 0;
      t.lastResync = now;
      t.nextDue = now + t.period;
      t.callback(1);
    } else if (!t.fixedRate) {
      t.callback(1);
    } else if (now < t.nextDue) {
      // The counter went back: start the schedule again next time.
      if (now < t.lastResync) t.resynchronise = 1;
    } else {
      double whole = std::trunc((now - t.nextDue) / t.period);
      if (!(whole >= 0 && whole < 2147483646.0)) {
        t.resynchronise = 1;
        t.callback(1);
        continue;
      }
      int n = static_cast<int>(whole) + 1;
      t.nextDue += n * t.period;
      if (n > 3) {
        if (n > 500) t.resynchronise = 1;
        t.callback(3);
      } else {
        t.callback(n);
      }
    }
  }
}

void PauseFrameTimers(int pause) { g_dispatchOn = pause ? 0 : 1; }
int FrameTimersPaused() { return g_dispatchOn ? 0 : 1; }

void ResetFrameTimers() {
  for (unsigned slot = 0; slot < kFrameTimerCount; ++slot) SetFrameTimer(slot, 30.0f, nullptr, 0);
}

void ResynchroniseFrameTimers() {
  for (FRAMETIMER& t : g_frameTimers) t.resynchronise = 1;
}

double SecondsUntilFrameTimerDue(double longest) {
  const double now = GetCounterNow();
  double wait = longest;
  for (const FRAMETIMER& t : g_frameTimers) {
    if (!t.active || !t.callback || !t.fixedRate) continue;
    if (t.resynchronise || now >= t.nextDue) return 0;
    wait = std::min(wait, (t.nextDue - now) / g_timerFrequency);
  }
  return wait;
}

double GetCounterNow() { return static_cast<double>(plat::QueryCounter()); }

double GetElapsedSeconds(double start) { return (GetCounterNow() - start) / g_timerFrequency; }
