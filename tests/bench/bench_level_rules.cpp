// Rising through a hero's level table, as the game database's load does for
// every hero's starting level: long rows, and many levels with a long learn
// table. Both should grow linearly with the table.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "database/level_rules.h"
#include "database/main_man_soul.h"
#include "database/records.h"

namespace {

CGDMainManSoul HeroWithAttributes() {
  CGDMainManSoul hero;
  for (int32_t key = 1; key <= kHeroAttributeCount; ++key) hero.attributes.push_back({key, 0, 0});
  return hero;
}

// A row of n entries of a hero's key after a row of n other keys: every
// entry looks for its key in the row before and finds none.
void BM_RaiseThroughLongRows(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  CGDMainManSoul table = HeroWithAttributes();
  table.levelTable.resize(3);
  for (int i = 0; i < n; ++i) {
    table.levelTable[0].push_back({1000 + i, i, 0});
    table.levelTable[1].push_back({9, i, 0});
  }
  for (auto _ : state) {
    CGDMainManSoul hero = table;
    benchmark::DoNotOptimize(RaiseToLevelEx(&hero, 2));
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_RaiseThroughLongRows)->RangeMultiplier(4)->Range(1 << 8, 1 << 14)->Complexity();

// n levels of one entry and a learn table of n entries.
void BM_RaiseThroughManyLevels(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  CGDMainManSoul table = HeroWithAttributes();
  table.levelTable.assign(static_cast<size_t>(n), {{kAttrNextExperience, 1, 0}});
  for (int i = 0; i < n; ++i)
    table.learnTable.push_back({static_cast<uint8_t>(i % 200), 0, static_cast<uint16_t>(i % 60000)});
  for (auto _ : state) {
    CGDMainManSoul hero = table;
    benchmark::DoNotOptimize(RaiseToLevelEx(&hero, n - 1));
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_RaiseThroughManyLevels)->RangeMultiplier(4)->Range(1 << 8, 1 << 14)->Complexity();

}  // namespace

BENCHMARK_MAIN();
