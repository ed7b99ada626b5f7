#include "battle/battle_camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/tarnwick.h"
#include "engine/core/cameras.h"
#include "engine/core/input_hooks.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "platform/qel/vector_math.h"
#include "tests/engine/engine_fixture.h"
#include "tools/datagen/battle_text_writer.h"

namespace enginetest {
namespace {

constexpr float kPi = 3.14159265f;

MATRIX34 Local(HOBJECT node) {
  MATRIX34 m{};
  GetNodeMatrix(node, &m, 1);
  return m;
}

bool SameMatrix(const MATRIX34& a, const MATRIX34& b) {
  for (int r = 0; r < 4; ++r)
    if (a.row[r].x != b.row[r].x || a.row[r].y != b.row[r].y || a.row[r].z != b.row[r].z) return false;
  return true;
}

float Distance(const VECTOR3& a, const float* b) {
  return std::sqrt((a.x - b[0]) * (a.x - b[0]) + (a.y - b[1]) * (a.y - b[1]) + (a.z - b[2]) * (a.z - b[2]));
}

// An open engine, a hero body standing at the origin and the battle camera
// made fresh in a scratch working directory.
class BattleCameraTest : public EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    hero_ = CreateDummyNode(0, nullptr);
    ASSERT_NE(hero_, 0u);
    body_.rootNode = hero_;
    fighter_.body = &body_;
    sys_ = std::make_unique<CBattleSys>();
    sys_->hero = &fighter_;
    camera_ = CBattleCamera::Instance();
  }
  void TearDown() override {
    sys_->hero = nullptr;
    fighter_.body = nullptr;
    CBattleCamera::Destroy();
  }

  void StartOrbit() {
    const float facing[3] = {0, -1, 0};
    camera_->InitOrbit(facing);
    camera_->cameraMode = CBattleCamera::MODE_ORBIT;
  }

  testsupport::ScopedWorkDir dir_;
  testsupport::MessageBoxCapture boxes_;  // no "sbe.sc" here
  HOBJECT hero_ = 0;
  CTarnwick body_;
  CFMaster fighter_;
  std::unique_ptr<CBattleSys> sys_;
  CBattleCamera* camera_ = nullptr;
};

TEST_F(BattleCameraTest, ConstructionMakesTheDefaultViewportsCamera) {
  EXPECT_EQ(CBattleCamera::Instance(), camera_) << "one camera for the whole battle";
  NODEDESC* node = LookupNodeOfKind(camera_->cameraNode, NODE_CAMERA);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(GetGameWorld()->defaultViewport->camera, node);
  EXPECT_EQ(camera_->cameraMode, CBattleCamera::MODE_NONE);
  EXPECT_EQ(camera_->IsPlaying(), 0);

  // Another camera took the viewport; UseEngineCamera takes it back.
  HOBJECT other = CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 1000);
  SetViewportCamera(0, other);
  camera_->UseEngineCamera();
  EXPECT_EQ(GetGameWorld()->defaultViewport->camera, node);

  const HOBJECT handle = camera_->cameraNode;
  CBattleCamera::Destroy();
  EXPECT_EQ(LookupNode(handle), nullptr) << "the node goes with the camera";
  EXPECT_EQ(GetGameWorld()->defaultViewport->camera, nullptr);
  camera_ = CBattleCamera::Instance();
  EXPECT_NE(camera_->cameraNode, 0u);
}

