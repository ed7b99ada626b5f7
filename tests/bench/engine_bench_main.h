#pragma once
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/core/engine_window.h"

// The main of a benchmark that opens the engine: headless drivers unless the
// environment chooses others, the engine's window class, then the benchmarks.
inline int RunEngineBenchmarks(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  LoadEngineCursors();
  RegisterEngineWindowClass();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
