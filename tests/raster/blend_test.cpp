// Alpha test and frame-buffer blending.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

struct BlendCanvas {
  Canvas canvas{8, 8};
  Rasterizer r;
  DrawContext c;
  explicit BlendCanvas(uint16_t background) {
    canvas.Clear(background);
    c = canvas.Context();
    c.states.alphaBlendEnable = true;
  }
  uint16_t Draw(uint32_t argb) {
    DrawList(r, c, Quad(0, 0, 8, 8, argb));
    return canvas.At(4, 4);
  }
};

TEST(RasterBlend, HalfTransparentRedOverBlue) {
  BlendCanvas b(kBlue565);
  b.c.states.srcBlend = BlendFactor::SrcAlpha;
  b.c.states.destBlend = BlendFactor::InvSrcAlpha;
  const Channels got = Split565(b.Draw(0x80FF0000));
  EXPECT_NEAR(got.r, 15.5, 0.6);
  EXPECT_EQ(got.g, 0);
  EXPECT_NEAR(got.b, 15.5, 0.6);
}

TEST(RasterBlend, AlphaTestGreaterOrEqualEight) {
  struct Case {
    uint32_t alpha;
    bool drawn;
  };
  for (const Case& k : {Case{0, false}, Case{7, false}, Case{8, true}, Case{255, true}}) {
    BlendCanvas b(kBlue565);
    b.c.states.alphaBlendEnable = false;
    b.c.states.alphaTestEnable = true;
    b.c.states.alphaRef = 8;
    b.c.states.alphaFunc = CompareFunc::GreaterEqual;
    EXPECT_EQ(b.Draw(k.alpha << 24 | 0xFF0000), k.drawn ? kRed565 : kBlue565) << k.alpha;
    // A discarded pixel leaves the depth buffer alone too.
    EXPECT_EQ(b.canvas.depth[4 * 8 + 4], k.drawn ? 0x8000 : 0xFFFF) << k.alpha;
  }
}

// Each factor pair against the same formula in floating point; source is
// (r 200, g 100, b 40, a 96), destination the 565 pixel 0x4A69 (r 74, g 77, b 74).
TEST(RasterBlend, EveryBlendFactor) {
  const double src[4] = {200, 100, 40, 96};
  const double dst[3] = {74, 77, 74};
  auto factor = [&](BlendFactor f, int ch) -> double {
    switch (f) {
      case BlendFactor::Zero: return 0;
      case BlendFactor::One: return 1;
      case BlendFactor::SrcColor: return src[ch] / 255;
      case BlendFactor::InvSrcColor: return 1 - src[ch] / 255;
      case BlendFactor::SrcAlpha: return src[3] / 255;
      case BlendFactor::InvSrcAlpha: return 1 - src[3] / 255;
      case BlendFactor::DestAlpha: return 1;  // targets have no alpha: opaque
      case BlendFactor::InvDestAlpha: return 0;
      case BlendFactor::DestColor: return dst[ch] / 255;
      case BlendFactor::InvDestColor: return 1 - dst[ch] / 255;
      case BlendFactor::SrcAlphaSat: return 0;  // min(source alpha, 1 - opaque)
    }
    return -1;
  };
  const BlendFactor all[] = {BlendFactor::Zero,         BlendFactor::One,          BlendFactor::SrcColor,
                             BlendFactor::InvSrcColor,  BlendFactor::SrcAlpha,     BlendFactor::InvSrcAlpha,
                             BlendFactor::DestAlpha,    BlendFactor::InvDestAlpha, BlendFactor::DestColor,
                             BlendFactor::InvDestColor, BlendFactor::SrcAlphaSat};
  for (BlendFactor s : all)
    for (BlendFactor d : all) {
      BlendCanvas b(0x4A69);
      b.c.states.srcBlend = s;
      b.c.states.destBlend = d;
      const Channels got = Split565(b.Draw(0x60C86428));
      const int scale[3] = {31, 63, 31};
      const int gotCh[3] = {got.r, got.g, got.b};
      for (int ch = 0; ch < 3; ++ch) {
        const double value = std::min(255.0, src[ch] * factor(s, ch) + dst[ch] * factor(d, ch));
        EXPECT_NEAR(gotCh[ch], value / 255 * scale[ch], 1.01)
            << "src " << static_cast<int>(s) << " dest " << static_cast<int>(d) << " channel " << ch;
      }
    }
}

TEST(RasterBlend, BlendingOffIgnoresTheFactors) {
  BlendCanvas b(kBlue565);
  b.c.states.alphaBlendEnable = false;
  b.c.states.srcBlend = BlendFactor::Zero;
  b.c.states.destBlend = BlendFactor::One;
  EXPECT_EQ(b.Draw(0x00FF0000), kRed565);
}

}  // namespace
}  // namespace rastertest
