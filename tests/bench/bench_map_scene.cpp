// The per-frame cost of the live field map: distance culling and the scene
// tick over a full scene of 600 objects (one of them the terrain) and 40
// people, half of them walking their routines, the eye in the middle.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "database/game_resource.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/world.h"
#include "platform/files.h"
#include "tests/bench/engine_bench_main.h"
#include "tests/support/captures.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/scene_file_writer.h"
#include "world/map_scene.h"

namespace {

using namespace datagen;

constexpr int kObjects = 599;
constexpr int kPeople = 40;
constexpr float kHalf = 3000;

SceneFileData CrowdedScene() {
  SceneFileData s;
  SceneObjectData ground;
  ground.name = "ground";
  ground.kind = 1;
  ground.parts = {{}};
  ground.vertices = {{{-kHalf, -kHalf, 0}}, {{kHalf, -kHalf, 0}}, {{kHalf, kHalf, 0}}, {{-kHalf, kHalf, 0}}};
  ground.triangles = {{0, 0, 1, 2}, {0, 0, 2, 3}};
  s.objects.push_back(ground);
  for (int i = 0; i < kObjects; ++i) {
    SceneObjectData o;
    o.name = "rock" + std::to_string(i);
    o.parts = {{}};
    const float x = -kHalf + 100 + (i % 25) * 230.0f, y = -kHalf + 100 + (i / 25) * 230.0f;
    o.vertices = {{{x, y, 0}}, {{x + 20, y, 0}}, {{x, y + 20, 30}}};
    o.triangles = {{0, 0, 1, 2}};
    s.objects.push_back(o);
  }
  for (int i = 0; i < kPeople; ++i) {
    ScenePersonData p;
    p.name = i % 2 ? sample::kBramName : sample::kMiraName;
    p.position = {-1200 + (i % 8) * 300.0f, -1200 + (i / 8) * 600.0f, 0};
    if (i % 2) {
      p.flags = 0x1;
      SceneAnimData walk;
      walk.mode = 1;
      walk.repeat = 1;
      walk.plays = 30000;
      walk.positionKeys = {{0, p.position}, {90, {p.position[0], p.position[1] + 200, 0}}};
      p.routine = walk;
    }
    s.people.push_back(p);
  }
  return s;
}

bool WriteWorld(std::string& error) {
  for (const char* dir : {"creature", "texture", "Resource", "scenes"}) plat::CreateDirectories(dir);
  GameResourceData r;
  r.npcs = {{'k', sample::kNpcModel, 0, sample::kMiraName, 1}, {'k', sample::kNpcModel, 0, sample::kBramName, 2}};
  MapData map;
  map.scene = "bench.SB";
  r.maps = {map};
  return WriteSamplePeople("./", error) && WriteGameResource("Resource/Zudur.res", r, error) &&
         WriteSceneFile("scenes/bench.sb", CrowdedScene(), error);
}

void BM_MapSceneTick(benchmark::State& state) {
  testsupport::ScopedWorkDir dir;
  std::string error;
  if (!WriteWorld(error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  {
    CGameResource resource;
    resource.Open(nullptr);
    MScene scene("bench.sb", &resource);
    for (auto _ : state) {
      scene.CullByDistance(0);
      scene.Tick(1);
      benchmark::ClobberMemory();
    }
    state.counters["objects"] = static_cast<double>(kObjects);
    state.counters["people"] = static_cast<double>(kPeople);
  }
  CloseEngine(1);
  SetQuitFlag(0);
}
BENCHMARK(BM_MapSceneTick)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
