// Texturing: texel addressing and filtering, perspective correction, the
// colour key and the stage-0 operations.
#include <gtest/gtest.h>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

constexpr uint16_t kGreen565 = 0x07E0;
constexpr uint16_t kWhite565 = 0xFFFF;

struct TexturedCanvas {
  Canvas canvas;
  std::vector<uint16_t> texels;
  Texture texture;
  Rasterizer r;
  DrawContext c;

  TexturedCanvas(int w, int h, int tw, int th, std::vector<uint16_t> t, PixelLayout layout = PixelLayout::Rgb565)
      : canvas(w, h), texels(std::move(t)) {
    texture = {texels.data(), tw, th, tw * 2, layout, false, 0};
    canvas.Clear(kBlue565);
    c = canvas.Context();
    c.texture = &texture;
    c.stage.minFilter = c.stage.magFilter = TextureFilter::Point;
  }
  // A quad over the whole target with the same texture coordinate at every corner.
  void FillAt(float u, float v, uint32_t diffuse = 0xFFFFFFFF) {
    std::vector<VertexScreen> quad =
        Quad(0, 0, static_cast<float>(canvas.width), static_cast<float>(canvas.height), diffuse);
    for (VertexScreen& s : quad) {
      s.u = u;
      s.v = v;
    }
    DrawList(r, c, quad);
  }
};

TEST(RasterTexture, PointFilteredQuadShowsOneTexelPerQuadrant) {
  const uint16_t expected[2][2] = {{kRed565, kGreen565}, {kBlue565, kWhite565}};
  // The same colours from a 565, a 555 and a 4444 texture.
  struct Layout {
    PixelLayout layout;
    std::vector<uint16_t> texels;
  };
  for (const Layout& l : {Layout{PixelLayout::Rgb565, {kRed565, kGreen565, kBlue565, kWhite565}},
                          Layout{PixelLayout::Rgb555, {0x7C00, 0x03E0, 0x001F, 0x7FFF}},
                          Layout{PixelLayout::Argb4444, {0xFF00, 0xF0F0, 0xF00F, 0xFFFF}}}) {
    TexturedCanvas t(64, 64, 2, 2, l.texels, l.layout);
    DrawList(t.r, t.c, Quad(0, 0, 64, 64, 0xFFFFFFFF));
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        ASSERT_EQ(t.canvas.At(x, y), expected[y / 32][x / 32])
            << x << "," << y << " layout " << static_cast<int>(l.layout);
  }
}

TEST(RasterTexture, ColourKeyedTexelsLeaveTheBackground) {
  for (const bool keyOn : {true, false}) {
    // No texel but the key has any blue.
    TexturedCanvas t(64, 64, 2, 2, {kRed565, kGreen565, kRed565, kWhite565});
    t.texture.hasColorKey = true;
    t.texture.colorKey = kWhite565;
    t.c.states.colorKeyEnable = keyOn;
    t.canvas.Clear(0x1234);
    DrawList(t.r, t.c, Quad(0, 0, 64, 64, 0xFFFFFFFF));
    EXPECT_EQ(t.canvas.At(48, 48), keyOn ? 0x1234 : kWhite565);
    EXPECT_EQ(t.canvas.At(16, 16), kRed565);
    // Bilinear filtering discards where the nearest texel is keyed and never
    // mixes the key colour into its neighbours.
    t.canvas.Clear(0);
    t.c.stage.minFilter = t.c.stage.magFilter = TextureFilter::Linear;
    DrawList(t.r, t.c, Quad(0, 0, 64, 64, 0xFFFFFFFF));
    EXPECT_EQ(t.canvas.At(48, 48), keyOn ? 0 : kWhite565);
    int blue = 0;
    for (uint16_t c : t.canvas.color) blue += Split565(c).b > 0;
    if (keyOn) {
      EXPECT_EQ(blue, 0);
    } else {
      EXPECT_GT(blue, 32 * 32);
    }
  }
}

