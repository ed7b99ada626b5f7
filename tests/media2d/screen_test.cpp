// Colours, reading the back buffer, presenting and the interface buffer.
#include "engine/core/world.h"
#include "engine/media/draw2d.h"
#include "tests/media2d/media2d_fixture.h"

namespace media2dtest {
namespace {

TEST_F(Media2DTest, MapRgbFollowsTheScreenLayout) {
  EXPECT_EQ(MapRGB(255, 255, 255), 0u);  // closed
  OpenScreen(false);
  EXPECT_EQ(MapRGB(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(MapRGB(255, 0, 0), 0xF800u);
  CloseEngine(1);
  SetQuitFlag(0);
  OpenScreen(true);
  EXPECT_EQ(MapRGB(255, 255, 255), 0x7FFFu);
  EXPECT_EQ(MapRGB(0, 255, 0), 0x03E0u);
}

TEST_F(Media2DTest, FlipShowsTheBackBuffer) {
  OpenScreen();
  FillBack(0x1234);
  plat::Rect spot{3, 4, 5, 6};
  g_gameWorld->backBuffer->Fill(&spot, 0xABCD);
  ASSERT_EQ(FlipScreen(), 1);
  plat::PresentedFrame frame = plat::LastPresentedFrame();
  ASSERT_EQ(frame.count, 1);
  ASSERT_EQ(frame.width, 640);
  ASSERT_EQ(frame.height, 480);
  std::vector<uint8_t> back;
  ASSERT_NE(ReadScreenRect(back, 0, 0, 640, 480), nullptr);
  EXPECT_EQ(frame.pixels, back);
}

TEST_F(Media2DTest, FlipOfLostSurfacesRestoresAndDropsTheFrame) {
  OpenScreen();
  plat::LoseAllSurfaces();
  EXPECT_EQ(FlipScreen(), 1);
  EXPECT_EQ(plat::LastPresentedFrame().count, 0);
  EXPECT_FALSE(g_gameWorld->primary->IsLost());
  EXPECT_EQ(FlipScreen(), 1);
  EXPECT_EQ(plat::LastPresentedFrame().count, 1);
}

TEST_F(Media2DTest, ReadScreenRectClampsAndRefuses) {
  OpenScreen();
  for (int x = 0; x < 40; ++x) g_gameWorld->backBuffer->WriteColor(x, 0, static_cast<uint32_t>(x * 6));
  std::vector<uint8_t> buffer, expected;
  ASSERT_NE(ReadScreenRect(expected, 0, 0, 20, 1), nullptr);
  ASSERT_NE(ReadScreenRect(buffer, -10, 0, 20, 1), nullptr);
  EXPECT_EQ(buffer, expected);  // 20 pixels from column 0

  buffer.clear();
  ASSERT_NE(ReadScreenRect(buffer, 630, 470, 50, 50), nullptr);
  EXPECT_EQ(buffer.size(), 10u * 10u * 2u);  // cut at the right and bottom edges

  struct Case {
    int x, y, width, height;
  } refused[] = {{640, 0, 1, 1}, {0, 480, 1, 1}, {0, 0, 0, 5}, {0, 0, 5, -1}};
  for (const Case& c : refused) {
    std::vector<uint8_t> none;
    EXPECT_EQ(ReadScreenRect(none, c.x, c.y, c.width, c.height), nullptr) << c.x << "," << c.y;
    EXPECT_TRUE(none.empty());
  }
}

TEST_F(Media2DTest, PixelRowCopies) {
  uint16_t source[] = {1, 7, 3, 7};
  uint16_t dest[] = {9, 9, 9, 9};
  CopyPixelRowKeyed(dest, source, 4, 7);
  EXPECT_EQ(std::vector<uint16_t>(dest, dest + 4), (std::vector<uint16_t>{1, 9, 3, 9}));
  EXPECT_EQ(CopyPixelRow(dest, source, 8), 8);
  EXPECT_EQ(dest[1], 7);
}

TEST_F(Media2DTest, InterfaceBufferIsTheDrawTargetWhileLocked) {
  EXPECT_EQ(LockInterfaceBuffer(), 0);  // closed
  OpenScreen();
  ASSERT_EQ(LockInterfaceBuffer(), 1);
  ASSERT_NE(g_drawTarget.pixels, nullptr);
  EXPECT_EQ(g_drawTarget.width, 640);
  EXPECT_EQ(g_drawTarget.height, 480);
  UnlockInterfaceBuffer();
  EXPECT_EQ(g_drawTarget.pixels, nullptr);
  FillInterfaceRect(636, 0, 10, 2, 0, 0, 255);  // cut at the right edge
  uint8_t* pixels = nullptr;
  int pitch = 0;
  ASSERT_EQ(g_gameWorld->interfaceBuffer->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
  auto at = [&](int x, int y) { return reinterpret_cast<uint16_t*>(pixels + y * pitch)[x]; };
  EXPECT_EQ(at(639, 1), 0x001F);
  EXPECT_EQ(at(635, 1), 0);
  EXPECT_EQ(at(639, 2), 0);
  g_gameWorld->interfaceBuffer->Unlock();
  EXPECT_TRUE(g_gameWorld->interfaceBuffer->HasColorKey());
  EXPECT_EQ(g_gameWorld->interfaceBuffer->ColorKey(), 0u);  // black
}

}  // namespace
}  // namespace media2dtest
