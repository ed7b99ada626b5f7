// Table fog on the eye depth, and vertex fog from the specular alpha.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A white pre-lit triangle facing the camera at view depth `depth`, through
// the engine's camera, with green fog.
Channels FoggedCentre(float depth, void (*setFog)(RenderStates&)) {
  Canvas canvas;
  canvas.Clear(0);
  Rasterizer r;
  DrawContext c = canvas.Context();
  c.transforms.projection = Perspective();
  c.states.fogEnable = true;
  c.states.fogColor = 0x00FF00;
  c.states.fogStart = 50;
  c.states.fogEnd = 200;
  setFog(c.states);
  const float s = depth;  // large enough to cover the centre at any depth
  DrawList(r, c,
           std::vector{Prelit(-s, -s, -depth, kWhite), Prelit(s, -s, -depth, kWhite), Prelit(0, s, -depth, kWhite)});
  return Split565(canvas.At(320, 240));
}

void TableLinear(RenderStates& rs) { rs.fogTableMode = FogMode::Linear; }
void VertexLinear(RenderStates& rs) { rs.vertexFogMode = FogMode::Linear; }
void VertexLinearByRange(RenderStates& rs) {
  rs.vertexFogMode = FogMode::Linear;
  rs.rangeFogEnable = true;
}

TEST(RasterFog, LinearTableFogIsHalfWayBetweenStartAndEnd) {
  const Channels mid = FoggedCentre(125, TableLinear);
  EXPECT_NEAR(mid.r, 15.5, 0.6);
  EXPECT_EQ(mid.g, 63);
  EXPECT_NEAR(mid.b, 15.5, 0.6);
}

TEST(RasterFog, LinearFogLimits) {
  struct Case {
    float depth;
    int red;  // of 31; green stays full
  };
  for (auto setFog : {TableLinear, VertexLinear})
    for (const Case& k : {Case{20, 31}, Case{50, 31}, Case{87.5f, 23}, Case{200, 0}, Case{400, 0}}) {
      const Channels got = FoggedCentre(k.depth, setFog);
      EXPECT_NEAR(got.r, k.red, 1) << k.depth;
      EXPECT_EQ(got.g, 63) << k.depth;
    }
}

// Every pixel of a row, odd lengths included, takes the linear weight of its
// own eye distance (1 / rhw) in 1/256: white towards black fog.
TEST(RasterFog, LinearTableFogWeighsEachPixelExactly) {
  struct Case {
    float rhw;
    int green;  // of 63
  } cases[] = {{2.0f, 59}, {1.0f, 55}, {0.5f, 47}, {0.25f, 31}, {0.2f, 23}, {0.125f, 0}, {0.05f, 0}};
  for (const Case& k : cases)
    for (int width : {1, 3, 4, 7, 70}) {
      Canvas canvas(80, 4);
      canvas.Clear(0x1234);
      Rasterizer r;
      DrawContext c = canvas.Context();
      c.states.fogEnable = true;
      c.states.fogTableMode = FogMode::Linear;
      c.states.fogColor = 0;
      c.states.fogStart = 0;
      c.states.fogEnd = 8;
      std::vector<VertexScreen> quad = Quad(3, 1, 3.0f + width, 2, kWhite);
      for (VertexScreen& v : quad) v.rhw = k.rhw;
      DrawList(r, c, quad);
      for (int x = 3; x < 3 + width; ++x) ASSERT_EQ(Split565(canvas.At(x, 1)).g, k.green) << k.rhw << " x " << x;
      EXPECT_EQ(canvas.At(3 + width, 1), 0x1234) << k.rhw;
    }
}

TEST(RasterFog, RangeFogMeasuresTheDistanceToTheVertices) {
  // The triangle's corners lie off the view axis, so they are farther away
  // than their depth.
  EXPECT_LT(FoggedCentre(87.5f, VertexLinearByRange).r, FoggedCentre(87.5f, VertexLinear).r - 3);
}

TEST(RasterFog, ExponentialTableFog) {
  auto exp1 = [](RenderStates& rs) {
    rs.fogTableMode = FogMode::Exp;
    rs.fogDensity = 0.01f;
  };
  auto exp2 = [](RenderStates& rs) {
    rs.fogTableMode = FogMode::Exp2;
    rs.fogDensity = 0.01f;
  };
  EXPECT_NEAR(FoggedCentre(100, exp1).r, 31 * std::exp(-1.0), 1);
  EXPECT_NEAR(FoggedCentre(100, exp2).r, 31 * std::exp(-1.0), 1);
  EXPECT_NEAR(FoggedCentre(50, exp2).r, 31 * std::exp(-0.25), 1);
}

TEST(RasterFog, ScreenVerticesCarryTheirFogInSpecularAlpha) {
  Canvas canvas(8, 8);
  Rasterizer r;
  DrawContext c = canvas.Context();
  c.states.fogEnable = true;
  c.states.fogColor = 0x0000FF;
  std::vector<VertexScreen> quad = Quad(0, 0, 8, 8, 0xFFFF0000);
  for (VertexScreen& v : quad) v.specular = 0x80000000;
  DrawList(r, c, quad);
  const Channels got = Split565(canvas.At(4, 4));
  EXPECT_NEAR(got.r, 15.5, 0.6);
  EXPECT_NEAR(got.b, 15.5, 0.6);
  // Fog off: the specular alpha means nothing.
  c.states.fogEnable = false;
  DrawList(r, c, quad);
  EXPECT_EQ(canvas.At(4, 4), kRed565);
}

}  // namespace
}  // namespace rastertest
