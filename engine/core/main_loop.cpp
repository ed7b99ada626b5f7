#include "engine/core/main_loop.h"

#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "platform/window.h"

void RunMainLoop(int dispatchTimers) {
  if (!g_engineOpen) return;
  while (!IsQuitRequested()) RunMainLoopPass(dispatchTimers);
}

void RunMainLoopPass(int dispatchTimers) {
  PumpMessages();
  if (dispatchTimers && !FrameTimersPaused())
    DispatchFrameTimers();
  else
    ResynchroniseFrameTimers();
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
