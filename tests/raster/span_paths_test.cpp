// The span routines' fast paths must put exactly the pixels of the general
// ones: those that read the 32-bit texels the 3D device decodes besides the
// 16-bit ones, and those that shade four or eight pixels at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "platform/raster/decoded_texels.h"
#include "platform/raster/pixel_formats.h"
#include "platform/raster/pixel_pipeline.h"
#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

struct Scene {
  std::vector<VertexScreen> triangles;
  std::vector<uint16_t> depth;  // what the depth buffer holds before drawing
};

// Overlapping triangles of every size with perspective, colours and
// coordinates far outside the texture, over a depth buffer of bands.
Scene MakeScene(int width, int height) {
  Scene s;
  uint32_t seed = 12345;
  auto next = [&seed](float low, float high) {
    seed = seed * 1103515245u + 12345u;
    return low + (high - low) * static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
  };
  for (int t = 0; t < 40; ++t) {
    const float cx = next(-10, static_cast<float>(width) + 10), cy = next(-10, static_cast<float>(height) + 10);
    const float size = t < 8 ? 80.0f : next(2, 30);
    for (int k = 0; k < 3; ++k) {
      const uint32_t diffuse = 0xFF000000u | static_cast<uint32_t>(next(0, 255)) << 16 |
                               static_cast<uint32_t>(next(0, 255)) << 8 | static_cast<uint32_t>(next(0, 255));
      const float rhw = next(0.05f, 2.0f);
      s.triangles.push_back(Screen(cx + next(-size, size), cy + next(-size, size), diffuse, next(-3, 3) * rhw,
                                   next(-3, 3) * rhw, next(-0.1f, 1.1f), rhw));
    }
  }
  s.depth.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < s.depth.size(); ++i) s.depth[i] = static_cast<uint16_t>((i / 7 % 9) * 8000);
  return s;
}

struct Drawn {
  std::vector<uint16_t> color;
  std::vector<uint16_t> depth;
};

// The scene drawn over a cleared target and its depth bands, with the states
// setUp chooses.
Drawn Draw(const Scene& scene, int width, int height, PixelLayout target,
           const std::function<void(DrawContext&)>& setUp) {
  Canvas canvas(width, height, target);
  canvas.Clear(0x1234);
  canvas.depth = scene.depth;
  DrawContext context = canvas.Context();
  setUp(context);
  Rasterizer rasterizer;
  DrawList(rasterizer, context, scene.triangles);
  return {canvas.color, canvas.depth};
}

void ExpectSamePixels(const Drawn& fast, const Drawn& general) {
  EXPECT_NE(general.color, std::vector<uint16_t>(general.color.size(), 0x1234)) << "something was drawn";
  EXPECT_EQ(fast.color, general.color);
  EXPECT_EQ(fast.depth, general.depth);
}

// The span routines' widest lanes for one draw.
class ScopedSpanLanes {
 public:
  explicit ScopedSpanLanes(int lanes) : before_(SpanLanes()) { SetSpanLanes(lanes); }
  ~ScopedSpanLanes() { SetSpanLanes(before_); }
  ScopedSpanLanes(const ScopedSpanLanes&) = delete;
  ScopedSpanLanes& operator=(const ScopedSpanLanes&) = delete;

 private:
  int before_;
};

void SetFog(RenderStates& rs) {
  rs.fogEnable = true;
  rs.fogTableMode = FogMode::Linear;
  rs.fogStart = 0.5f;
  rs.fogEnd = 4;
  rs.fogColor = 0x406080;
}

