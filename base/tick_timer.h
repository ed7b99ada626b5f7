#pragma once
#include <cstdint>

// A fixed-rate clock: Tick answers how many whole periods fell due since the
// last call, so logic can advance in fixed steps however irregularly it is
// polled. The deadline moves by whole periods from its previous value, so a
// late poll is followed by an early one and no time is lost.
class CTickTimer {
 public:
  CTickTimer();

  // A rate of 0 or below keeps the old rate; the deadline is always
  // recomputed from the start reading, not from now.
  void SetRate(double ratePerSecond);
  // Number of whole periods that fell due (0 while the deadline is ahead).
  int Tick();
  // Restarts the start reading; the deadline stays, so a passed deadline
  // fires at the next Tick. Call SetRate afterwards for a fresh schedule.
  void Reset();

  double Rate() const { return rate_; }

 private:
  int64_t last_ = 0;
  double rate_ = 30.0;
  double period_ = 0;
  int64_t start_ = 0;
  int64_t deadline_ = 0;
  int64_t frequency_ = 1;
  int catchUp_ = 1;
};

// A one-shot or repeating countdown measured in frames of 1/30 s, with pause
// and resume. It starts counting at the first IsDue after Set.
class CCountdownTimer {
 public:
  static constexpr int kOnce = 2;  // mode: stop after firing once

  CCountdownTimer() = default;

  void Stop();
  // Frames of 0 or below change nothing.
  void Set(float frames, int mode);
  // 1 when the duration has passed; the overshoot (seconds beyond it) goes
  // through the pointer when given. A stopped or paused timer is never due.
  int IsDue(double* overshoot = nullptr);
  void Pause();
  void Resume();

  int IsStopped() const { return stopped_; }
  int IsPaused() const { return paused_; }

 private:
  double ElapsedSeconds() const;

  int64_t frequency_ = 1;
  int64_t start_ = 0;
  int64_t last_ = 0;
  float frames_ = 0;
  double seconds_ = 0;
  int clockStarted_ = 1;
  int mode_ = 0;
  int stopped_ = 1;
  double pausedSeconds_ = 0;
  double pauseMoment_ = 0;
  int paused_ = 0;
};
