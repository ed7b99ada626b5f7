// The texture table, textures made from raw pixels, their card copies, card
// memory and recovery after lost surfaces.
#include <vector>

#include "engine/core/device_textures.h"
#include "engine/core/materials.h"
#include "engine/core/pixel_format.h"
#include "engine/core/render_passes.h"
#include "engine/core/surface_recovery.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"
#include "tests/render/render_fixture.h"

namespace rendertest {
namespace {

const float kWhite[] = {1, 1, 1};
constexpr uint16_t kMagenta565 = 0xF81F;

class TextureTest : public RenderTest {
 protected:
  // A square texture of one 5-6-5 colour.
  static TEXTUREDESC* Solid(int side, uint16_t color) {
    std::vector<uint16_t> pixels(static_cast<size_t>(side) * side, color);
    return CreateTexture16(pixels.data(), side, side, 0, 0, 0, 0, 0);
  }
  // A screen-space quad (0, 0)-(64, 64) showing the whole texture of the material.
  static HOBJECT ScreenQuad(HOBJECT material) {
    std::vector<MESHPRIM> words;
    AddTriangle(words, 0, 1, 2, material);
    AddTriangle(words, 0, 2, 3, material);
    HOBJECT node = BuildMesh(MESH_PRETRANSFORMED, std::vector<MESHVERTEX>(4), words, 2);
    const float corners[4][4] = {{0, 0, 0, 0}, {0, 64, 0, 1}, {64, 64, 1, 1}, {64, 0, 1, 0}};
    MESHVERTEX* v = Mesh(node)->CurrentVertices();
    for (int i = 0; i < 4; ++i) {
      v[i].x = corners[i][0];
      v[i].y = corners[i][1];
      v[i].z = 0.5f;
      v[i].rhw = 1;
      v[i].diffuse = 0xFFFFFFFF;
      v[i].specular = 0xFF000000;
      v[i].u = corners[i][2];
      v[i].v = corners[i][3];
    }
    return node;
  }
};

TEST_F(TextureTest, TexelsOfAScreenQuadAndTheColourKey) {
  SetBackground(0, 0, 0);
  // Texel (1, 1) is the key colour magenta.
  const uint16_t pixels[4] = {kRed565, kGreen565, kBlue565, kMagenta565};
  HOBJECT material =
      CreateMaterialFromPixels(kWhite, kWhite, kWhite, kWhite, 0, 16, pixels, nullptr, 2, 2, 1, 0, 255, 0, 255);
  ASSERT_NE(material, 0u);
  HOBJECT quad = ScreenQuad(material);
  SetNodeRenderState(quad, NRS_TEXTURE_FILTER, 0);
  Render();
  struct Case {
    int x, y;
    uint16_t color;
  } cases[] = {{1, 1, kRed565},    {31, 31, kRed565}, {32, 1, kGreen565}, {62, 30, kGreen565}, {1, 33, kBlue565},
               {30, 62, kBlue565}, {40, 40, 0},       {62, 62, 0},        {64, 10, 0},         {10, 64, 0}};
  for (const Case& c : cases) EXPECT_EQ(Pixel(c.x, c.y), c.color) << c.x << "," << c.y;
}

TEST_F(TextureTest, TableSlotsNamesAndReferences) {
  TEXTUREDESC* a = Solid(2, kRed565);
  TEXTUREDESC* b = Solid(2, kRed565);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->slot, 0);
  EXPECT_EQ(b->slot, 1);
  EXPECT_EQ(a->refCount, 1);
  // Textures from raw pixels have no name and are never found.
  EXPECT_EQ(FindTexture(""), nullptr);
  SetTextureName(b, "Stone");
  EXPECT_EQ(FindTexture("STONE"), b);
  EXPECT_EQ(FindTexture("ston"), nullptr);
  ReleaseTexture(a);
  EXPECT_EQ(g_textureTable[0], nullptr);
  EXPECT_EQ(g_textureCount, 2);
  TEXTUREDESC* c = Solid(2, kRed565);
  EXPECT_EQ(c->slot, 0);
  b->refCount = 0;
  ReleaseTexture(b);  // a count already at 0 changes nothing
  EXPECT_EQ(g_textureTable[1], b);
  b->refCount = 1;
  ReleaseTexture(b);
}

TEST_F(TextureTest, NameLookUpFindsTheLowestSlotThroughRenamesAndReleases) {
  std::vector<TEXTUREDESC*> t;
  for (int i = 0; i < 5; ++i) t.push_back(Solid(2, kRed565));
  const char* names[] = {"moss", "Bark", "MOSS", "leaf", "bark"};
  for (int i = 0; i < 5; ++i) SetTextureName(t[i], names[i]);
  struct Step {
    const char* name;
    int renamed;  // -1: none
    const char* newName;
    int released;  // -1: none
    const char* lookedUp;
    int found;  // slot, -1: none
  } steps[] = {
      {"lowest of two", -1, nullptr, -1, "Moss", 0},
      {"renamed away", 0, "stone", -1, "moss", 2},
      {"renamed onto", 4, "stone", -1, "STONE", 0},
      {"released", -1, nullptr, 0, "stone", 4},
      {"name cut to 23 characters", 3, "abcdefghijklmnopqrstuvwxyz", -1, "abcdefghijklmnopqrstuvw", 3},
      {"the whole name must match", -1, nullptr, -1, "abcdefghijklmnopqrstuvwxyz", -1},
      {"last of a name released", -1, nullptr, 1, "bark", -1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.renamed >= 0) SetTextureName(t[s.renamed], s.newName);
    if (s.released >= 0) ReleaseTexture(t[s.released]);
    TEXTUREDESC* found = FindTexture(s.lookedUp);
    EXPECT_EQ(found ? found->slot : -1, s.found);
  }
  // A slot taken again by a texture with the name of one released before.
  TEXTUREDESC* again = Solid(2, kRed565);
  ASSERT_EQ(again->slot, 0);
  SetTextureName(again, "stone");
  EXPECT_EQ(FindTexture("stone"), again);
}

TEST_F(TextureTest, AFullTableIsFatalForRawPixels) {
  for (int i = 0; i < kTextureTableSize - 1; ++i) g_textureTable[i] = new TEXTUREDESC;
  g_textureCount = kTextureTableSize - 1;
  TEXTUREDESC* last = Solid(2, kRed565);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->slot, kTextureTableSize - 1);
  EXPECT_EQ(g_textureCount, kTextureTableSize);
  EXPECT_EQ(Solid(2, kRed565), nullptr);
  EXPECT_TRUE(boxes_.Contains("Fatal message", "No more texture available."));
  EXPECT_EQ(g_engineOpen, 0);
}

