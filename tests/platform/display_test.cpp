#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/device3d.h"
#include "platform/display.h"
#include "platform/test_caps.h"
#include "platform/window.h"

namespace {

uint32_t PixelAt(plat::Surface& s, int x, int y) {
  uint8_t* p = nullptr;
  int pitch = 0;
  if (s.Lock(&p, &pitch) != plat::SurfaceResult::Ok) return 0xDEADBEEF;
  int bytes = (s.Describe().format.bitsPerPixel + 7) / 8;
  uint32_t v = 0;
  std::memcpy(&v, p + y * pitch + x * bytes, bytes);
  s.Unlock();
  return v;
}

int CountPixels(plat::Surface& s, uint32_t value) {
  plat::SurfaceDesc d = s.Describe();
  int count = 0;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) count += PixelAt(s, x, y) == value;
  return count;
}

// Every copy, whole rows or pixel by pixel, puts each destination pixel
// inside the surface from its nearest source pixel (mirrored when asked),
// when that lies inside the source and, in a keyed copy, is not the key;
// nothing else changes.
TEST(Surface, CopiesTakeTheNearestSourcePixelOfEveryFormat) {
  struct Case {
    const char* name;
    plat::PixelFormat format;
    plat::Rect dest;
    plat::Rect source;
    bool keyed = false;
    bool mirrored = false;
  } cases[] = {
      {"unscaled 16-bit", plat::Rgb565Format(), {3, 2, 12, 8}, {1, 1, 10, 7}},
      {"unscaled, source running off both sides", plat::Rgb565Format(), {0, 0, 16, 10}, {-3, -2, 13, 8}},
      {"unscaled, cut by the destination", plat::Rgb565Format(), {-4, 5, 9, 14}, {0, 0, 13, 9}},
      {"stretched 16-bit", plat::Rgb565Format(), {1, 1, 15, 9}, {2, 1, 7, 4}},
      {"shrunk 32-bit", {32, 0xFF0000, 0xFF00, 0xFF, 0, false}, {0, 0, 5, 4}, {0, 0, 11, 9}},
      {"unscaled 8-bit", plat::Palette8Format(), {2, 2, 9, 7}, {3, 0, 10, 5}},
      {"stretched 8-bit, source off the side", plat::Palette8Format(), {0, 0, 16, 10}, {8, 2, 14, 6}},
      {"keyed unscaled 16-bit", plat::Rgb565Format(), {3, 2, 12, 8}, {1, 1, 10, 7}, true},
      {"keyed unscaled, source running off both sides", plat::Rgb565Format(), {0, 0, 16, 10}, {-3, -2, 13, 8}, true},
      {"keyed unscaled, cut by the destination", plat::Rgb565Format(), {-4, 5, 9, 14}, {0, 0, 13, 9}, true},
      {"keyed stretched 16-bit", plat::Rgb565Format(), {1, 1, 15, 9}, {2, 1, 7, 4}, true},
      {"keyed unscaled 32-bit", {32, 0xFF0000, 0xFF00, 0xFF, 0, false}, {2, 1, 13, 10}, {0, 0, 11, 9}, true},
      {"keyed unscaled 8-bit", plat::Palette8Format(), {2, 2, 9, 7}, {3, 0, 10, 5}, true},
      {"mirrored unscaled 16-bit", plat::Rgb565Format(), {3, 2, 12, 8}, {1, 1, 10, 7}, false, true},
      {"keyed mirrored, cut by the destination", plat::Rgb565Format(), {-4, 5, 9, 14}, {0, 0, 13, 9}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plat::Surface source(11, 9, c.format, false), dest(16, 10, c.format, false);
    const int bytes = (c.format.bitsPerPixel + 7) / 8;
    const uint32_t mask = bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 11; ++x) {
        plat::Rect one{x, y, x + 1, y + 1};
        source.Fill(&one, (0x9E3779B9u * static_cast<uint32_t>(y * 11 + x + 1)) & mask);
      }
    // A third of the source in the key colour, in rows of runs and gaps.
    const uint32_t key = 0x1234u & mask;
    if (c.keyed) {
      source.SetColorKey(key);
      for (int y = 0; y < 9; ++y)
        for (int x = (y % 3); x < 11; x += 3) {
          plat::Rect one{x, y, x + 1, y + 1};
          source.Fill(&one, key);
        }
    }
    dest.Fill(nullptr, 0x5A5A5A5Au & mask);
    if (c.keyed || c.mirrored)
      ASSERT_EQ(dest.BltWithEffects(c.dest, source, c.source, {.sourceKey = c.keyed, .mirrorLeftRight = c.mirrored}),
                plat::SurfaceResult::Ok);
    else ASSERT_EQ(dest.Blt(c.dest, source, c.source), plat::SurfaceResult::Ok);
    const int dw = c.dest.right - c.dest.left, dh = c.dest.bottom - c.dest.top;
    const int sw = c.source.right - c.source.left, sh = c.source.bottom - c.source.top;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 16; ++x) {
        uint32_t expected = 0x5A5A5A5Au & mask;
        if (x >= c.dest.left && x < c.dest.right && y >= c.dest.top && y < c.dest.bottom) {
          const int step = (x - c.dest.left) * sw / dw, sy = c.source.top + (y - c.dest.top) * sh / dh;
          const int sx = c.mirrored ? c.source.right - 1 - step : c.source.left + step;
          if (sx >= 0 && sx < 11 && sy >= 0 && sy < 9 && !(c.keyed && PixelAt(source, sx, sy) == key))
            expected = PixelAt(source, sx, sy);
        }
        ASSERT_EQ(PixelAt(dest, x, y), expected) << x << "," << y;
      }
  }
}

