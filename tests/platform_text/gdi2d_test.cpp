#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi2d.h"

namespace {

using plat::PixelLayout;

// A 16-bit target with a row of padding, filled with a marker value.
struct Target16 {
  Target16(int w, int h, PixelLayout layout, uint16_t fill = 0xABCD)
      : width(w), height(h), pitch(w * 2 + 2), pixels(pitch * h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < pitch / 2; ++x) Set(x, y, fill);
    view = {pixels.data(), w, h, pitch, layout};
  }
  uint16_t At(int x, int y) const { return pixels[y * pitch + x * 2] | pixels[y * pitch + x * 2 + 1] << 8; }
  void Set(int x, int y, uint16_t v) {
    pixels[y * pitch + x * 2] = v & 0xFF;
    pixels[y * pitch + x * 2 + 1] = v >> 8;
  }
  int Count(uint16_t v) const {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) n += At(x, y) == v;
    return n;
  }
  int width, height, pitch;
  std::vector<uint8_t> pixels;
  plat::PixelTarget view;
};

uint32_t Rgb(int r, int g, int b) { return r | g << 8 | b << 16; }

TEST(Gdi2d, PacksColoursIntoEveryLayout) {
  struct Case {
    uint32_t colorRef;
    uint32_t rgb565, rgb555, rgb888;
  };
  const Case cases[] = {
      {Rgb(255, 255, 255), 0xFFFF, 0x7FFF, 0xFFFFFF},    {Rgb(0, 0, 0), 0, 0, 0},
      {Rgb(255, 0, 0), 0xF800, 0x7C00, 0xFF0000},        {Rgb(0, 255, 0), 0x07E0, 0x03E0, 0x00FF00},
      {Rgb(0, 0, 255), 0x001F, 0x001F, 0x0000FF},        {Rgb(0, 0, 64), 0x0008, 0x0008, 0x000040},
      {Rgb(0x12, 0x34, 0x56), 0x11AA, 0x08CA, 0x123456}, {Rgb(7, 3, 7), 0, 0, 0x070307},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plat::PixelOfColorRef(c.colorRef, PixelLayout::Rgb565), c.rgb565) << std::hex << c.colorRef;
    EXPECT_EQ(plat::PixelOfColorRef(c.colorRef, PixelLayout::Rgb555), c.rgb555) << std::hex << c.colorRef;
    EXPECT_EQ(plat::PixelOfColorRef(c.colorRef, PixelLayout::Xrgb8888), c.rgb888) << std::hex << c.colorRef;
    EXPECT_EQ(plat::PixelOfColorRef(c.colorRef, PixelLayout::Bgr24), c.rgb888) << std::hex << c.colorRef;
  }
  EXPECT_EQ(plat::DibRowBytes(3, 24), 12);
  EXPECT_EQ(plat::DibRowBytes(4, 24), 12);
  EXPECT_EQ(plat::DibRowBytes(5, 8), 8);
  EXPECT_EQ(plat::DibRowBytes(220, 24), 660);
  EXPECT_EQ(plat::DibRowBytes(0, 24), 0);
}

TEST(Gdi2d, PalettedBottomUpBitmapLandsTheRightWayUp) {
  // Colour table: 0 black, 1 red, 2 green, 3 blue, 4 (18, 52, 86); 6 is beyond it.
  const uint8_t palette[] = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0x56, 0x34, 0x12, 0};
  // Width 5 pads each row to 8 bytes; the bottom row is stored first.
  const uint8_t bits[] = {
      3, 3, 3, 3, 6, 0xEE, 0xEE, 0xEE,  // bottom row
      1, 2, 4, 0, 1, 0xEE, 0xEE, 0xEE,  // top row
  };
  plat::Dib dib{5, 2, 8, bits, sizeof(bits), palette, 5};
  for (PixelLayout layout : {PixelLayout::Rgb565, PixelLayout::Rgb555}) {
    Target16 t(5, 2, layout);
    ASSERT_TRUE(plat::CopyDibToPixels(dib, t.view, 0, 0));
    bool is565 = layout == PixelLayout::Rgb565;
    const uint16_t top[] = {
        static_cast<uint16_t>(is565 ? 0xF800 : 0x7C00), static_cast<uint16_t>(is565 ? 0x07E0 : 0x03E0),
        static_cast<uint16_t>(is565 ? 0x11AA : 0x08CA), 0, static_cast<uint16_t>(is565 ? 0xF800 : 0x7C00)};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(t.At(x, 0), top[x]) << x;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(t.At(x, 1), 0x001F) << x;
    EXPECT_EQ(t.At(4, 1), 0) << "an index beyond the table is black";
    EXPECT_EQ(t.At(5, 0), 0xABCD) << "the target's padding stays";
  }
}

