// Engine costs that used to grow faster than the work: the render-list sort
// after the camera turns round, destroying many nodes, building a large
// terrain, the memory of many small meshes, and the main loop's idle cost.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/core/cameras.h"
#include "engine/core/device_setup.h"
#include "engine/core/frame_timers.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/media/screen.h"
#include "tests/bench/engine_bench_main.h"

namespace {

constexpr int kNodes = 5000;

bool Open(benchmark::State& state) {
  SetRenderMode(1);
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) == 1) return true;
  state.SkipWithError("the engine does not open");
  return false;
}

void Close() {
  CloseEngine(1);
  SetQuitFlag(0);
}

MESHVERTEX Vertex(float x, float y, float z) {
  MESHVERTEX m;
  m.x = x, m.y = y, m.z = z, m.nz = 1;
  return m;
}

// A committed mesh node holding one quad.
HOBJECT QuadNode() {
  const MESHVERTEX quad[4] = {Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(1, 1, 0), Vertex(0, 1, 0)};
  const MESHPRIM words[12] = {PRIM_TRIANGLE, 0, 0, 0, 1, 2, PRIM_TRIANGLE, 0, 0, 0, 2, 3};
  BeginNode(NODE_MESH);
  AppendMeshData(0, quad, 4, words, 12, 2, 1);
  return EndNode(0);
}

// Nodes in a row along the camera's view: every half turn of the camera
// reverses the order the render list must take.
void BM_RenderListAfterHalfTurn(benchmark::State& state) {
  if (!Open(state)) return;
  for (int i = 0; i < kNodes; ++i) {
    BeginNode(NODE_MESH);
    SetNodePosition(EndNode(0), 0, 0, -10.0f - static_cast<float>(i), 0);
  }
  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 50000);
  SetViewportCamera(0, camera);
  RenderViewport(0, 1, 1);
  for (auto _ : state) {
    RotateNode(camera, AXIS_POS_Y, 180, TRANSFORM_LOCAL);
    RenderViewport(0, 1, 1);
  }
  Close();
}
BENCHMARK(BM_RenderListAfterHalfTurn)->Unit(benchmark::kMillisecond);

// Children of one parent, destroyed last first.
void BM_DestroyNodes(benchmark::State& state) {
  if (!Open(state)) return;
  std::vector<HOBJECT> nodes;
  for (auto _ : state) {
    state.PauseTiming();
    HOBJECT root = CreateDummyNode(0, nullptr);
    nodes.clear();
    for (int i = 0; i < kNodes; ++i) nodes.push_back(CreateDummyNode(root, nullptr));
    state.ResumeTiming();
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) DestroyNode(*it);
    state.PauseTiming();
    DestroyNode(root);
    state.ResumeTiming();
  }
  Close();
}
BENCHMARK(BM_DestroyNodes)->Unit(benchmark::kMillisecond);

// A rolling height field of columns x rows quads, two triangles each.
HOBJECT GroundNode(int columns, int rows) {
  std::vector<MESHVERTEX> vertices;
  std::vector<MESHPRIM> words;
  for (int j = 0; j <= rows; ++j)
    for (int i = 0; i <= columns; ++i)
      vertices.push_back(
          Vertex(static_cast<float>(i), static_cast<float>(j), static_cast<float>((i * 7 + j * 3) % 5) * 0.1f));
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < columns; ++i) {
      const int a = j * (columns + 1) + i, b = a + 1, c = a + columns + 1, d = c + 1;
      words.insert(words.end(), {PRIM_TRIANGLE, 0, 0, a, b, d, PRIM_TRIANGLE, 0, 0, a, d, c});
    }
  BeginNode(NODE_MESH);
  AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                 2 * columns * rows, 1);
  return EndNode(0);
}

void BM_TerrainBuild(benchmark::State& state) {
  if (!Open(state)) return;
  const int columns = static_cast<int>(state.range(0)), rows = static_cast<int>(state.range(1));
  HOBJECT ground = GroundNode(columns, rows);
  for (auto _ : state) {
    HOBJECT terrain = CreateTerrain(ground, 0.5f, 0.25f);
    if (!terrain) state.SkipWithError("no terrain");
    DestroyTerrain(terrain, 0);
  }
  state.counters["triangles"] = 2.0 * columns * rows;
  Close();
}
BENCHMARK(BM_TerrainBuild)->Args({64, 128})->Args({128, 256})->Unit(benchmark::kMillisecond);

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_SmallMeshMemory(benchmark::State& state) {
  if (!Open(state)) return;
  double grown = 0;
  for (auto _ : state) {
    const double before = ResidentMegabytes();
    std::vector<HOBJECT> nodes;
    for (int i = 0; i < kNodes; ++i) nodes.push_back(QuadNode());
    grown = ResidentMegabytes() - before;
    for (HOBJECT node : nodes) DestroyNode(node);
  }
  state.counters["resident MB"] = grown;
  Close();
}
BENCHMARK(BM_SmallMeshMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

int g_framesLeft = 0;

// A title screen: an empty view drawn and shown at 30 frames a second.
void TitleFrame(int) {
  RenderViewport(0, 1, 1);
  FlipScreen();
  if (--g_framesLeft <= 0) SetQuitFlag(1);
}

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_IdleMainLoop(benchmark::State& state) {
  if (!Open(state)) return;
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    g_framesLeft = 30;
    SetFrameTimer(0, 30.0f, TitleFrame, 1);
    const double cpuStart = ProcessSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    RunMainLoop(1);
    cpu += ProcessSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    SetQuitFlag(0);
  }
  state.counters["core %"] = wall > 0 ? 100.0 * cpu / wall : 0;
  Close();
}
BENCHMARK(BM_IdleMainLoop)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
