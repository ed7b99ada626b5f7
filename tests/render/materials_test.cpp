// Materials: frames, copies, colours, slots, and their use by meshes.
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/material_device.h"
#include "engine/core/materials.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_table.h"
#include "tests/render/render_fixture.h"

namespace rendertest {
namespace {

const float kGrey[] = {0.5f, 0.5f, 0.5f};
const float kWhite[] = {1, 1, 1};

class MaterialTest : public RenderTest {
 protected:
  // A 2 x 2 texture named name, held by the test.
  TEXTUREDESC* NamedTexture(const char* name) {
    const uint16_t pixels[4] = {kRed565, kGreen565, kBlue565, kWhite565};
    TEXTUREDESC* t = CreateTexture16(pixels, 2, 2, 0, 0, 0, 0, 0);
    EXPECT_NE(t, nullptr);
    if (t) SetTextureName(t, name);
    return t;
  }
  HOBJECT Plain() { return CreateMaterial(kGrey, kWhite, kGrey, kGrey, 10, nullptr, 0, 0, 0, 0, 0); }
  HOBJECT Animated(int frames) { return CreateMaterial(kGrey, kWhite, kGrey, kGrey, 10, "anim", frames, 0, 0, 0, 0); }
  testsupport::ScopedWorkDir dir_;
};

TEST_F(MaterialTest, FramesLoadUpToTheFirstMissingOne) {
  TEXTUREDESC* f0 = NamedTexture("anim00");
  TEXTUREDESC* f1 = NamedTexture("anim01");
  MATERIALDESC* m = LookupMaterial(Animated(3));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->frameCount, 2);
  EXPECT_STREQ(m->textureName, "anim");
  EXPECT_EQ(m->firstFrame, f0);
  EXPECT_EQ(m->currentFrame, f0);
  EXPECT_EQ(f0->next, f1);
  EXPECT_EQ(f0->refCount, 2);

  MATERIALDESC* missing = LookupMaterial(CreateMaterial(kGrey, kWhite, kGrey, kGrey, 10, "nothing", 0, 0, 0, 0, 0));
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(missing->frameCount, 0);
  EXPECT_EQ(missing->currentFrame, nullptr);
  MATERIALDESC* plain = LookupMaterial(Plain());
  ASSERT_NE(plain, nullptr);
  EXPECT_STREQ(plain->textureName, "NULL");
  EXPECT_EQ(plain->frameCount, 0);
}

TEST_F(MaterialTest, AdvancingFrames) {
  TEXTUREDESC* a = NamedTexture("anim00");
  TEXTUREDESC* b = NamedTexture("anim01");
  TEXTUREDESC* c = NamedTexture("anim02");
  HOBJECT m = Animated(3);
  struct Case {
    TEXTUREDESC* from;
    int count, mode;
    TEXTUREDESC* to;
    int answer;
  } cases[] = {
      {c, 2, 1, a, 1},        // wraps to the first frame, the step left over is dropped
      {c, 1, 0, nullptr, 0},  // stops past the end
      {a, 1, 0, b, 1},
      {a, 5, 1, a, 1},
      {b, 0, 0, a, 1},  // count 0 returns to the first frame
      {b, 1, 7, b, 1},  // another mode moves nothing
      {nullptr, 1, 0, nullptr, 0},
      {nullptr, 1, 1, a, 1},
  };
  for (const Case& k : cases) {
    LookupMaterial(m)->currentFrame = k.from;
    EXPECT_EQ(AdvanceMaterialFrame(m, k.count, k.mode), k.answer) << k.count << " " << k.mode;
    EXPECT_EQ(LookupMaterial(m)->currentFrame, k.to) << k.count << " " << k.mode;
  }
  EXPECT_EQ(AdvanceMaterialFrame(0, 1, 1), 0);
}

TEST_F(MaterialTest, CopyShowsTheFirstFrameAndSharesTheFrames) {
  TEXTUREDESC* a = NamedTexture("anim00");
  TEXTUREDESC* b = NamedTexture("anim01");
  HOBJECT source = Animated(2);
  AdvanceMaterialFrame(source, 1, 0);
  ASSERT_EQ(LookupMaterial(source)->currentFrame, b);
  HOBJECT copy = CopyMaterial(source);
  MATERIALDESC* m = LookupMaterial(copy);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->currentFrame, a);
  EXPECT_EQ(m->frameCount, 2);
  EXPECT_STREQ(m->textureName, "anim");
  EXPECT_EQ(a->refCount, 3);
  EXPECT_EQ(b->refCount, 3);
  // The copy keeps its frames when the source goes.
  DestroyMaterial(source);
  EXPECT_EQ(a->refCount, 2);
  EXPECT_EQ(m->firstFrame, a);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(CopyMaterial(MakeHandle(OBJTYPE_MATERIAL, 999)), static_cast<HOBJECT>(-1));
}

