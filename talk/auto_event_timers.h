#pragma once

// The nine timed-event slots of a map: each armed slot starts its event when
// its time is up.
// MINIMAL: no slot is ever armed or due; the timers are not built yet.
class CAutoEventTimers {
 public:
  static constexpr int kSlots = 9;

  void Add(const char*, float) {}
  void Tick() {}
  void Pause(int) {}
  void Resume(int) {}
};
