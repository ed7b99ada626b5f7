// Frame cost of the reference rasteriser on a typical field view: a
// textured, lit floor and back wall with spheres in front, 640 x 480,
// about 3200 triangles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/raster/pixel_formats.h"
#include "platform/raster/rasterizer.h"
#include "tests/raster/raster_fixture.h"

namespace {

using rastertest::Perspective;

using namespace plat::raster;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Mesh {
  std::vector<VertexLit> vertices;
  std::vector<uint32_t> indices;
};

// A grid of quads spanning origin + s * axisU + t * axisV (s, t in 0..1).
void AddGrid(Mesh& mesh, const float* origin, const float* axisU, const float* axisV, const float* normal, int cells,
             float repeat) {
  const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      const float s = static_cast<float>(i) / cells, t = static_cast<float>(j) / cells;
      mesh.vertices.push_back({origin[0] + s * axisU[0] + t * axisV[0], origin[1] + s * axisU[1] + t * axisV[1],
                               origin[2] + s * axisU[2] + t * axisV[2], normal[0], normal[1], normal[2], s * repeat,
                               t * repeat});
    }
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      const uint32_t a = base + j * (cells + 1) + i, b = a + 1, c = a + cells + 1, d = c + 1;
      mesh.indices.insert(mesh.indices.end(), {a, c, b, b, c, d});
    }
}

void AddSphere(Mesh& mesh, float cx, float cy, float cz, float radius, int slices, int stacks) {
  const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
  for (int j = 0; j <= stacks; ++j)
    for (int i = 0; i <= slices; ++i) {
      const float theta = 3.14159265f * j / stacks, phi = 6.2831853f * i / slices;
      const float nx = std::sin(theta) * std::cos(phi), ny = std::cos(theta), nz = std::sin(theta) * std::sin(phi);
      mesh.vertices.push_back({cx + radius * nx, cy + radius * ny, cz + radius * nz, nx, ny, nz,
                               static_cast<float>(i) / slices, static_cast<float>(j) / stacks});
    }
  for (int j = 0; j < stacks; ++j)
    for (int i = 0; i < slices; ++i) {
      const uint32_t a = base + j * (slices + 1) + i, b = a + 1, c = a + slices + 1, d = c + 1;
      mesh.indices.insert(mesh.indices.end(), {a, b, c, b, d, c});
    }
}

Mesh BuildScene() {
  Mesh mesh;
  const float floorOrigin[] = {-260, -40, -20}, floorU[] = {520, 0, 0}, floorV[] = {0, 0, -420}, up[] = {0, 1, 0};
  AddGrid(mesh, floorOrigin, floorU, floorV, up, 24, 8.0f);
  const float wallOrigin[] = {-420, -40, -440}, wallU[] = {840, 0, 0}, wallV[] = {0, 700, 0}, front[] = {0, 0, 1};
  AddGrid(mesh, wallOrigin, wallU, wallV, front, 16, 6.0f);
  for (int k = 0; k < 8; ++k)
    AddSphere(mesh, -120.0f + 34.0f * k, -10.0f + 6.0f * (k % 3), -90.0f - 30.0f * k, 18.0f, 12, 8);
  return mesh;
}

std::vector<uint16_t> CheckerTexture(int size) {
  std::vector<uint16_t> texels(size * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) texels[y * size + x] = ((x / 8 + y / 8) & 1) ? 0xFFFF : 0x7BEF ^ (x * 33 + y);
  return texels;
}

struct Scene {
  Mesh mesh = BuildScene();
  std::vector<uint16_t> color = std::vector<uint16_t>(kWidth * kHeight);
  std::vector<uint16_t> depth = std::vector<uint16_t>(kWidth * kHeight);
  std::vector<uint16_t> texels = CheckerTexture(64);
  std::vector<uint32_t> decoded;
  Texture texture;
  Light lights[2];
  DrawContext context;
  Rasterizer rasterizer;

