#include "components/f_cameras.h"

#include <gtest/gtest.h>

#include <cmath>

#include "components/camera_track_file.h"
#include "components/mesh_helpers.h"
#include "components/society_ext.h"
#include "engine/core/cameras.h"
#include "engine/core/node_transforms.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "tests/engine/scene_fixture.h"

namespace {

class CameraScriptTest : public enginetest::SceneTest {
 protected:
  static HOBJECT Camera() { return CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 10000); }

  static int LiveNodes() {
    int live = 0;
    for (uint32_t i = 0; i < g_nodePool.mark; ++i) live += g_nodePool.slots[i] ? 1 : 0;
    return live;
  }

  static VECTOR3 Position(HOBJECT node, VECTOR3* forward = nullptr, VECTOR3* up = nullptr) {
    VECTOR3 p{0, 0, 0};
    GetNodeWorldVectors(node, &p, forward, up);
    return p;
  }

  // One camera moving from (0, -100, 0) to (40, -100, 0) over frames 0 to 40,
  // looking at a target standing at the origin.
  static void FillOneCamera(CCameraTrackFile& file) {
    file.cameraCount = 1;
    file.cameras.resize(1);
    CAMERARECORDDESC& camera = file.cameras[0];
    camera.position[1] = -100;
    camera.fieldOfView = 0.5f;
    camera.positionTrack = {0, 40, 2};
    camera.positionKeys = {{0, 0, -100, 0}, {40, 40, -100, 0}};
    camera.targetTrack = {0, 40, 2};
    camera.targetKeys = {{0, 0, 0, 0}, {40, 0, 0, 0}};
  }
};

TEST_F(CameraScriptTest, PlaysToTheLastFrameAndGivesTheViewBack) {
  const HOBJECT previous = Camera();
  SetViewportCamera(0, previous);
  CFCameras script("none.sc");
  FillOneCamera(*script.trackFile);
  EXPECT_EQ(script.Start(1, 0, 0, previous, nullptr, 0), 0);  // index = count
  EXPECT_EQ(script.Start(-1, 0, 0, previous, nullptr, 0), 0);
  EXPECT_EQ(script.Start(0, 0, 0, 0, nullptr, 0), 0);  // nothing to give the view back to
  EXPECT_EQ(script.playing, 0);

  const int before = LiveNodes();
  ASSERT_EQ(script.Start(0, 0, 0, previous, nullptr, 0), 1);
  EXPECT_EQ(script.frameCount, 41);
  EXPECT_EQ(GetDefaultCameraHandle(), script.cameraNode);
  EXPECT_NEAR(static_cast<CAMERADESC*>(LookupNode(script.cameraNode)->kindData)->fieldOfView, 0.5f * 57.296f, 1e-3f);

  for (int frame = 1; frame <= 40; ++frame) ASSERT_EQ(script.Update(1), 1) << frame;
  EXPECT_EQ(script.currentFrame, 40);
  VECTOR3 forward;
  const VECTOR3 at = Position(script.cameraNode, &forward);
  EXPECT_NEAR(at.x, 40, 1e-3f);
  // Aimed at the target from where it stands.
  EXPECT_NEAR(forward.x, -40 / std::sqrt(40.0f * 40 + 100 * 100), 1e-4f);
  EXPECT_NEAR(forward.y, 100 / std::sqrt(40.0f * 40 + 100 * 100), 1e-4f);

  EXPECT_EQ(script.Update(1), 0);
  EXPECT_EQ(script.playing, 0);
  EXPECT_EQ(GetDefaultCameraHandle(), previous);
  EXPECT_EQ(LiveNodes(), before);
  EXPECT_EQ(script.Update(1), 0);
}

