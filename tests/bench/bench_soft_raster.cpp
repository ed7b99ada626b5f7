// Frame cost of the engine's two render paths on one field view: a textured,
// lit floor and back wall with spheres in front (the scene of
// bench_raster.cpp), 640 x 480, rendered through RenderViewport by the
// software rasteriser and by the 3D device.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/core/cameras.h"
#include "engine/core/device_setup.h"
#include "engine/core/lifecycle.h"
#include "engine/core/lights.h"
#include "engine/core/main_loop.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "tests/bench/engine_bench_main.h"

namespace {

struct Geometry {
  std::vector<MESHVERTEX> vertices;
  std::vector<MESHPRIM> words;
  int triangles = 0;
};

MESHVERTEX Vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v) {
  MESHVERTEX m;
  m.x = x, m.y = y, m.z = z, m.nx = nx, m.ny = ny, m.nz = nz, m.u = u, m.v = v;
  return m;
}

void AddTriangle(Geometry& g, int a, int b, int c, HOBJECT material) {
  g.words.insert(g.words.end(), {PRIM_TRIANGLE, static_cast<MESHPRIM>(material), 0, a, b, c});
  ++g.triangles;
}

// A grid of quads spanning origin + s * axisU + t * axisV (s, t in 0..1).
void AddGrid(Geometry& g, const float* o, const float* u, const float* v, const float* n, int cells, float repeat,
             HOBJECT material) {
  int base = static_cast<int>(g.vertices.size());
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      float s = static_cast<float>(i) / cells, t = static_cast<float>(j) / cells;
      g.vertices.push_back(Vertex(o[0] + s * u[0] + t * v[0], o[1] + s * u[1] + t * v[1], o[2] + s * u[2] + t * v[2],
                                  n[0], n[1], n[2], s * repeat, t * repeat));
    }
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      int a = base + j * (cells + 1) + i, b = a + 1, c = a + cells + 1, d = c + 1;
      AddTriangle(g, a, b, c, material);
      AddTriangle(g, b, d, c, material);
    }
}

void AddSphere(Geometry& g, float cx, float cy, float cz, float radius, int slices, int stacks, HOBJECT material) {
  int base = static_cast<int>(g.vertices.size());
  for (int j = 0; j <= stacks; ++j)
    for (int i = 0; i <= slices; ++i) {
      float theta = 3.14159265f * j / stacks, phi = 6.2831853f * i / slices;
      float nx = std::sin(theta) * std::cos(phi), ny = std::cos(theta), nz = std::sin(theta) * std::sin(phi);
      g.vertices.push_back(Vertex(cx + radius * nx, cy + radius * ny, cz + radius * nz, nx, ny, nz,
                                  static_cast<float>(i) / slices, static_cast<float>(j) / stacks));
    }
  for (int j = 0; j < stacks; ++j)
    for (int i = 0; i < slices; ++i) {
      int a = base + j * (slices + 1) + i, b = a + 1, c = a + slices + 1, d = c + 1;
      AddTriangle(g, a, c, b, material);
      AddTriangle(g, b, c, d, material);
    }
}

// A 64 x 64 checker of two greys with 8-texel squares.
HOBJECT CheckerMaterial() {
  std::vector<uint8_t> pixels(64 * 64), palette(256 * 3, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) pixels[y * 64 + x] = ((x / 8 + y / 8) & 1) ? 1 : 2;
  palette[3] = palette[4] = palette[5] = 255;
  palette[6] = palette[7] = palette[8] = 120;
  const float ambient[3] = {0.5f, 0.5f, 0.5f}, diffuse[3] = {0.8f, 0.8f, 0.8f}, black[3] = {0, 0, 0};
  return CreateMaterialFromPixels(ambient, diffuse, black, black, 0, 8, pixels.data(), palette.data(), 64, 64, 0, 0, 0,
                                  0, 0);
}

int BuildScene() {
  HOBJECT material = CheckerMaterial();
  Geometry g;
  const float floorOrigin[] = {-260, -40, -20}, floorU[] = {520, 0, 0}, floorV[] = {0, 0, -420}, up[] = {0, 1, 0};
  AddGrid(g, floorOrigin, floorU, floorV, up, 24, 8.0f, material);
  const float wallOrigin[] = {-420, -40, -440}, wallU[] = {840, 0, 0}, wallV[] = {0, 700, 0}, front[] = {0, 0, 1};
  AddGrid(g, wallOrigin, wallU, wallV, front, 16, 6.0f, material);
  for (int k = 0; k < 8; ++k)
    AddSphere(g, -120.0f + 34.0f * k, -10.0f + 6.0f * (k % 3), -90.0f - 30.0f * k, 18.0f, 12, 8, material);
  BeginNode(NODE_MESH);
  AppendMeshData(0, g.vertices.data(), static_cast<int>(g.vertices.size()), g.words.data(),
                 static_cast<int>(g.words.size()), g.triangles, 1);
  EndNode(0);

  const float warm[3] = {0.7f, 0.7f, 0.6f}, orange[3] = {0.6f, 0.4f, 0.2f};
  CreateLightNode(0, LIGHT_DIRECTIONAL, 1.0f, warm);
  HOBJECT point = CreateLightNode(0, LIGHT_POINT, 1.0f, orange);
  SetLightRange(point, 300);
  SetNodePosition(point, 40, 30, -120, 0);

  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f * 4, 2, 5000);
  SetViewportCamera(0, camera);
  return g.triangles;
}

// Pixels of the last frame that differ from the clear colour: both paths
// should cover about the same part of the screen.
double CoveredPixels() {
  plat::Surface& back = *g_gameWorld->backBuffer;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (back.Lock(&pixels, &pitch) != plat::SurfaceResult::Ok || !pixels) return 0;
  int covered = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) covered += reinterpret_cast<const uint16_t*>(pixels + y * pitch)[x] != 0;
  back.Unlock();
  return covered;
}

void RunFrames(benchmark::State& state, int renderMode) {
  SetRenderMode(renderMode);
  if (OpenEngine(1, "Tarnwick bench", 640, 480, 16) != 1) {
    state.SkipWithError("the engine does not open");
    return;
  }
  int triangles = BuildScene();
  for (auto _ : state) {
    RenderViewport(0, 1, 1);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = triangles;
  state.counters["covered"] = CoveredPixels();
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  CloseEngine(1);
  SetQuitFlag(0);
}

void BM_SoftwareRasteriser(benchmark::State& state) { RunFrames(state, 0); }
BENCHMARK(BM_SoftwareRasteriser)->Unit(benchmark::kMillisecond);

void BM_Device(benchmark::State& state) { RunFrames(state, 1); }
BENCHMARK(BM_Device)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunEngineBenchmarks(argc, argv); }
