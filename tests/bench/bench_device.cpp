// Frame cost of the 3D device over the reference rasteriser when a scene
// arrives as many small draw calls (one per material batch): 640 x 480,
// 8192 lit, textured triangles in 256 calls.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/device3d.h"
#include "platform/display.h"
#include "tests/raster/raster_fixture.h"

namespace {

using rastertest::Perspective;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kGrid = 64;  // quads per side
constexpr int kQuadsPerCall = 16;

struct Scene {
  std::unique_ptr<plat::DisplayDevice> display = plat::DisplayDevice::Open(0);
  std::unique_ptr<plat::Renderer3D> renderer = plat::Renderer3D::Open(*display);
  std::shared_ptr<plat::Surface> target = std::make_shared<plat::Surface>(kWidth, kHeight, plat::Rgb565Format(), true);
  std::unique_ptr<plat::Device3D> device;
  std::unique_ptr<plat::Viewport3D> viewport = renderer->CreateViewport();
  std::unique_ptr<plat::Light3D> light = renderer->CreateLight();
  std::unique_ptr<plat::Material3D> material = renderer->CreateMaterial();
  std::shared_ptr<plat::Texture3D> texture;
  std::vector<plat::VertexLit> vertices;
  std::vector<plat::VertexLit> batch;
  std::vector<uint32_t> indices;  // one call's quads, the same for every call

  Scene() {
    target->AttachDepth(display->CreateDepthSurface(kWidth, kHeight, 16, true));
    device = renderer->CreateDevice(0, target);
    device->AddViewport(viewport.get());
    plat::ViewportParams vp;
    vp.width = kWidth;
    vp.height = kHeight;
    viewport->SetViewport(vp);
    device->SetCurrentViewport(viewport.get());
    using plat::RenderState;
    device->SetRenderState(RenderState::ShadeMode, plat::kShadeGouraud);
    device->SetRenderState(RenderState::TexturePerspective, 1);
    device->SetRenderState(RenderState::ZEnable, 1);
    device->SetRenderState(RenderState::ZWriteEnable, 1);
    device->SetRenderState(RenderState::ZFunc, plat::kCompareLessEqual);
    device->SetRenderState(RenderState::TextureMapBlend, plat::kTextureBlendModulate);
    device->SetStageState(0, plat::StageState::MinFilter, plat::kFilterLinear);
    device->SetStageState(0, plat::StageState::MagFilter, plat::kFilterLinear);
    plat::LightParams l;
    l.direction[0] = 0.3f, l.direction[1] = -0.5f, l.direction[2] = -0.8f;
    l.range = 1e6f;
    l.active = true;
    light->Set(l);
    viewport->AddLight(light.get());
    plat::MaterialParams m;
    m.ambient[0] = m.ambient[1] = m.ambient[2] = 0.5f;
    material->Set(m);
    device->SetLightState(plat::LightState::Material, material->Handle());
    device->SetLightState(plat::LightState::Ambient, 0x4C4C4C);
    texture = renderer->CreateTexture({64, 64, plat::Rgb565Format(), true, 1, false});
    texture->Top()->Fill(nullptr, 0x7BEF);
    device->SetTexture(0, texture);
    device->SetTransform(plat::TransformState::Projection, Perspective(1.33f, 50, 0.86f, 2, 5000));
    // A wall of quads 60 units away filling the view.
    for (int j = 0; j <= kGrid; ++j)
      for (int i = 0; i <= kGrid; ++i) {
        float s = static_cast<float>(i) / kGrid, t = static_cast<float>(j) / kGrid;
        vertices.push_back({-14 + 28 * s, -11 + 22 * t, -60, 0, 0, 1, 4 * s, 4 * t});
      }
    for (uint32_t q = 0; q < kQuadsPerCall; ++q) {
      uint32_t a = q, b = q + 1, c = q + kQuadsPerCall + 1, d = c + 1;
      indices.insert(indices.end(), {a, d, b, a, c, d});  // clockwise on screen: front faces
    }
  }

  // Each call gets the vertices of its own quads, as the emitters' batches do.
  void Frame() {
    viewport->Clear({0, 0, kWidth, kHeight}, plat::kClearTarget | plat::kClearZBuffer, 0x0000FF, 1.0f);
    device->BeginScene();
    for (int row = 0; row < kGrid; ++row)
      for (int column = 0; column < kGrid; column += kQuadsPerCall) {
        batch.clear();
        for (int j = row; j <= row + 1; ++j)
          for (int i = column; i <= column + kQuadsPerCall; ++i) batch.push_back(vertices[j * (kGrid + 1) + i]);
        device->Draw(plat::PrimitiveType::TriangleList, std::span<const plat::VertexLit>(batch), indices, 0);
      }
    device->EndScene();
  }
};

void BM_DeviceManySmallCalls(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.Frame();
    benchmark::ClobberMemory();
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DeviceManySmallCalls)->Unit(benchmark::kMillisecond);

// Every frame starts with one: colour and depth of the whole view.
void BM_ViewportClear(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.viewport->Clear({0, 0, kWidth, kHeight}, plat::kClearTarget | plat::kClearZBuffer, 0x0000FF, 1.0f);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ViewportClear)->Unit(benchmark::kMicrosecond);

void BM_SurfaceFill(benchmark::State& state) {
  plat::Surface surface(kWidth, kHeight, plat::Rgb565Format(), false);
  for (auto _ : state) {
    surface.Fill(nullptr, 0x1234);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SurfaceFill)->Unit(benchmark::kMicrosecond);

// Unscaled and stretched copies of a whole frame.
void BM_SurfaceBlt(benchmark::State& state) {
  plat::Surface source(kWidth, kHeight, plat::Rgb565Format(), false),
      dest(kWidth, kHeight, plat::Rgb565Format(), false);
  source.Fill(nullptr, 0x4321);
  const plat::Rect whole{0, 0, kWidth, kHeight}, half{0, 0, kWidth / 2, kHeight / 2};
  for (auto _ : state) {
    dest.Blt(whole, source, state.range(0) ? half : whole);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SurfaceBlt)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
