// Which pixels a triangle covers: the transform to the screen, the fill
// rule on shared edges, the scissor, depth ordering and shading.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

TEST(RasterCoverage, PrelitTriangleThroughTheCameraColoursTheCentre) {
  Canvas canvas;
  canvas.Clear(kBlue565);
  Rasterizer r;
  DrawContext c = canvas.Context();
  c.transforms.projection = Perspective();
  DrawList(r, c,
           std::vector{Prelit(-1, -1, -10, 0xFFFF0000), Prelit(1, -1, -10, 0xFFFF0000), Prelit(0, 1, -10, 0xFFFF0000)});
  EXPECT_EQ(canvas.At(320, 240), kRed565);
  EXPECT_EQ(canvas.At(0, 0), kBlue565);
  EXPECT_EQ(canvas.At(639, 479), kBlue565);
  // The same triangle into a 555 target.
  Canvas c555(640, 480, PixelLayout::Rgb555);
  DrawContext c2 = c555.Context();
  c2.transforms.projection = Perspective();
  DrawList(r, c2,
           std::vector{Prelit(-1, -1, -10, 0xFFFF0000), Prelit(1, -1, -10, 0xFFFF0000), Prelit(0, 1, -10, 0xFFFF0000)});
  EXPECT_EQ(c555.At(320, 240), 0x7C00);
}

// With additive blending each draw of a pixel adds one step of red, so the
// red field counts how often the pixel was filled.
struct HitCounter {
  Canvas canvas{96, 96};
  Rasterizer r;
  DrawContext c;
  HitCounter() {
    canvas.Clear(0);
    c = canvas.Context();
    c.states.zEnable = false;
    c.states.alphaBlendEnable = true;
    c.states.srcBlend = BlendFactor::One;
    c.states.destBlend = BlendFactor::One;
  }
  void Triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    DrawList(r, c, std::vector{Screen(x0, y0, 0xFF080000), Screen(x1, y1, 0xFF080000), Screen(x2, y2, 0xFF080000)});
  }
  int Hits(int x, int y) const { return canvas.At(x, y) >> 11; }
};

// Signed distance of point p from the line a-b, positive to the right of a
// clockwise (screen) polygon's edges.
double EdgeDistance(double ax, double ay, double bx, double by, double px, double py) {
  const double ex = bx - ax, ey = by - ay;
  return ((px - ax) * ey - (py - ay) * ex) / std::sqrt(ex * ex + ey * ey);
}

// Every pixel whose centre is clearly inside the convex polygon is filled
// exactly once, every pixel clearly outside never, and none twice.
void ExpectFilledOnce(const HitCounter& h, const std::vector<std::pair<double, double>>& polygon) {
  int inside = 0;
  for (int y = 0; y < h.canvas.height; ++y)
    for (int x = 0; x < h.canvas.width; ++x) {
      double nearest = 1e9;
      bool out = false;
      for (size_t i = 0; i < polygon.size(); ++i) {
        const auto& a = polygon[i];
        const auto& b = polygon[(i + 1) % polygon.size()];
        const double d = -EdgeDistance(a.first, a.second, b.first, b.second, x + 0.5, y + 0.5);
        out |= d < -1e-3;
        nearest = std::min(nearest, std::fabs(d));
      }
      const int hits = h.Hits(x, y);
      ASSERT_LE(hits, 1) << "pixel " << x << "," << y << " filled twice";
      if (nearest > 1e-3) {
        ASSERT_EQ(hits, out ? 0 : 1) << "pixel " << x << "," << y;
        inside += !out;
      }
    }
  EXPECT_GT(inside, 0);
}

TEST(RasterCoverage, AxisAlignedQuadFillsEachPixelOnce) {
  HitCounter h;
  h.Triangle(0, 0, 64, 0, 0, 64);
  h.Triangle(64, 0, 64, 64, 0, 64);
  int filled = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) {
      ASSERT_LE(h.Hits(x, y), 1);
      filled += h.Hits(x, y);
    }
  EXPECT_EQ(filled, 64 * 64);
  EXPECT_EQ(h.Hits(63, 63), 1);
  EXPECT_EQ(h.Hits(64, 0), 0);
  EXPECT_EQ(h.Hits(0, 64), 0);
}