TEST(RasterSpanPaths, DecodedTexelsGiveThePixelsOfTheSixteenBitOnes) {
  constexpr int kWidth = 96, kHeight = 64;
  const Scene scene = MakeScene(kWidth, kHeight);
  struct Case {
    const char* name;
    PixelLayout target;
    PixelLayout layout;
    TextureFilter filter;
    bool perspective;
    CompareFunc zFunc;
    bool zWrite;
    TextureOp colorOp;
    bool alphaTest;
    bool blendAndFog;
    TextureAddress address;
    int width = 16;                                // texels; the rows stay 16 apart
    BlendFactor srcBlend = BlendFactor::SrcAlpha;  // with blendAndFog
    BlendFactor destBlend = BlendFactor::InvSrcAlpha;
    bool fog = true;
  } cases[] = {
      {"bilinear modulate", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, false, false, TextureAddress::Wrap},
      {"bilinear 555 target, 4444 texels", PixelLayout::Rgb555, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::Greater, true, TextureOp::Modulate, false, false, TextureAddress::Wrap},
      {"bilinear affine, no depth write", PixelLayout::Rgb565, PixelLayout::Rgb555, TextureFilter::Linear, false,
       CompareFunc::Equal, false, TextureOp::Modulate, false, false, TextureAddress::Wrap},
      {"bilinear no depth test", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::Always, true, TextureOp::Modulate, false, false, TextureAddress::Wrap},
      {"point", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Point, true, CompareFunc::Less, true,
       TextureOp::Modulate, false, false, TextureAddress::Wrap},
      {"texture only", PixelLayout::Rgb565, PixelLayout::Argb4444, TextureFilter::Linear, true, CompareFunc::LessEqual,
       true, TextureOp::SelectArg1, false, false, TextureAddress::Wrap},
      {"alpha test", PixelLayout::Rgb565, PixelLayout::Argb4444, TextureFilter::Linear, true, CompareFunc::LessEqual,
       true, TextureOp::Modulate, true, false, TextureAddress::Wrap},
      {"blend and fog", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true, CompareFunc::LessEqual,
       true, TextureOp::Modulate, false, true, TextureAddress::Wrap},
      {"shadow: darkening blend and fog", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, false, TextureOp::Modulate, true, true, TextureAddress::Wrap, 16, BlendFactor::Zero,
       BlendFactor::InvSrcColor},
      {"additive blend, 555 target, no fog", PixelLayout::Rgb555, PixelLayout::Argb4444, TextureFilter::Linear, false,
       CompareFunc::Greater, true, TextureOp::Modulate, false, true, TextureAddress::Wrap, 16, BlendFactor::One,
       BlendFactor::One, false},
      {"blend by the target's colour", PixelLayout::Rgb565, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::Always, true, TextureOp::Modulate, false, true, TextureAddress::Wrap, 16, BlendFactor::DestColor,
       BlendFactor::InvDestColor},
      {"blend by alpha, saturating", PixelLayout::Rgb555, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, true, true, TextureAddress::Wrap, 16, BlendFactor::SrcColor,
       BlendFactor::DestAlpha},
      {"clamped", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true, CompareFunc::LessEqual, true,
       TextureOp::Modulate, false, false, TextureAddress::Clamp},
      {"clamped point", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Point, true, CompareFunc::Less, true,
       TextureOp::Modulate, false, false, TextureAddress::Clamp},
      {"clamped, blend and fog", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, false, true, TextureAddress::Clamp},
      {"clamped 555 target, 4444 texels, alpha test", PixelLayout::Rgb555, PixelLayout::Argb4444, TextureFilter::Linear,
       false, CompareFunc::Greater, true, TextureOp::Modulate, true, false, TextureAddress::Clamp},
      {"clamped, not a power of two", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, false, true, TextureAddress::Clamp, 12},
      {"clamped point, not a power of two", PixelLayout::Rgb565, PixelLayout::Rgb555, TextureFilter::Point, true,
       CompareFunc::LessEqual, true, TextureOp::SelectArg1, false, false, TextureAddress::Clamp, 12},
  };
  std::vector<uint16_t> texels(16 * 8);
  for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint16_t>(i * 2654435761u >> 7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Texture texture{texels.data(), c.width, 8, 32, c.layout, false, 0};
    std::vector<uint32_t> decoded;
    decoded.resize(ExpandedSize(texture));
    ExpandTexels(texture, decoded.data());
    // Without the decoded texels, then with them on eight lanes (where the
    // processor has them) and on four.
    Drawn drawn[3];
    for (int way = 0; way < 3; ++way) {
      texture.expanded = way ? decoded.data() : nullptr;
      const ScopedSpanLanes lanes(way == 2 ? 4 : 8);
      drawn[way] = Draw(scene, kWidth, kHeight, c.target, [&](DrawContext& context) {
        context.texture = &texture;
        context.stage.minFilter = context.stage.magFilter = c.filter;
        context.stage.colorOp = c.colorOp;
        context.stage.address = c.address;
        context.stage.alphaArg1 = TextureArg::Texture;
        RenderStates& rs = context.states;
        rs.texturePerspective = c.perspective;
        rs.zFunc = c.zFunc;
        rs.zWriteEnable = c.zWrite;
        rs.alphaTestEnable = c.alphaTest;
        rs.alphaRef = 128;
        rs.alphaFunc = CompareFunc::GreaterEqual;
        if (c.blendAndFog) {
          rs.alphaBlendEnable = true;
          rs.srcBlend = c.srcBlend;
          rs.destBlend = c.destBlend;
          if (c.fog) SetFog(rs);
        }
      });
    }
    ExpectSamePixels(drawn[1], drawn[0]);
    ExpectSamePixels(drawn[2], drawn[0]);
  }
}

