#include <cstring>

#include "engine/core/back_buffer.h"
#include "engine/core/images.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

class ViewportTest : public EngineTest {
 protected:
  uint16_t BackPixel(int x, int y) {
    int bits = 0, pitch = 0;
    auto* pixels = static_cast<uint8_t*>(LockBackBuffer(&bits, &pitch));
    EXPECT_EQ(bits, 16);
    uint16_t value = 0;
    if (pixels) std::memcpy(&value, pixels + y * pitch + x * 2, 2);
    UnlockBackBuffer();
    return value;
  }
  void FillBackBuffer(uint16_t value) {
    int bits = 0, pitch = 0;
    auto* pixels = static_cast<uint8_t*>(LockBackBuffer(&bits, &pitch));
    ASSERT_NE(pixels, nullptr);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) std::memcpy(pixels + y * pitch + x * 2, &value, 2);
    UnlockBackBuffer();
  }
  int CountBackPixels(uint16_t value) {
    int bits = 0, pitch = 0, count = 0;
    auto* pixels = static_cast<uint8_t*>(LockBackBuffer(&bits, &pitch));
    for (int y = 0; pixels && y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        uint16_t p;
        std::memcpy(&p, pixels + y * pitch + x * 2, 2);
        count += p == value;
      }
    UnlockBackBuffer();
    return count;
  }
};

TEST_F(ViewportTest, ClearingFillsTheViewportAndTheDepthBuffer) {
  ASSERT_EQ(Open(), 1);
  FillBackBuffer(0x1234);
  VIEWPORTDESC* v = LookupViewport(0);
  SetViewportClearColor(v, 2, -1, 0.5f);  // out-of-range components stay in their channel
  EXPECT_EQ(v->clearColor, 0x00FF007Fu);
  SetViewportClearColor(v, 0, 0, 1);
  EXPECT_EQ(v->clearColor, 0x000000FFu);
  ClearViewport(v, 1, 1);
  EXPECT_EQ(BackPixel(0, 0), 0x001F);
  EXPECT_EQ(BackPixel(639, 479), 0x001F);
  plat::Surface& depth = *g_gameWorld->depthBuffer;
  uint8_t* z = nullptr;
  int pitch = 0;
  ASSERT_EQ(depth.Lock(&z, &pitch), plat::SurfaceResult::Ok);
  EXPECT_EQ(z[0] | z[1] << 8, 0xFFFF);
  depth.Unlock();

  // A smaller viewport clears its own rectangle only; no flag clears nothing.
  HOBJECT small = CreateViewport(100, 50, 10, 10);
  VIEWPORTDESC* s = LookupViewport(small);
  SetViewportClearColor(s, 1, 1, 1);
  ClearViewport(s, 0, 0);
  EXPECT_EQ(CountBackPixels(0xFFFF), 0);
  ClearViewport(s, 1, 0);
  EXPECT_EQ(CountBackPixels(0xFFFF), 100);
  EXPECT_EQ(BackPixel(100, 50), 0xFFFF);
  EXPECT_EQ(BackPixel(110, 50), 0x001F);
}

TEST_F(ViewportTest, ClearScreenRectZeroesExactlyItsRectangle) {
  ASSERT_EQ(Open(), 1);
  FillBackBuffer(0xFFFF);
  ClearScreenRect(10, 10, 5, 5);
  EXPECT_EQ(CountBackPixels(0), 25);
  EXPECT_EQ(BackPixel(10, 10), 0);
  EXPECT_EQ(BackPixel(14, 14), 0);
  EXPECT_EQ(BackPixel(15, 14), 0xFFFF);
  ClearScreenRect(630, 470, 50, 50);  // clipped at the edges
  EXPECT_EQ(CountBackPixels(0), 25 + 100);
}

