// Cost of one battle tick on the sample arena: the battle system's pass over
// the hero, five enemies running their minds (three wolves, two shooters)
// and ten shots in flight, with every body of the society.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/phase_codes.h"
#include "battle/tarnwick.h"
#include "battle/x_shot.h"
#include "components/society_ext.h"
#include "database/game_database.h"
#include "engine/core/device_setup.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "platform/crt.h"
#include "tests/bench/engine_bench_main.h"
#include "tests/support/captures.h"
#include "tools/datagen/sample_world.h"
#include "ui/menu_agency.h"

namespace {

constexpr int kShots = 10;

void UseBattleDatabase() {
  CGDMainManSoul hero;
  hero.id = 1;
  hero.kind = 1;
  hero.subKind = 1;
  const int values[][2] = {{1, 1}, {5, 1000000}, {6, 1000000}, {7, 100}, {8, 100}, {9, 20}, {18, 100}};
  for (const auto& v : values) hero.attributes.push_back({v[0], v[1], 0});
  g_gameDataBase.heroes = {hero};
  g_gameDataBase.enemies.clear();
  for (int id : {datagen::sample::kEnemyId, datagen::sample::kShooterId}) {
    CGDEnemySoul e;
    e.id = e.kind = id;
    e.modelName = id == datagen::sample::kEnemyId ? datagen::sample::kEnemyModel : datagen::sample::kShooterModel;
    const int stats[][2] = {{1, 1}, {5, 1000000}, {6, 1000000}, {7, 10}, {8, 10}, {9, 10}};
    for (const auto& v : stats) e.attributes.push_back({v[0], v[1], 0});
    g_gameDataBase.enemies.push_back(e);
  }
  g_gameDataBase.party.members = {1};
}

// A slow shot on the far side of the arena, flying away from the hero.
void AddShot(CBattleSys& sys, int n) {
  auto* shot = new CXShot("_E311W.MCB");
  shot->Attach(&sys);
  const VECTOR3 at{-200.0f + 40.0f * static_cast<float>(n), 250, 20}, ahead{0, 1, 0}, up{0, 0, 1};
  shot->Place(&at, &ahead, &up);
  shot->SetMotion(1, 0);
  sys.AddShot(shot);
}

void BM_BattleTick(benchmark::State& state) {
  testsupport::ScopedWorkDir dir;
  testsupport::MessageBoxCapture boxes;
  std::string error;
  if (!datagen::WriteSampleWorld(".", error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  SetRenderMode(1);
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  UseBattleDatabase();
  plat::Srand(5);
  {
    CSocietyExt society(0);
    auto sys = std::make_unique<CBattleSys>(&g_menuAgency);
    sys->Attach(&society);
    BATTLEDESC desc;
    desc.enemies = {101, 101, 101, 102, 102};
    std::snprintf(desc.sceneName, sizeof desc.sceneName, "ba01");
    if (sys->Start(desc, 0) != 1) {
      state.SkipWithError("the battle does not start");
    } else {
      for (int i = 0; i < 3000 && sys->phaseCode != HERO_FIRST_FIGHTING; ++i) sys->TickState(1);
      for (auto _ : state) {
        for (int n = static_cast<int>(sys->shots.size()); n < kShots; ++n) AddShot(*sys, n);
        society.Update(1);
        benchmark::ClobberMemory();
      }
      state.counters["enemies"] = sys->enemyCount;
      sys->End();
    }
  }
  CloseEngine(1);
  SetQuitFlag(0);
}
BENCHMARK(BM_BattleTick)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
