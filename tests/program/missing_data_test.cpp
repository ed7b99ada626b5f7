// The game started in a folder without its data, as a newcomer may start it:
// it says which folder it looked in and which file it needs, in a message
// box where there is a display and on standard error, and then ends instead
// of showing a black window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/program/x_display.h"

namespace programtest {
namespace {

namespace fs = std::filesystem;

class MissingData : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_ / "runtime"); }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // What a person must be told: the folder and the file looked for.
  void ExpectNamesFolderAndFile(const std::string& said) {
    EXPECT_NE(said.find("not found in " + folder_.string() + "."), std::string::npos) << said;
    EXPECT_NE(said.find((folder_ / "Resource" / "zudur.res").string()), std::string::npos) << said;
  }

  const fs::path folder_ = fs::temp_directory_path() / ("tarnwick-no-data-" + std::to_string(::getpid()));
  const std::string runtime_ = "XDG_RUNTIME_DIR=" + (folder_ / "runtime").string();
};

TEST_F(MissingData, WithoutADisplayTheGameSaysWhatItLookedForAndEnds) {
  ProgramRun game(folder_, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", runtime_});
  ASSERT_TRUE(game.Started());
  ASSERT_TRUE(game.WaitForEnd(std::chrono::seconds(20))) << "still running\n" << game.ErrorText();
  ExpectNamesFolderAndFile(game.ErrorText());
}

TEST_F(MissingData, OnADisplayAMessageBoxSaysItAndClosingItEndsTheGame) {
  const std::vector<std::string> missing = MissingTools({"Xvfb", "xdotool", "xwininfo"});
  if (!missing.empty()) GTEST_SKIP() << "needs Xvfb, xdotool and xwininfo; missing " << missing.front();
  std::optional<XDisplay> display = XDisplay::Start();
  ASSERT_TRUE(display) << "Xvfb did not start";
  ProgramRun game(folder_, {"DISPLAY=" + display->Name(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                            "TARNWICK_WINDOWED=0", runtime_});
  ASSERT_TRUE(game.Started());
  const std::string box = display->WaitForWindow("Tarnwick", std::chrono::seconds(30));
  ASSERT_FALSE(box.empty()) << "no message box\n" << game.ErrorText();
  EXPECT_FALSE(display->HasWindow("Tarnwick Vf 1.02")) << "no game window behind it";
  EXPECT_FALSE(game.WaitForEnd(std::chrono::seconds(1))) << "the box waits for the player";
  ExpectNamesFolderAndFile(game.ErrorText());

  // Keys go to the window under the pointer when no manager gives focus.
  display->Run("xdotool", {"mousemove", "--window", box, "5", "5"});
  display->Run("xdotool", {"key", "Return"});
  EXPECT_TRUE(game.WaitForEnd(std::chrono::seconds(10))) << "closing the box ends the game";
}

}  // namespace
}  // namespace programtest
