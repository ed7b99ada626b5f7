#include <cstring>

#include "engine/core/billboards.h"
#include "engine/core/cameras.h"
#include "engine/core/device_setup.h"
#include "engine/core/node_states.h"
#include "engine/core/picking.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "tests/engine/spatial_fixture.h"

namespace enginetest {
namespace {

constexpr HOBJECT kBadNode = 0x02FFFFFF;

// The default 640 x 480 viewport looks through a camera at the origin along -Z.
class PickingTest : public EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    camera_ = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
    SetViewportCamera(0, camera_);
  }

  static void ExpectNear(VECTOR3 v, VECTOR3 expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(v.x, expected.x, tolerance);
    EXPECT_NEAR(v.y, expected.y, tolerance);
    EXPECT_NEAR(v.z, expected.z, tolerance);
  }

  HOBJECT camera_ = 0;
};

TEST_F(PickingTest, PickNodeTakesTheLastBoxUnderThePoint) {
  const HOBJECT nearCube = MakeCube({0, 0, -50}, 5);
  const HOBJECT farCube = MakeCube({0, 0, -100}, 5);
  HOBJECT picked = 0;
  const HOBJECT nearFirst[] = {nearCube, farCube};
  EXPECT_EQ(PickNode(0, nearFirst, 2, 0, 320, 240, &picked), 1);
  EXPECT_EQ(picked, farCube);  // no depth order: the later candidate
  const HOBJECT farFirst[] = {farCube, nearCube};
  EXPECT_EQ(PickNode(0, farFirst, 2, 0, 320, 240, &picked), 1);
  EXPECT_EQ(picked, nearCube);

  // Without an array the render list is searched from its head.
  HOBJECT lastInList = 0;
  for (NODEDESC* n = g_gameWorld->renderList->head; n; n = n->renderNext)
    if (NodeHandle(n) == nearCube || NodeHandle(n) == farCube) lastInList = NodeHandle(n);
  EXPECT_EQ(PickNode(0, nullptr, 0, 0, 320, 240, &picked), 1);
  EXPECT_EQ(picked, lastInList);

  picked = 0;
  EXPECT_EQ(PickNode(0, nullptr, 0, 0, 5, 5, &picked), 0);  // the screen corner
  EXPECT_EQ(picked, 0u);
}

