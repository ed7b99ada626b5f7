// Back-face culling and clipping against the view volume.
#include <gtest/gtest.h>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint16_t kWhite565 = 0xFFFF;

TEST(RasterClipCull, CullModesRemoveOneWinding) {
  // On screen (y down): (10,10) (50,10) (10,50) runs clockwise.
  const std::vector clockwise{Screen(10, 10, kWhite), Screen(50, 10, kWhite), Screen(10, 50, kWhite)};
  const std::vector counter{Screen(10, 10, kWhite), Screen(10, 50, kWhite), Screen(50, 10, kWhite)};
  struct Case {
    CullMode mode;
    bool clockwiseDrawn, counterDrawn;
  };
  for (const Case& k : {Case{CullMode::None, true, true}, Case{CullMode::Clockwise, false, true},
                        Case{CullMode::CounterClockwise, true, false}}) {
    Rasterizer r;
    Canvas a(64, 64), b(64, 64);
    DrawContext ca = a.Context(), cb = b.Context();
    ca.states.cullMode = cb.states.cullMode = k.mode;
    DrawList(r, ca, clockwise);
    DrawList(r, cb, counter);
    EXPECT_EQ(a.At(15, 15) == kWhite565, k.clockwiseDrawn) << static_cast<int>(k.mode);
    EXPECT_EQ(b.At(15, 15) == kWhite565, k.counterDrawn) << static_cast<int>(k.mode);
  }
  // A strip keeps one winding for all its triangles.
  Rasterizer r;
  Canvas s(64, 64);
  DrawContext c = s.Context();
  c.states.cullMode = CullMode::CounterClockwise;
  const std::vector strip{Screen(0, 0, kWhite), Screen(64, 0, kWhite), Screen(0, 64, kWhite), Screen(64, 64, kWhite)};
  r.Draw(c, PrimitiveType::TriangleStrip, std::span<const VertexScreen>(strip));
  EXPECT_EQ(s.Count(kWhite565), 64 * 64);
}

struct CameraCanvas {
  Canvas canvas;
  Rasterizer r;
  DrawContext c;
  CameraCanvas() {
    canvas.Clear(0);
    c = canvas.Context();
    c.transforms.projection = Perspective();  // near 2, far 5000
  }
  int Draw(const std::vector<VertexPrelit>& v, DrawOptions options = {}) {
    canvas.Clear(0);
    DrawList(r, c, v, options);
    return canvas.Count(kWhite565);
  }
};

TEST(RasterClipCull, TriangleBehindTheNearPlaneDrawsNothing) {
  CameraCanvas cc;
  EXPECT_EQ(cc.Draw({Prelit(-1, -1, -1, kWhite), Prelit(1, -1, -1, kWhite), Prelit(0, 1, -1, kWhite)}), 0);
  EXPECT_EQ(cc.Draw({Prelit(-1, -1, 10, kWhite), Prelit(1, -1, 10, kWhite), Prelit(0, 1, 10, kWhite)}), 0);
  EXPECT_EQ(cc.Draw({Prelit(-1, -1, 0, kWhite), Prelit(1, -1, 0, kWhite), Prelit(0, 1, 0, kWhite)}), 0);
  // Beyond the far plane as well.
  EXPECT_EQ(cc.Draw({Prelit(-1e4f, -1e4f, -6000, kWhite), Prelit(1e4f, -1e4f, -6000, kWhite),
                     Prelit(0, 1e4f, -6000, kWhite)}),
            0);
}

TEST(RasterClipCull, TriangleThroughTheNearPlaneIsClipped) {
  CameraCanvas cc;
  // A floor-like triangle from in front of the camera to behind it: the
  // part in front shows in the lower half of the screen only.
  const int drawn = cc.Draw({Prelit(-5, -1, -20, kWhite), Prelit(5, -1, -20, kWhite), Prelit(0, -1, 30, kWhite)});
  EXPECT_GT(drawn, 1000);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(cc.canvas.At(x, y), 0) << x << "," << y;
  EXPECT_EQ(cc.canvas.At(320, 479), kWhite565);
}

TEST(RasterClipCull, FarPlaneCutsTheFarPart) {
  CameraCanvas cc;
  // A floor running from depth 10 to 10000; the far plane is at 5000.
  const std::vector floor{Prelit(-5, -30, -10, kWhite),      Prelit(5, -30, -10, kWhite),
                          Prelit(5000, -30, -10000, kWhite), Prelit(-5, -30, -10, kWhite),
                          Prelit(5000, -30, -10000, kWhite), Prelit(-5000, -30, -10000, kWhite)};
  auto rowsAtCentre = [&] {
    int rows = 0;
    for (int y = 0; y < 480; ++y) rows += cc.canvas.At(320, y) == kWhite565;
    return rows;
  };
  cc.Draw(floor);
  const int clipped = rowsAtCentre();
  // Without the near and far planes (the caller vouches for them) the far
  // part comes back, reaching closer to the horizon.
  cc.Draw(floor, {false, true});
  const int unclipped = rowsAtCentre();
  EXPECT_GT(clipped, 100);
  EXPECT_GE(unclipped, clipped + 4);
}

TEST(RasterClipCull, NoClipDrawsTheSameWhenEverythingIsInside) {
  CameraCanvas a, b;
  const std::vector tri{Prelit(-1, -1, -10, kWhite), Prelit(1, -1, -10, 0xFF00FF00), Prelit(0, 1, -12, 0xFF0000FF)};
  a.Draw(tri);
  b.Draw(tri, {false, true});
  EXPECT_EQ(a.canvas.color, b.canvas.color);
  EXPECT_EQ(a.canvas.depth, b.canvas.depth);
}

TEST(RasterClipCull, HugeTrianglesAreClippedToTheGuardBand) {
  CameraCanvas cc;
  EXPECT_EQ(
      cc.Draw({Prelit(-1e6f, -1e6f, -10, kWhite), Prelit(1e6f, -1e6f, -10, kWhite), Prelit(0, 1e6f, -10, kWhite)}),
      640 * 480);
  Canvas canvas(64, 64);
  Rasterizer r;
  DrawList(r, canvas.Context(),
           std::vector{Screen(-1e9f, -1e9f, kWhite), Screen(1e9f, -1e9f, kWhite), Screen(0, 1e9f, kWhite)});
  EXPECT_EQ(canvas.Count(kWhite565), 64 * 64);
}

}  // namespace
}  // namespace rastertest
