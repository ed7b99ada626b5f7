#pragma once

// The eight frame timers the main loop drives everything through. A
// fixed-rate slot calls back with the number of whole periods that fell due
// (at most 3, so a stall never turns into a burst); any other slot calls
// back with 1 on every pass of the loop.

using FrameTimerCallback = void (*)(int periods);

constexpr int kFrameTimerCount = 8;

struct FRAMETIMER {
  int active = 0;
  int resynchronise = 0;  // the next dispatch restarts the schedule
  int fixedRate = 0;
  double lastResync = 0;  // counter ticks
  double period = 0;      // counter ticks
  double nextDue = 0;     // counter ticks
  FrameTimerCallback callback = nullptr;
};

extern FRAMETIMER g_frameTimers[kFrameTimerCount];

// Ignored while the engine is closed and for a slot of 8 or more. A null
// callback leaves the slot active but silent.
void SetFrameTimer(unsigned slot, float ratePerSecond, FrameTimerCallback callback, int fixedRate);
void DispatchFrameTimers();
// While paused the main loop marks every slot for resynchronisation instead of dispatching.
void PauseFrameTimers(int pause);
int FrameTimersPaused();
// Every slot at 30 per second, without a callback, not fixed-rate.
void ResetFrameTimers();
void ResynchroniseFrameTimers();
// Seconds until the next fixed-rate slot falls due, at most `longest`; 0 when
// one is due or waits for resynchronisation. Slots that are not fixed-rate
// run on every pass and set no time.
double SecondsUntilFrameTimerDue(double longest);

// The performance counter, and seconds elapsed since a counter value.
double GetCounterNow();
double GetElapsedSeconds(double start);
