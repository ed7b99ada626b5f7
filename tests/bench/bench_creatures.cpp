// Cost of one society tick of 20 creatures, each with a 1,000-vertex
// quantised morphing part, playing looping poses and blending from one into
// the other every ten ticks.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "components/mix_creature.h"
#include "components/society.h"
#include "engine/core/device_setup.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "platform/files.h"
#include "tests/bench/engine_bench_main.h"
#include "tools/datagen/creature_binary_writer.h"

namespace {

constexpr int kCreatures = 20;
constexpr int kVertices = 1000;
constexpr int kFrames = 60;

datagen::CreatureModel BenchModel() {
  datagen::CreatureModel m;
  m.name = "bench";
  m.quantisedObjects = m.quantisedParts = true;
  m.frames = kFrames;
  m.frameOffsets.assign(kFrames, {0, 0, 0});
  m.poses = {{0, 29, 0, 0, 29}, {30, 59, 30, 30, 59}};
  datagen::CreaturePart part;
  part.name = "skin";
  part.materials = {datagen::CreatureMaterial{}};
  std::vector<datagen::CreatureKeyVertex> a, b;
  for (int i = 0; i < kVertices; ++i) {
    const float x = static_cast<float>(i % 40), y = static_cast<float>(i / 40);
    part.vertices.push_back({x, y, 0, 0, 0, 1, x / 40, y / 25});
    a.push_back({x, y, 0, 0, 0, 1});
    b.push_back({x, y, 10, 0, 0.6f, 0.8f});
  }
  for (int i = 0; i + 2 < kVertices; i += 3) part.triangles.push_back({0, 0, i, i + 1, i + 2});
  part.keys = {a, b};
  for (int f = 0; f < kFrames; ++f) part.weights.push_back((f % 30) / 30.0f);
  m.parts = {part};
  return m;
}

void BM_CreatureTicks(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "tarnwick-bench-creatures";
  std::filesystem::create_directories(folder);
  plat::ByteWriter bytes;
  std::string error;
  if (!datagen::WriteCreatureBinary(BenchModel(), bytes, error) ||
      !plat::WriteFileAtomic((folder / "bench.MCB").string(), bytes.Bytes().data(), bytes.Size())) {
    state.SkipWithError("cannot write the model");
    return;
  }
  SetRenderMode(1);
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  {
    CSociety society;
    std::vector<std::unique_ptr<CGCBMixCreature>> creatures;
    for (int i = 0; i < kCreatures; ++i) {
      creatures.push_back(std::make_unique<CGCBMixCreature>("bench", 1, folder.string().c_str()));
      creatures.back()->Attach(&society);
    }
    int tick = 0;
    for (auto _ : state) {
      if (++tick % 10 == 0)
        for (auto& c : creatures) c->PlayPose(tick / 10 % 2, 1, CGCBMixCreature::kBlend, 0);
      society.Update(1);
      benchmark::ClobberMemory();
    }
    state.counters["vertices"] = kCreatures * kVertices;
  }
  CloseEngine(1);
  SetQuitFlag(0);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CreatureTicks)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