TEST(Gdi2d, PaddedTrueColourRowsConvertInBothRowOrders) {
  // Width 3 at 24 bits: 9 bytes of pixels and 3 of padding per row.
  const uint8_t topRow[] = {0, 0, 255, 0, 255, 0, 255, 0, 0};              // red, green, blue
  const uint8_t bottomRow[] = {0x56, 0x34, 0x12, 255, 255, 255, 8, 4, 8};  // (18, 52, 86), white, (8, 4, 8)
  std::vector<uint8_t> topDown, bottomUp;
  for (auto* rows : {&topDown, &bottomUp}) {
    const uint8_t* first = rows == &topDown ? topRow : bottomRow;
    const uint8_t* second = rows == &topDown ? bottomRow : topRow;
    rows->insert(rows->end(), first, first + 9);
    rows->insert(rows->end(), {0xEE, 0xEE, 0xEE});
    rows->insert(rows->end(), second, second + 9);
    rows->insert(rows->end(), {0xEE, 0xEE, 0xEE});
  }
  const uint16_t expected565[2][3] = {{0xF800, 0x07E0, 0x001F}, {0x11AA, 0xFFFF, 0x0821}};
  const uint16_t expected555[2][3] = {{0x7C00, 0x03E0, 0x001F}, {0x08CA, 0x7FFF, 0x0401}};
  for (bool bottomFirst : {false, true}) {
    const auto& bytes = bottomFirst ? bottomUp : topDown;
    plat::Dib dib{3, bottomFirst ? 2 : -2, 24, bytes.data(), bytes.size(), nullptr, 0};
    Target16 t565(3, 2, PixelLayout::Rgb565), t555(3, 2, PixelLayout::Rgb555);
    ASSERT_TRUE(plat::CopyDibToPixels(dib, t565.view, 0, 0));
    ASSERT_TRUE(plat::CopyDibToPixels(dib, t555.view, 0, 0));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(t565.At(x, y), expected565[y][x]) << bottomFirst << " " << x << "," << y;
        EXPECT_EQ(t555.At(x, y), expected555[y][x]) << bottomFirst << " " << x << "," << y;
      }
  }
}

TEST(Gdi2d, CopiesAreClippedToTheTarget) {
  const uint8_t palette[] = {0, 0, 0, 0, 255, 255, 255, 0};
  std::vector<uint8_t> bits(4 * 4, 1);  // 4 x 4 all white, top-down
  plat::Dib dib{4, -4, 8, bits.data(), bits.size(), palette, 2};
  Target16 t(3, 3, PixelLayout::Rgb565, 0);
  ASSERT_TRUE(plat::CopyDibToPixels(dib, t.view, -2, 1));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(t.At(x, y), (x < 2 && y >= 1) ? 0xFFFF : 0) << x << "," << y;
  ASSERT_TRUE(plat::CopyDibToPixels(dib, t.view, 50, -50));  // nothing overlaps: nothing drawn
  EXPECT_EQ(t.Count(0xFFFF), 4);
}

TEST(Gdi2d, BitmapsThatDoNotHoldTogetherAreRefused) {
  std::vector<uint8_t> bits(64, 0);
  const uint8_t palette[4] = {};
  Target16 t(4, 4, PixelLayout::Rgb565);
  struct Case {
    const char* name;
    plat::Dib dib;
  };
  const Case cases[] = {
      {"zero width", {0, 2, 24, bits.data(), bits.size(), nullptr, 0}},
      {"negative width", {-4, 2, 24, bits.data(), bits.size(), nullptr, 0}},
      {"zero height", {4, 0, 24, bits.data(), bits.size(), nullptr, 0}},
      {"16 bits", {4, 2, 16, bits.data(), bits.size(), nullptr, 0}},
      {"no pixels", {4, 2, 24, nullptr, 64, nullptr, 0}},
      {"too few bytes", {5, 4, 24, bits.data(), 16 * 4 - 1, nullptr, 0}},
      {"huge height", {4, INT32_MIN, 24, bits.data(), bits.size(), nullptr, 0}},
      {"table without entries", {4, 2, 8, bits.data(), bits.size(), nullptr, 3}},
      {"negative table", {4, 2, 8, bits.data(), bits.size(), palette, -1}},
  };
  for (const Case& c : cases) EXPECT_FALSE(plat::CopyDibToPixels(c.dib, t.view, 0, 0)) << c.name;
  EXPECT_EQ(t.Count(0xABCD), 16) << "nothing was drawn";

  plat::Dib good{4, 2, 24, bits.data(), bits.size(), nullptr, 0};
  for (plat::PixelTarget bad : {plat::PixelTarget{nullptr, 4, 4, 10, PixelLayout::Rgb565},
                                plat::PixelTarget{t.pixels.data(), 0, 4, 10, PixelLayout::Rgb565},
                                plat::PixelTarget{t.pixels.data(), 4, -4, 10, PixelLayout::Rgb565},
                                plat::PixelTarget{t.pixels.data(), 4, 4, 7, PixelLayout::Rgb565}})
    EXPECT_FALSE(plat::CopyDibToPixels(good, bad, 0, 0));
}

