#include "engine/core/main_loop.h"

#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "platform/display.h"
#include "platform/time.h"
#include "platform/window.h"

namespace {

constexpr double kLongestWait = 1.0 / 60.0;

void SleepOnClock(double seconds) {
  const auto ms = static_cast<uint32_t>(seconds * 1000.0 + 0.5);
  if (ms > 0) plat::SleepMs(ms);
}

MainLoopWait g_wait = SleepOnClock;

}  // namespace

void SetMainLoopWaitHook(MainLoopWait wait) { g_wait = wait ? wait : SleepOnClock; }

void RunMainLoop(int dispatchTimers) {
  if (!g_engineOpen) return;
  while (!IsQuitRequested()) {
    const uint64_t shown = plat::PacedFrameCount();
    RunMainLoopPass(dispatchTimers);
    if (IsQuitRequested() || plat::PacedFrameCount() != shown) continue;
    const bool dispatching = dispatchTimers && !FrameTimersPaused();
    const double wait = dispatching ? SecondsUntilFrameTimerDue(kLongestWait) : kLongestWait;
    if (wait > 0) g_wait(wait);
  }
}

void RunMainLoopPass(int dispatchTimers) {
  PumpMessages();
  if (dispatchTimers && !FrameTimersPaused()) DispatchFrameTimers();
  else ResynchroniseFrameTimers();
}

void PumpMessages() {
  plat::Message message;
  while (plat::PeekMessage(message)) {
    if (message.message == plat::WM_QUIT) g_quitRequested = 1;
    plat::TranslateMessage(message);
    plat::DispatchMessage(message);
  }
}

int IsQuitRequested() { return g_engineOpen ? g_quitRequested : 1; }

void SetQuitFlag(int value) { g_quitRequested = value; }