TEST(RasterTexture, BilinearHalfwayAveragesTwoTexels) {
  TexturedCanvas t(4, 4, 2, 1, {0x0000, kWhite565});
  t.c.stage.minFilter = t.c.stage.magFilter = TextureFilter::Linear;
  t.c.stage.address = TextureAddress::Clamp;
  t.FillAt(0.5f, 0.5f);
  const Channels mid = Split565(t.canvas.At(1, 1));
  EXPECT_NEAR(mid.r, 15.5, 0.6);
  EXPECT_NEAR(mid.g, 31.5, 0.6);
  EXPECT_NEAR(mid.b, 15.5, 0.6);
  t.FillAt(0.25f, 0.5f);  // a texel centre
  EXPECT_EQ(t.canvas.At(1, 1), 0x0000);
  t.FillAt(0.75f, 0.5f);
  EXPECT_EQ(t.canvas.At(1, 1), kWhite565);
}

TEST(RasterTexture, MinifiedAndMagnifiedTrianglesPickTheirFilter) {
  // Grey only comes from filtering between the black and the white texel.
  auto grey = [](uint16_t c) { return c != 0x0000 && c != kWhite565; };
  for (const bool linearWhenMagnified : {true, false}) {
    TexturedCanvas t(4, 4, 2, 1, {0x0000, kWhite565});
    t.c.stage.magFilter = linearWhenMagnified ? TextureFilter::Linear : TextureFilter::Point;
    t.c.stage.minFilter = linearWhenMagnified ? TextureFilter::Point : TextureFilter::Linear;
    t.FillAt(0.5f, 0.5f);  // one texel spot blown up over the target
    EXPECT_EQ(grey(t.canvas.At(1, 1)), linearWhenMagnified);
    // Sixteen repeats over four pixels: every pixel centre falls between two texels.
    std::vector<VertexScreen> quad = Quad(0, 0, 4, 4, 0xFFFFFFFF);
    for (VertexScreen& v : quad) v.u *= 16;
    DrawList(t.r, t.c, quad);
    EXPECT_EQ(grey(t.canvas.At(1, 1)), !linearWhenMagnified);
  }
}

TEST(RasterTexture, WrapAndClampAddressing) {
  const std::vector<uint16_t> row{kRed565, kGreen565, kBlue565, kWhite565};
  struct Case {
    TextureAddress address;
    float u;
    uint16_t expected;
  };
  const Case cases[] = {{TextureAddress::Wrap, 1.25f, kGreen565},   {TextureAddress::Clamp, 1.25f, kWhite565},
                        {TextureAddress::Wrap, -0.125f, kWhite565}, {TextureAddress::Clamp, -0.125f, kRed565},
                        {TextureAddress::Wrap, 7.625f, kBlue565},   {TextureAddress::Wrap, 1.0e6f + 0.375f, kGreen565}};
  for (const Case& k : cases) {
    TexturedCanvas t(4, 4, 4, 1, row);
    t.c.stage.address = k.address;
    t.FillAt(k.u, 0.5f);
    EXPECT_EQ(t.canvas.At(2, 2), k.expected) << k.u;
  }
  // Textures whose sides are not powers of two wrap as well.
  TexturedCanvas t(4, 4, 3, 1, {kRed565, kGreen565, kBlue565});
  t.FillAt(-0.5f, 0.5f);
  EXPECT_EQ(t.canvas.At(2, 2), kGreen565);
  t.FillAt(2.9f, 0.5f);
  EXPECT_EQ(t.canvas.At(2, 2), kBlue565);
}

