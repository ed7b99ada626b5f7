// The 3D device hands the rasteriser every texture also decoded to 32-bit
// texels; the span routines that read those must put exactly the pixels of
// the ones that read the 16-bit texels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/raster/pixel_formats.h"
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

TEST(RasterDecodedTexels, SamePixelsAsTheSixteenBitTexels) {
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
    int width = 16;  // texels; the rows stay 16 apart
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
      {"texture only", PixelLayout::Rgb565, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::SelectArg1, false, false, TextureAddress::Wrap},
      {"alpha test", PixelLayout::Rgb565, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, true, false, TextureAddress::Wrap},
      {"blend and fog", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, false, true, TextureAddress::Wrap},
      {"shadow: darkening blend and fog", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, false, TextureOp::Modulate, true, true, TextureAddress::Wrap, 16, BlendFactor::Zero,
       BlendFactor::InvSrcColor},
      {"additive blend, 555 target, no fog", PixelLayout::Rgb555, PixelLayout::Argb4444, TextureFilter::Linear,
       false, CompareFunc::Greater, true, TextureOp::Modulate, false, true, TextureAddress::Wrap, 16,
       BlendFactor::One, BlendFactor::One, false},
      {"blend by the target's colour", PixelLayout::Rgb565, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::Always, true, TextureOp::Modulate, false, true, TextureAddress::Wrap, 16,
       BlendFactor::DestColor, BlendFactor::InvDestColor},
      {"blend by alpha, saturating", PixelLayout::Rgb555, PixelLayout::Argb4444, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, true, true, TextureAddress::Wrap, 16,
       BlendFactor::SrcColor, BlendFactor::DestAlpha},
      {"clamped", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true, CompareFunc::LessEqual,
       true, TextureOp::Modulate, false, false, TextureAddress::Clamp},
      {"clamped point", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Point, true, CompareFunc::Less,
       true, TextureOp::Modulate, false, false, TextureAddress::Clamp},
      {"clamped, blend and fog", PixelLayout::Rgb565, PixelLayout::Rgb565, TextureFilter::Linear, true,
       CompareFunc::LessEqual, true, TextureOp::Modulate, false, true, TextureAddress::Clamp},
      {"clamped 555 target, 4444 texels, alpha test", PixelLayout::Rgb555, PixelLayout::Argb4444,
       TextureFilter::Linear, false, CompareFunc::Greater, true, TextureOp::Modulate, true, false,
       TextureAddress::Clamp},
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
    std::vector<uint16_t> results[2][2];  // colour and depth, without and with the decoded texels
    for (int withDecoded = 0; withDecoded < 2; ++withDecoded) {
      Canvas canvas(kWidth, kHeight, c.target);
      canvas.Clear(0x1234);
      canvas.depth = scene.depth;
      texture.expanded = withDecoded ? decoded.data() : nullptr;
      DrawContext context = canvas.Context();
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
        rs.fogEnable = c.fog;
        rs.fogTableMode = FogMode::Linear;
        rs.fogStart = 0.5f;
        rs.fogEnd = 4;
        rs.fogColor = 0x406080;
      }
      Rasterizer rasterizer;
      DrawList(rasterizer, context, scene.triangles);
      results[withDecoded][0] = canvas.color;
      results[withDecoded][1] = canvas.depth;
    }
    EXPECT_NE(results[0][0], std::vector<uint16_t>(results[0][0].size(), 0x1234));
    EXPECT_EQ(results[1][0], results[0][0]);
    EXPECT_EQ(results[1][1], results[0][1]);
  }
}

}  // namespace
}  // namespace rastertest
