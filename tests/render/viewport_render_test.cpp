// The Direct3D frame of a viewport: clears, order, blending, fog, faces,
// level of detail and what the emitters send.
#include <vector>

#include "engine/core/billboards.h"
#include "engine/core/fog.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/node_transforms.h"
#include "engine/core/render_to_texture.h"
#include "engine/core/world.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_table.h"
#include "tests/render/render_fixture.h"

namespace rendertest {
namespace {

using ViewportRenderTest = RenderTest;

TEST_F(ViewportRenderTest, PrelitTriangleOverClearedViewport) {
  SetBackground(0, 0, 1);
  ColorTriangle(-10, 1, 0, 0);
  Render();
  EXPECT_EQ(Pixel(320, 240), kRed565);
  EXPECT_EQ(Pixel(0, 0), kBlue565);
}

TEST_F(ViewportRenderTest, WithoutCameraOnlyClears) {
  ColorTriangle(-10, 1, 0, 0);
  SetViewportCamera(0, 0);
  SetViewportClearColor(g_gameWorld->defaultViewport, 0, 1, 0);
  g_gameWorld->backBuffer->Fill(nullptr, 0x1234);
  RenderViewport(0, 0, 1);  // depth only: the picture stays
  EXPECT_EQ(Pixel(320, 240), 0x1234);
  RenderViewport(0, 1, 0);
  EXPECT_EQ(Pixel(320, 240), kGreen565);
}

// Two triangles that pierce each other: whichever comes first, the depth
// buffer gives the same picture.
TEST_F(ViewportRenderTest, OverlappingTrianglesGiveTheSameImageInEitherOrder) {
  auto build = [](bool redFirst) {
    std::vector<MESHVERTEX> v = {Vertex(-6, -4, -12, 1, 0, 0), Vertex(6, -4, -8, 1, 0, 0),  Vertex(0, 5, -10, 1, 0, 0),
                                 Vertex(-6, -4, -8, 0, 1, 0),  Vertex(6, -4, -12, 0, 1, 0), Vertex(0, 5, -10, 0, 1, 0)};
    std::vector<MESHPRIM> words;
    AddTriangle(words, redFirst ? 0 : 3, redFirst ? 1 : 4, redFirst ? 2 : 5);
    AddTriangle(words, redFirst ? 3 : 0, redFirst ? 4 : 1, redFirst ? 5 : 2);
    return BuildMesh(MESH_PRELIT, v, words, 2);
  };
  auto capture = [&](bool redFirst) {
    HOBJECT mesh = build(redFirst);
    Render();
    std::vector<uint16_t> image;
    for (int y = 150; y < 330; y += 3)
      for (int x = 200; x < 440; x += 3) image.push_back(Pixel(x, y));
    DestroyNode(mesh);
    return image;
  };
  std::vector<uint16_t> a = capture(true), b = capture(false);
  EXPECT_EQ(a, b);
  int red = 0, green = 0;
  for (uint16_t p : a) red += p == kRed565, green += p == kGreen565;
  EXPECT_GT(red, 100);
  EXPECT_GT(green, 100);
}

TEST_F(ViewportRenderTest, HalfAlphaRedBlendsOverBlue) {
  SetBackground(0, 0, 1);
  HOBJECT red = ColorTriangle(-10, 1, 0, 0);
  SetNodeAlpha(red, 0.5f);
  Render();
  // Alpha byte 127: red 255 x 127 / 256 = 126, blue 255 x 129 / 256 = 128.
  EXPECT_EQ(Pixel(320, 240), (126 >> 3) << 11 | (128 >> 3));
  EXPECT_EQ(g_gameWorld->device->GetRenderState(plat::RenderState::AlphaBlendEnable), 0u);
}

TEST_F(ViewportRenderTest, TranslucentNodesFollowOpaqueOnesFartherFirst) {
  SetBackground(0, 0, 0);
  HOBJECT glassNear = ColorTriangle(-10, 0, 1, 0);
  HOBJECT glassFar = ColorTriangle(-30, 0, 1, 0, 15);
  HOBJECT wallFar = ColorTriangle(-40, 1, 0, 0, 20);
  HOBJECT wallNear = ColorTriangle(-20, 0, 0, 1, 1, 6, 0);
  SetNodeAlpha(glassNear, 0.5f);
  SetNodeAlpha(glassFar, 0.5f);
  Render();
  std::vector<HOBJECT> order;
  for (NODEDESC* n = g_gameWorld->renderList->head; n; n = n->renderNext) order.push_back(NodeHandle(n));
  EXPECT_EQ(order, (std::vector<HOBJECT>{wallNear, wallFar, glassFar, glassNear}));
  // The near glass is drawn after the far wall although it is nearer: the
  // wall shows through it, blended twice with green.
  uint16_t centre = Pixel(320, 240);
  EXPECT_NE(centre, kRed565);
  EXPECT_GT(centre >> 11, 0);
  EXPECT_GT((centre >> 5) & 63, 0);
}

TEST_F(ViewportRenderTest, LinearFogFollowsEachNodesFogState) {
  SetFogRange(50, 200);
  SetFogColor(0, 1, 0);
  EnableFog(1);
  ColorTriangle(-125, 1, 1, 1, 6, -15);
  HOBJECT middle = ColorTriangle(-125, 1, 1, 1, 6, 0);
  ColorTriangle(-125, 1, 1, 1, 6, 15);
  SetNodeRenderState(middle, NRS_FOG, 0);
  Render();
  auto halfWay = [](uint16_t p) {
    int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    return r >= 14 && r <= 16 && g == 63 && b >= 14 && b <= 16;
  };
  // View x = -15, 0, +15 at depth 125 lie 176 pixels apart.
  EXPECT_TRUE(halfWay(Pixel(144, 240))) << std::hex << Pixel(144, 240);
  EXPECT_EQ(Pixel(320, 240), kWhite565);
  EXPECT_TRUE(halfWay(Pixel(496, 240))) << std::hex << Pixel(496, 240);
  EXPECT_EQ(Pixel(0, 0), kGreen565);  // the clear colour is the fog colour
}

TEST_F(ViewportRenderTest, OneSidedTrianglesAreCulledFromBehind) {
  struct Case {
    bool facingCamera;
    int faceFlags;
    bool visible;
  } cases[] = {{true, 0, true}, {false, 0, false}, {false, 1, true}, {true, 1, true}};
  SetBackground(0, 0, 0);
  for (const Case& c : cases) {
    std::vector<MESHPRIM> words;
    if (c.facingCamera) AddTriangle(words, 0, 1, 2, 0, c.faceFlags);
    else AddTriangle(words, 0, 2, 1, 0, c.faceFlags);
    HOBJECT mesh = BuildMesh(
        MESH_PRELIT, {Vertex(-5, -5, -10, 1, 1, 1), Vertex(5, -5, -10, 1, 1, 1), Vertex(0, 5, -10, 1, 1, 1)}, words, 1);
    Render();
    EXPECT_EQ(Pixel(320, 240) == kWhite565, c.visible) << c.facingCamera << " " << c.faceFlags;
    DestroyNode(mesh);
  }
}

TEST_F(ViewportRenderTest, LevelOfDetailFollowsTheOwnersDistance) {
  HOBJECT owner = ColorTriangle(0, 1, 1, 1);
  HOBJECT far = ColorTriangle(0, 1, 0, 0);
  HOBJECT middle = ColorTriangle(0, 0, 1, 0);
  HOBJECT members[] = {far, middle};
  float distances[] = {100, 50};
  ASSERT_EQ(SetupLodGroup(owner, members, distances, 2), 1);
  struct Case {
    float distance;
    HOBJECT shown;
  } cases[] = {{150, far}, {75, middle}, {25, owner}, {101, far}};
  for (const Case& c : cases) {
    SetNodePosition(owner, 0, 0, -c.distance, TRANSFORM_SET);
    Render();
    for (HOBJECT node : {owner, far, middle})
      EXPECT_EQ(LookupNode(node)->visible, node == c.shown ? 1 : 0) << c.distance;
  }
}

TEST_F(ViewportRenderTest, LightsAreLentForOneFrame) {
  BeginNode(NODE_LIGHT);
  HOBJECT light = EndNode(0);
  ASSERT_NE(light, 0u);
  // A lit white triangle with a white material facing a light behind the camera.
  float white[] = {1, 1, 1}, black[] = {0, 0, 0};
  HOBJECT material = CreateMaterial(black, white, black, black, 0, nullptr, 0, 0, 0, 0, 0);
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, material);
  BuildMesh(0, {Vertex(-5, -5, -10), Vertex(5, -5, -10), Vertex(0, 5, -10)}, words, 1);
  SetNodePosition(light, 0, 0, 10, TRANSFORM_SET);
  SetAmbientLight(0, 0, 0);
  Render();
  EXPECT_EQ(g_gameWorld->deviceLightCount, 0);
  EXPECT_TRUE(g_gameWorld->defaultViewport->deviceViewport->Lights().empty());
  uint16_t lit = Pixel(320, 240);
  EXPECT_GT(lit >> 11, 20) << std::hex << lit;
  ShowNode(light, 0);
  Render();
  EXPECT_EQ(Pixel(320, 240), 0);
}

TEST_F(ViewportRenderTest, MaterialRunsAreDrawnOneBatchEach) {
  float white[] = {1, 1, 1};
  HOBJECT a = CreateMaterial(white, white, white, white, 0, nullptr, 0, 0, 0, 0, 0);
  HOBJECT b = CreateMaterial(white, white, white, white, 0, nullptr, 0, 0, 0, 0, 0);
  std::vector<MESHVERTEX> v;
  std::vector<MESHPRIM> words;
  for (int i = 0; i < 4; ++i) {
    float x = -8.0f + 4 * i;
    v.insert(v.end(), {Vertex(x, -2, -20), Vertex(x + 3, -2, -20), Vertex(x, 2, -20)});
    AddTriangle(words, 3 * i, 3 * i + 1, 3 * i + 2, i % 2 ? b : a);
  }
  BuildMesh(0, v, words, 4);
  int before = g_gameWorld->device->DrawCallCount();
  Render();
  // The primitives were regrouped by material when the node was committed.
  EXPECT_EQ(g_gameWorld->device->DrawCallCount() - before, 2);
  EXPECT_EQ(g_frameStatistics.primitivesSubmitted, 4);
}

TEST_F(ViewportRenderTest, TwoSidedTrianglesCountTheirSecondFace) {
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, 0, 1);
  AddTriangle(words, 0, 2, 1, 0, 0);
  BuildMesh(MESH_PRELIT, {Vertex(-5, -5, -10, 1, 1, 1), Vertex(5, -5, -10, 1, 1, 1), Vertex(0, 5, -10, 1, 1, 1)}, words,
            2);
  Render();
  EXPECT_EQ(g_frameStatistics.trianglesDrawn, 1);
  EXPECT_EQ(g_frameStatistics.primitivesSubmitted, 2);
  EXPECT_EQ(g_frameStatistics.verticesTransformed, 0);
}