  Scene() {
    texture = {texels.data(), 64, 64, 128, PixelLayout::Rgb565, false, 0};
    decoded.resize(ExpandedSize(texture));
    ExpandTexels(texture, decoded.data());  // as the 3D device keeps every texture
    texture.expanded = decoded.data();
    lights[0].type = LightType::Directional;
    lights[0].direction = {0.3f, -0.8f, -0.5f};
    lights[0].color = {0.7f, 0.7f, 0.6f, 1};
    lights[1].type = LightType::Point;
    lights[1].position = {40, 30, -120};
    lights[1].range = 300;
    lights[1].color = {0.6f, 0.4f, 0.2f, 1};
    context.target = {color.data(), kWidth, kHeight, kWidth * 2, PixelLayout::Rgb565};
    context.depth = {depth.data(), kWidth, kHeight, kWidth * 2};
    context.viewport = {0, 0, kWidth, kHeight, 0, 1};
    context.states.cullMode = CullMode::CounterClockwise;
    context.texture = &texture;
    context.transforms.projection = Perspective(1.33f, 50.0f, 0.86f * 4.0f, 2.0f, 5000.0f);
    context.lighting = {lights, 2, {0.3f, 0.3f, 0.3f, 1}, {}};
    context.lighting.material.ambient = {0.5f, 0.5f, 0.5f, 1};
    context.lighting.material.diffuse = {0.8f, 0.8f, 0.8f, 1};
  }

  void Frame() {
    std::fill(color.begin(), color.end(), uint16_t{0x001F});
    std::fill(depth.begin(), depth.end(), uint16_t{0xFFFF});
    rasterizer.Draw(context, PrimitiveType::TriangleList, std::span<const VertexLit>(mesh.vertices), mesh.indices);
  }
};

void RunFrames(benchmark::State& state, Scene& scene) {
  for (auto _ : state) {
    scene.Frame();
    benchmark::DoNotOptimize(scene.color.data());
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = static_cast<double>(scene.mesh.indices.size() / 3);
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LitTexturedBilinear(benchmark::State& state) {
  Scene scene;
  RunFrames(state, scene);
}
BENCHMARK(BM_LitTexturedBilinear)->Unit(benchmark::kMillisecond);

void BM_LitTexturedPoint(benchmark::State& state) {
  Scene scene;
  scene.context.stage.minFilter = scene.context.stage.magFilter = TextureFilter::Point;
  RunFrames(state, scene);
}
BENCHMARK(BM_LitTexturedPoint)->Unit(benchmark::kMillisecond);

void BM_LitUntextured(benchmark::State& state) {
  Scene scene;
  scene.context.texture = nullptr;
  RunFrames(state, scene);
}
BENCHMARK(BM_LitUntextured)->Unit(benchmark::kMillisecond);

// The engine's defaults for a transparent node: alpha test >= 8, blending
// source alpha over inverse source alpha, with table fog.
void BM_LitTexturedBlendedFogged(benchmark::State& state) {
  Scene scene;
  RenderStates& rs = scene.context.states;
  rs.alphaTestEnable = true;
  rs.alphaRef = 8;
  rs.alphaFunc = CompareFunc::GreaterEqual;
  rs.alphaBlendEnable = true;
  rs.srcBlend = BlendFactor::SrcAlpha;
  rs.destBlend = BlendFactor::InvSrcAlpha;
  rs.fogEnable = true;
  rs.fogTableMode = FogMode::Linear;
  rs.fogStart = 50;
  rs.fogEnd = 400;
  rs.fogColor = 0x808080;
  scene.context.lighting.material.diffuse.a = 0.75f;
  RunFrames(state, scene);
}
BENCHMARK(BM_LitTexturedBlendedFogged)->Unit(benchmark::kMillisecond);

// Fill rate of the texture path alone: two triangles covering the whole
// target, bilinear, depth-tested, 256 x 256 texture, one core.
void BM_BilinearDepthTestedFill(benchmark::State& state) {
  Scene scene;
  std::vector<uint16_t> texels = CheckerTexture(256);
  scene.texture = {texels.data(), 256, 256, 512, PixelLayout::Rgb565, false, 0};
  std::vector<uint32_t> decoded(ExpandedSize(scene.texture));
  ExpandTexels(scene.texture, decoded.data());  // as the 3D device keeps every texture
  scene.texture.expanded = decoded.data();
  scene.context.transforms.projection = plat::raster::Matrix{};
  scene.context.lighting.lightCount = 0;
  scene.context.states.cullMode = CullMode::None;
  std::vector<VertexLit> quad = {{-1, -1, 0.5f, 0, 0, 1, 0, 0},
                                 {1, -1, 0.5f, 0, 0, 1, 3, 0},
                                 {1, 1, 0.5f, 0, 0, 1, 3, 3},
                                 {-1, 1, 0.5f, 0, 0, 1, 0, 3}};
  std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 3};
  for (auto _ : state) {
    std::fill(scene.depth.begin(), scene.depth.end(), uint16_t{0xFFFF});
    scene.rasterizer.Draw(scene.context, PrimitiveType::TriangleList, std::span<const VertexLit>(quad), indices);
    benchmark::DoNotOptimize(scene.color.data());
    benchmark::ClobberMemory();
  }
  state.counters["Mpix/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BilinearDepthTestedFill)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
