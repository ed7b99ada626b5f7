// The camera's one segment test per frame against the terrain walls: an
// 85-unit segment from the look-at point outwards, somewhere over a large
// closed outline of 2000 walls. The grid should keep it to a few walls, and
// a linear scan of every wall is the figure to compare with.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/crt.h"
#include "world/terrain_boundary.h"

namespace {

constexpr int kWalls = 2000;
constexpr float kRadius = 4000;

// A ragged closed ring of kWalls walls.
TerrainOutline Ring() {
  plat::Srand(7);
  OutlinePolyline line;
  for (int i = 0; i <= kWalls; ++i) {
    const float angle = 6.2831853f * static_cast<float>(i % kWalls) / kWalls;
    const float r = kRadius + static_cast<float>(plat::Rand() % 200) * (i % kWalls != 0);
    line.push_back({r * std::cos(angle), r * std::sin(angle), 0});
  }
  return {line};
}

// Segments from inside the ring outwards, many of them crossing its walls.
std::vector<std::pair<VECTOR3, VECTOR3>> CameraSegments() {
  std::vector<std::pair<VECTOR3, VECTOR3>> segments;
  for (int i = 0; i < 1024; ++i) {
    const float angle = 6.2831853f * static_cast<float>(plat::Rand()) / plat::kRandMax;
    const float r = kRadius - 100 + static_cast<float>(plat::Rand() % 200);
    const VECTOR3 look{r * std::cos(angle), r * std::sin(angle), 20};
    const VECTOR3 camera{look.x + 85 * std::cos(angle), look.y + 85 * std::sin(angle), 40};
    segments.push_back({camera, look});
  }
  return segments;
}

void BM_WallGridSegment(benchmark::State& state) {
  TerrainBoundary walls;
  walls.Build(Ring());
  const auto segments = CameraSegments();
  size_t i = 0;
  int hits = 0;
  for (auto _ : state) {
    const auto& s = segments[i++ & 1023];
    float value = 0;
    hits += walls.IntersectSegment(s.first, s.second, &value);
    benchmark::DoNotOptimize(value);
  }
  state.counters["hit share"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WallGridSegment);

// Every wall tested, for comparison.
void BM_AllWallsSegment(benchmark::State& state) {
  TerrainBoundary walls;
  walls.Build(Ring());
  const auto segments = CameraSegments();
  size_t i = 0;
  for (auto _ : state) {
    const auto& s = segments[i++ & 1023];
    const VECTOR3 d = VectorBetween(s.first, s.second);
    float best = 0;
    for (const WallSegment& wall : walls.Walls()) {
      float t = 0;
      if (wall.Intersect(s.first, d, &t) && t > best) best = t;
    }
    benchmark::DoNotOptimize(best);
  }
}
BENCHMARK(BM_AllWallsSegment);

}  // namespace

BENCHMARK_MAIN();