TEST_F(MaterialTest, FreedSlotsAreReusedLowestFirst) {
  HOBJECT first = Plain();
  HOBJECT second = Plain();
  EXPECT_EQ(first, 0x03000000u);
  EXPECT_EQ(second, 0x03000001u);
  DestroyMaterial(first);
  EXPECT_EQ(LookupMaterial(first), nullptr);
  EXPECT_EQ(Plain(), 0x03000000u);
  DestroyMaterial(static_cast<HOBJECT>(-1));
  EXPECT_NE(LookupMaterial(second), nullptr);
}

TEST_F(MaterialTest, ColoursAndTheDeviceMaterial) {
  HOBJECT m = Plain();
  const float red[] = {1, 0, 0};
  SetMaterialColors(m, nullptr, red, nullptr, nullptr);
  float ambient[3], diffuse[3];
  char name[kMaterialNameSize];
  GetMaterialColors(m, ambient, diffuse, nullptr, nullptr, name);
  EXPECT_FLOAT_EQ(ambient[0], 0.5f);
  EXPECT_FLOAT_EQ(diffuse[0], 1);
  EXPECT_FLOAT_EQ(diffuse[1], 0);
  EXPECT_STREQ(name, "NULL");
  const DEVICEMATERIALDESC* d = LookupMaterial(m)->deviceMaterial.get();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->packedDiffuse, 0xFFFF0000u);
  EXPECT_FLOAT_EQ(d->material->Get().diffuse[0], 1);
  EXPECT_FLOAT_EQ(d->material->Get().diffuse[1], 0);
}

TEST_F(MaterialTest, MaterialFromPixelsTakesTheDepthsOfThePath) {
  const uint8_t pixels[4 * 3] = {};
  uint8_t palette[256 * 3] = {};
  struct Case {
    int bits;
    bool made;
  } cases[] = {{8, true}, {16, true}, {24, true}, {32, false}, {4, false}};
  for (const Case& c : cases) {
    HOBJECT h = CreateMaterialFromPixels(kGrey, kWhite, kGrey, kGrey, 1, c.bits, pixels, palette, 2, 2, 0, 0, 0, 0, 0);
    EXPECT_EQ(h != 0, c.made) << c.bits;
    if (!h) continue;
    MATERIALDESC* m = LookupMaterial(h);
    EXPECT_STREQ(m->textureName, "RAW_NONAME");
    EXPECT_EQ(m->frameCount, 1);
    EXPECT_EQ(m->firstFrame->name[0], '\0');
  }
}

TEST_F(MaterialTest, MeshMaterialsAllOfThem) {
  std::vector<MESHVERTEX> v{Vertex(0, 0, -10), Vertex(1, 0, -10), Vertex(0, 1, -10)};
  std::vector<MESHPRIM> words;
  std::vector<HOBJECT> made;
  for (int i = 0; i < 70; ++i) {
    made.push_back(Plain());
    AddTriangle(words, 0, 1, 2, made.back());
  }
  AddTriangle(words, 0, 1, 2, made[3]);
  HOBJECT mesh = BuildMesh(0, v, words, 71);
  std::vector<HOBJECT> list;
  int count = 0;
  GetNodeMaterials(mesh, &list, &count);
  EXPECT_EQ(count, 70);
  EXPECT_EQ(list, made);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 0), made[0]);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 71), 0u);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, -1), 0u);
  GetNodeMaterials(camera_, &list, &count);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(count, 0);
}

