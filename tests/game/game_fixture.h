#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/main_loop.h"
#include "game/game.h"
#include "game/game_main.h"
#include "tests/engine/engine_fixture.h"

namespace gametest {

// Every game test runs in an empty working directory on the test clock, with
// message boxes and DebugTrace captured. Start runs the game's start-up as the
// program would; Pass(k) plays k passes of the main loop, 1/30 s apart. The
// game still alive at the end is ended as the program ends it.
class GameTest : public enginetest::EngineTest {
 protected:
  GameTest() {
    // Windows of other test programs running at the same time must not
    // count as a running copy of the game: each program keeps its own.
    static const bool isolated = [] {
      std::filesystem::path dir =
          std::filesystem::temp_directory_path() / ("tarnwick-game-tests-" + std::to_string(::getpid()));
      std::filesystem::create_directories(dir);
      return ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1) == 0;
    }();
    EXPECT_TRUE(isolated);
  }
  ~GameTest() override { EndGame(); }

  // The game's start-up with the given arguments (program path first).
  int Start(std::vector<std::string> args = {}) {
    args.insert(args.begin(), "tarnwick");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return StartGame(static_cast<int>(argv.size()), argv.data());
  }

  void Pass(int k = 1) {
    for (int i = 0; i < k; ++i) {
      clock_->AdvanceSeconds(1.0 / 30);
      RunMainLoopPass(1);
    }
  }

  CGame& Game() { return *g_game; }

  testsupport::ScopedWorkDir workDir_;
  testsupport::DebugTraceCapture traces_;
};

}  // namespace gametest