TEST_F(CameraScriptTest, KeysOutsideTheTrackLeaveTheNode) {
  CFCameras script("none.sc");
  FillOneCamera(*script.trackFile);
  CAMERARECORDDESC& camera = script.trackFile->cameras[0];
  camera.positionTrack = {10, 20, 2};
  camera.positionKeys = {{10, 10, -100, 0}, {20, 20, -100, 0}};
  ASSERT_EQ(script.Start(0, 0, 0, Camera(), nullptr, 0), 1);
  script.Step(5);  // before the first key
  EXPECT_NEAR(Position(script.cameraNode).x, 0, 1e-4f);
  script.Step(25);  // after the last key
  EXPECT_EQ(script.currentFrame, 30);
  EXPECT_NEAR(Position(script.cameraNode).x, 0, 1e-4f);
  script.Step(-15);
  EXPECT_NEAR(Position(script.cameraNode).x, 15, 1e-4f);
  script.Step(-100);  // held at the start
  EXPECT_EQ(script.currentFrame, 0);
}

TEST_F(CameraScriptTest, LoopingWraps) {
  CFCameras script("none.sc");
  FillOneCamera(*script.trackFile);
  script.SetLooping(1);
  ASSERT_EQ(script.Start(0, 0, 0, Camera(), nullptr, 0), 1);
  script.Step(40);
  EXPECT_EQ(script.currentFrame, 40);
  EXPECT_EQ(script.Update(1), 1);  // no stop at the last frame
  EXPECT_EQ(script.currentFrame, 0);
  script.Step(-1);
  EXPECT_EQ(script.currentFrame, 40);
  script.Step(45);
  EXPECT_EQ(script.currentFrame, 3);
}

TEST_F(CameraScriptTest, AWrapMovesTheParentsFromTheStart) {
  CFCameras script("none.sc");
  FillOneCamera(*script.trackFile);
  CAMERARECORDDESC& camera = script.trackFile->cameras[0];
  camera.cameraParent = 1;
  camera.parents[0].offset[0] = 10;
  camera.parents[0].positionTrack = {0, 40, 2};
  camera.parents[0].positionKeys = {{0, 0, 0, 0}, {40, 40, 0, 0}};
  script.SetLooping(1);
  ASSERT_EQ(script.Start(0, 0, 0, Camera(), nullptr, 0), 1);
  script.Step(40);
  EXPECT_NEAR(Position(script.parentDummies[0]).x, 50, 1e-3f);
  script.Step(5);  // frame 45 is frame 4 of the next round
  EXPECT_EQ(script.currentFrame, 4);
  EXPECT_NEAR(Position(script.parentDummies[0]).x, 14, 1e-3f);
}

TEST_F(CameraScriptTest, ParentsMoveTheCameraAndGoWithStop) {
  // The script works under a copy of the reference node.
  const HOBJECT reference = CreateDummyNode(0, nullptr);
  SetNodePosition(reference, 0, 0, 50, TRANSFORM_SET);

  CFCameras script("none.sc");
  FillOneCamera(*script.trackFile);
  CAMERARECORDDESC& camera = script.trackFile->cameras[0];
  camera.cameraParent = 1;
  camera.targetParent = 2;
  CAMERAPARENTDESC& carrier = camera.parents[0];
  carrier.offset[0] = 10;
  carrier.positionTrack = {0, 40, 2};
  carrier.positionKeys = {{0, 0, 0, 0}, {40, 40, 0, 0}};
  camera.parents[1].rotationTrack = {0, 60, 2};
  camera.parents[1].rotationKeys = {{0, 0, 0, 1, 0}, {60, 0, 0, 1, 0.5f}};

  const HOBJECT previous = Camera();
  const int before = LiveNodes();
  ASSERT_EQ(script.Start(0, reference, 0, previous, nullptr, 0), 1);
  EXPECT_EQ(script.parentCount, 2);
  EXPECT_EQ(script.frameCount, 61);
  EXPECT_EQ(LiveNodes(), before + 5);  // the copy, two dummies, camera and target
  EXPECT_EQ(GetNodeParent(script.cameraNode), script.parentDummies[0]);
  EXPECT_EQ(GetNodeParent(script.targetNode), script.parentDummies[1]);
  EXPECT_EQ(GetNodeParent(script.parentDummies[0]), script.referenceCopy);

  script.Step(20);
  // The carrier moved by half its 40 units from its offset of 10, over the copy at z 50.
  const VECTOR3 carried = Position(script.parentDummies[0]);
  EXPECT_NEAR(carried.x, 30, 1e-3f);
  EXPECT_NEAR(carried.z, 50, 1e-3f);
  // The camera sits 20 along its own track inside the carrier.
  EXPECT_NEAR(Position(script.cameraNode).x, 50, 1e-3f);

  EXPECT_EQ(script.Stop(), 1);
  EXPECT_EQ(LiveNodes(), before);
  EXPECT_EQ(script.Stop(), 1);
}

