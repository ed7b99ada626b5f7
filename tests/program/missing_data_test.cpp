// The game started in a folder without its data, as a newcomer may start it:
// it says which folder it looked in and which file it needs, in a message
// box where there is a display and on standard error, and then ends instead
// of showing a black window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/x_session.h"

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
  const std::string output_ = (folder_ / "runtime" / "output.txt").string();
};

TEST_F(MissingData, WithoutADisplayTheGameSaysWhatItLookedForAndEnds) {
  xtest::Process game({TARNWICK_PROGRAM}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", runtime_},
                      folder_.string(), output_);
  ASSERT_TRUE(game.Started());
  ASSERT_TRUE(game.WaitForEnd(20)) << "still running\n" << game.Output();
  ExpectNamesFolderAndFile(game.Output());
}

TEST_F(MissingData, OnADisplayAMessageBoxSaysItAndClosingItEndsTheGame) {
  const std::vector<std::string> missing = xtest::MissingXTools(false);
  if (!missing.empty()) GTEST_SKIP() << "needs an X server and its tools; missing " << missing.front();
  const xtest::XSession display(false);
  ASSERT_EQ(display.Error(), "");
  xtest::Process game(
      {TARNWICK_PROGRAM},
      {"DISPLAY=" + display.Display(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy", "TARNWICK_WINDOWED=0", runtime_},
      folder_.string(), output_);
  ASSERT_TRUE(game.Started());
  const unsigned long box = display.WaitForWindow("Tarnwick", 30);
  ASSERT_NE(box, 0UL) << "no message box\n" << game.Output();
  EXPECT_FALSE(display.HasWindow("Tarnwick Vf 1.02")) << "no game window behind it";
  EXPECT_FALSE(game.WaitForEnd(1)) << "the box waits for the player";
  ExpectNamesFolderAndFile(game.Output());

  // Keys go to the window under the pointer when no manager gives focus.
  display.Xdo({"mousemove", "--window", std::to_string(box), "5", "5"});
  display.Xdo({"key", "Return"});
  EXPECT_TRUE(game.WaitForEnd(10)) << "closing the box ends the game";
}

}  // namespace
}  // namespace programtest