TEST_F(TextureTest, PackingPerTextureFormat) {
  struct Case {
    int code;
    uint32_t packed;
  } cases[] = {{1, 0xF81Fu}, {5, 0xFF0Fu}, {6, 0xFF00FFu}, {7, 0xFF00FFu}, {0, 0xFFFFFFFFu}};
  // Codes 1 to 6 place the channels at the screen layout's positions; the
  // set-up knows the 4-4-4-4 screen by its blue mask 0x0F00.
  const plat::PixelFormat argb4444{16, 0, 0, 0x0F00, 0, false};
  const plat::PixelFormat rgb888{24, 0xFF0000, 0x00FF00, 0x0000FF, 0, false};
  int saved = g_textureFormat;
  for (const Case& c : cases) {
    g_textureFormat = c.code;
    SetScreenPixelFormat(c.code == 5 ? argb4444 : c.code == 6 ? rgb888 : plat::Rgb565Format());
    EXPECT_EQ(PackTexturePixel(255, 0, 255), c.packed) << c.code;
  }
  g_textureFormat = saved;
  SetScreenPixelFormat(plat::Rgb565Format());
}

TEST_F(TextureTest, PalettisedTexturesOnOtherFormats) {
  uint8_t palette[256 * 3] = {};
  palette[3] = 255;      // entry 1 red
  palette[6 + 2] = 255;  // entry 2 blue
  const uint8_t pixels[4] = {1, 2, 2, 1};
  TEXTUREDESC* t = CreateTexture8(pixels, palette, 2, 2, 0, 0, 0, 0, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->paletteSize, 256);
  EXPECT_EQ(PixelOf(*t->surface->Top(), 0, 0), kRed565);
  EXPECT_EQ(PixelOf(*t->surface->Top(), 1, 0), kBlue565);
  EXPECT_EQ(PixelOf(*t->cardSurface->Top(), 1, 1), kRed565);
}

TEST_F(TextureTest, SoftwareTexturesKeepTheGivenKeyWhenNoColourMatches) {
  CloseEngine(0);
  SetRenderMode(0);
  ASSERT_EQ(Open(), 1);
  uint8_t palette[256 * 3] = {};
  for (int i = 0; i < 256; ++i) palette[i * 3] = static_cast<uint8_t>(i);  // reds only
  const uint8_t pixels[8 * 4] = {};
  TEXTUREDESC* t = CreateSoftTexture(pixels, palette, 8, 4, 1, 77, 0, 255, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->keyIndex, 77);
  EXPECT_EQ(t->uShift, 13);
  EXPECT_EQ(t->vShift, 30);
  EXPECT_EQ(t->widthLog2, 3);
  EXPECT_EQ(t->shadeTable[255 * 16 + 15], kRed565);
  EXPECT_EQ(t->shadeTable[255 * 16 + 0], 0);
  TEXTUREDESC* keyed = CreateSoftTexture(pixels, palette, 8, 4, 1, 77, 255, 0, 0);
  ASSERT_NE(keyed, nullptr);
  EXPECT_EQ(keyed->keyIndex, 248);  // the first red that packs like 255
}