TEST(RasterTexture, TextureCoordinatesArePerspectiveCorrect) {
  // A quad whose right edge is four times as far away: the texture's middle
  // appears 80 % of the way across, not half-way.
  TexturedCanvas t(100, 10, 2, 1, {0x0000, kWhite565});
  const float far = 0.25f;
  const std::vector quad{Screen(0, 0, 0xFFFFFFFF, 0, 0, 0.5f, 1.0f),   Screen(100, 0, 0xFFFFFFFF, 1, 0, 0.5f, far),
                         Screen(0, 10, 0xFFFFFFFF, 0, 1, 0.5f, 1.0f),  Screen(100, 0, 0xFFFFFFFF, 1, 0, 0.5f, far),
                         Screen(100, 10, 0xFFFFFFFF, 1, 1, 0.5f, far), Screen(0, 10, 0xFFFFFFFF, 0, 1, 0.5f, 1.0f)};
  DrawList(t.r, t.c, quad);
  EXPECT_EQ(t.canvas.At(75, 5), 0x0000);
  EXPECT_EQ(t.canvas.At(85, 5), kWhite565);
  // Without perspective correction the switch is at the middle.
  t.c.states.texturePerspective = false;
  DrawList(t.r, t.c, quad);
  EXPECT_EQ(t.canvas.At(45, 5), 0x0000);
  EXPECT_EQ(t.canvas.At(55, 5), kWhite565);
}

TEST(RasterTexture, StageZeroOperations) {
  // Texel: grey 0x8410 (r 132, g 130, b 132); diffuse: pure red, alpha 0x80.
  struct Case {
    TextureOp colorOp;
    TextureArg arg1, arg2;
    bool textured;
    Channels expected;
  };
  const Case cases[] = {
      {TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse, true, {16, 0, 0}},
      {TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, true, {16, 32, 16}},
      {TextureOp::SelectArg2, TextureArg::Texture, TextureArg::Diffuse, true, {31, 0, 0}},
      {TextureOp::SelectArg1, TextureArg::Diffuse, TextureArg::Texture, true, {31, 0, 0}},
      {TextureOp::Disable, TextureArg::Texture, TextureArg::Diffuse, true, {31, 0, 0}},
      // Without a texture the texture argument reads white.
      {TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse, false, {31, 0, 0}},
      {TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, false, {31, 63, 31}},
  };
  for (const Case& k : cases) {
    TexturedCanvas t(4, 4, 1, 1, {0x8410});
    t.c.stage.colorOp = k.colorOp;
    t.c.stage.colorArg1 = k.arg1;
    t.c.stage.colorArg2 = k.arg2;
    if (!k.textured) t.c.texture = nullptr;
    t.FillAt(0.5f, 0.5f, 0x80FF0000);
    const Channels got = Split565(t.canvas.At(1, 1));
    EXPECT_EQ(got.r, k.expected.r) << static_cast<int>(k.colorOp) << "/" << static_cast<int>(k.arg1);
    EXPECT_EQ(got.g, k.expected.g) << static_cast<int>(k.colorOp) << "/" << static_cast<int>(k.arg1);
    EXPECT_EQ(got.b, k.expected.b) << static_cast<int>(k.colorOp) << "/" << static_cast<int>(k.arg1);
  }
}

TEST(RasterTexture, AlphaFromA4444TextureFeedsTheAlphaTest) {
  // Left texel opaque red, right texel transparent.
  TexturedCanvas t(8, 2, 2, 1, {0xFF00, 0x0F00}, PixelLayout::Argb4444);
  t.c.stage.alphaOp = TextureOp::Modulate;
  t.c.stage.alphaArg1 = TextureArg::Texture;
  t.c.stage.alphaArg2 = TextureArg::Diffuse;
  t.c.states.alphaTestEnable = true;
  t.c.states.alphaRef = 8;
  t.c.states.alphaFunc = CompareFunc::GreaterEqual;
  DrawList(t.r, t.c, Quad(0, 0, 8, 2, 0xFFFFFFFF));
  EXPECT_EQ(t.canvas.At(1, 1), kRed565);
  EXPECT_EQ(t.canvas.At(6, 1), kBlue565);
}

}  // namespace
}  // namespace rastertest