// Vertex indices beyond 16 bits reach the device whole.
TEST_F(ViewportRenderTest, MeshesBeyond65535VerticesDraw) {
  constexpr int kCount = 70000;
  std::vector<MESHVERTEX> v(kCount, Vertex(0, 0, -50, 1, 1, 1));
  v[kCount - 3] = Vertex(-5, -5, -10, 0, 1, 0);
  v[kCount - 2] = Vertex(5, -5, -10, 0, 1, 0);
  v[kCount - 1] = Vertex(0, 5, -10, 0, 1, 0);
  std::vector<MESHPRIM> words;
  AddTriangle(words, kCount - 3, kCount - 2, kCount - 1);
  BuildMesh(MESH_PRELIT, v, words, 1);
  Render();
  EXPECT_EQ(Pixel(320, 240), kGreen565);
}

// A wireframe line run of many pairs needs more than six indices.
TEST_F(ViewportRenderTest, WireframeRunsOfManyPairsDraw) {
  std::vector<MESHVERTEX> v;
  std::vector<MESHPRIM> words{PRIM_LINES, 0, 40};
  for (int i = 0; i < 40; ++i) {
    float y = -1.5f + 0.075f * i;  // 11 pixels apart
    v.insert(v.end(), {Vertex(-5, y, -10, 1, 1, 1), Vertex(5, y, -10, 1, 1, 1)});
    words.insert(words.end(), {2 * i, 2 * i + 1});
  }
  HOBJECT mesh = BuildMesh(MESH_PRELIT, v, words, 1);
  SetNodeDrawMode(mesh, 2);
  SetBackground(0, 0, 0);
  Render();
  int lit = 0;
  for (int y = 0; y < 480; ++y) lit += Pixel(320, y) != 0;
  EXPECT_GE(lit, 40);
}

