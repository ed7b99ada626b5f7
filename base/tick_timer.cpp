#include "base/tick_timer.h"

#include <cmath>

#include "platform/time.h"

namespace {

int64_t Now() { return static_cast<int64_t>(plat::QueryCounter()); }
int64_t Frequency() {
  int64_t f = static_cast<int64_t>(plat::QueryFrequency());
  return f > 0 ? f : 1;
}

}  // namespace

CTickTimer::CTickTimer() {
  frequency_ = Frequency();
  last_ = Now();
  start_ = last_;
  period_ = static_cast<double>(frequency_) / rate_;
  deadline_ = start_ + static_cast<int64_t>(period_);
}

void CTickTimer::SetRate(double ratePerSecond) {
  if (ratePerSecond > 0) rate_ = ratePerSecond;
  period_ = static_cast<double>(frequency_) / rate_;
  deadline_ = start_ + static_cast<int64_t>(period_);
}

int CTickTimer::Tick() {
  last_ = Now();
  if (last_ < deadline_) return 0;
  // A period shorter than one counter tick would never let the loop end.
  int64_t step = static_cast<int64_t>(period_);
  if (step < 1) step = 1;
  deadline_ += step;
  int count = 1;
  if (catchUp_ && last_ >= deadline_) {
    int64_t more = (last_ - deadline_) / step + 1;
    deadline_ += more * step;
    count += static_cast<int>(more > 1000000 ? 1000000 : more);
  }
  return count;
}

void CTickTimer::Reset() {
  last_ = Now();
  frequency_ = Frequency();
  start_ = last_;
  period_ = static_cast<double>(frequency_) / rate_;
}

void CCountdownTimer::Stop() {
  frames_ = 0;
  seconds_ = 0;
  clockStarted_ = 1;
  stopped_ = 1;
  pausedSeconds_ = 0;
}

void CCountdownTimer::Set(float frames, int mode) {
  if (frames <= 0) return;
  frames_ = frames;
  mode_ = mode;
  seconds_ = static_cast<double>(frames) * static_cast<double>(0.033333335f);
  stopped_ = 0;
  clockStarted_ = 0;
}

double CCountdownTimer::ElapsedSeconds() const {
  return static_cast<double>(Now() - start_) / static_cast<double>(frequency_);
}

int CCountdownTimer::IsDue(double* overshoot) {
  if (stopped_ || paused_) return 0;
  if (!clockStarted_) {
    frequency_ = Frequency();
    start_ = Now();
    clockStarted_ = 1;
  }
  last_ = Now();
  double t = ElapsedSeconds();
  if (t - pausedSeconds_ < seconds_) return 0;
  if (overshoot) *overshoot = std::fabs(t - seconds_ - pausedSeconds_);
  clockStarted_ = 0;
  if (mode_ == kOnce) stopped_ = 1;
  pausedSeconds_ = 0;
  return 1;
}

void CCountdownTimer::Pause() {
  pauseMoment_ = ElapsedSeconds();
  paused_ = 1;
}

void CCountdownTimer::Resume() {
  paused_ = 0;
  pausedSeconds_ += ElapsedSeconds() - pauseMoment_;
}
