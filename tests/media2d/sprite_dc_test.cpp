#include "engine/media/sprite_dc.h"

#include <gtest/gtest.h>

#include "tests/media2d/media2d_fixture.h"

namespace media2dtest {
namespace {

class SpriteDcTest : public Media2DTest {
 protected:
  void DrawsIntoTheFramePixels(bool rgb555) {
    OpenScreen(rgb555);
    HOBJECT sprite = BlankSprite(20, 10, 0, 0, 0);
    plat::PixelTarget dc;
    ASSERT_EQ(GetSpriteDC(sprite, 0, &dc), 0);
    EXPECT_EQ(dc.width, 20);
    EXPECT_EQ(dc.height, 10);
    EXPECT_EQ(dc.layout, rgb555 ? plat::PixelLayout::Rgb555 : plat::PixelLayout::Rgb565);
    plat::Path path;
    path.MoveTo(0, 0);
    path.LineTo(4, 0);
    path.LineTo(4, 2);
    path.LineTo(0, 2);
    plat::FillPath(dc, path, plat::FillRule::Alternate, 0x400000);
    EXPECT_EQ(ReleaseSpriteDC(sprite, 0, &dc), 0);
    EXPECT_EQ(dc.pixels, nullptr);
    const uint16_t fill = 0x0008;  // (0, 0, 64) keeps blue's top 5 bits in either layout
    const auto* pixels = static_cast<const uint8_t*>(LockSprite(sprite, 0));
    ASSERT_NE(pixels, nullptr);
    const int pitch = g_spriteLockPitch;
    auto at = [&](int x, int y) { return reinterpret_cast<const uint16_t*>(pixels + y * pitch)[x]; };
    EXPECT_EQ(at(0, 0), fill);
    EXPECT_EQ(at(3, 1), fill);
    EXPECT_EQ(at(4, 1), 0);
    EXPECT_EQ(at(0, 2), 0);
    UnlockSprite(sprite, 0);
  }
};

TEST_F(SpriteDcTest, PathsDrawIntoTheFramePixels) { DrawsIntoTheFramePixels(false); }
TEST_F(SpriteDcTest, PathsDrawIntoTheFramePixelsOf555) { DrawsIntoTheFramePixels(true); }

TEST_F(SpriteDcTest, FailuresNameWhatIsMissing) {
  OpenScreen();
  HOBJECT sprite = BlankSprite(8, 8, 0, 0, 0);
  BeginSprite(0);
  HOBJECT bare = EndSprite(0);
  plat::PixelTarget dc;
  EXPECT_EQ(GetSpriteDC(0x7FFF, 0, &dc), -1);
  EXPECT_EQ(GetSpriteDC(bare, 0, &dc), -2);
  EXPECT_EQ(GetSpriteDC(sprite, 1, &dc), -3);
  EXPECT_EQ(GetSpriteDC(sprite, -1, &dc), -3);
  EXPECT_EQ(dc.pixels, nullptr);
  EXPECT_EQ(ReleaseSpriteDC(0x7FFF, 0, &dc), -1);
  EXPECT_EQ(ReleaseSpriteDC(sprite, 2, &dc), -3);
}

}  // namespace
}  // namespace media2dtest