// A 640 x 480 screen copy: blue full left of column 321, red full above row
// 241, green 100 everywhere.
std::vector<uint8_t> SplitScreen() {
  std::vector<uint8_t> pixels(640 * 480 * 3);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      uint8_t* p = &pixels[(y * 640 + x) * 3];
      p[0] = x < 321 ? 255 : 0;
      p[1] = 100;
      p[2] = y < 241 ? 255 : 0;
    }
  return pixels;
}

TEST(Gdi2d, HalftoneShrinkAveragesTheCoveredArea) {
  const auto screen = SplitScreen();
  plat::PixelSource source{screen.data(), 640, 480, 640 * 3, PixelLayout::Bgr24};
  const int pitch = 220 * 3 + 4;
  std::vector<uint8_t> thumb(pitch * 160, 0xEE);
  ASSERT_TRUE(plat::StretchHalftone(source, {thumb.data(), 220, 160, pitch, PixelLayout::Bgr24}));
  auto at = [&](int x, int y) { return &thumb[y * pitch + x * 3]; };
  struct Point {
    int x, y, blue, red;
  };
  // Column 110 covers source columns 320 (whole), 321 (whole) and 322 (10/11):
  // blue = 255 x 220 / 640. Row 80 covers rows 240, 241 and 242: red = 255 / 3.
  const Point points[] = {{0, 0, 255, 255}, {109, 79, 255, 255}, {110, 80, 88, 85},
                          {111, 81, 0, 0},  {219, 159, 0, 0},    {110, 10, 88, 255}};
  for (const Point& p : points) {
    EXPECT_EQ(at(p.x, p.y)[0], p.blue) << p.x << "," << p.y;
    EXPECT_EQ(at(p.x, p.y)[1], 100) << p.x << "," << p.y;
    EXPECT_EQ(at(p.x, p.y)[2], p.red) << p.x << "," << p.y;
  }
  for (int y = 0; y < 160; ++y) EXPECT_EQ(thumb[y * pitch + 660], 0xEE) << "row padding untouched";

  // The transition's 256 x 256 copy, into a 32-bit target.
  std::vector<uint8_t> square(256 * 256 * 4, 0xEE);
  ASSERT_TRUE(plat::StretchHalftone(source, {square.data(), 256, 256, 256 * 4, PixelLayout::Xrgb8888}));
  const uint8_t* corner = &square[(255 * 256 + 255) * 4];
  EXPECT_EQ(corner[0], 0);
  EXPECT_EQ(corner[1], 100);
  EXPECT_EQ(corner[2], 0);
  EXPECT_EQ(corner[3], 0);
  EXPECT_EQ(square[0], 255);
}

TEST(Gdi2d, HalftoneKeepsEqualSizesAndRepeatsPixelsWhenGrowing) {
  const uint8_t row[] = {10, 20, 30, 200, 100, 50};
  std::vector<uint8_t> same(6), wide(12);
  plat::PixelSource source{row, 2, 1, 6, PixelLayout::Bgr24};
  ASSERT_TRUE(plat::StretchHalftone(source, {same.data(), 2, 1, 6, PixelLayout::Bgr24}));
  EXPECT_EQ(same, std::vector<uint8_t>(row, row + 6));
  ASSERT_TRUE(plat::StretchHalftone(source, {wide.data(), 4, 1, 12, PixelLayout::Bgr24}));
  EXPECT_EQ(wide, (std::vector<uint8_t>{10, 20, 30, 10, 20, 30, 200, 100, 50, 200, 100, 50}));
}