TEST_F(ViewportRenderTest, DrawLimitCapsThePrimitivesDrawn) {
  HOBJECT mesh = ColorTriangle(-10, 1, 1, 1);
  struct Case {
    int limit;
    int drawn;
  } cases[] = {{-5, 0}, {0, 0}, {1, 1}, {9, 1}};
  for (const Case& c : cases) {
    SetMeshDrawLimit(mesh, c.limit);
    Render();
    EXPECT_EQ(g_frameStatistics.primitivesSubmitted, c.drawn) << c.limit;
    EXPECT_EQ(Pixel(320, 240) == kWhite565, c.drawn == 1) << c.limit;
  }
}

// A billboard is drawn only strictly between the near and far planes, but
// counts its two triangles wherever it stands.
TEST_F(ViewportRenderTest, BillboardsBetweenTheClipPlanes) {
  SetBackground(0, 0, 0);
  HOBJECT board = CreateBillboardNode(0, nullptr, 0, 4, 4, 0, 0, 0, 0);
  ASSERT_NE(board, 0u);
  struct Case {
    float z;
    bool drawn;
  } cases[] = {{-10, true}, {-2, false}, {-5000, false}, {-4999, true}, {5, false}};
  for (const Case& c : cases) {
    SetNodePosition(board, 0, 0, c.z, TRANSFORM_SET);
    Render();
    EXPECT_EQ(g_frameStatistics.primitivesSubmitted, 2) << c.z;
    EXPECT_EQ(LookupNode(board)->drawn, c.drawn ? 1 : 0) << c.z;
  }
  SetNodePosition(board, 0, 0, -10, TRANSFORM_SET);
  Render();
  EXPECT_NE(Pixel(320, 240), 0);  // lit by the ambient light through the default material
  EXPECT_EQ(Pixel(0, 0), 0);
}