TEST_F(ViewportTest, LockingTheBackBufferNeedsAnOpenEngine) {
  int bits = -1, pitch = -1;
  EXPECT_EQ(LockBackBuffer(&bits, &pitch), nullptr);
  EXPECT_EQ(bits, 0);
  EXPECT_EQ(pitch, 0);
  ASSERT_EQ(Open(), 1);
  EXPECT_NE(LockBackBuffer(&bits, &pitch), nullptr);
  EXPECT_EQ(pitch, 1280);
  UnlockBackBuffer();
  plat::LoseAllSurfaces();
  EXPECT_EQ(LockBackBuffer(&bits, &pitch), nullptr);
  EXPECT_EQ(g_lastDisplayResult, plat::SurfaceResult::SurfaceLost);
  // Coming back to the front restores the display surfaces.
  Post(plat::WM_ACTIVATEAPP, 1);
  PumpMessages();
  EXPECT_NE(LockBackBuffer(&bits, &pitch), nullptr);
  UnlockBackBuffer();
}

TEST_F(ViewportTest, SoftwareViewportsFollowLineDoubling) {
  SetRenderMode(0);
  ASSERT_EQ(Open(), 1);
  SetLineDoubling(1, 0);
  HOBJECT h = CreateViewport(0, 100, 320, 200);
  VIEWPORTDESC* v = LookupViewport(h);
  EXPECT_EQ(v->y, 50);
  EXPECT_EQ(v->height, 100);
  EXPECT_EQ(v->depthBuffer.size(), 320u * 100u);
  SetViewportRect(h, 0, 0, 800, 200);
  EXPECT_EQ(v->width, 640);
  EXPECT_EQ(v->depthBuffer.size(), 640u * 100u);
  EXPECT_EQ(LookupViewport(0)->height, 240);  // the default viewport was halved too

  SetLineDoubling(0, 0);
  SetViewportRect(h, 0, 3, 100, 7);
  SetLineDoubling(1, 0);
  EXPECT_EQ(v->y, 1);
  EXPECT_EQ(v->height, 3);
  SetLineDoubling(1, 0);  // already on: nothing changes
  EXPECT_EQ(v->height, 3);
  SetLineDoubling(0, 0);
  EXPECT_EQ(v->y, 2);
  EXPECT_EQ(v->height, 6);
  EXPECT_EQ(v->depthBuffer.size(), 600u);

  VIEWPORTDESC* huge = LookupViewport(CreateViewport(0, 0, 1 << 20, 1 << 20));
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->depthBuffer.size(), 640u * 480u);
}

TEST_F(ViewportTest, DestroyingAnImageEmptiesTheBackgroundsShowingIt) {
  ASSERT_EQ(Open(), 1);
  auto* image = new IMAGEDESC;
  image->next = new IMAGEDESC;
  int slot = g_imagePool.Allocate(image);
  VIEWPORTDESC* v = LookupViewport(0);
  v->backgrounds[3].image = image;
  DestroyImage(MakeHandle(OBJTYPE_IMAGE, slot));
  EXPECT_EQ(v->backgrounds[3].image, nullptr);
  EXPECT_EQ(LookupImage(MakeHandle(OBJTYPE_IMAGE, slot)), nullptr);
}

TEST_F(ViewportTest, BackgroundsAreDrawnWhenTheViewportIsCleared) {
  ASSERT_EQ(Open(), 1);
  FillBackBuffer(0);
  auto* image = new IMAGEDESC;
  image->width = 4;
  image->height = 4;
  int slot = g_imagePool.Allocate(image);
  VIEWPORTDESC* v = LookupViewport(CreateViewport(20, 20, 8, 8));
  VIEWPORTBACKGROUND& b = v->backgrounds[0];
  b.image = image;
  b.surface = g_gameWorld->displayDevice->CreateSurface(4, 4, false);
  b.surface->Fill(nullptr, 0x07E0);
  b.xOffset = -2;  // the image's two left columns are cut
  b.yOffset = 6;   // and only two rows fit below
  ClearViewport(v, 1, 0);
  EXPECT_EQ(CountBackPixels(0x07E0), 2 * 2);
  EXPECT_EQ(BackPixel(20, 26), 0x07E0);
  b.stretch = 1;
  b.xOffset = b.yOffset = 0;
  ClearViewport(v, 1, 0);
  EXPECT_EQ(CountBackPixels(0x07E0), 8 * 8);
  DestroyImage(MakeHandle(OBJTYPE_IMAGE, slot));
}

}  // namespace
}  // namespace enginetest
