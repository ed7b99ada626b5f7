// The 2D primitives over a plain pixel buffer.
#include "engine/media/draw2d.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/core/images.h"
#include "engine/core/pixel_format.h"
#include "engine/core/world.h"
#include "platform/device3d.h"
#include "platform/display.h"

namespace {

constexpr uint16_t kInk = 0xF800;

// A 16-bit target of exactly width x height pixels (no slack, so a write
// outside it is caught by the address sanitizer), with a row pitch of
// width pixels.
class Draw2DTest : public ::testing::Test {
 protected:
  void Target(int width, int height) {
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * height, 0);
    SetDrawTarget(pixels_.data(), width * 2, 16, width, height);
  }
  ~Draw2DTest() override { ClearDrawTarget(); }

  uint16_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  int Count() const {
    int n = 0;
    for (uint16_t p : pixels_) n += p != 0;
    return n;
  }
  // Rows holding any ink, lowest and highest; -1 when none.
  std::pair<int, int> InkedRows() const {
    int first = -1, last = -1;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y)) {
          if (first < 0) first = y;
          last = y;
        }
    return {first, last};
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint16_t> pixels_;
};

TEST_F(Draw2DTest, LinesIncludeBothEndsAndClip) {
  Target(32, 32);
  DrawLine(-10, -10, 10, 10, kInk);
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(At(i, i), kInk) << i;
  EXPECT_EQ(Count(), 11);

  Target(32, 32);
  DrawLine(3, 2, 3, 9, kInk);  // vertical: both ends too
  EXPECT_EQ(At(3, 2), kInk);
  EXPECT_EQ(At(3, 9), kInk);
  EXPECT_EQ(Count(), 8);

  Target(32, 32);
  DrawLine(-100, 5, 100, 40, kInk);  // crosses the whole target and leaves below
  EXPECT_GT(Count(), 0);
  DrawLine(-2147483647, -5, 2147483647, 2000000000, kInk);  // far-off ends stay safe

  Target(32, 32);
  DrawLine(40, 0, 50, 10, kInk);  // wholly right of the target
  EXPECT_EQ(Count(), 0);
}

TEST_F(Draw2DTest, BresenhamStepsMatchTheSlope) {
  Target(32, 32);
  DrawLine(0, 0, 10, 3, kInk);  // x-major
  EXPECT_EQ(Count(), 11);
  EXPECT_EQ(At(0, 0), kInk);
  EXPECT_EQ(At(10, 3), kInk);
  Target(32, 32);
  DrawLine(10, 0, 7, 12, kInk);  // y-major, leftward
  EXPECT_EQ(Count(), 13);
  EXPECT_EQ(At(10, 0), kInk);
  EXPECT_EQ(At(7, 12), kInk);
}

TEST_F(Draw2DTest, AxisLinesAndTheirEnds) {
  struct Case {
    const char* what;
    void (*draw)();
    int pixels;
  } cases[] = {
      {"vertical with equal ends", [] { DrawVLine(5, 10, 10, kInk); }, 0},
      {"vertical leaves its end row out", [] { DrawVLine(5, 12, 10, kInk); }, 2},
      {"vertical never reaches the last row", [] { DrawVLine(5, 0, 100, kInk); }, 31},
      {"vertical left of the target", [] { DrawVLine(-1, 0, 10, kInk); }, 0},
      {"horizontal with reversed ends", [] { DrawHLine(10, 10, 5, kInk); }, 1},
      {"horizontal clipped both sides", [] { DrawHLine(-5, 50, 3, kInk); }, 32},
      {"horizontal below the target", [] { DrawHLine(0, 5, 32, kInk); }, 0},
  };
  for (const Case& c : cases) {
    Target(32, 32);
    c.draw();
    EXPECT_EQ(Count(), c.pixels) << c.what;
  }
}

