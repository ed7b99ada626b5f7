// The world map's per-frame cost: one cross-fade pass over a 640 x 480
// background sprite; and the transition's shrink of a 640 x 480 screen copy
// to its 256 x 256 texture.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/media/sprites.h"
#include "tests/bench/engine_bench_main.h"
#include "world/transition_player.h"
#include "world/world_map_pixels.h"

namespace {

void BM_WorldMapBlendPass(benchmark::State& state) {
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, 640, 480);
  const HOBJECT sprite = EndSprite(0);
  FillSprite(sprite, 0, 100, 120, 140);
  const std::vector<uint16_t> from = CopySpritePixels(sprite);
  const std::vector<uint16_t> to(from.size(), 0x0841);
  if (from.size() != 640u * 480u) state.SkipWithError("the sprite is not 16-bit");
  const SpritePixelFormat format = SpritePixelFormat::FromCode(1);
  int step = 0;
  for (auto _ : state) {
    BlendSpritePixels(sprite, from, to, step++ % 15 + 1, format);
    benchmark::ClobberMemory();
  }
  state.counters["passes/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  DeleteSprite(sprite);
  CloseEngine(1);
  SetQuitFlag(0);
}
BENCHMARK(BM_WorldMapBlendPass)->Unit(benchmark::kMicrosecond);

void BM_TransitionShrink(benchmark::State& state) {
  std::vector<uint8_t> screen(640 * 480 * 2);
  for (size_t i = 0; i < screen.size(); ++i) screen[i] = static_cast<uint8_t>(i * 7);
  for (auto _ : state) {
    std::vector<uint16_t> image = ShrinkScreenCopy(screen, 1);
    benchmark::DoNotOptimize(image.data());
  }
  state.counters["shrinks/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TransitionShrink)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