TEST(Gdi2d, HalftoneRefusesUnusableViews) {
  std::vector<uint8_t> a(64 * 64 * 4), b(64 * 64 * 4, 0x5A);
  plat::PixelSource good{a.data(), 8, 8, 32, PixelLayout::Xrgb8888};
  plat::PixelTarget out{b.data(), 4, 4, 16, PixelLayout::Xrgb8888};
  EXPECT_FALSE(plat::StretchHalftone({a.data(), 8, 8, 16, PixelLayout::Rgb565}, out));
  EXPECT_FALSE(plat::StretchHalftone(good, {b.data(), 4, 4, 8, PixelLayout::Rgb555}));
  EXPECT_FALSE(plat::StretchHalftone({a.data(), 0, 8, 32, PixelLayout::Bgr24}, out));
  EXPECT_FALSE(plat::StretchHalftone({a.data(), 8, -1, 32, PixelLayout::Bgr24}, out));
  EXPECT_FALSE(plat::StretchHalftone({nullptr, 8, 8, 32, PixelLayout::Bgr24}, out));
  EXPECT_FALSE(plat::StretchHalftone({a.data(), 8, 8, 23, PixelLayout::Bgr24}, out));
  EXPECT_FALSE(plat::StretchHalftone(good, {b.data(), -4, 4, 16, PixelLayout::Xrgb8888}));
  EXPECT_FALSE(plat::StretchHalftone(good, {b.data(), 4, 0, 16, PixelLayout::Xrgb8888}));
  EXPECT_FALSE(plat::StretchHalftone(good, {b.data(), 70000, 1, 280000, PixelLayout::Xrgb8888}));
  EXPECT_EQ(b, std::vector<uint8_t>(b.size(), 0x5A));
}

plat::Path Polygon(std::initializer_list<plat::Path::Point> points) {
  plat::Path path;
  bool first = true;
  for (auto p : points) {
    if (first) path.MoveTo(p.x, p.y);
    else path.LineTo(p.x, p.y);
    first = false;
  }
  return path;
}

TEST(Gdi2d, FillCoversThePixelsWhoseCentresLieInside) {
  Target16 t(16, 16, PixelLayout::Rgb565, 0);
  plat::FillPath(t.view, Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), plat::FillRule::Alternate, Rgb(0, 0, 64));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(t.At(x, y), (x < 10 && y < 10) ? 0x0008 : 0) << x << "," << y;

  // A right triangle: a pixel is filled when its centre lies left of the
  // diagonal x + y = 8, a centre on it (x + y = 7) counting as outside.
  Target16 tri(8, 8, PixelLayout::Rgb555, 0);
  plat::FillPath(tri.view, Polygon({{0, 0}, {8, 0}, {0, 8}}), plat::FillRule::Winding, Rgb(255, 255, 255));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(tri.At(x, y), x + y < 7 ? 0x7FFF : 0) << x << "," << y;
}

TEST(Gdi2d, FillRulesDifferOnOverlappingFigures) {
  // Two squares drawn the same way round, overlapping in (4..6, 4..6).
  plat::Path path = Polygon({{0, 0}, {6, 0}, {6, 6}, {0, 6}});
  path.MoveTo(4, 4);
  path.LineTo(10, 4);
  path.LineTo(10, 10);
  path.LineTo(4, 10);
  Target16 alternate(12, 12, PixelLayout::Rgb565, 0), winding(12, 12, PixelLayout::Rgb565, 0);
  plat::FillPath(alternate.view, path, plat::FillRule::Alternate, Rgb(255, 255, 255));
  plat::FillPath(winding.view, path, plat::FillRule::Winding, Rgb(255, 255, 255));
  EXPECT_EQ(alternate.At(5, 5), 0);
  EXPECT_EQ(winding.At(5, 5), 0xFFFF);
  EXPECT_EQ(alternate.Count(0xFFFF), 36 + 36 - 2 * 4);
  EXPECT_EQ(winding.Count(0xFFFF), 36 + 36 - 4);

  // A square with a hole drawn the other way round, and a separate square
  // beside it: both rules leave the hole and the gap empty.
  plat::Path holed = Polygon({{0, 0}, {8, 0}, {8, 8}, {0, 8}});
  holed.MoveTo(2, 2);
  holed.LineTo(2, 6);
  holed.LineTo(6, 6);
  holed.LineTo(6, 2);
  holed.MoveTo(10, 0);
  holed.LineTo(12, 0);
  holed.LineTo(12, 8);
  holed.LineTo(10, 8);
  for (plat::FillRule rule : {plat::FillRule::Alternate, plat::FillRule::Winding}) {
    Target16 t(12, 8, PixelLayout::Rgb565, 0);
    plat::FillPath(t.view, holed, rule, Rgb(255, 255, 255));
    EXPECT_EQ(t.At(4, 4), 0);
    EXPECT_EQ(t.At(9, 4), 0);
    EXPECT_EQ(t.Count(0xFFFF), 64 - 16 + 16);
  }
}

