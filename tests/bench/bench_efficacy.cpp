// Cost of one frame of a looping 60-frame special effect with four
// 16-section ribbons that turn, scroll and change colour every frame, and two
// endless emitters of 64 particles each.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "components/efficacy.h"
#include "engine/core/device_setup.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "tests/bench/engine_bench_main.h"
#include "tools/datagen/efficacy_writer.h"

namespace {

efc::EFCFILEDESC BenchEffect() {
  efc::EFCFILEDESC f;
  f.frameCount = 60;
  for (int i = 0; i < 4; ++i) {
    efc::EFCSECTIONALRECORD r;
    r.header.name = "ribbon";
    r.shape = {2, 2, 30, "glow", 1, 16, 0, {0, 1, 0}, {0, -1, 0}, 0, 0, {1, 0, 0}, 2};
    efc::EFCRIBBONKEYDESC k;
    k.speed = 0.1f;
    k.spin = {0, 0.05f, 0};
    k.scrollU = 0.02f;
    k.changeColours = 1;
    k.changes[3] = {-0.01f, -0.01f, -0.01f};
    r.keys = {k};
    f.sectionals.push_back(r);
  }
  for (int i = 0; i < 2; ++i) {
    efc::EFCPARTICLERECORD r;
    r.header.name = "sparks";
    r.emitter.templateWidth = r.emitter.templateHeight = 1;
    r.emitter.templateTexture = "spark";
    r.emitter.speed = 0.3f;
    r.emitter.spin = {0, 0.1f, 0};
    r.emitter.poolSize = 64;
    r.emitter.lifetime = 64;
    r.emitter.spread = 3;
    f.particles.push_back(r);
  }
  return f;
}

void BM_EffectFrame(benchmark::State& state) {
  const std::filesystem::path file = "Data/Efficacy/tarnwick_bench.efc";
  std::string error;
  if (!datagen::WriteEfficacyFile(file.string(), BenchEffect(), error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  SetRenderMode(1);
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  {
    CEfficacy effect;
    if (effect.Load("tarnwick_bench", 0, 0, nullptr, 0) != 1) state.SkipWithError("the effect does not load");
    effect.SetLoop(1);
    for (auto _ : state) benchmark::DoNotOptimize(effect.Update(0));
  }
  CloseEngine(1);
  SetQuitFlag(0);
  // The folders go too when nothing else was in them.
  for (std::filesystem::path p = file; !p.empty(); p = p.parent_path()) {
    std::error_code ignored;
    std::filesystem::remove(p, ignored);
  }
}
BENCHMARK(BM_EffectFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