TEST_F(MaterialTest, ReplacingOnAMeshKeepsTheOldMaterialForItsOwner) {
  HOBJECT a = Plain(), b = Plain(), c = Plain();
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, a);
  AddTriangle(words, 0, 1, 2, b);
  HOBJECT mesh = BuildMesh(0, {Vertex(0, 0, -10), Vertex(1, 0, -10), Vertex(0, 1, -10)}, words, 2);
  ReplaceNodeMaterial(mesh, a, c);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 0), c);
  EXPECT_NE(LookupMaterial(a), nullptr);  // whoever replaced it can put it back
  EXPECT_EQ(LookupMaterial(a)->refCount, 0);
  ReplaceNodeMaterial(mesh, static_cast<HOBJECT>(-2), a);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 0), a);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 1), a);
  EXPECT_EQ(LookupMaterial(a)->refCount, 1);
  DestroyNode(mesh);
  EXPECT_EQ(LookupMaterial(a), nullptr);  // the mesh was its last holder
  EXPECT_NE(LookupMaterial(b), nullptr);
  EXPECT_NE(LookupMaterial(c), nullptr);
}

// A material destroyed by hand is forgotten by the meshes that held it, so
// their later release cannot reach the material that takes its slot.
TEST_F(MaterialTest, DestroyingAHeldMaterialDoesNotReachItsSuccessor) {
  HOBJECT a = Plain();
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, a);
  HOBJECT mesh = BuildMesh(0, {Vertex(0, 0, -10), Vertex(1, 0, -10), Vertex(0, 1, -10)}, words, 1);
  DestroyMaterial(a);
  HOBJECT successor = Plain();
  ASSERT_EQ(successor, a);
  DestroyNode(mesh);
  EXPECT_NE(LookupMaterial(successor), nullptr);
}

TEST_F(MaterialTest, BillboardMaterialIsReplacedAndDestroyed) {
  BeginNode(NODE_BILLBOARD);
  HOBJECT board = EndNode(0);
  HOBJECT old = Plain(), replacement = Plain();
  static_cast<BILLBOARDDESC*>(LookupNode(board)->kindData)->materialIndex = static_cast<int>(GetHandleIndex(old));
  ReplaceNodeMaterial(board, 0, replacement);
  EXPECT_EQ(LookupMaterial(old), nullptr);
  EXPECT_EQ(static_cast<BILLBOARDDESC*>(LookupNode(board)->kindData)->materialIndex,
            static_cast<int>(GetHandleIndex(replacement)));
  ReplaceNodeMaterial(board, 0, 0);
  EXPECT_EQ(static_cast<BILLBOARDDESC*>(LookupNode(board)->kindData)->materialIndex, -1);
}

TEST_F(MaterialTest, SoftwarePathBuildsTheShadingRamp) {
  CloseEngine(0);
  SetRenderMode(0);
  ASSERT_EQ(Open(), 1);
  const float red[] = {1, 0, 0};
  MATERIALDESC* m = LookupMaterial(CreateMaterial(kGrey, red, kGrey, kGrey, 1, nullptr, 0, 0, 0, 0, 0));
  ASSERT_NE(m, nullptr);
  ASSERT_NE(m->softMaterial, nullptr);
  EXPECT_EQ(m->deviceMaterial, nullptr);
  EXPECT_EQ(m->softMaterial->ramp[255], kRed565);
  EXPECT_EQ(m->softMaterial->ramp[0], 0);
  EXPECT_FLOAT_EQ(m->softMaterial->diffuseMax, 1);
  EXPECT_FLOAT_EQ(m->softMaterial->ambientMax, 0.5f);
  uint8_t pixels[4] = {};
  uint8_t palette[256 * 3] = {};
  EXPECT_EQ(CreateMaterialFromPixels(kGrey, red, kGrey, kGrey, 1, 16, pixels, palette, 2, 2, 0, 0, 0, 0, 0), 0u);
  EXPECT_NE(CreateMaterialFromPixels(kGrey, red, kGrey, kGrey, 1, 8, pixels, palette, 2, 2, 0, 0, 0, 0, 0), 0u);
}

}  // namespace
}  // namespace rendertest
