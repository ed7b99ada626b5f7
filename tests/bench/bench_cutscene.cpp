// The cost of a cut-scene creature's terrain check: SetTerrain probes drops
// from the vertices of a 4,050-triangle terrain mesh. Over its own terrain the
// first drop lands; with a mesh away from the terrain every vertex is tried.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "cutscene/creature_actor.h"
#include "engine/core/device_setup.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "engine/media/data_directories.h"
#include "tests/bench/engine_bench_main.h"
#include "tests/support/terrain_grid.h"
#include "tools/datagen/sample_world_parts.h"

namespace {

constexpr int kCells = 45;  // 2 x 45 x 45 = 4,050 triangles

void BM_CreatureSetTerrain(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "tarnwick-bench-cutscene";
  std::filesystem::create_directories(folder);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::string error;
  SetRenderMode(1);
  if (!datagen::WriteSampleCreatures("./", error) || OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("no sample creature or no engine");
    std::filesystem::current_path(previous);
    return;
  }
  {
    SetTextureDirectory("texture");
    const HOBJECT mesh = testsupport::MakeGridMesh(-450, -450, 20, kCells, 0);
    const HOBJECT terrain = CreateTerrain(mesh, 1, 1);
    const HOBJECT away = testsupport::MakeGridMesh(90000, 90000, 20, kCells, 0);
    const HOBJECT probed = state.range(0) ? away : mesh;
    SCreature creature("Walk01", 1, "creature");
    for (auto _ : state) benchmark::DoNotOptimize(creature.SetTerrain(probed, terrain, 0, 0));
    state.counters["on terrain"] = creature.IsOnTerrain();
    DestroyNode(away);
  }
  CloseEngine(1);
  SetQuitFlag(0);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CreatureSetTerrain)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