TEST_F(BattleCameraTest, IntroductionTrackStopsShrinkingAtEightyOrFrameFifty) {
  camera_->LoadTracksAndController();
  const float centre[3] = {30, -40, 50};
  camera_->track.SetCenterPos(centre);
  ASSERT_EQ(camera_->track.SelectTrack(1), 1);
  camera_->cameraMode = CBattleCamera::MODE_TRACK;
  std::vector<float> distances;  // of the camera node from the centre, per frame
  while (camera_->IsPlaying()) {
    camera_->UpdateTrack(sys_.get(), 1);
    MATRIX34 m = Local(camera_->cameraNode);
    distances.push_back(Distance(m.row[3], centre));
    // The node looks at the centre: along its -Z.
    const float d = distances.back();
    EXPECT_NEAR(m.row[3].x - d * m.row[2].x, centre[0], 0.05f);
    EXPECT_NEAR(m.row[3].y - d * m.row[2].y, centre[1], 0.05f);
    EXPECT_NEAR(m.row[3].z - d * m.row[2].z, centre[2], 0.05f);
    ASSERT_LE(distances.size(), 60u);
  }
  ASSERT_EQ(distances.size(), 60u);
  EXPECT_NEAR(distances[0], 400, 0.05f);
  size_t stop = 1;  // the first frame that no longer shrinks
  while (stop < distances.size() && distances[stop] < distances[stop - 1]) ++stop;
  EXPECT_LT(stop, 50u);
  EXPECT_LE(distances[stop - 1], 80.0f);
  EXPECT_GT(distances[stop - 2], 80.0f);
  for (size_t i = stop; i < distances.size(); ++i) EXPECT_NEAR(distances[i], distances[stop - 1], 1e-3f);

  // The ended track leaves the node where it is.
  const MATRIX34 before = Local(camera_->cameraNode);
  camera_->Update(sys_.get(), 1);
  EXPECT_TRUE(SameMatrix(Local(camera_->cameraNode), before));
}

TEST_F(BattleCameraTest, OrbitPutsAStrayMouseBack) {
  struct Case {
    int x, y;
    int answer;  // 0: the mouse was put back
  } cases[] = {{430, 240, 0}, {219, 300, 0},   {421, 300, 0},   {300, 139, 0},
               {300, 441, 0}, {220, 140, 140}, {420, 440, 440}, {330, 300, 300}};
  StartOrbit();
  for (const Case& c : cases) {
    SetMousePosition(c.x, c.y);
    EXPECT_EQ(camera_->UpdateOrbit(sys_.get(), 1), c.answer) << c.x << ", " << c.y;
    int x = 0, y = 0;
    GetMousePosition(&x, &y);
    EXPECT_EQ(x, c.answer ? c.x : 320) << c.x << ", " << c.y;
    EXPECT_EQ(y, c.answer ? c.y : 240) << c.x << ", " << c.y;
  }

  // Put back, the orbit measures the next step from the centre, not from 430.
  camera_->orbit.GetMouseMessage(430, 240, 1);
  SetMousePosition(430, 240);
  ASSERT_EQ(camera_->UpdateOrbit(sys_.get(), 1), 0);
  camera_->orbit.SetAngleSpeed(0, 0);
  camera_->orbit.GetMouseMessage(320, 240, 1);
  EXPECT_EQ(camera_->orbit.GetAngleSpeedTheta(), 0.0f);
}

TEST_F(BattleCameraTest, OrbitTurnsTheCameraAndTheHero) {
  StartOrbit();
  SetMousePosition(320, 240);
  EXPECT_EQ(camera_->UpdateOrbit(sys_.get(), 1), 240);
  const MATRIX34 hero = Local(hero_);
  MATRIX34 cam = Local(camera_->cameraNode);
  // Behind the hero (facing -y) at the orbit radius from its centre.
  float hero12[12] = {hero.row[0].x, hero.row[0].y, hero.row[0].z, hero.row[1].x, hero.row[1].y, hero.row[1].z,
                      hero.row[2].x, hero.row[2].y, hero.row[2].z, hero.row[3].x, hero.row[3].y, hero.row[3].z};
  float hero16[16];
  qmz::M12ToM16(hero12, hero16);
  float centre[3];
  camera_->orbit.GetLCTCenter(centre, hero16);
  EXPECT_NEAR(Distance(cam.row[3], centre), 120, 0.05f);
  EXPECT_GT(cam.row[3].y, centre[1]);

  // The mouse moves right inside the box: the view turns right, the hero with it.
  camera_->orbit.GetMouseMessage(370, 250, 1);
  SetMousePosition(370, 250);
  EXPECT_EQ(camera_->UpdateOrbit(sys_.get(), 5), 250);
  const MATRIX34 turned = Local(hero_);
  const MATRIX34 moved = Local(camera_->cameraNode);
  EXPECT_GT(std::fabs(turned.row[0].y - hero.row[0].y), 0.05f) << "the hero turned";
  EXPECT_NEAR(turned.row[3].x, hero.row[3].x, 1e-4f) << "in place";
  EXPECT_NEAR(turned.row[3].y, hero.row[3].y, 1e-4f) << "in place";
  EXPECT_GT(Distance(moved.row[3], &cam.row[3].x), 1.0f) << "the camera swung";
}

