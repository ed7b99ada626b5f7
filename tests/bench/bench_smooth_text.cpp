// Cost of one smoothed interface text line: 20 Big5 characters at 16 x 16
// drawn over a background sprite (measuring, scratch drawing and the filter).
#include <benchmark/benchmark.h>

#include <string>

#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/media/sprites.h"
#include "tests/bench/engine_bench_main.h"
#include "ui/smooth_text.h"

namespace {

HOBJECT BlankSprite(int width, int height, int red, int green, int blue) {
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, width, height);
  HOBJECT sprite = EndSprite(0);
  FillSprite(sprite, 0, red, green, blue);
  return sprite;
}

void BM_SmoothTextOverSprite(benchmark::State& state) {
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  HOBJECT background = BlankSprite(640, 60, 200, 180, 150);
  HOBJECT destination = BlankSprite(400, 40, 0, 0, 255);
  SetSpritePosition(background, 0, 100);
  SetSpritePosition(destination, 20, 110);
  std::string line;
  for (int i = 0; i < 20; ++i) line += "\xa4\xa4";
  SMOOTHTEXTDESC desc;
  desc.width = 16;
  desc.height = 16;
  desc.red = 40;
  for (auto _ : state) {
    if (DrawSmoothTextOver(destination, 0, 20, line.c_str(), &desc, background) != 1) {
      state.SkipWithError("the text was not drawn");
      break;
    }
    benchmark::ClobberMemory();
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  CloseEngine(1);
  SetQuitFlag(0);
}
BENCHMARK(BM_SmoothTextOverSprite)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