// With card memory for N textures, making one more evicts a stale texture of
// at least its size and leaves the one drawn every frame.
TEST_F(TextureTest, CardMemoryEvictsStaleTexturesNotBusyOnes) {
  constexpr int kSide = 32;
  constexpr int kN = 3;
  plat::GetDisplayEnvironment().textureMemory = kN * kSide * kSide * 2;
  SetViewportRect(0, 0, 0, 64, 64);
  std::vector<HOBJECT> materials;
  for (int i = 0; i < kN; ++i) {
    std::vector<uint16_t> pixels(kSide * kSide, kRed565);
    materials.push_back(CreateMaterialFromPixels(kWhite, kWhite, kWhite, kWhite, 0, 16, pixels.data(), nullptr, kSide,
                                                 kSide, 0, 0, 0, 0, 0));
  }
  std::vector<TEXTUREDESC*> textures;
  for (HOBJECT m : materials) textures.push_back(LookupMaterial(m)->firstFrame);
  for (TEXTUREDESC* t : textures) ASSERT_NE(t->cardSurface, nullptr);
  EXPECT_EQ(plat::TextureMemoryInUse(), static_cast<uint32_t>(kN * kSide * kSide * 2));
  EXPECT_EQ(g_gameWorld->displayDevice->FreeTextureMemory(), 0u);
  // The last texture is drawn in every frame.
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, materials[kN - 1]);
  BuildMesh(0, {Vertex(-5, -5, -10), Vertex(5, -5, -10), Vertex(0, 5, -10)}, words, 1);
  for (int frame = 0; frame < 260; ++frame) Render();
  EXPECT_LE(textures[kN - 1]->age, 1);
  EXPECT_EQ(textures[0]->age, 256);

  TEXTUREDESC* extra = Solid(kSide, kGreen565);
  ASSERT_NE(extra, nullptr);
  ASSERT_NE(extra->cardSurface, nullptr);
  EXPECT_EQ(textures[0]->cardSurface, nullptr);
  EXPECT_NE(textures[1]->cardSurface, nullptr);
  EXPECT_NE(textures[kN - 1]->cardSurface, nullptr);
  // Drawn again, the evicted texture comes back by evicting another stale one.
  textures[1]->age = 255;
  extra->age = 0;
  g_currentMaterial.index = static_cast<int>(GetHandleIndex(materials[0]));
  ApplyMaterial(*g_gameWorld->device, 0);
  EXPECT_NE(textures[0]->cardSurface, nullptr);
  EXPECT_EQ(textures[1]->cardSurface, nullptr);
  EXPECT_EQ(textures[0]->age, 0);
}

TEST_F(TextureTest, FullCardWithoutStaleTexturesEvictsIdleOnesByArea) {
  plat::GetDisplayEnvironment().textureMemory = 4 * 16 * 16 * 2;
  std::vector<TEXTUREDESC*> small;
  for (int i = 0; i < 4; ++i) small.push_back(Solid(16, kRed565));
  small[0]->age = 128;
  small[1]->age = 200;
  small[2]->age = 127;
  small[3]->age = 130;
  // 32 x 32 needs the area of four: the three idle ones are all evicted, and
  // the creation still fails for want of the fourth.
  EXPECT_EQ(Solid(32, kGreen565), nullptr);
  EXPECT_EQ(small[0]->cardSurface, nullptr);
  EXPECT_EQ(small[1]->cardSurface, nullptr);
  EXPECT_NE(small[2]->cardSurface, nullptr);
  EXPECT_EQ(small[3]->cardSurface, nullptr);
}

TEST_F(TextureTest, RestoredSurfacesBringEveryTextureBack) {
  TEXTUREDESC* t = Solid(4, kGreen565);
  ASSERT_NE(t, nullptr);
  plat::LoseAllSurfaces();
  EXPECT_TRUE(t->cardSurface->IsLost());
  EXPECT_FALSE(t->surface->IsLost());
  RestoreSurfaces();
  ASSERT_NE(t->cardSurface, nullptr);
  EXPECT_FALSE(t->cardSurface->IsLost());
  EXPECT_EQ(PixelOf(*t->cardSurface->Top(), 3, 3), kGreen565);
  EXPECT_FALSE(g_gameWorld->backBuffer->IsLost());
}

}  // namespace
}  // namespace rendertest