// The viewport clear's one pass over the rows: each surface is cleared
// within its own size, and a lost one stops only what it must.
TEST(Surface, FillWithDepthClearsBothInOnePass) {
  struct Case {
    const char* name;
    bool targetLost;
    bool depthLost;
    plat::SurfaceResult result;
    int colourPixels;
    int depthPixels;
  } cases[] = {
      {"both", false, false, plat::SurfaceResult::Ok, 8 * 6, 5 * 9},
      {"depth lost", false, true, plat::SurfaceResult::SurfaceLost, 8 * 6, 0},
      {"target lost", true, false, plat::SurfaceResult::SurfaceLost, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plat::Surface target(8, 6, plat::Rgb565Format(), true);
    auto depth = std::make_shared<plat::Surface>(5, 9, plat::Rgb565Format(), true);
    ASSERT_TRUE(target.AttachDepth(depth));
    if (c.targetLost) target.MarkLost();
    if (c.depthLost) depth->MarkLost();
    EXPECT_EQ(target.FillWithDepth({-1, -1, 20, 20}, 0x1234, 0x7777), c.result);
    target.Restore();
    depth->Restore();
    EXPECT_EQ(CountPixels(target, 0x1234), c.colourPixels);
    EXPECT_EQ(CountPixels(*depth, 0x7777), c.depthPixels);
  }
}

TEST(Surface, DescribesFillsClipsAndCopies) {
  plat::Surface s(7, 5, plat::Rgb565Format(), false);
  plat::SurfaceDesc d = s.Describe();
  EXPECT_EQ(d.width, 7);
  EXPECT_EQ(d.height, 5);
  EXPECT_EQ(d.pitch, 16);  // rows are kept 4-byte aligned
  EXPECT_EQ(d.format.redMask, 0xF800u);
  EXPECT_EQ(d.format.greenMask, 0x07E0u);
  EXPECT_EQ(d.format.blueMask, 0x001Fu);

  plat::Rect r{-2, 3, 3, 99};
  EXPECT_EQ(s.Fill(&r, 0xABCD), plat::SurfaceResult::Ok);
  EXPECT_EQ(CountPixels(s, 0xABCD), 3 * 2);
  EXPECT_EQ(PixelAt(s, 2, 4), 0xABCDu);
  EXPECT_EQ(PixelAt(s, 3, 4), 0u);

  plat::Surface big(14, 10, plat::Rgb565Format(), false);
  EXPECT_EQ(big.Blt({0, 0, 14, 10}, s, {0, 3, 3, 5}), plat::SurfaceResult::Ok);  // doubled
  EXPECT_EQ(CountPixels(big, 0xABCD), 14 * 10);
  EXPECT_EQ(big.Fill(nullptr, 0), plat::SurfaceResult::Ok);
  EXPECT_EQ(big.BltFast(12, 9, s, {0, 3, 3, 5}), plat::SurfaceResult::Ok);  // cut at the edges
  EXPECT_EQ(CountPixels(big, 0xABCD), 2);
  plat::Surface deep(2, 2, {32, 0xFF0000, 0xFF00, 0xFF, 0, false}, false);
  EXPECT_EQ(big.Blt({0, 0, 2, 2}, deep, {0, 0, 2, 2}), plat::SurfaceResult::Failed);
}

TEST(Surface, ColoursPackIntoTheLayout) {
  EXPECT_EQ(plat::PackColor(0xFFFFFF, plat::Rgb565Format()), 0xFFFFu);
  EXPECT_EQ(plat::PackColor(0xFFFFFF, plat::Rgb555Format()), 0x7FFFu);
  EXPECT_EQ(plat::PackColor(0x0000FF, plat::Rgb565Format()), 0x001Fu);
  EXPECT_EQ(plat::PackColor(0x00FF00, plat::Rgb555Format()), 0x03E0u);
  plat::Surface s(1, 1, plat::Rgb555Format(), false);
  EXPECT_TRUE(s.WriteColor(0, 0, 0x0000FF));  // 0x00BBGGRR: red
  EXPECT_EQ(PixelAt(s, 0, 0), 0x7C00u);
  EXPECT_FALSE(s.WriteColor(1, 0, 0));
}

TEST(Surface, LostSurfacesRefuseWorkUntilRestored) {
  int before = plat::LiveSurfaceCount();
  {
    plat::Surface s(4, 4, plat::Rgb565Format(), true);
    EXPECT_EQ(plat::LiveSurfaceCount(), before + 1);
    s.Fill(nullptr, 0x1111);
    plat::LoseAllSurfaces();
    uint8_t* p = reinterpret_cast<uint8_t*>(1);
    EXPECT_EQ(s.Lock(&p, nullptr), plat::SurfaceResult::SurfaceLost);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(s.Fill(nullptr, 0), plat::SurfaceResult::SurfaceLost);
    EXPECT_EQ(s.Restore(), plat::SurfaceResult::Ok);
    EXPECT_FALSE(s.IsLost());
    EXPECT_EQ(CountPixels(s, 0), 16);
  }
  EXPECT_EQ(plat::LiveSurfaceCount(), before);
}

class DisplayTest : public ::testing::Test {
 protected:
  DisplayTest() {
    plat::ResetDisplayEnvironment();
    plat::ResetDevice3DEnvironment();
    plat::ClearFailPoints();
    plat::RegisterWindowClass({"DisplayTest", 0, plat::DefWindowProc, 0});
    window_ = plat::CreateWindow("DisplayTest", "display test", plat::WS_POPUP, 0, 0, 640, 480);
  }
  ~DisplayTest() override {
    plat::DestroyWindow(window_);
    plat::ResetDisplayEnvironment();
    plat::ClearMessageQueue();
  }
  plat::WindowHandle window_;
};

TEST_F(DisplayTest, ModesFormatsAndPresentation) {
  auto display = plat::DisplayDevice::Open(0);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(plat::DisplayDevice::Open(1), nullptr);
  EXPECT_EQ(display->ListModes().size(), 3u);
  EXPECT_EQ(display->DesktopMode().bitsPerPixel, 16);
  EXPECT_FALSE(display->SetDisplayMode({640, 480, 16}));  // not exclusive yet
  ASSERT_TRUE(display->SetCooperativeLevel(window_, true));
  EXPECT_FALSE(display->SetDisplayMode({640, 480, 32}));
  ASSERT_TRUE(display->SetDisplayMode({800, 600, 16}));
  EXPECT_TRUE(display->DisplayModeSet());

  std::shared_ptr<plat::Surface> back;
  auto primary = display->CreatePrimarySurface(&back);
  ASSERT_NE(primary, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Describe().width, 800);
  EXPECT_EQ(primary->Flip(), plat::SurfaceResult::Ok);  // nothing to show on: done at once
  EXPECT_EQ(primary->PresentFrom(*back, {0, 0, 800, 600}), plat::SurfaceResult::Ok);
  EXPECT_EQ(back->Flip(), plat::SurfaceResult::Failed);  // not a visible surface
  back->MarkLost();
  EXPECT_EQ(primary->Flip(), plat::SurfaceResult::SurfaceLost);

  plat::GetDisplayEnvironment().rgb555 = true;
  EXPECT_EQ(display->CreateSurface(4, 4, false)->Describe().format.redMask, 0x7C00u);
  display->RestoreDisplayMode();
  EXPECT_FALSE(display->DisplayModeSet());
}

TEST_F(DisplayTest, DeviceClearsItsTargetInsideTheViewport) {
  auto display = plat::DisplayDevice::Open(0);
  ASSERT_TRUE(display->SetCooperativeLevel(window_, false));
  auto target = display->CreateSurface(32, 16, true);
  auto depth = display->CreateDepthSurface(32, 16, 16, true);
  ASSERT_TRUE(target->AttachDepth(depth));
  auto renderer = plat::Renderer3D::Open(*display);
  ASSERT_NE(renderer, nullptr);
  auto device = renderer->CreateDevice(0, target);
  ASSERT_NE(device, nullptr);
  auto viewport = renderer->CreateViewport();
  ASSERT_FALSE(viewport->Clear({0, 0, 32, 16}, plat::kClearTarget, 0, 1.0f));  // not on a device yet
  ASSERT_TRUE(device->AddViewport(viewport.get()));
  plat::ViewportParams params;
  params.x = 4;
  params.y = 2;
  params.width = 10;
  params.height = 5;
  ASSERT_TRUE(viewport->SetViewport(params));
  EXPECT_TRUE(viewport->Clear({0, 0, 32, 16}, plat::kClearTarget | plat::kClearZBuffer, 0x00FF0000, 0.5f));
  EXPECT_EQ(CountPixels(*target, 0xF800), 50);
  EXPECT_EQ(PixelAt(*target, 4, 2), 0xF800u);
  EXPECT_EQ(PixelAt(*target, 14, 2), 0u);
  EXPECT_EQ(CountPixels(*depth, 0x7FFF), 50);
  EXPECT_TRUE(viewport->Clear({0, 0, 5, 3}, plat::kClearTarget, 0x000000FF, 1.0f));
  EXPECT_EQ(CountPixels(*target, 0x001F), 1);

  device->SetRenderState(plat::RenderState::FogColor, 0x123456);
  device->SetStageState(7, plat::StageState::Address, plat::kAddressClamp);
  device->SetStageState(8, plat::StageState::Address, plat::kAddressClamp);
  EXPECT_EQ(device->GetRenderState(plat::RenderState::FogColor), 0x123456u);
  EXPECT_EQ(device->GetStageState(7, plat::StageState::Address), plat::kAddressClamp);
  EXPECT_EQ(device->GetStageState(8, plat::StageState::Address), 0u);

  auto light = renderer->CreateLight();
  EXPECT_TRUE(viewport->AddLight(light.get()));
  EXPECT_FALSE(viewport->AddLight(light.get()));
  EXPECT_TRUE(viewport->DeleteLight(light.get()));
  EXPECT_EQ(plat::GetLive3DObjects().lights, 1);

  // The device going first leaves its viewport detached, not dangling.
  device.reset();
  EXPECT_EQ(viewport->Device(), nullptr);
  EXPECT_FALSE(viewport->Clear({0, 0, 32, 16}, plat::kClearTarget, 0, 1.0f));
}

TEST_F(DisplayTest, FailPointsFailTheirStep) {
  plat::SetFailPoint(plat::FailPoint::OpenDisplayDevice, 1, 1);
  EXPECT_NE(plat::DisplayDevice::Open(0), nullptr);
  EXPECT_EQ(plat::DisplayDevice::Open(0), nullptr);
  EXPECT_NE(plat::DisplayDevice::Open(0), nullptr);
  plat::GetDisplayEnvironment().devices[0].opens = false;
  EXPECT_EQ(plat::DisplayDevice::Open(0), nullptr);
  EXPECT_EQ(plat::LiveDisplayDeviceCount(), 0);
}

}  // namespace