// A shadow's texture is black but for its silhouette. Under a blend that
// keeps the target where the source is black, pixels whose texels all lie
// outside the silhouette's bounds may be passed over: the pixels must be
// those of drawing every one.
TEST(RasterSpanPaths, PassingOverBlackTexelsChangesNoPixel) {
  constexpr int kWidth = 96, kHeight = 64;
  const Scene scene = MakeScene(kWidth, kHeight);
  struct Case {
    const char* name;
    BlendFactor srcBlend;
    BlendFactor destBlend;
    TextureAddress address;
    uint32_t fogColor;  // with linear table fog; 0xFFFFFFFF: no fog
    TexelBounds ink;    // the texels that are not black
  } cases[] = {
      {"shadow in coloured fog",
       BlendFactor::Zero,
       BlendFactor::InvSrcColor,
       TextureAddress::Clamp,
       0xD0D0D0,
       {5, 3, 9, 6}},
      {"shadow in black fog", BlendFactor::One, BlendFactor::InvSrcColor, TextureAddress::Clamp, 0, {5, 3, 9, 6}},
      {"shadow without fog, silhouette at the edges",
       BlendFactor::Zero,
       BlendFactor::InvSrcColor,
       TextureAddress::Clamp,
       0xFFFFFFFF,
       {0, 6, 16, 8}},
      {"additive glow, wrapping", BlendFactor::One, BlendFactor::One, TextureAddress::Wrap, 0x406080, {7, 2, 12, 5}},
      {"nothing drawn yet",
       BlendFactor::Zero,
       BlendFactor::InvSrcColor,
       TextureAddress::Clamp,
       0x406080,
       {16, 8, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> texels(16 * 8, 0);
    for (int y = c.ink.top; y < c.ink.bottom; ++y)
      for (int x = c.ink.left; x < c.ink.right; ++x) texels[static_cast<size_t>(y) * 16 + x] = 0x8410 + x * 0x821;
    Texture texture{texels.data(), 16, 8, 32, PixelLayout::Rgb565, false, 0};
    DecodedTexels decoded;
    decoded.Update(texture, true);
    texture.expanded = decoded.Texels();
    Drawn drawn[3];  // every pixel shaded, black ones passed over on eight lanes and on four
    for (int way = 0; way < 3; ++way) {
      const int passOver = way > 0;
      const ScopedSpanLanes lanes(way == 2 ? 4 : 8);
      texture.ink = passOver ? &decoded.Ink() : nullptr;
      drawn[way] = Draw(scene, kWidth, kHeight, PixelLayout::Rgb565, [&](DrawContext& context) {
        context.texture = &texture;
        context.stage.address = c.address;
        RenderStates& rs = context.states;
        rs.zWriteEnable = false;
        rs.alphaBlendEnable = true;
        rs.srcBlend = c.srcBlend;
        rs.destBlend = c.destBlend;
        if (c.fogColor != 0xFFFFFFFF) {
          SetFog(rs);
          rs.fogColor = c.fogColor;
        }
        PixelPipeline pipeline;
        ASSERT_TRUE(BuildPixelPipeline(context, pipeline));
        EXPECT_EQ(pipeline.skipBlack, passOver == 1);
      });
    }
    ExpectSamePixels(drawn[1], drawn[0]);
    ExpectSamePixels(drawn[2], drawn[0]);
  }
}

// Black texels may only be passed over where the pixel would stay as it is.
TEST(RasterSpanPaths, BlackTexelsArePassedOverOnlyWhereTheyChangeNothing) {
  std::vector<uint16_t> texels(16 * 8, 0);
  Texture texture{texels.data(), 16, 8, 32, PixelLayout::Rgb565, false, 0};
  DecodedTexels decoded;
  decoded.Update(texture, true);
  texture.expanded = decoded.Texels();
  texture.ink = &decoded.Ink();
  struct Case {
    const char* name;
    std::function<void(DrawContext&)> change;
    bool passOver;
  } cases[] = {
      {"darkening blend", [](DrawContext&) {}, true},
      {"adding blend",
       [](DrawContext& c) { c.states.srcBlend = BlendFactor::SrcColor, c.states.destBlend = BlendFactor::One; }, true},
      {"no blend", [](DrawContext& c) { c.states.alphaBlendEnable = false; }, false},
      {"blend by alpha", [](DrawContext& c) { c.states.destBlend = BlendFactor::InvSrcAlpha; }, false},
      {"depth written", [](DrawContext& c) { c.states.zWriteEnable = true; }, false},
      {"specular colour", [](DrawContext& c) { c.states.specularEnable = true; }, false},
      {"diffuse colour only", [](DrawContext& c) { c.stage.colorOp = TextureOp::SelectArg2; }, false},
      {"ink unknown", [](DrawContext& c) { c.texture = nullptr; }, false},
  };
  Texture unbounded = texture;
  unbounded.ink = nullptr;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(8, 8);
    DrawContext context = canvas.Context();
    context.texture = &texture;
    context.states.zWriteEnable = false;
    context.states.alphaBlendEnable = true;
    context.states.srcBlend = BlendFactor::Zero;
    context.states.destBlend = BlendFactor::InvSrcColor;
    c.change(context);
    if (!context.texture) context.texture = &unbounded;
    PixelPipeline pipeline;
    ASSERT_TRUE(BuildPixelPipeline(context, pipeline));
    EXPECT_EQ(pipeline.skipBlack, c.passOver);
  }
}

// The decoded texels of a texture drawn into: after any change, those of
// decoding it whole, with the bounds of its texels that are not black.
TEST(RasterSpanPaths, DecodedTexelsFollowChangedRows) {
  constexpr int kWidth = 12, kHeight = 6, kPitch = 16;  // a pitch wider than the row
  std::vector<uint16_t> texels(static_cast<size_t>(kPitch) * kHeight, 0);
  for (size_t i = 0; i < texels.size(); ++i) texels[i] = i % kPitch < kWidth ? 0 : 0xFFFF;  // past the rows: ignored
  Texture texture{texels.data(), kWidth, kHeight, kPitch * 2, PixelLayout::Rgb555, false, 0};
  DecodedTexels decoded;
  struct Step {
    const char* name;
    std::vector<std::array<int, 3>> writes;  // x, y, texel
    TexelBounds ink;
  } steps[] = {
      {"all black", {}, {kWidth, kHeight, 0, 0}},
      {"one texel", {{4, 2, 0x7C00}}, {4, 2, 5, 3}},
      {"the first row, and a black texel with alpha bits", {{0, 0, 0x001F}, {11, 5, 0x8000}}, {0, 0, 5, 3}},
      {"far corner", {{11, 5, 0x03E0}}, {0, 0, 12, 6}},
      {"cleared but one", {{0, 0, 0}, {4, 2, 0}, {11, 5, 0}, {7, 3, 0x1234}}, {7, 3, 8, 4}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    for (const auto& w : step.writes) texels[static_cast<size_t>(w[1]) * kPitch + w[0]] = static_cast<uint16_t>(w[2]);
    decoded.Update(texture, true);
    std::vector<uint32_t> whole(ExpandedSize(texture));
    ExpandTexels(texture, whole.data());
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), decoded.Texels()));
    const TexelBounds& ink = decoded.Ink();
    if (step.ink.left >= step.ink.right) {
      EXPECT_GE(ink.left, ink.right) << "no ink";
    } else {
      EXPECT_EQ(std::vector<int>({ink.left, ink.top, ink.right, ink.bottom}),
                std::vector<int>({step.ink.left, step.ink.top, step.ink.right, step.ink.bottom}));
    }
  }
  // Unchanged, as promised: nothing is read.
  texels[0] = 0x7FFF;
  decoded.Update(texture, false);
  EXPECT_EQ(decoded.Texels()[0], 0xFF000000u);
}