TEST_F(PickingTest, CandidatesAreVisibleMeshesUpToABadHandle) {
  const HOBJECT cube = MakeCube({0, 0, -50}, 5);
  const VECTOR3 size = {10, 10, 10};
  const HOBJECT dummy = CreateDummyNode(0, &size);
  SetNodePosition(dummy, 0, 0, -30, TRANSFORM_SET);
  HOBJECT picked = 0;
  struct Case {
    const char* name;
    std::vector<HOBJECT> candidates;
    int skipVisibility;
    bool hide;
    int result;
  } cases[] = {
      {"a dummy is no candidate", {dummy}, 0, false, 0},
      {"a bad handle ends the search", {kBadNode, cube}, 0, false, 0},
      {"after the hit a bad handle is harmless", {cube, kBadNode}, 0, false, 1},
      {"visible nodes are skipped with 1", {cube}, 1, false, 0},
      {"hidden nodes are skipped with 0", {cube}, 0, true, 0},
      {"only hidden nodes are found with 1", {cube}, 1, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShowNode(cube, c.hide ? 0 : 1);
    EXPECT_EQ(
        PickNode(0, c.candidates.data(), static_cast<int>(c.candidates.size()), c.skipVisibility, 320, 240, &picked),
        c.result);
    EXPECT_EQ(PickNodeTriangle(0, c.candidates.data(), static_cast<int>(c.candidates.size()), c.skipVisibility, 330,
                               245, nullptr, nullptr, nullptr, nullptr),
              c.result);
  }

  // A pre-transformed mesh is never picked.
  ShowNode(cube, 1);
  SetMeshFlags(cube, MESH_PRETRANSFORMED);
  EXPECT_EQ(PickNode(0, &cube, 1, 0, 320, 240, &picked), 0);
}

TEST_F(PickingTest, PickNodeTriangleAnswersTheNearestFrontFace) {
  const HOBJECT nearCube = MakeCube({0, 0, -50}, 5);
  const HOBJECT farCube = MakeCube({0, 0, -100}, 5);
  for (const auto& order : {std::vector<HOBJECT>{nearCube, farCube}, std::vector<HOBJECT>{farCube, nearCube}}) {
    HOBJECT node = 0;
    VECTOR3 point{}, normal{};
    int primitive = -1;
    ASSERT_EQ(PickNodeTriangle(0, order.data(), 2, 0, 330, 245, &node, &point, &primitive, &normal), 1);
    EXPECT_EQ(node, nearCube);
    EXPECT_EQ(primitive, 2);  // the +Z face's triangle on the x > y side
    EXPECT_NEAR(point.z, -45, 1e-3f);
    EXPECT_GT(point.x, 0);
    EXPECT_LT(point.y, 0);
    ExpectNear(normal, {0, 0, 1});
  }

  // From behind the cubes, turned round, the far cube's -Z face is nearest;
  // point and normal come back in world space.
  SetNodePosition(camera_, 0, 0, -150, TRANSFORM_SET);
  RotateNode(camera_, AXIS_POS_Y, 180, TRANSFORM_LOCAL);
  HOBJECT node = 0;
  VECTOR3 point{}, normal{};
  int primitive = -1;
  ASSERT_EQ(PickNodeTriangle(0, nullptr, 0, 0, 330, 245, &node, &point, &primitive, &normal), 1);
  EXPECT_EQ(node, farCube);
  EXPECT_EQ(primitive, 0);
  EXPECT_NEAR(point.z, -105, 1e-3f);
  EXPECT_LT(point.x, 0);
  ExpectNear(normal, {0, 0, -1});
}

TEST_F(PickingTest, BackFacesAndTrianglesBeforeTheNearPlaneAreIgnored) {
  // Wound clockwise as seen from the camera.
  const HOBJECT away = MakeMesh({{-5, -5, -50}, {5, -5, -50}, {5, 5, -50}, {-5, 5, -50}}, {{0, 2, 1}, {0, 3, 2}});
  HOBJECT node = 0;
  EXPECT_EQ(PickNode(0, &away, 1, 0, 330, 245, &node), 1);  // its box is there
  EXPECT_EQ(PickNodeTriangle(0, &away, 1, 0, 330, 245, &node, nullptr, nullptr, nullptr), 0);
  SetNodeRenderState(away, NRS_WINDING, 1);
  EXPECT_EQ(PickNodeTriangle(0, &away, 1, 0, 330, 245, &node, nullptr, nullptr, nullptr), 1);

  // Between the camera and the near plane (2).
  const HOBJECT close = MakeMesh({{-5, -5, -1}, {5, -5, -1}, {5, 5, -1}, {-5, 5, -1}}, {{0, 1, 2}, {0, 2, 3}});
  EXPECT_EQ(PickNodeTriangle(0, &close, 1, 0, 330, 245, &node, nullptr, nullptr, nullptr), 0);
}

TEST_F(PickingTest, ProjectToScreen) {
  struct Case {
    const char* name;
    VECTOR3 point;
    int mode;
    int result;
  } cases[] = {
      {"centre, pixels", {0, 0, -100}, 2, 1},
      {"centre, camera window", {0, 0, -100}, 1, 1},
      {"behind the camera, pixels", {0, 0, 100}, 2, 0},
      {"behind the camera, camera window", {0, 0, 100}, 1, 0},
      {"beyond the far plane, pixels: no depth check", {0, 0, -6000}, 2, 1},
      {"beyond the far plane, camera window", {0, 0, -6000}, 1, 0},
      {"off to the side", {1000, 0, -10}, 2, 0},
      {"unknown mode", {0, 0, -100}, 3, 0},
  };
  for (const Case& c : cases) {
    VECTOR3 out = {-1, -1, -7};
    EXPECT_EQ(ProjectToScreen(0, &c.point, &out, c.mode, 0), c.result) << c.name;
    EXPECT_EQ(out.z, -7.0f) << c.name;  // no depth asked
  }

  VECTOR3 out{};
  const VECTOR3 centre = {0, 0, -100};
  ASSERT_EQ(ProjectToScreen(0, &centre, &out, 2, 1), 1);
  EXPECT_NEAR(out.x, 320, 1e-3f);
  EXPECT_NEAR(out.y, 240, 1e-3f);
  EXPECT_GT(out.z, 0);
  EXPECT_LT(out.z, 1);
  ASSERT_EQ(ProjectToScreen(0, &centre, &out, 1, 0), 1);
  EXPECT_NEAR(out.x, 0, 1e-5f);
  EXPECT_NEAR(out.y, 0, 1e-5f);

  // Up and to the right in the world is up and to the right on the screen.
  const VECTOR3 upRight = {10, 10, -100};
  ASSERT_EQ(ProjectToScreen(0, &upRight, &out, 2, 0), 1);
  EXPECT_GT(out.x, 320);
  EXPECT_LT(out.y, 240);

  SetViewportCamera(0, 0);
  EXPECT_EQ(ProjectToScreen(0, &centre, &out, 2, 0), 0);
  EXPECT_EQ(PickNode(0, nullptr, 0, 0, 320, 240, nullptr), 0);
  EXPECT_EQ(ProjectToScreen(0x04000009, &centre, &out, 2, 0), 0);
}

TEST_F(PickingTest, BillboardHitsStrictlyInsideItsRectangle) {
  const HOBJECT board = CreateBillboardNode(0, nullptr, 0, 20, 20, 0, 0, 0, 0);
  SetNodePosition(board, 0, 0, -100, TRANSFORM_SET);
  EXPECT_EQ(HitTestBillboard(0, board, 320, 240), 1);
  // The right edge projects to x = 466.49, truncated to 466: the border itself misses.
  EXPECT_EQ(HitTestBillboard(0, board, 465, 240), 1);
  EXPECT_EQ(HitTestBillboard(0, board, 466, 240), 0);
  EXPECT_EQ(HitTestBillboard(0, board, 320, 80), 0);

  SetNodePosition(board, 0, 0, -6000, TRANSFORM_SET);  // beyond the far plane
  EXPECT_EQ(HitTestBillboard(0, board, 320, 240), 0);
  SetNodePosition(board, 0, 0, 50, TRANSFORM_SET);  // behind the camera
  EXPECT_EQ(HitTestBillboard(0, board, 320, 240), 0);
  EXPECT_EQ(HitTestBillboard(0, MakeCube({0, 0, -50}, 5), 320, 240), 0);
}

TEST_F(PickingTest, CameraProjectionIsCopied) {
  MATRIX44 projection{};
  ASSERT_EQ(GetCameraProjection(camera_, &projection), 1);
  const auto* data = static_cast<const CAMERADESC*>(LookupNode(camera_)->kindData);
  EXPECT_EQ(std::memcmp(&projection, &data->projectionMatrix, sizeof projection), 0);
  EXPECT_NE(projection.m[0], 0.0f);
  EXPECT_EQ(GetCameraProjection(MakeCube({0, 0, 0}, 1), &projection), 0);
  EXPECT_EQ(GetCameraProjection(kBadNode, &projection), 0);
}

// The software path with line doubling draws every second row: viewports
// hold half their height, screen y is halved for picks and doubled back
// for projections.
class LineDoublingTest : public PickingTest {
 protected:
  void SetUp() override {
    SetRenderMode(0);
    PickingTest::SetUp();
    SetLineDoubling(1, 0);
  }
};

TEST_F(LineDoublingTest, ScreenRowsAreHalvedAndDoubled) {
  ASSERT_EQ(LookupViewport(0)->height, 240);
  VECTOR3 out{};
  const VECTOR3 centre = {0, 0, -100};
  ASSERT_EQ(ProjectToScreen(0, &centre, &out, 2, 0), 1);
  EXPECT_NEAR(out.x, 320, 1e-3f);
  EXPECT_NEAR(out.y, 240, 1e-3f);

  const HOBJECT cube = MakeCube({0, 0, -100}, 2);
  HOBJECT picked = 0;
  EXPECT_EQ(PickNode(0, &cube, 1, 0, 320, 240, &picked), 1);
  EXPECT_EQ(PickNode(0, &cube, 1, 0, 320, 120, &picked), 0);
}

}  // namespace
}  // namespace enginetest