TEST_F(CameraScriptTest, KeepModeLeavesTheCameraInPlace) {
  const HOBJECT reference = CreateDummyNode(0, nullptr);
  SetNodePosition(reference, 0, 0, 50, TRANSFORM_SET);
  CFCameras script("none.sc");
  FillOneCamera(*script.trackFile);
  const int before = LiveNodes();
  ASSERT_EQ(script.Start(0, reference, 1, 0, nullptr, 0), 1);
  script.Step(40);
  const VECTOR3 seen = Position(script.cameraNode);
  const HOBJECT kept = script.cameraNode;
  script.Stop();
  EXPECT_EQ(LiveNodes(), before + 1);
  EXPECT_EQ(GetDefaultCameraHandle(), kept);
  EXPECT_EQ(GetNodeParent(kept), 0u);
  const VECTOR3 after = Position(kept);
  EXPECT_NEAR(after.x, seen.x, 1e-3f);
  EXPECT_NEAR(after.z, seen.z, 1e-3f);
}

TEST_F(CameraScriptTest, ASocietyScriptTakesTheSocietyView) {
  const HOBJECT view = Camera();
  CSocietyExt society(view);
  auto* script = static_cast<CFCameras*>(society.CameraComponent());
  FillOneCamera(*script->trackFile);
  ASSERT_EQ(script->Start(0, 0, 0, 0, nullptr, 0), 1);
  EXPECT_EQ(society.ViewCamera(), script->cameraNode);
  EXPECT_EQ(script->previousViewCamera, view);
  society.Update(3);
  EXPECT_EQ(script->currentFrame, 3);
  script->Stop();
  EXPECT_EQ(society.ViewCamera(), view);
  EXPECT_EQ(GetDefaultCameraHandle(), view);
}

TEST_F(CameraScriptTest, ApproachAndTurn) {
  CFCameras script("none.sc");
  const VECTOR3 goal{10, 0, 0};
  EXPECT_EQ(script.ApproachPoint(&goal, 0), -1);  // no camera
  EXPECT_EQ(script.TurnTowardsPoint(&goal, 0), -1);
  script.cameraNode = Camera();
  const VECTOR3 origin{0, 0, 0}, north{0, 1, 0};
  SetNodeDirection(script.cameraNode, &origin, &north, nullptr);

  EXPECT_EQ(script.ApproachPoint(&goal, 0), 1);
  EXPECT_NEAR(Position(script.cameraNode).x, 10, 1e-4f);
  EXPECT_EQ(script.ApproachPoint(&goal, 0), 0);
  const VECTOR3 further{20, 0, 0};
  script.ApproachPoint(&further, 1);  // e^-1 of the way
  EXPECT_NEAR(Position(script.cameraNode).x, 10 + 10 * std::exp(-1.0f), 1e-3f);

  const VECTOR3 here = Position(script.cameraNode);
  const VECTOR3 close{here.x + 0.05f, here.y, here.z};
  EXPECT_EQ(script.TurnTowardsPoint(&close, 0), -1);

  struct Case {
    VECTOR3 offset;
  };
  // To the side, behind (no cross product) and somewhat above.
  for (const Case& c : {Case{{50, 0, 0}}, Case{{0, -50, 0}}, Case{{0, 50, 20}}}) {
    const VECTOR3 point{here.x + c.offset.x, here.y + c.offset.y, here.z + c.offset.z};
    EXPECT_EQ(script.TurnTowardsPoint(&point, 0), 1);
    VECTOR3 forward, up;
    Position(script.cameraNode, &forward, &up);
    const float length = std::sqrt(c.offset.x * c.offset.x + c.offset.y * c.offset.y + c.offset.z * c.offset.z);
    EXPECT_NEAR(forward.x, c.offset.x / length, 1e-3f);
    EXPECT_NEAR(forward.y, c.offset.y / length, 1e-3f);
    EXPECT_NEAR(forward.z, c.offset.z / length, 1e-3f);
    // The side axis stays level: up has no sideways lean.
    VECTOR3 side;
    CrossVector3(&side, &forward, &up);
    EXPECT_NEAR(side.z, 0, 1e-3f);
    EXPECT_GT(up.z, 0);  // not upside down after turning over the top
  }
}