TEST(Gdi2d, FillClipsFarAwayOutlinesToTheTarget) {
  // A view that lies wholly inside a huge area is filled edge to edge.
  Target16 view(120, 120, PixelLayout::Rgb565, 0);
  plat::FillPath(
      view.view,
      Polygon(
          {{-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}}),
      plat::FillRule::Winding, Rgb(0, 0, 64));
  EXPECT_EQ(view.Count(0x0008), 120 * 120);
  // The view's own corners fill it exactly, padding untouched.
  Target16 exact(120, 120, PixelLayout::Rgb565, 0);
  plat::FillPath(exact.view, Polygon({{0, 0}, {120, 0}, {120, 120}, {0, 120}}), plat::FillRule::Winding, Rgb(0, 0, 64));
  EXPECT_EQ(exact.Count(0x0008), 120 * 120);
  EXPECT_EQ(exact.At(120, 5), 0);
  // Outside entirely, or too few points: nothing.
  Target16 none(10, 10, PixelLayout::Rgb565, 0);
  plat::FillPath(none.view, Polygon({{20, 0}, {30, 0}, {30, 10}}), plat::FillRule::Alternate, Rgb(255, 0, 0));
  plat::FillPath(none.view, Polygon({{0, 0}, {5, 5}}), plat::FillRule::Alternate, Rgb(255, 0, 0));
  plat::FillPath(none.view, Polygon({{3, 3}}), plat::FillRule::Alternate, Rgb(255, 0, 0));
  EXPECT_EQ(none.Count(0), 100);
}

TEST(Gdi2d, StrokeOutlinesEachSegmentUpToItsEnd) {
  // The automap places every segment as a move or line to its start, then a
  // line to its end; the figure closes on its first point.
  plat::Path path;
  path.MoveTo(2, 2);
  path.LineTo(8, 2);
  path.LineTo(8, 2);
  path.LineTo(8, 8);
  path.LineTo(2, 8);
  path.LineTo(2, 2);
  Target16 t(12, 12, PixelLayout::Rgb565, 0);
  plat::FillPath(t.view, path, plat::FillRule::Alternate, Rgb(0, 0, 64));
  plat::StrokePath(t.view, path, Rgb(255, 255, 255));
  EXPECT_EQ(t.Count(0xFFFF), 24);
  EXPECT_EQ(t.Count(0x0008), 5 * 5);
  for (int i = 2; i <= 8; ++i) {
    EXPECT_EQ(t.At(i, 2), 0xFFFF);
    EXPECT_EQ(t.At(i, 8), 0xFFFF);
    EXPECT_EQ(t.At(2, i), 0xFFFF);
    EXPECT_EQ(t.At(8, i), 0xFFFF);
  }
  // An open figure leaves its last point out.
  Target16 open(12, 12, PixelLayout::Rgb555, 0);
  plat::Path diagonal;
  diagonal.LineTo(4, 4);  // without a move it starts at (0, 0)
  plat::StrokePath(open.view, diagonal, Rgb(255, 255, 255));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(open.At(i, i), 0x7FFF) << i;
  EXPECT_EQ(open.At(4, 4), 0);
  EXPECT_EQ(open.Count(0x7FFF), 4);
}

TEST(Gdi2d, StrokeOfFarAwaySegmentsDrawsOnlyTheVisiblePart) {
  Target16 t(20, 10, PixelLayout::Rgb565, 0);
  plat::Path path;
  path.MoveTo(-2000000000, 5);
  path.LineTo(2000000000, 5);
  path.MoveTo(2000000000, -2000000000);  // a steep line that never enters
  path.LineTo(2000000000 - 3, 2000000000);
  path.MoveTo(-5, -5);
  path.LineTo(15, 15);
  plat::StrokePath(t.view, path, Rgb(255, 0, 0));
  for (int x = 0; x < 20; ++x) EXPECT_EQ(t.At(x, 5), 0xF800) << x;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(t.At(i, i), 0xF800) << i;
  EXPECT_EQ(t.Count(0xF800), 20 + 10 - 1);
}

}  // namespace
