#pragma once
#include <gtest/gtest.h>

#include "engine/core/device_setup.h"
#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/frame_timers.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/window_proc.h"
#include "engine/core/world.h"
#include "platform/device3d.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/test_caps.h"
#include "platform/window.h"
#include "tests/support/captures.h"

namespace enginetest {

constexpr char kTitle[] = "Tarnwick Vf 1.02";

// Every engine test starts from a closed engine on the default display and
// 3D caps, with a test clock and captured message boxes, and leaves no engine
// open, window or message behind. The quit flag is cleared through
// SetQuitFlag(0), so the engine opens again in the next test.
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    static const bool prepared = [] {
      LoadEngineCursors();
      return RegisterEngineWindowClass() == 1;
    }();
    EXPECT_TRUE(prepared);
    ResetEngineState();
  }

  ~EngineTest() override {
    CloseEngineAndWindow();
    plat::ClearFailPoints();
    plat::ClearMessageQueue();
    plat::DetachTestJoysticks();
  }

  // The engine's process-wide settings as a fresh program finds them.
  static void ResetEngineState() {
    plat::ClearFailPoints();
    plat::ResetDisplayEnvironment();
    plat::ResetDevice3DEnvironment();
    plat::ClearMessageQueue();
    SetQuitFlag(0);
    SetRenderMode(1);
    SelectDisplayDevice(-1);
    SetLineDoubling(0, 0);
    PauseFrameTimers(0);
    SetDoubleClickAsPress(0);
    EnableInputLanguageHook(0);
    g_displayDeviceCount = 0;
    g_engineMouse = ENGINEMOUSESTATE{};  // the window procedure's state outlives an engine
  }
  static void CloseEngineAndWindow() {
    CloseEngine(1);
    if (g_mainWindow && plat::IsWindow(g_mainWindow)) plat::DestroyWindow(g_mainWindow);
    g_mainWindow = 0;
    SetQuitFlag(0);
  }

  int Open(int fullscreen = 1, int width = 640, int height = 480) {
    return OpenEngine(fullscreen, kTitle, width, height, 16);
  }
  void Post(uint32_t message, plat::WParam wparam = 0, plat::LParam lparam = 0) {
    plat::PostMessage(GetMainWindow(), message, wparam, lparam);
  }

  testsupport::ScopedTestClock clock_;
  testsupport::MessageBoxCapture boxes_;
};

}  // namespace enginetest