TEST(RasterCoverage, SharedEdgesOfAFanAreFilledOnce) {
  // A regular polygon around a centre, cut into a fan. Its corners are put
  // on the 1/16-pixel grid that positions snap to, so that the expected
  // coverage is exact; some land on pixel centres.
  for (const double cx : {40.0, 40.5, 40.3125}) {
    HitCounter h;
    std::vector<std::pair<double, double>> polygon;
    const int sides = 11;
    for (int i = 0; i < sides; ++i) {
      const double angle = 6.283185307179586 * i / sides;
      polygon.push_back(
          {std::round((cx + 30 * std::cos(angle)) * 16) / 16, std::round((44.5 + 30 * std::sin(angle)) * 16) / 16});
    }
    for (int i = 0; i < sides; ++i) {
      const auto& a = polygon[i];
      const auto& b = polygon[(i + 1) % sides];
      h.Triangle(static_cast<float>(cx), 44.5f, static_cast<float>(a.first), static_cast<float>(a.second),
                 static_cast<float>(b.first), static_cast<float>(b.second));
    }
    ExpectFilledOnce(h, polygon);
  }
}

TEST(RasterCoverage, SharedEdgesOfAJitteredGridAreFilledOnce) {
  HitCounter h;
  const int n = 8;
  float px[n + 1][n + 1], py[n + 1][n + 1];
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      const bool border = i == 0 || j == 0 || i == n || j == n;
      // Interior corners move by fixed odd amounts, some onto pixel centres.
      px[j][i] = 8.0f + i * 10.0f + (border ? 0.0f : static_cast<float>((i * 7 + j * 3) % 9) - 4.0f + 0.5f * (i % 2));
      py[j][i] = 6.0f + j * 10.0f + (border ? 0.0f : static_cast<float>((i * 5 + j * 11) % 7) - 3.0f + 0.25f * (j % 3));
    }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      h.Triangle(px[j][i], py[j][i], px[j][i + 1], py[j][i + 1], px[j + 1][i], py[j + 1][i]);
      h.Triangle(px[j][i + 1], py[j][i + 1], px[j + 1][i + 1], py[j + 1][i + 1], px[j + 1][i], py[j + 1][i]);
    }
  ExpectFilledOnce(h, {{8, 6}, {88, 6}, {88, 86}, {8, 86}});
}

TEST(RasterCoverage, ViewportLimitsTheDrawing) {
  // As for a render texture: a 64 x 64 target drawn through a viewport that
  // keeps a 2-pixel border.
  Canvas canvas(64, 64);
  canvas.Clear(0);
  Rasterizer r;
  DrawContext c = canvas.Context();
  c.viewport = {2, 2, 60, 60, 0, 1};
  c.transforms.projection = Perspective();
  DrawList(r, c,
           std::vector{Prelit(-100, -100, -10, 0xFFFFFFFF), Prelit(100, -100, -10, 0xFFFFFFFF),
                       Prelit(0, 100, -10, 0xFFFFFFFF)});
  EXPECT_EQ(canvas.Count(0xFFFF), 60 * 60);
  EXPECT_EQ(canvas.At(1, 1), 0);
  EXPECT_EQ(canvas.At(2, 2), 0xFFFF);
  EXPECT_EQ(canvas.At(61, 61), 0xFFFF);
  EXPECT_EQ(canvas.At(62, 62), 0);
}

TEST(RasterCoverage, DepthTestMakesDrawingOrderIrrelevant) {
  // Two triangles that pass through each other.
  const std::vector a{Screen(10, 10, 0xFFFF0000, 0, 0, 0.2f), Screen(90, 20, 0xFFFF0000, 0, 0, 0.8f),
                      Screen(30, 90, 0xFFFF0000, 0, 0, 0.2f)};
  const std::vector b{Screen(80, 10, 0xFF00FF00, 0, 0, 0.7f), Screen(70, 90, 0xFF00FF00, 0, 0, 0.3f),
                      Screen(5, 50, 0xFF00FF00, 0, 0, 0.3f)};
  Rasterizer r;
  Canvas first(100, 100), second(100, 100);
  first.Clear(0);
  second.Clear(0);
  DrawList(r, first.Context(), a);
  DrawList(r, first.Context(), b);
  DrawList(r, second.Context(), b);
  DrawList(r, second.Context(), a);
  EXPECT_EQ(first.color, second.color);
  EXPECT_EQ(first.depth, second.depth);
  EXPECT_GT(first.Count(kRed565), 100);
  EXPECT_GT(first.Count(0x07E0), 100);
}

