// Cost of one follow-view redraw of the automap whose outline is a ring of
// 1,000 points around the player, crossing the view's border eight times.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/core/device_setup.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/media/sprites.h"
#include "tests/bench/engine_bench_main.h"
#include "world/automap.h"

namespace {

constexpr int kRingPoints = 1000;
constexpr float kRingRadius = 300;  // the view reaches 250 units each way

// A fan of triangles from the centre: its outline is the ring.
HOBJECT MakeRingTerrain() {
  std::vector<MESHVERTEX> vertices(kRingPoints + 1);
  for (int i = 0; i < kRingPoints; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / kRingPoints;
    vertices[i + 1].x = kRingRadius * std::cos(a);
    vertices[i + 1].y = kRingRadius * std::sin(a);
    vertices[i + 1].nz = 1;
  }
  std::vector<MESHPRIM> words;
  for (int i = 0; i < kRingPoints; ++i)
    words.insert(words.end(), {PRIM_TRIANGLE, -1, 0, 0, i + 1, (i + 1) % kRingPoints + 1});
  BeginNode(NODE_MESH);
  AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                 kRingPoints, 1);
  return EndNode(0);
}

void BM_AutomapFollowRedraw(benchmark::State& state) {
  SetRenderMode(1);
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  {
    auto map = std::make_unique<CAutomap>(8, 120, 250, 16, 15);
    if (map->BuildForScene("e001.sb", MakeRingTerrain(), 1) != 1 || map->Outline().empty()) {
      state.SkipWithError("the ring has no outline");
    } else {
      BeginSprite(0);
      SetSpriteBlankImage(1, 1, 1, 120, 120);
      HOBJECT target = EndSprite(0);
      map->SetDisplayMode(1);
      int step = 0;
      for (auto _ : state) {
        map->UpdatePlayer(static_cast<float>(step % 40) - 20, 0, 1, 0);
        benchmark::DoNotOptimize(map->Draw(0, target));
        ++step;
      }
      state.counters["points"] = static_cast<double>(map->Outline()[0].size());
    }
  }
  CloseEngine(1);
  SetQuitFlag(0);
}

}  // namespace

BENCHMARK(BM_AutomapFollowRedraw)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
