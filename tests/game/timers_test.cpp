// The fixed-rate tick timer and the countdown timer, stepped on the test clock.
#include <gtest/gtest.h>

#include <vector>

#include "base/tick_timer.h"
#include "tests/support/captures.h"

namespace {

constexpr double kPeriod = 1.0 / 30.0;

// One step of a timer scenario: move the clock, act, and check the answer.
struct Step {
  enum Op { kTick, kSetRate, kReset, kSet, kDue, kPause, kResume };
  double advanceSeconds;
  Op op;
  double argument;  // rate, frames
  int expected;     // Tick's count, IsDue's answer; mode for kSet
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
  double overshoot = -1;  // checked at the last due answer when >= 0
};

TEST(Timers, ScenariosStepByStep) {
  const std::vector<Scenario> scenarios = {
      {"3.5 periods of silence give 3, half a period later 1",
       {{3.5 * kPeriod, Step::kTick, 0, 3}, {0.5 * kPeriod, Step::kTick, 0, 1}, {0.1 * kPeriod, Step::kTick, 0, 0}}},
      {"a rate of 0 keeps 30 but the deadline goes back to start + period",
       {{2.2 * kPeriod, Step::kTick, 0, 2},
        {0, Step::kSetRate, 0, 0},
        {0, Step::kTick, 0, 2},
        {0.9 * kPeriod, Step::kTick, 0, 1}}},
      {"a negative rate is ignored likewise",
       {{1.5 * kPeriod, Step::kTick, 0, 1}, {0, Step::kSetRate, -4, 0}, {0, Step::kTick, 0, 1}}},
      {"a new rate takes effect from the start reading",
       {{0, Step::kSetRate, 10, 0}, {0.05, Step::kTick, 0, 0}, {0.06, Step::kTick, 0, 1}}},
      {"after Reset alone a long-passed deadline catches up at once",
       {{10.5 * kPeriod, Step::kReset, 0, 0}, {0, Step::kTick, 0, 10}}},
      {"Reset then SetRate starts a fresh schedule from now",
       {{10.5 * kPeriod, Step::kReset, 0, 0},
        {0, Step::kSetRate, 30, 0},
        {0, Step::kTick, 0, 0},
        {1.01 * kPeriod, Step::kTick, 0, 1}}},
      {"0 frames leave a stopped countdown stopped", {{0, Step::kSet, 0, 1}, {5, Step::kDue, 0, 0}}},
      {"0 frames leave a running countdown unchanged",
       {{0, Step::kSet, 30, 1},
        {0, Step::kDue, 0, 0},
        {0.5, Step::kSet, 0, 1},
        {0.4, Step::kDue, 0, 0},
        {0.2, Step::kDue, 0, 1}}},
      {"paused 2 s after 0.5 s, a 30-frame countdown fires 3 s after it started",
       {{0, Step::kSet, 30, 1},
        {0, Step::kDue, 0, 0},
        {0.5, Step::kPause, 0, 0},
        {1.0, Step::kDue, 0, 0},
        {1.0, Step::kResume, 0, 0},
        {0.4, Step::kDue, 0, 0},
        {0.35, Step::kDue, 0, 1}},
       0.25},
      {"mode 2 fires once, then never until set again",
       {{0, Step::kSet, 30, 2},
        {0, Step::kDue, 0, 0},
        {1.1, Step::kDue, 0, 1},
        {5, Step::kDue, 0, 0},
        {0, Step::kSet, 15, 2},
        {0, Step::kDue, 0, 0},
        {0.6, Step::kDue, 0, 1}}},
      {"another mode repeats, timed from the first test after firing",
       {{0, Step::kSet, 30, 0},
        {0, Step::kDue, 0, 0},
        {1.5, Step::kDue, 0, 1},
        {0.5, Step::kDue, 0, 0},
        {0.9, Step::kDue, 0, 0},
        {0.2, Step::kDue, 0, 1}},
       0.1},
  };
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    testsupport::ScopedTestClock clock;
    CTickTimer tick;
    CCountdownTimer countdown;
    double overshoot = -1;
    int stepNumber = 0;
    for (const Step& step : scenario.steps) {
      SCOPED_TRACE(stepNumber++);
      clock->AdvanceSeconds(step.advanceSeconds);
      switch (step.op) {
        case Step::kTick: EXPECT_EQ(tick.Tick(), step.expected); break;
        case Step::kSetRate:
          tick.SetRate(step.argument);
          EXPECT_DOUBLE_EQ(tick.Rate(), step.argument > 0 ? step.argument : 30.0);
          break;
        case Step::kReset: tick.Reset(); break;
        case Step::kSet: countdown.Set(static_cast<float>(step.argument), step.expected); break;
        case Step::kDue: EXPECT_EQ(countdown.IsDue(&overshoot), step.expected); break;
        case Step::kPause: countdown.Pause(); break;
        case Step::kResume: countdown.Resume(); break;
      }
    }
    if (scenario.overshoot >= 0) {
      EXPECT_NEAR(overshoot, scenario.overshoot, 1e-6);
    }
  }
}

TEST(Timers, CountdownStateAfterConstructionStopAndPause) {
  testsupport::ScopedTestClock clock;
  CCountdownTimer countdown;
  EXPECT_EQ(countdown.IsStopped(), 1);
  EXPECT_EQ(countdown.IsDue(), 0);
  countdown.Set(3, 0);
  EXPECT_EQ(countdown.IsStopped(), 0);
  EXPECT_EQ(countdown.IsDue(), 0);
  countdown.Pause();
  clock->AdvanceSeconds(10);
  EXPECT_EQ(countdown.IsDue(), 0) << "a paused countdown never fires";
  countdown.Stop();
  countdown.Resume();
  clock->AdvanceSeconds(10);
  EXPECT_EQ(countdown.IsDue(), 0) << "stopped";
}

}  // namespace
