// Bad input draws nothing or clips safely, and never touches memory outside
// the buffers (run under AddressSanitizer).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint16_t kWhite565 = 0xFFFF;
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Draws the triangle as screen vertices, textured, with every stage that
// reads attributes switched on; returns the number of pixels it changed.
// Its edges and corners are drawn afterwards as lines and points, only to
// see them come through safely.
int DrawScreenTriangle(const std::vector<VertexScreen>& tri) {
  Canvas canvas(48, 48);
  canvas.Clear(0);
  std::vector<uint16_t> texels(3 * 5, 0x1234);
  const Texture texture{texels.data(), 3, 5, 6, PixelLayout::Rgb565, true, 0x0001};
  Rasterizer r;
  DrawContext c = canvas.Context();
  c.texture = &texture;
  c.states.colorKeyEnable = true;
  c.states.fogEnable = true;
  c.states.fogTableMode = FogMode::Exp2;
  c.states.alphaBlendEnable = true;
  c.states.srcBlend = BlendFactor::SrcAlpha;
  c.states.destBlend = BlendFactor::InvSrcAlpha;
  r.Draw(c, PrimitiveType::TriangleList, std::span<const VertexScreen>(tri));
  const int changed = static_cast<int>(canvas.color.size()) - canvas.Count(0);
  r.Draw(c, PrimitiveType::LineStrip, std::span<const VertexScreen>(tri));
  r.Draw(c, PrimitiveType::PointList, std::span<const VertexScreen>(tri));
  return changed;
}

TEST(RasterRobustness, BadScreenVertices) {
  enum Outcome { kNothing, kSomething, kEither };
  struct Case {
    const char* what;
    std::vector<VertexScreen> tri;
    Outcome outcome;
  };
  const std::vector<Case> cases = {
      {"nan x", {Screen(kNaN, 0, kWhite), Screen(40, 0, kWhite), Screen(0, 40, kWhite)}, kNothing},
      {"inf y", {Screen(0, kInf, kWhite), Screen(40, 0, kWhite), Screen(0, 40, kWhite)}, kNothing},
      {"nan depth", {Screen(0, 0, kWhite, 0, 0, kNaN), Screen(40, 0, kWhite), Screen(0, 40, kWhite)}, kNothing},
      {"nan rhw", {Screen(0, 0, kWhite, 0, 0, 0.5f, kNaN), Screen(40, 0, kWhite), Screen(0, 40, kWhite)}, kNothing},
      {"zero area", {Screen(0, 0, kWhite), Screen(20, 20, kWhite), Screen(40, 40, kWhite)}, kNothing},
      {"one point", {Screen(5, 5, kWhite), Screen(5, 5, kWhite), Screen(5, 5, kWhite)}, kNothing},
      {"huge", {Screen(-1e9f, -1e9f, kWhite), Screen(1e9f, 0, kWhite), Screen(0, 1e9f, kWhite)}, kSomething},
      {"max float", {Screen(-3e38f, 0, kWhite), Screen(3e38f, 3e38f, kWhite), Screen(0, -3e38f, kWhite)}, kEither},
      {"zero rhw", {Screen(0, 0, kWhite, 0, 0, 0.5f, 0), Screen(40, 0, kWhite), Screen(0, 40, kWhite)}, kSomething},
      {"negative rhw",
       {Screen(0, 0, kWhite, 0, 0, 0.5f, -2), Screen(40, 0, kWhite), Screen(0, 40, kWhite)},
       kSomething},
      {"tiny rhw",
       {Screen(0, 0, kWhite, 0, 0, 0.5f, 1e-38f), Screen(40, 0, kWhite), Screen(0, 40, kWhite)},
       kSomething},
      {"nan uv",
       {Screen(0, 0, kWhite, kNaN, kNaN), Screen(40, 0, kWhite, kInf), Screen(0, 40, kWhite, 0, -kInf)},
       kSomething},
      {"huge uv",
       {Screen(0, 0, kWhite, 3e38f, -3e38f), Screen(40, 0, kWhite), Screen(0, 40, kWhite, 1e20f)},
       kSomething},
      {"depth out of range",
       {Screen(0, 0, kWhite, 0, 0, -5), Screen(40, 0, kWhite, 0, 0, 7), Screen(0, 40, kWhite)},
       kSomething},
  };
  for (const Case& k : cases) {
    const int changed = DrawScreenTriangle(k.tri);
    if (k.outcome != kEither) {
      EXPECT_EQ(changed > 0, k.outcome == kSomething) << k.what;
    }
  }
}

