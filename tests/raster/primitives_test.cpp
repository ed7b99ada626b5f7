// Primitive types, indices, lines and points.
#include <gtest/gtest.h>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint16_t kWhite565 = 0xFFFF;

TEST(RasterPrimitives, ListStripFanAndIndexedListCoverTheSameSquare) {
  const VertexScreen a = Screen(4, 4, kWhite), b = Screen(60, 4, kWhite), c = Screen(4, 60, kWhite),
                     d = Screen(60, 60, kWhite);
  Rasterizer r;
  auto draw = [&](PrimitiveType type, std::vector<VertexScreen> v, std::vector<uint32_t> indices = {}) {
    Canvas canvas(64, 64);
    canvas.Clear(0);
    r.Draw(canvas.Context(), type, std::span<const VertexScreen>(v), indices);
    return canvas.color;
  };
  const auto list = draw(PrimitiveType::TriangleList, {a, b, c, b, d, c});
  EXPECT_EQ(std::count(list.begin(), list.end(), kWhite565), 56 * 56);
  EXPECT_EQ(draw(PrimitiveType::TriangleStrip, {a, b, c, d}), list);
  EXPECT_EQ(draw(PrimitiveType::TriangleFan, {a, b, d, c}), list);
  EXPECT_EQ(draw(PrimitiveType::TriangleList, {a, b, c, d}, {0, 1, 2, 1, 3, 2}), list);
  // Leftover vertices that make no whole primitive are ignored.
  EXPECT_EQ(draw(PrimitiveType::TriangleList, {a, b, c, b, d, c, a, b}), list);
}

TEST(RasterPrimitives, ThirtyTwoBitIndicesReachPastSixtyFiveThousandVertices) {
  std::vector<VertexScreen> v(70000, Screen(0, 0, 0xFF000000));
  v[69990] = Screen(0, 0, kWhite);
  v[69995] = Screen(32, 0, kWhite);
  v[69999] = Screen(0, 32, kWhite);
  Canvas canvas(32, 32);
  canvas.Clear(0);
  Rasterizer r;
  const std::vector<uint32_t> indices{69990, 69995, 69999, 0, 1, 70000};  // the second names no vertex
  r.Draw(canvas.Context(), PrimitiveType::TriangleList, std::span<const VertexScreen>(v), indices);
  EXPECT_EQ(canvas.At(4, 4), kWhite565);
  // The half square above the diagonal; centres on the diagonal belong to the right edge.
  EXPECT_EQ(canvas.Count(kWhite565), 31 * 32 / 2);
}

TEST(RasterPrimitives, LinesDrawOnePixelPerStepAlongTheMajorAxis) {
  Rasterizer r;
  Canvas canvas(32, 32);
  DrawContext c = canvas.Context();
  auto line = [&](PrimitiveType type, std::vector<VertexScreen> v) {
    canvas.Clear(0);
    r.Draw(c, type, std::span<const VertexScreen>(v));
    return canvas.Count(kWhite565);
  };
  // Pixel centre to pixel centre, both ends included.
  EXPECT_EQ(line(PrimitiveType::LineList, {Screen(2.5f, 5.5f, kWhite), Screen(20.5f, 5.5f, kWhite)}), 19);
  EXPECT_EQ(canvas.At(2, 5), kWhite565);
  EXPECT_EQ(canvas.At(20, 5), kWhite565);
  EXPECT_EQ(canvas.At(21, 5), 0);
  // A steep diagonal: one pixel per row.
  EXPECT_EQ(line(PrimitiveType::LineList, {Screen(3.5f, 1.5f, kWhite), Screen(10.5f, 29.5f, kWhite)}), 29);
  for (int y = 1; y <= 29; ++y) {
    int inRow = 0;
    for (int x = 0; x < 32; ++x) inRow += canvas.At(x, y) == kWhite565;
    EXPECT_EQ(inRow, 1) << y;
  }
  // A strip joins its points; a list takes them in pairs.
  const std::vector corner{Screen(2.5f, 2.5f, kWhite), Screen(12.5f, 2.5f, kWhite), Screen(12.5f, 12.5f, kWhite)};
  EXPECT_EQ(line(PrimitiveType::LineStrip, corner), 21);
  EXPECT_EQ(line(PrimitiveType::LineList, corner), 11);
  // Lines leave the viewport without harm.
  EXPECT_EQ(line(PrimitiveType::LineList, {Screen(-100.5f, 7.5f, kWhite), Screen(1000.5f, 7.5f, kWhite)}), 32);
}

TEST(RasterPrimitives, LinesInterpolateColourAndDepth) {
  Rasterizer r;
  Canvas canvas(32, 4);
  canvas.Clear(0, 0x8000);
  const std::vector v{Screen(0.5f, 1.5f, 0xFFFF0000, 0, 0, 0.0f), Screen(31.5f, 1.5f, 0xFF0000FF, 0, 0, 1.0f)};
  r.Draw(canvas.Context(), PrimitiveType::LineList, std::span<const VertexScreen>(v));
  EXPECT_EQ(canvas.At(0, 1), kRed565);
  EXPECT_EQ(canvas.At(31, 1), 0);  // behind the buffer's depth
  EXPECT_GT(Split565(canvas.At(10, 1)).b, 5);
  EXPECT_EQ(canvas.At(20, 1), 0);
}

TEST(RasterPrimitives, PointsColourTheirPixel) {
  Rasterizer r;
  Canvas canvas(16, 16);
  canvas.Clear(0);
  const std::vector v{Screen(3.0f, 4.0f, kWhite), Screen(3.99f, 4.99f, 0xFFFF0000), Screen(15.5f, 15.5f, kWhite),
                      Screen(16.0f, 2.0f, kWhite), Screen(-0.5f, 2.0f, kWhite)};
  r.Draw(canvas.Context(), PrimitiveType::PointList, std::span<const VertexScreen>(v));
  EXPECT_EQ(canvas.At(3, 4), kRed565);  // both fall in pixel (3, 4); the later wins
  EXPECT_EQ(canvas.At(15, 15), kWhite565);
  EXPECT_EQ(canvas.Count(0), 16 * 16 - 2);
}

}  // namespace
}  // namespace rastertest
