// Render-to-texture: targets, the 2-pixel border and the calls' refusals.
#include <vector>

#include "engine/core/materials.h"
#include "engine/core/render_services.h"
#include "engine/core/render_to_texture.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"
#include "tests/render/render_fixture.h"

namespace rendertest {
namespace {

const float kWhite[] = {1, 1, 1};

class RenderToTextureTest : public RenderTest {
 protected:
  // A lit mesh wider than the camera's view at depth 10.
  static HOBJECT Wall() {
    std::vector<MESHPRIM> words;
    AddTriangle(words, 0, 1, 2);
    AddTriangle(words, 0, 2, 3);
    return BuildMesh(0, {Vertex(-50, -50, -10), Vertex(50, -50, -10), Vertex(50, 50, -10), Vertex(-50, 50, -10)}, words,
                     2);
  }
  HOBJECT Target(int side) {
    return CreateRenderTextureMaterial(kWhite, kWhite, kWhite, kWhite, 0, "shadow", side, side, 0, 0, 0, 0);
  }
};

TEST_F(RenderToTextureTest, DrawingStaysInsideTheBorder) {
  HOBJECT material = Target(64);
  ASSERT_NE(material, 0u);
  TEXTUREDESC* t = LookupMaterial(material)->firstFrame;
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->renderTarget, 1);
  EXPECT_STREQ(t->name, "shadow");
  EXPECT_EQ(FindTexture("shadow"), t);
  HOBJECT wall = Wall();
  ASSERT_EQ(RenderToTexture(&wall, 1, material, camera_, 1), 1);
  ASSERT_NE(t->cardSurface, nullptr);
  plat::Surface& target = *t->cardSurface->Top();
  int inside = 0, border = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      bool inner = x >= 2 && x < 62 && y >= 2 && y < 62;
      uint16_t p = PixelOf(target, x, y);
      if (inner) inside += p == kWhite565;
      else border += p == 0;
    }
  EXPECT_EQ(inside, 60 * 60);
  EXPECT_EQ(border, 64 * 64 - 60 * 60);
  // The device draws into the back buffer again.
  EXPECT_EQ(g_gameWorld->device->RenderTarget(), g_gameWorld->backBuffer);
  EXPECT_EQ(LookupNode(wall)->worldValid, 0);
}

TEST_F(RenderToTextureTest, RefusalsDrawNothing) {
  HOBJECT material = Target(64);
  HOBJECT wall = Wall();
  HOBJECT plain = CreateMaterial(kWhite, kWhite, kWhite, kWhite, 0, nullptr, 0, 0, 0, 0, 0);
  EXPECT_EQ(UpdateRenderTexture(&wall, 1, material, camera_, 0, 1), 0);
  EXPECT_EQ(UpdateRenderTexture(&wall, 0, material, camera_, 1, 1), 0);
  EXPECT_EQ(UpdateRenderTexture(nullptr, 1, material, camera_, 1, 1), 0);
  EXPECT_EQ(RenderToTexture(&wall, 1, plain, camera_, 1), 0);
  EXPECT_EQ(RenderToTexture(&wall, 1, material, wall, 1), 0);
  EXPECT_EQ(UpdateRenderTexture(&wall, 1, material, camera_, 1, 1), 1);
  // The same name gives the material of the texture already made.
  MATERIALDESC* again = LookupMaterial(Target(32));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->firstFrame, LookupMaterial(material)->firstFrame);
}

TEST_F(RenderToTextureTest, OnlyTexturesOfAtLeast32PixelsBecomeTargets) {
  struct Case {
    int side;
    int enabled;
  } cases[] = {{16, 0}, {31, 0}, {32, 1}, {64, 1}};
  for (const Case& c : cases) {
    std::vector<uint16_t> pixels(static_cast<size_t>(c.side) * c.side, kRed565);
    HOBJECT m = CreateMaterialFromPixels(kWhite, kWhite, kWhite, kWhite, 0, 16, pixels.data(), nullptr, c.side, c.side,
                                         0, 0, 0, 0, 0);
    ASSERT_NE(m, 0u);
    EXPECT_EQ(EnableRenderTexture(m), c.enabled) << c.side;
    TEXTUREDESC* t = LookupMaterial(m)->firstFrame;
    EXPECT_EQ(t->renderTarget, c.enabled) << c.side;
    if (c.enabled) {
      // Uploaded again as a black target with a depth surface of its own.
      EXPECT_EQ(PixelOf(*t->cardSurface->Top(), 0, 0), 0);
      EXPECT_NE(t->cardSurface->Top()->AttachedDepth(), nullptr);
      EXPECT_EQ(EnableRenderTexture(m), 1);
    }
  }
  EXPECT_EQ(EnableRenderTexture(CreateMaterial(kWhite, kWhite, kWhite, kWhite, 0, nullptr, 0, 0, 0, 0, 0)), 0);
}

TEST_F(RenderToTextureTest, SoftwarePathKeysBlackTexelsForAdditiveBlending) {
  CloseEngine(0);
  SetRenderMode(0);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Target(64), 0u);
  uint8_t palette[256 * 3];
  for (int i = 0; i < 256 * 3; ++i) palette[i] = 200;
  palette[5 * 3] = palette[5 * 3 + 1] = palette[5 * 3 + 2] = 0;  // entry 5 black
  const uint8_t pixels[4] = {5, 1, 1, 5};
  HOBJECT material =
      CreateMaterialFromPixels(kWhite, kWhite, kWhite, kWhite, 0, 8, pixels, palette, 2, 2, 0, 0, 0, 0, 0);
  ASSERT_NE(material, 0u);
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, material);
  HOBJECT mesh = BuildMesh(0, {Vertex(0, 0, -10), Vertex(1, 0, -10), Vertex(0, 1, -10)}, words, 1);
  TEXTUREDESC* t = LookupMaterial(material)->firstFrame;
  SetSoftBlendKey(LookupNode(mesh), 1);
  EXPECT_EQ(t->keyIndex, 5);
  SetSoftBlendKey(LookupNode(mesh), 0);
  EXPECT_EQ(t->keyIndex, -1);
}

}  // namespace
}  // namespace rendertest