TEST(RasterCoverage, DepthCompareFunctionsAndWriteMask) {
  struct Case {
    CompareFunc func;
    bool drawn;
  };
  // The buffer holds 0x8000, the triangle's depth 0.5 maps to the same value.
  const Case cases[] = {{CompareFunc::Never, false},       {CompareFunc::Less, false},
                        {CompareFunc::Equal, true},        {CompareFunc::LessEqual, true},
                        {CompareFunc::Greater, false},     {CompareFunc::NotEqual, false},
                        {CompareFunc::GreaterEqual, true}, {CompareFunc::Always, true}};
  Rasterizer r;
  for (const Case& k : cases) {
    Canvas canvas(32, 32);
    canvas.Clear(0, 0x8000);
    DrawContext c = canvas.Context();
    c.states.zFunc = k.func;
    DrawList(r, c, Quad(0, 0, 32, 32, 0xFFFFFFFF, 0.5f));
    EXPECT_EQ(canvas.At(16, 16), k.drawn ? 0xFFFF : 0) << static_cast<int>(k.func);
  }
  Canvas canvas(32, 32);
  DrawContext c = canvas.Context();
  DrawList(r, c, Quad(0, 0, 32, 32, 0xFFFFFFFF, 0.25f));
  EXPECT_EQ(canvas.depth[16 * 32 + 16], static_cast<uint16_t>(0.25f * 65535 + 0.5f));
  c.states.zWriteEnable = false;
  DrawList(r, c, Quad(0, 0, 32, 32, 0xFF000000, 0.125f));
  EXPECT_EQ(canvas.At(16, 16), 0);  // drawn, nearer
  EXPECT_EQ(canvas.depth[16 * 32 + 16], static_cast<uint16_t>(0.25f * 65535 + 0.5f));
  c.states.zEnable = false;
  DrawList(r, c, Quad(0, 0, 32, 32, 0xFFFFFFFF, 0.9f));
  EXPECT_EQ(canvas.At(16, 16), 0xFFFF);  // no test at all
}

TEST(RasterCoverage, FlatShadingTakesTheFirstVertexColour) {
  const std::vector tri{Screen(0, 0, 0xFFFF0000), Screen(64, 0, 0xFF00FF00), Screen(0, 64, 0xFF0000FF)};
  Rasterizer r;
  Canvas gouraud(64, 64), flat(64, 64);
  DrawList(r, gouraud.Context(), tri);
  DrawContext c = flat.Context();
  c.states.shadeMode = ShadeMode::Flat;
  DrawList(r, c, tri);
  EXPECT_EQ(flat.At(1, 1), kRed565);
  EXPECT_EQ(flat.At(40, 10), kRed565);
  EXPECT_EQ(flat.At(10, 40), kRed565);
  EXPECT_GE(Split565(gouraud.At(1, 1)).r, 29);
  EXPECT_GT(Split565(gouraud.At(55, 2)).g, 50);
  EXPECT_GT(Split565(gouraud.At(2, 55)).b, 25);
  // In a fan the second corner of each triangle colours it.
  Canvas fan(64, 64);
  c = fan.Context();
  c.states.shadeMode = ShadeMode::Flat;
  const std::vector fanVerts{Screen(0, 0, 0xFFFFFFFF), Screen(64, 0, 0xFFFF0000), Screen(64, 64, 0xFF0000FF),
                             Screen(0, 64, 0xFF000000)};
  r.Draw(c, PrimitiveType::TriangleFan, std::span<const VertexScreen>(fanVerts));
  EXPECT_EQ(fan.At(50, 10), kRed565);
  EXPECT_EQ(fan.At(10, 50), kBlue565);
}

}  // namespace
}  // namespace rastertest
