// Full screen on a real X server, as a person starts the game: with a window
// manager and without one the window covers the whole screen, so the picture
// is neither cropped nor shifted against where the clicks land.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/program/sample_world_suite.h"
#include "tests/support/x_session.h"

namespace programtest {
namespace {

namespace fs = std::filesystem;

class FullScreen : public SampleWorldSuite {
 protected:
  void SetUp() override {
    const std::vector<std::string> missing = xtest::MissingXTools(true);
    if (!missing.empty()) GTEST_SKIP() << "needs an X server and its tools; missing " << missing.front();
  }
};

TEST_F(FullScreen, TheWindowCoversTheScreenWithOrWithoutAWindowManager) {
  for (const bool manager : {false, true}) {
    SCOPED_TRACE(manager ? "openbox" : "no window manager");
    const xtest::XSession display(manager);
    ASSERT_EQ(display.Error(), "");
    const std::string name = manager ? "wm" : "bare";
    const fs::path runtime = World() / ("runtime-" + name);
    fs::create_directories(runtime);
    xtest::Process game({TARNWICK_PROGRAM},
                        {"DISPLAY=" + display.Display(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                         "TARNWICK_WINDOWED=0", "XDG_RUNTIME_DIR=" + runtime.string()},
                        World().string(), (World() / ("output-" + name + ".txt")).string());
    ASSERT_TRUE(game.Started());
    // The window manager may take a moment to carry the request out, and
    // the game may open its window more than once on the way to the title.
    const std::array<int, 4> screen{0, 0, xtest::XSession::kScreenWidth, xtest::XSession::kScreenHeight};
    std::array<int, 4> seen{-1, -1, 0, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (seen != screen && std::chrono::steady_clock::now() < deadline) {
      const unsigned long window = display.WaitForWindow("Tarnwick Vf 1.02", 1);
      if (window) display.Geometry(window, &seen[0], &seen[1], &seen[2], &seen[3]);
    }
    EXPECT_EQ(seen, screen) << "at " << seen[0] << "," << seen[1] << " size " << seen[2] << "x" << seen[3] << "\n"
                            << display.WindowTree() << game.Output();
    EXPECT_FALSE(game.WaitForEnd(0)) << "still playing\n" << game.Output();
  }
}

}  // namespace
}  // namespace programtest
