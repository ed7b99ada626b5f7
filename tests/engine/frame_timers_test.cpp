#include <cmath>
#include <utility>
#include <vector>

#include "engine/core/input_hooks.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

std::vector<std::pair<int, int>> g_calls;  // (slot, periods)

template <int Slot>
void Record(int periods) {
  g_calls.emplace_back(Slot, periods);
}

void QuitOnPress(int, int state) {
  if (state) SetQuitFlag(1);
}

class FrameTimerTest : public EngineTest {
 protected:
  FrameTimerTest() { g_calls.clear(); }
  double Period() const { return 1e9 / 30.0; }
  // Puts the clock at a point given in periods past a counter value.
  void SetClockAt(double due, double periods) {
    clock_->Set(static_cast<uint64_t>(std::ceil(due + periods * Period())));
  }
};

TEST_F(FrameTimerTest, FixedRateSlotCatchesUpAtMostThreePeriods) {
  ASSERT_EQ(Open(), 1);
  struct Case {
    const char* name;
    double late;  // periods past the due time when dispatched
    int first;    // periods of the first call, 0 = no call
    int moved;    // periods the due time moves on
    int second;   // the next pass at the same time, 0 = no call
  } cases[] = {
      {"exactly due", 0, 1, 1, 0}, {"one and a half late", 1.5, 2, 2, 0},       {"two and a half late", 2.5, 3, 3, 0},
      {"four late", 4, 3, 5, 0},   {"600 late resynchronises", 600, 3, 601, 1}, {"counter went back", -40, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_calls.clear();
    clock_->Set(5'000'000'000ull);
    SetFrameTimer(0, 30.0f, Record<0>, 1);
    DispatchFrameTimers();  // the first pass starts the schedule
    ASSERT_EQ(g_calls, (std::vector<std::pair<int, int>>{{0, 1}}));
    g_calls.clear();
    double due = g_frameTimers[0].nextDue;
    EXPECT_NEAR(due - 5e9, Period(), 1);

    SetClockAt(due, c.late);
    DispatchFrameTimers();
    std::vector<std::pair<int, int>> expected;
    if (c.first) expected.emplace_back(0, c.first);
    EXPECT_EQ(g_calls, expected);
    if (c.moved) {
      EXPECT_NEAR(g_frameTimers[0].nextDue - due, c.moved * Period(), 1);
    }

    g_calls.clear();
    DispatchFrameTimers();
    expected.clear();
    if (c.second) expected.emplace_back(0, c.second);
    EXPECT_EQ(g_calls, expected);
  }
}

TEST_F(FrameTimerTest, SlotThatIsNotFixedRateIsCalledOncePerPass) {
  ASSERT_EQ(Open(), 1);
  SetFrameTimer(1, 30.0f, Record<1>, 0);
  for (int pass = 0; pass < 3; ++pass) DispatchFrameTimers();
  EXPECT_EQ(g_calls, (std::vector<std::pair<int, int>>{{1, 1}, {1, 1}, {1, 1}}));
}

TEST_F(FrameTimerTest, BadSlotsAndSilentSlotsCallNothing) {
  SetFrameTimer(3, 30.0f, Record<3>, 0);  // engine closed: ignored
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_frameTimers[3].callback, nullptr);
  SetFrameTimer(8, 10.0f, Record<3>, 1);
  SetFrameTimer(static_cast<unsigned>(-1), 10.0f, Record<3>, 1);
  SetFrameTimer(2, 30.0f, nullptr, 1);
  EXPECT_EQ(g_frameTimers[2].active, 1);
  for (const FRAMETIMER& t : g_frameTimers) EXPECT_EQ(t.callback, nullptr);
  clock_->AdvanceSeconds(1);
  DispatchFrameTimers();
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(FrameTimerTest, MainLoopCallsTimersOnlyWhenAsked) {
  for (int dispatch : {0, 1}) {
    SCOPED_TRACE(dispatch);
    g_calls.clear();
    ASSERT_EQ(Open(), 1);
    SetFrameTimer(1, 30.0f, Record<1>, 0);
    SetKeyHook('Q', QuitOnPress, 0);
    Post(plat::WM_KEYDOWN, 'Q');
    RunMainLoop(dispatch);  // one pass: the key press requests quit
    EXPECT_EQ(g_calls.size(), dispatch ? 1u : 0u);
    CloseEngine(0);
    SetQuitFlag(0);
  }
}

std::vector<double> g_waits;
plat::TestClock* g_waitClock = nullptr;

// Records the wait and lets the clock run through it; the first wait ends the loop.
void RecordWait(double seconds) {
  g_waits.push_back(seconds);
  g_waitClock->AdvanceSeconds(seconds);
  SetQuitFlag(1);
}

int g_slowFrames = 0;

// A frame that overruns its period: the next one is due before the pass ends.
void SlowFrame(int) {
  g_waitClock->AdvanceSeconds(0.05);
  if (++g_slowFrames == 3) SetQuitFlag(1);
}

TEST_F(FrameTimerTest, LoopWithNothingShownWaitsUntilTheNextTimerIsDue) {
  struct Case {
    const char* name;
    float rate;
    int fixedRate;
    FrameTimerCallback callback;
    int dispatch;
    std::vector<double> waits;
  } cases[] = {
      {"100 a second", 100.0f, 1, Record<0>, 1, {0.01}},  {"longest wait 1/60 s", 30.0f, 1, Record<0>, 1, {1 / 60.0}},
      {"every pass", 30.0f, 0, Record<0>, 1, {1 / 60.0}}, {"not dispatching", 100.0f, 1, Record<0>, 0, {1 / 60.0}},
      {"already due", 30.0f, 1, SlowFrame, 1, {}},
  };
  g_waitClock = &*clock_;
  SetMainLoopWaitHook(RecordWait);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_waits.clear();
    g_slowFrames = 0;
    ASSERT_EQ(Open(), 1);
    SetFrameTimer(0, c.rate, c.callback, c.fixedRate);
    RunMainLoop(c.dispatch);
    ASSERT_EQ(g_waits.size(), c.waits.size());
    for (size_t i = 0; i < c.waits.size(); ++i) EXPECT_NEAR(g_waits[i], c.waits[i], 1e-6);
    CloseEngine(0);
    SetQuitFlag(0);
  }
  SetMainLoopWaitHook(nullptr);
}

TEST_F(FrameTimerTest, QuitMessageEndsTheLoopAndClosedEngineReportsQuit) {
  EXPECT_EQ(IsQuitRequested(), 1);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(IsQuitRequested(), 0);
  plat::PostQuitMessage(0);
  RunMainLoop(1);
  EXPECT_EQ(IsQuitRequested(), 1);
  EXPECT_EQ(g_engineOpen, 1);
}

TEST_F(FrameTimerTest, FocusLossPausesFullScreenTimersWithoutCatchUp) {
  struct Case {
    int fullscreen;
    size_t callsWhileUnfocused;
  } cases[] = {{1, 0}, {0, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fullscreen);
    ASSERT_EQ(Open(c.fullscreen), 1);
    SetFrameTimer(0, 30.0f, Record<0>, 1);
    SetFrameTimer(1, 30.0f, Record<1>, 0);
    RunMainLoopPass(1);
    g_calls.clear();

    Post(plat::WM_KILLFOCUS);
    for (int pass = 0; pass < 2; ++pass) {
      clock_->AdvanceSeconds(10 / 30.0);
      RunMainLoopPass(1);
    }
    EXPECT_EQ(g_calls.size(), c.callsWhileUnfocused);

    if (c.fullscreen) {
      Post(plat::WM_SETFOCUS);
      clock_->AdvanceSeconds(10 / 30.0);
      RunMainLoopPass(1);
      EXPECT_EQ(g_calls, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
    }
    g_calls.clear();
    CloseEngine(1);
    SetQuitFlag(0);
  }
}

}  // namespace
}  // namespace enginetest
