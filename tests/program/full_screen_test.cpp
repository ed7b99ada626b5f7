// Full screen on a real X server, as a person starts the game: with a window
// manager and without one the window covers the whole screen, so the picture
// is neither cropped nor shifted against where the clicks land.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/program/sample_world_suite.h"
#include "tests/program/x_display.h"

namespace programtest {
namespace {

namespace fs = std::filesystem;

class FullScreen : public SampleWorldSuite {
 protected:
  void SetUp() override {
    const std::vector<std::string> missing = MissingTools({"Xvfb", "xdotool", "xwininfo", "openbox"});
    if (!missing.empty()) GTEST_SKIP() << "needs Xvfb, xdotool, xwininfo and openbox; missing " << missing.front();
  }
};

TEST_F(FullScreen, TheWindowCoversTheScreenWithOrWithoutAWindowManager) {
  for (const bool manager : {false, true}) {
    SCOPED_TRACE(manager ? "openbox" : "no window manager");
    std::optional<XDisplay> display = XDisplay::Start();
    ASSERT_TRUE(display) << "Xvfb did not start";
    if (manager) {
      ASSERT_TRUE(display->StartWindowManager()) << "openbox did not start";
    }
    const fs::path runtime = World() / (std::string("runtime-") + (manager ? "wm" : "bare"));
    fs::create_directories(runtime);
    ProgramRun game(World(), {"DISPLAY=" + display->Name(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                              "TARNWICK_WINDOWED=0", "XDG_RUNTIME_DIR=" + runtime.string()});
    ASSERT_TRUE(game.Started());
    // The window manager may take a moment to carry the request out, and
    // the game may open its window more than once on the way to the title.
    const Geometry screen{0, 0, XDisplay::kWidth, XDisplay::kHeight};
    Geometry seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (seen != screen && std::chrono::steady_clock::now() < deadline) {
      const std::string window = display->WaitForWindow("Tarnwick Vf 1.02", std::chrono::seconds(1));
      if (!window.empty()) seen = WindowGeometry(*display, window);
    }
    EXPECT_EQ(seen, screen) << "at " << seen.x << "," << seen.y << " size " << seen.width << "x" << seen.height
                            << "\n" << display->Run("xwininfo", {"-root", "-tree"}) << game.ErrorText();
    EXPECT_FALSE(game.WaitForEnd(std::chrono::seconds(0))) << "still playing\n" << game.ErrorText();
  }
}

}  // namespace
}  // namespace programtest
