// One frame of the field's glowing motes: 2,500 particles moved, wrapped and
// tested against the view cone, the visible ones written into the quad mesh.
#include <benchmark/benchmark.h>

#include "components/particle_field.h"
#include "engine/core/cameras.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/viewports.h"
#include "tests/bench/engine_bench_main.h"

namespace {

constexpr int kQuadBudget = 500;  // 5 particles per quad

void BM_ParticleFieldUpdate(benchmark::State& state) {
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  SetViewportCamera(0, CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 5000));
  {
    CParticleField field;
    field.SetVisible(1);
    field.SetCount(kQuadBudget);
    field.SetGroundLevel(-100);
    field.Update();
    for (auto _ : state) {
      field.Update();
      benchmark::ClobberMemory();
    }
    state.counters["particles"] = static_cast<double>(field.Particles().size());
  }
  CloseEngine(1);
  SetQuitFlag(0);
}
BENCHMARK(BM_ParticleFieldUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