TEST_F(CameraScriptTest, ApproachNodeTurnsTheOffsetToTheFacing) {
  CFCameras script("none.sc");
  script.cameraNode = Camera();
  const HOBJECT walker = CreateDummyNode(0, nullptr);
  SetNodePosition(walker, 100, 0, 0, TRANSFORM_SET);
  const HOBJECT facing = CreateDummyNode(0, nullptr);
  SetNodePosition(facing, 100, 50, 0, TRANSFORM_SET);  // facing +y
  const VECTOR3 offset{0, -30, 10};                    // 30 behind, 10 up
  EXPECT_EQ(script.ApproachNode(walker, 0, &offset, facing), 1);
  const VECTOR3 at = Position(script.cameraNode);
  EXPECT_NEAR(at.x, 100, 1e-3f);
  EXPECT_NEAR(at.y, -30, 1e-3f);
  EXPECT_NEAR(at.z, 10, 1e-3f);
  EXPECT_EQ(script.TurnTowardsNode(walker, 0, nullptr), 1);
  VECTOR3 forward;
  Position(script.cameraNode, &forward);
  EXPECT_NEAR(forward.z, -10 / std::sqrt(30.0f * 30 + 10 * 10), 1e-4f);
  const VECTOR3 lifted{0, 0, 10};
  EXPECT_EQ(script.TurnTowardsNode(walker, 0, &lifted), 1);
  Position(script.cameraNode, &forward);
  EXPECT_NEAR(forward.y, 1, 1e-4f);
  EXPECT_EQ(script.TurnTowardsBetween(walker, facing, 0, 0.5f), 1);
  Position(script.cameraNode, &forward);
  EXPECT_NEAR(forward.z, -10 / std::sqrt(55.0f * 55 + 10 * 10), 1e-4f);
}

TEST_F(CameraScriptTest, GlidesArrive) {
  for (int mode : {1, 0}) {
    CFCameras script("none.sc");
    const HOBJECT camera = Camera();
    const VECTOR3 origin{0, 0, 0}, north{0, 1, 0};
    SetNodeDirection(camera, &origin, &north, nullptr);
    EXPECT_EQ(script.StartGlide(0, 100, 0, 0, 100, 100, 0, 20, mode), 0);  // no node
    EXPECT_EQ(script.StartGlide(camera, 100, 0, 0, 100, 100, 0, 0, mode), 0);
    EXPECT_EQ(script.StartGlide(camera, 100, 0, 0, 0, 0, 0, 20, mode), 0);  // looking at itself
    ASSERT_EQ(script.StartGlide(camera, 100, 0, 0, 100, 100, 0, 20, mode), 1);
    EXPECT_EQ(script.StartGlide(Camera(), 100, 0, 0, 100, 100, 0, 20, mode), 0);  // another node
    int steps = 0;
    while (script.GlideStep(1) == 0 && steps < 100) ++steps;
    EXPECT_LE(steps, 20) << mode;
    VECTOR3 forward;
    const VECTOR3 at = Position(camera, &forward);
    EXPECT_LT(SquaredDistance3(&at, &script.glideGoal), 10) << mode;
    EXPECT_NEAR(forward.y, 1, 1e-2f) << mode;  // looking at (100, 100, 0)

    script.RestoreGlideStart();
    const VECTOR3 back = Position(camera, &forward);
    EXPECT_NEAR(back.x, 0, 1e-4f);
    EXPECT_NEAR(forward.y, 1, 1e-4f);
  }
  CFCameras idle("none.sc");
  EXPECT_EQ(idle.GlideStep(1), 1);
}

}  // namespace
