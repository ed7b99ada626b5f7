// The software rasteriser's frame: colours, stipple, keys, clipping, faces,
// line doubling and the spans' edges.
#include "engine/core/engine_queries.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/picking.h"
#include "engine/core/soft/soft_render.h"
#include "engine/media/texture_table.h"
#include "tests/softraster/softraster_fixture.h"

namespace softrastertest {
namespace {

TEST_F(SoftRasterTest, UnlitUntexturedTriangleTakesTheMaterialColour) {
  HOBJECT red = Material(1, 0, 0);
  CentreTriangle(-10, red);
  Render();
  EXPECT_EQ(Pixel(320, 240), kRed);
  EXPECT_EQ(Pixel(0, 0), kBackground);
  int triangles = 0, primitives = 0, vertices = 0;
  GetFrameStatistics(&triangles, &primitives, &vertices);
  EXPECT_EQ(std::vector<int>({triangles, primitives, vertices}), std::vector<int>({1, 1, 3}));
}

TEST_F(SoftRasterTest, LitTriangleFollowsTheLight) {
  HOBJECT white = Material(1, 1, 1);
  HOBJECT node = CentreTriangle(-10, white);
  SetNodeRenderState(node, NRS_LIGHTING, 1);
  Render();  // only the ambient level: 0.3 grey ambient x 1.0 material
  uint16_t dim = Pixel(320, 240);
  EXPECT_NE(dim, kBackground);
  EXPECT_LT(dim & 0x1F, 0x1F);
  BeginNode(NODE_LIGHT);
  static_cast<LIGHTDESC*>(LookupNode(0)->kindData)->type = LIGHT_DIRECTIONAL;
  static_cast<LIGHTDESC*>(LookupNode(0)->kindData)->intensity = 1.0f;
  EndNode(0);  // shines down its -Z, onto the triangle's front
  Render();
  EXPECT_EQ(Pixel(320, 240), 0xFFFF);
}

TEST_F(SoftRasterTest, TransparencyWritesTheOddCheckerboard) {
  HOBJECT node = CentreTriangle(-10, Material(1, 0, 0));
  SetNodeAlpha(node, 0.5f);
  Render();
  int checked = 0;
  for (int y = 230; y < 250; ++y)
    for (int x = 310; x < 330; ++x) {
      EXPECT_EQ(Pixel(x, y), (x + y) % 2 ? kRed : kBackground) << x << "," << y;
      ++checked;
    }
  EXPECT_EQ(checked, 400);
}

TEST_F(SoftRasterTest, KeyedTexelsLeavePixelAndDepthAlone) {
  HOBJECT keyed = TextureMaterial(4, 4, 0, 1);
  HOBJECT green = TextureMaterial(4, 4, 1, 1);
  ASSERT_EQ(LookupMaterial(keyed)->currentFrame->keyIndex, 0);
  HOBJECT node = CentreTriangle(-10, keyed);
  Render();
  EXPECT_EQ(Pixel(320, 240), kBackground);
  const std::vector<uint16_t>& depth = g_gameWorld->defaultViewport->depthBuffer;
  EXPECT_EQ(depth[240 * 640 + 320], 65535);
  DestroyNode(node);
  CentreTriangle(-10, green);
  Render();
  EXPECT_EQ(Pixel(320, 240), kGreen);
  EXPECT_LT(depth[240 * 640 + 320], 65535);
}

TEST_F(SoftRasterTest, DepthKeepsTheNearerTriangle) {
  for (bool nearFirst : {true, false}) {
    HOBJECT a = CentreTriangle(nearFirst ? -10 : -20, Material(nearFirst ? 1 : 0, nearFirst ? 0 : 1, 0));
    HOBJECT b = CentreTriangle(nearFirst ? -20 : -10, Material(nearFirst ? 0 : 1, nearFirst ? 1 : 0, 0), 2);
    Render();
    EXPECT_EQ(Pixel(320, 240), kRed) << nearFirst;
    DestroyNode(a);
    DestroyNode(b);
  }
}

TEST_F(SoftRasterTest, PerspectiveTexturingAndItsNoDepthTwin) {
  HOBJECT red = TextureMaterial(8, 8, 2, 0);
  HOBJECT node = CentreTriangle(-10, red);
  SetNodeRenderState(node, NRS_PERSPECTIVE, 1);
  Render();
  EXPECT_EQ(Pixel(320, 240), kRed);
  SetNodeRenderState(node, NRS_Z_TEST, 0);
  g_gameWorld->backBuffer->Fill(nullptr, 0);
  Render();  // a perspective node without depth still draws
  EXPECT_EQ(Pixel(320, 240), kRed);
}

TEST_F(SoftRasterTest, TexturesThatAreNoPowerOfTwoDrawUntextured) {
  HOBJECT odd = TextureMaterial(3, 5, 2, 0);
  ASSERT_NE(LookupMaterial(odd)->currentFrame, nullptr);
  CentreTriangle(-10, odd);
  Render();
  EXPECT_EQ(Pixel(320, 240), 0xFFFF);  // the white material's ramp, no texels
}

TEST_F(SoftRasterTest, BehindTheCameraAndClipping) {
  HOBJECT red = Material(1, 0, 0);
  HOBJECT behind = Triangle(Vertex(-1, -1, 10), Vertex(1, -1, 10), Vertex(0, 1, 10), red, 1);
  Render();
  EXPECT_EQ(CountPixels(kRed), 0);
  int triangles = -1;
  GetFrameStatistics(&triangles, nullptr, nullptr);
  EXPECT_EQ(triangles, 0);
  DestroyNode(behind);  // its material goes with it

  // A floor triangle with one vertex behind the camera: the near plane cuts it.
  Triangle(Vertex(-1, -0.4f, -10), Vertex(1, -0.4f, -10), Vertex(0, -0.4f, 10), Material(1, 0, 0), 1);
  Render();
  int drawn = CountPixels(kRed);
  EXPECT_GT(drawn, 1000);
  EXPECT_EQ(Pixel(320, 10), kBackground);  // nothing wraps into the upper half
  GetFrameStatistics(&triangles, nullptr, nullptr);
  EXPECT_GE(triangles, 1);
}

TEST_F(SoftRasterTest, BackFacesAndLineRuns) {
  HOBJECT red = Material(1, 0, 0);
  // Clockwise as seen from the camera: its back.
  HOBJECT back = Triangle(Vertex(-1, -1, -10), Vertex(0, 1, -10), Vertex(1, -1, -10), red);
  Render();
  EXPECT_EQ(Pixel(320, 240), kBackground);
  DestroyNode(back);  // its material goes with it
  red = Material(1, 0, 0);
  Triangle(Vertex(-1, -1, -10), Vertex(0, 1, -10), Vertex(1, -1, -10), red, 1);  // two-sided
  Render();
  EXPECT_EQ(Pixel(320, 240), kRed);

  BeginNode(NODE_MESH);
  const float line[] = {-1, 0, -10, 1, 0, -10};
  AddMeshLine(0, line, nullptr, red);
  EndNode(0);
  Render();  // runs are not drawn on this path, only counted
  int primitives = 0;
  GetFrameStatistics(nullptr, &primitives, nullptr);
  EXPECT_EQ(primitives, 2);
}

TEST_F(SoftRasterTest, SpansReachTheLastColumnAndStayInTheirViewport) {
  HOBJECT red = Material(1, 0, 0);
  HOBJECT big = Triangle(Vertex(-60, -60, -10), Vertex(60, -60, -10), Vertex(0, 80, -10), red, 1);
  SetNodeCulling(big, 0);
  Render();
  EXPECT_EQ(Pixel(639, 240), kRed);
  EXPECT_EQ(Pixel(0, 240), kRed);

  // A viewport hanging off the left edge.
  g_gameWorld->backBuffer->Fill(nullptr, kBackground);
  SetViewportRect(0, -100, 100, 300, 200);
  RenderViewport(0, 0, 1);
  EXPECT_EQ(Pixel(0, 200), kRed);
  EXPECT_EQ(Pixel(199, 200), kRed);
  EXPECT_EQ(Pixel(200, 200), kBackground);
  EXPECT_EQ(Pixel(639, 199), kBackground);  // no span ran back into the row above
  EXPECT_EQ(Pixel(639, 200), kBackground);
  EXPECT_EQ(Pixel(100, 99), kBackground);
  EXPECT_EQ(Pixel(100, 300), kBackground);
}

TEST_F(SoftRasterTest, LineDoublingWritesEverySecondRow) {
  SetLineDoubling(1, 0);
  SetLineDoubling(1, 0);  // the state already in force changes nothing
  VIEWPORTDESC* v = g_gameWorld->defaultViewport;
  EXPECT_EQ(v->height, 240);
  EXPECT_EQ(v->y, 0);
  CentreTriangle(-10, Material(1, 0, 0));
  Render();
  EXPECT_EQ(Pixel(0, 0), kBackground);  // the clear covers the whole height
  EXPECT_EQ(Pixel(0, 479), kBackground);
  g_gameWorld->backBuffer->Fill(nullptr, 0x1234);
  RenderViewport(0, 0, 1);
  int even = 0;
  for (int y = 200; y < 280; ++y) {
    uint16_t p = Pixel(320, y);
    if (y % 2) {
      EXPECT_EQ(p, 0x1234) << y;
    } else {
      even += p == kRed;
    }
  }
  EXPECT_EQ(even, 40);
  VECTOR3 centre{0, 0, -10}, out{};
  ASSERT_EQ(ProjectToScreen(0, &centre, &out, 2, 0), 1);
  EXPECT_NEAR(out.y, 240, 1);
  SetLineDoubling(0, 0);
  EXPECT_EQ(v->height, 480);
}

TEST_F(SoftRasterTest, FramesThatDrawNothing) {
  CentreTriangle(-10, Material(1, 0, 0));
  g_gameWorld->backBuffer->Fill(nullptr, 0x1234);
  SetViewportRect(0, 640, 0, 100, 100);  // starts at the screen's width
  RenderViewport(0, 1, 1);
  EXPECT_EQ(CountPixels(0x1234), 640 * 480);  // not even cleared

  SetViewportRect(0, 0, 0, 640, 480);
  NODEDESC* camera = LookupNode(camera_);
  void* data = camera->kindData;
  camera->kindData = nullptr;  // a camera node without its data
  RenderViewport(0, 1, 1);
  camera->kindData = data;
  EXPECT_EQ(CountPixels(0x1234), 640 * 480);
  SetViewportCamera(0, 0);
  RenderViewport(0, 1, 1);  // no camera: cleared only
  EXPECT_EQ(Pixel(320, 240), kBackground);
}

TEST_F(SoftRasterTest, BoxTest) {
  HOBJECT node = CentreTriangle(-10, 0);
  NODEDESC* n = LookupNode(node);
  ASSERT_NE(n->bounds, nullptr);
  MATRIX44 projection = static_cast<CAMERADESC*>(LookupNode(camera_)->kindData)->projectionMatrix;
  struct Case {
    float z, x;
    int expected;
  } cases[] = {{-10, 0, 2}, {-10, 400, 0}, {-10, 4.4f, 1}, {10, 0, 0}};
  for (const Case& c : cases) {
    MATRIX44 modelView{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, c.x, 0, c.z, 1}}, clip;
    MultiplyMatrix44(&clip, &modelView, &projection);
    EXPECT_EQ(CullNodeBox(n, &clip), c.expected) << c.x << "," << c.z;
  }
}

TEST_F(SoftRasterTest, UnlistedScreenModeFailsTheSetUp) {
  CloseEngine(1);
  SetQuitFlag(0);
  SetRenderMode(0);
  plat::GetDisplayEnvironment().modes = {{800, 600, 16}, {640, 480, 8}};
  EXPECT_EQ(Open(), 0);
  EXPECT_TRUE(boxes_.Contains("Error message", "Fail to set display mode"));
}

}  // namespace
}  // namespace softrastertest