TEST(RasterRobustness, BadTransformsAndVertices) {
  Canvas canvas(64, 48);
  Rasterizer r;
  auto draw = [&](const DrawContext& c, std::vector<VertexLit> v) {
    canvas.Clear(0);
    DrawList(r, c, v);
    r.Draw(c, PrimitiveType::LineStrip, std::span<const VertexLit>(v));
    return static_cast<int>(canvas.color.size()) - canvas.Count(0);
  };
  Light light;
  light.type = LightType::Spot;
  light.range = kNaN;
  DrawContext c = canvas.Context();
  c.transforms.projection = Perspective();
  c.lighting.lights = &light;
  c.lighting.lightCount = 1;
  c.lighting.ambient = {1, 1, 1, 1};
  c.lighting.material.ambient = {1, 1, 1, 1};
  const std::vector<VertexLit> good{
      {-1, -1, -10, 0, 0, 1, 0, 0}, {1, -1, -10, 0, 0, 1, 0, 0}, {0, 1, -10, 0, 0, 1, 0, 0}};
  EXPECT_GT(draw(c, good), 0);
  std::vector<VertexLit> nanNormal = good;
  nanNormal[0].nx = kNaN;
  EXPECT_GT(draw(c, nanNormal), 0);
  std::vector<VertexLit> nanPosition = good;
  nanPosition[1].y = kNaN;
  EXPECT_EQ(draw(c, nanPosition), 0);
  std::vector<VertexLit> huge = good;
  huge[0] = {-1e30f, -1e30f, -1e30f, 0, 0, 1, 0, 0};
  huge[2] = {1e30f, 1e30f, 1e30f, 0, 0, 1, 0, 0};
  draw(c, huge);  // anything, as long as it is safe
  std::vector<VertexLit> atTheEye = good;
  atTheEye[0] = {0, 0, 0, 0, 0, 1, 0, 0};
  EXPECT_GT(draw(c, atTheEye), 0);
  DrawContext nanMatrix = c;
  nanMatrix.transforms.world.m[5] = kNaN;
  EXPECT_EQ(draw(nanMatrix, good), 0);
  DrawContext zeroProjection = c;
  zeroProjection.transforms.projection = Matrix{};
  for (float& m : zeroProjection.transforms.projection.m) m = 0;
  EXPECT_EQ(draw(zeroProjection, good), 0);
}

TEST(RasterRobustness, BadTargetsDrawNothing) {
  Rasterizer r;
  const std::vector quad = Quad(0, 0, 64, 64, kWhite);
  Canvas canvas(16, 16);
  canvas.Clear(0);
  struct Case {
    const char* what;
    void (*edit)(DrawContext&);
  };
  const Case cases[] = {
      {"no pixels", [](DrawContext& c) { c.target.pixels = nullptr; }},
      {"zero width", [](DrawContext& c) { c.target.width = 0; }},
      {"short pitch", [](DrawContext& c) { c.target.pitchBytes = 2; }},
      {"4444 target", [](DrawContext& c) { c.target.layout = PixelLayout::Argb4444; }},
      {"empty viewport", [](DrawContext& c) { c.viewport.width = 0; }},
      {"viewport outside", [](DrawContext& c) { c.viewport.x = 100; }},
      {"negative viewport", [](DrawContext& c) { c.viewport = {-50, -50, 20, 20, 0, 1}; }},
  };
  for (const Case& k : cases) {
    DrawContext c = canvas.Context();
    k.edit(c);
    DrawList(r, c, quad);
    EXPECT_EQ(canvas.Count(0), 16 * 16) << k.what;
  }
  // A viewport larger than the target, and a smaller depth buffer: drawing
  // stays inside both.
  DrawContext c = canvas.Context();
  c.viewport = {-8, -8, 100, 100, 0, 1};
  c.depth.width = c.depth.height = 8;
  DrawList(r, c, quad);
  EXPECT_EQ(canvas.Count(kWhite565), 8 * 8);
  // A bad texture is no texture.
  canvas.Clear(0);
  c = canvas.Context();
  const Texture empty{nullptr, 4, 4, 8, PixelLayout::Rgb565, false, 0};
  c.texture = &empty;
  DrawList(r, c, quad);
  EXPECT_EQ(canvas.Count(kWhite565), 16 * 16);
}

TEST(RasterRobustness, EmptyAndShortBatches) {
  Rasterizer r;
  Canvas canvas(16, 16);
  canvas.Clear(0);
  const DrawContext c = canvas.Context();
  const std::vector<VertexScreen> two{Screen(0, 0, kWhite), Screen(16, 0, kWhite)};
  r.Draw(c, PrimitiveType::TriangleList, std::span<const VertexScreen>());
  r.Draw(c, PrimitiveType::TriangleStrip, std::span<const VertexScreen>(two));
  r.Draw(c, PrimitiveType::TriangleFan, std::span<const VertexScreen>(two));
  r.Draw(c, PrimitiveType::LineList, std::span<const VertexScreen>(two.data(), 1));
  const std::vector<uint32_t> outOfRange{5, 6, 7};
  r.Draw(c, PrimitiveType::TriangleList, std::span<const VertexScreen>(two), outOfRange);
  r.Draw(c, static_cast<PrimitiveType>(99), std::span<const VertexScreen>(two));
  EXPECT_EQ(canvas.Count(0), 16 * 16);
}

}  // namespace
}  // namespace rastertest