// Untextured spans are shaded four at a time unless a rarer stage (here a
// specular colour of zero, which changes nothing) sends them pixel by pixel:
// both ways must put the same pixels.
TEST(RasterSpanPaths, UntexturedLanesGiveThePixelsOfThePixelByPixelSpans) {
  constexpr int kWidth = 96, kHeight = 64;
  Scene scene = MakeScene(kWidth, kHeight);
  uint32_t alpha = 0x10;
  for (VertexScreen& v : scene.triangles) v.diffuse = (v.diffuse & 0xFFFFFF) | (alpha += 0x2F) << 24;
  struct Case {
    const char* name;
    PixelLayout target;
    bool alphaTest;
    bool fog;
    bool blend;
    BlendFactor srcBlend;
    BlendFactor destBlend;
    ShadeMode shade;
  } cases[] = {
      {"gouraud", PixelLayout::Rgb565, false, false, false, BlendFactor::One, BlendFactor::Zero, ShadeMode::Gouraud},
      {"alpha test, flat", PixelLayout::Rgb555, true, false, false, BlendFactor::One, BlendFactor::Zero,
       ShadeMode::Flat},
      {"fog and blend by alpha", PixelLayout::Rgb565, false, true, true, BlendFactor::SrcAlpha,
       BlendFactor::InvSrcAlpha, ShadeMode::Gouraud},
      {"darkening blend, 555 target", PixelLayout::Rgb555, true, true, true, BlendFactor::Zero,
       BlendFactor::InvSrcColor, ShadeMode::Gouraud},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Drawn drawn[3];  // eight at a time (where the processor can), four, pixel by pixel
    for (int way = 0; way < 3; ++way) {
      const ScopedSpanLanes lanes(way == 0 ? 8 : 4);
      const int pixelwise = way == 2;
      drawn[way] = Draw(scene, kWidth, kHeight, c.target, [&](DrawContext& context) {
        RenderStates& rs = context.states;
        rs.shadeMode = c.shade;
        rs.alphaTestEnable = c.alphaTest;
        rs.alphaRef = 128;
        rs.alphaFunc = CompareFunc::GreaterEqual;
        rs.alphaBlendEnable = c.blend;
        rs.srcBlend = c.srcBlend;
        rs.destBlend = c.destBlend;
        if (c.fog) SetFog(rs);
        rs.specularEnable = pixelwise == 1;
      });
    }
    ExpectSamePixels(drawn[0], drawn[2]);
    ExpectSamePixels(drawn[1], drawn[2]);
  }
}

}  // namespace
}  // namespace rastertest