TEST_F(Draw2DTest, PolygonFillRows) {
  const int32_t flatTop[] = {0, 0, 10, 0, 0, 10};
  Target(32, 32);
  DrawPolygon(flatTop, 3, kInk, 1, 0, 0);
  EXPECT_EQ(InkedRows(), std::make_pair(0, 9));
  EXPECT_EQ(At(9, 0), kInk);  // row 0 runs from 0 to 9
  EXPECT_EQ(At(10, 0), 0);
  EXPECT_EQ(At(0, 9), kInk);

  const int32_t pointedTop[] = {5, 0, 10, 10, 0, 10};
  Target(32, 32);
  DrawPolygon(pointedTop, 3, kInk, 1, 0, 0);
  EXPECT_EQ(InkedRows(), std::make_pair(1, 9));

  const int32_t square[] = {2, 2, 6, 2, 6, 6, 2, 6};
  Target(32, 32);
  DrawPolygon(square, 4, kInk, 1, 0, 0);
  EXPECT_EQ(Count(), 4 * 4);  // columns 2-5, rows 2-5

  const int32_t huge[] = {-2000000000, -2000000000, 2000000000, -2000000000, 0, 2000000000};
  Target(32, 32);
  DrawPolygon(huge, 3, kInk, 1, 0, 0);  // far-off points cost nothing and cover the target
  EXPECT_EQ(Count(), 32 * 32);
}

TEST_F(Draw2DTest, PolygonOutlineAndOffTarget) {
  const int32_t right[] = {40, 0, 50, 0, 45, 10};
  Target(32, 32);
  DrawPolygon(right, 3, kInk, 1, 0x001F, 1);
  EXPECT_EQ(Count(), 0);  // with the fill flag: nothing at all

  const int32_t crossing[] = {20, 5, 50, 5, 20, 20};
  Target(32, 32);
  DrawPolygon(crossing, 3, kInk, 0, 0x001F, 1);
  EXPECT_EQ(At(20, 5), 0x001F);
  EXPECT_EQ(At(31, 5), 0x001F);  // the outline is clipped, not dropped
  EXPECT_EQ(At(25, 10), 0);      // not filled

  const int32_t two[] = {0, 0, 4, 0};
  Target(32, 32);
  DrawPolygon(two, 2, kInk, 0, 0x001F, 0);
  EXPECT_EQ(Count(), 5);
  EXPECT_EQ(At(4, 0), kInk);  // a line in the fill colour whatever the flags
}

TEST_F(Draw2DTest, UnclippedPrimitivesNowClip) {
  Target(8, 8);
  FillRect(-4, -4, 20, 6, kInk);
  EXPECT_EQ(Count(), 8 * 2);
  EXPECT_EQ(g_penX, 15);
  EXPECT_EQ(g_penY, 1);

  Target(8, 8);
  PutPixel(8, 0, kInk);
  PutPixel(-1, 3, kInk);
  PutPixel(7, 7, kInk);
  EXPECT_EQ(Count(), 1);

  Target(8, 8);
  const uint16_t rows[] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
  DrawGlyphBits(rows, 4, 1, 16, 4, kInk);  // rows go upward from y = 1
  EXPECT_EQ(Count(), 4 * 2);
  EXPECT_EQ(At(4, 1), kInk);
  EXPECT_EQ(At(7, 0), kInk);
}

TEST_F(Draw2DTest, KeyedBlitSkipsTheInterfaceKey) {
  // The key colour comes from the world record and the screen layout.
  GAMEWORLD world;
  world.interfaceKeyRed = 255;
  world.interfaceKeyGreen = 0;
  world.interfaceKeyBlue = 255;
  GAMEWORLD* saved = g_gameWorld;
  g_gameWorld = &world;
  SetScreenPixelFormat(plat::Rgb565Format());
  IMAGEDESC image;
  image.width = 3;
  image.height = 2;
  const uint16_t source[] = {0xF81F, 0x1234, 0x5678, 0x0001, 0xF81F, 0x0002};
  image.pixels.assign(reinterpret_cast<const uint8_t*>(source), reinterpret_cast<const uint8_t*>(source) + 12);

  Target(4, 4);
  BlitKeyed(2, 3, &image);  // only (2, 3) and (3, 3) are on the target
  EXPECT_EQ(At(2, 3), 0);   // the key
  EXPECT_EQ(At(3, 3), 0x1234);
  EXPECT_EQ(Count(), 1);

  Target(4, 4);
  SetDrawTarget(pixels_.data(), 8, 32, 2, 4);  // 32-bit targets take nothing
  BlitKeyed(0, 0, &image);
  EXPECT_EQ(Count(), 0);
  g_gameWorld = saved;
}

}  // namespace