TEST_F(BattleCameraTest, ControllerShotMovesTheNodeUntilItsEnd) {
  std::filesystem::create_directories("creature/battle");
  std::string error;
  ASSERT_TRUE(datagen::WriteCameraControllers(
      "creature/battle/camcon.cc",
      {{101, 60, {{0, {-80, -120, 60}, {0, 0, 40}, 0}, {60, {80, -120, 20}, {10, 0, 40}, 0}}},
       {102, 5, {{0, {0, 10, 0}, {0, 0, 0}, 0}}}},
      error))
      << error;
  camera_->LoadTracksAndController();
  EXPECT_EQ(camera_->controllerIds, (std::vector<int>{101, 102}));

  // The body the shot is played on: turned a quarter to the left, at (100, 0, 0).
  const float body[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 100, 0, 0};
  std::copy(body, body + 12, camera_->controllerMatrix);
  ASSERT_EQ(camera_->controller.SelectController(101), 1);
  camera_->cameraMode = CBattleCamera::MODE_CONTROLLER;
  int frames = 0;
  while (camera_->IsPlaying()) {
    camera_->Update(sys_.get(), 4);
    ASSERT_LE(++frames, 15);
  }
  EXPECT_EQ(frames, 15);
  MATRIX34 m = Local(camera_->cameraNode);
  // The last key's eye (80, -120, 20) carried by the body's matrix.
  EXPECT_NEAR(m.row[3].x, 220, 1e-3f);
  EXPECT_NEAR(m.row[3].y, 80, 1e-3f);
  EXPECT_NEAR(m.row[3].z, 20, 1e-3f);
}

TEST_F(BattleCameraTest, WithoutACameraFileTracksStillPlayAndNoShotStarts) {
  camera_->LoadTracksAndController();
  EXPECT_TRUE(camera_->controllerIds.empty());
  EXPECT_EQ(camera_->controller.SelectController(101), 0);
  camera_->cameraMode = CBattleCamera::MODE_CONTROLLER;
  EXPECT_EQ(camera_->IsPlaying(), 0);
  const MATRIX34 before = Local(camera_->cameraNode);
  camera_->Update(sys_.get(), 1);
  EXPECT_TRUE(SameMatrix(Local(camera_->cameraNode), before));
  EXPECT_EQ(camera_->track.SelectTrack(9), 1);
}

TEST_F(BattleCameraTest, ModeZeroChangesNothing) {
  camera_->LoadTracksAndController();
  StartOrbit();
  camera_->orbit.GetMouseMessage(380, 240, 1);
  const float centre[3] = {0, 0, 50};
  camera_->track.SetCenterPos(centre);
  camera_->track.SelectTrack(1);
  SetMousePosition(430, 240);
  camera_->cameraMode = CBattleCamera::MODE_NONE;
  const MATRIX34 cam = Local(camera_->cameraNode);
  const MATRIX34 hero = Local(hero_);
  camera_->Update(sys_.get(), 3);
  EXPECT_TRUE(SameMatrix(Local(camera_->cameraNode), cam));
  EXPECT_TRUE(SameMatrix(Local(hero_), hero));
  int x = 0;
  GetMousePosition(&x, nullptr);
  EXPECT_EQ(x, 430) << "the mouse is left alone";
  EXPECT_EQ(camera_->IsPlaying(), 0);

  // The same call in track mode moves the node: the track had waited.
  camera_->cameraMode = CBattleCamera::MODE_TRACK;
  EXPECT_EQ(camera_->IsPlaying(), 1);
  camera_->Update(sys_.get(), 1);
  EXPECT_NEAR(Distance(Local(camera_->cameraNode).row[3], centre), 400, 0.05f);
}

}  // namespace
}  // namespace enginetest
