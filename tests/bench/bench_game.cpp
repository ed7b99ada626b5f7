// The game as a player meets it, on the generated sample world: start-up to
// the first title frame, on the device and the software path.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "game/game.h"
#include "game/game_main.h"
#include "platform/display.h"
#include "platform/window.h"
#include "tests/bench/engine_bench_main.h"
#include "tools/datagen/sample_world.h"

namespace {

// The sample world written once into a folder of its own, made the working
// directory. The opening movie is left out: it plays its own length.
bool EnterSampleWorld() {
  static const bool written = [] {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tarnwick-bench-world-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string error;
    if (!datagen::WriteSampleWorld(dir.string(), error)) return false;
    std::filesystem::remove(dir / "starting.avi");
    std::filesystem::current_path(dir);
    return true;
  }();
  return written;
}

void EndAll() {
  EndGame();
  CloseEngine(1);
  if (g_mainWindow && plat::IsWindow(g_mainWindow)) plat::DestroyWindow(g_mainWindow);
  g_mainWindow = 0;
  SetQuitFlag(0);
  plat::ClearMessageQueue();
}

void BM_StartUpToTitleFrame(benchmark::State& state) {
  if (!EnterSampleWorld()) {
    state.SkipWithError("the sample world cannot be written");
    return;
  }
  std::string renderer = state.range(0) ? "h" : "s";
  std::vector<char*> argv = {const_cast<char*>("tarnwick"), renderer.data()};
  for (auto _ : state) {
    const uint64_t shown = plat::PacedFrameCount();
    if (StartGame(2, argv.data()) != 1) {
      state.SkipWithError("the game does not start");
      break;
    }
    for (int pass = 0; pass < 100 && plat::PacedFrameCount() == shown; ++pass) RunMainLoopPass(1);
    state.PauseTiming();
    if (!g_game || g_game->state != GS_MENU) state.SkipWithError("no title");
    EndAll();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToTitleFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