// The light map darkens the base texture by multiplication.
TEST_F(ViewportRenderTest, LightMappedQuadsMultiplyTheirBase) {
  const float white[] = {1, 1, 1}, black[] = {0, 0, 0};
  const uint16_t red[4] = {kRed565, kRed565, kRed565, kRed565};
  HOBJECT material = CreateMaterialFromPixels(white, black, black, black, 0, 16, red, nullptr, 2, 2, 0, 0, 0, 0, 0);
  const uint16_t grey[4] = {0x8410, 0x8410, 0x8410, 0x8410};
  TEXTUREDESC* lightMap = CreateTexture16(grey, 2, 2, 0, 0, 0, 0, 0);
  ASSERT_TRUE(material && lightMap);
  std::vector<MESHPRIM> words;
  AddTriangle(words, 0, 1, 2, material);
  HOBJECT mesh = BuildMesh(0, {Vertex(-5, -5, -10), Vertex(5, -5, -10), Vertex(0, 5, -10)}, words, 1);
  auto* set = new LIGHTMAPSETDESC;
  const float corners[4][2] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
  for (const auto& c : corners) set->quadVerticesA.push_back(Vertex(c[0], c[1], -10, 0, 0, 1, 0, 0));
  set->quadVerticesB = set->quadVerticesA;
  set->quadVertexCount = 4;
  set->quadCount = 1;
  set->quads = {static_cast<int32_t>(GetHandleIndex(material)), 0, 0, 0, 1, 2, 3};
  set->lightMapCount = 1;
  set->lightMaps = {lightMap};
  Mesh(mesh)->lightMaps = set;
  Render();
  uint16_t p = Pixel(320, 240);
  EXPECT_GE(p >> 11, 15) << std::hex << p;
  EXPECT_LE(p >> 11, 17) << std::hex << p;
  EXPECT_EQ(p & 0x07FF, 0) << std::hex << p;
  // The ambient light is the world's again.
  EXPECT_EQ(g_gameWorld->device->GetLightState(plat::LightState::Ambient), 0x004C4C4Cu);
}

}  // namespace
}  // namespace rendertest
