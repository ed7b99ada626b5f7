#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "engine/core/cameras.h"
#include "engine/core/input_hooks.h"
#include "engine/core/main_loop.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "platform/window_simulate.h"
#include "tests/world/block_fixture.h"
#include "tools/datagen/sample_world_parts.h"
#include "world/game_camera.h"
#include "world/terrain_boundary.h"

namespace {

using worldtest::MakeBlock;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDegree = kPi / 180;

float Heading(HOBJECT node) {
  MATRIX34 m;
  GetNodeMatrix(node, &m, 0);
  return std::atan2(m.row[0].y, m.row[0].x);
}

VECTOR3 CameraPosition(const CGameCamera& camera) {
  VECTOR3 p{0, 0, 0};
  camera.GetPositionAndDirection(&p, nullptr);
  return p;
}

float Distance(const VECTOR3& a, const VECTOR3& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

CGameCamera* g_looking = nullptr;
void LookHook(int x, int y) { g_looking->OnMouseMove(x, y); }

class GameCameraTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleCamera("./", error)) << error;
    camera_ = std::make_unique<CGameCamera>();
    camera_->SetProjection(65, 4.0f / 3.0f, 10, 7500);
    target_ = MakeBlock({-5, -5, 0}, {5, 5, 20});
    camera_->targetNode = target_;
  }
  void TearDown() override { camera_.reset(); }

  testsupport::ScopedWorkDir dir_;
  std::unique_ptr<CGameCamera> camera_;
  HOBJECT target_ = 0;
};

TEST_F(GameCameraTest, StartsBehindTheTargetAtTheDistanceThePitchAsks) {
  camera_->StartFollow(0, 0, 10);
  EXPECT_NEAR(camera_->lookAt.z, 10, 1e-5);
  const struct {
    float pitch, distance;
  } cases[] = {{0, 85}, {60 * kDegree, 25}, {-15 * kDegree, 35}, {30 * kDegree, 85 - 60 * 0.5f - 0.3f * -0.125f}};
  for (const auto& c : cases) {
    camera_->pitch = c.pitch;
    camera_->Update(1);
    EXPECT_NEAR(camera_->orbitDistance, c.distance, 1e-3) << c.pitch;
    EXPECT_NEAR(Distance(CameraPosition(*camera_), camera_->lookAt), c.distance, 1e-3) << c.pitch;
  }
  camera_->pitch = 0;
  camera_->Update(1);
  VECTOR3 position, direction;
  camera_->GetPositionAndDirection(&position, &direction);
  EXPECT_NEAR(position.y, 85, 1e-3) << "opposite the follow direction of a target facing +x";
  EXPECT_NEAR(direction.y, -1, 1e-5) << "looking at the target";
  EXPECT_EQ(camera_->dirty, 0);
}

TEST_F(GameCameraTest, PullsInBeforeAWall) {
  // A wall across the camera segment half way, met from behind.
  TerrainBoundary walls;
  walls.Build({{{50, 42.5f, 0}, {-50, 42.5f, 0}, {-50, 200, 0}}});
  camera_->StartFollow(0, 0, 20);
  camera_->Update(1);
  EXPECT_NEAR(CameraPosition(*camera_).y, 85, 1e-3) << "no wall set: no pull-in";
  camera_->boundary = &walls;
  camera_->Update(1);
  EXPECT_NEAR(camera_->pulledInDistance, 42.5f, 1e-3);
  EXPECT_NEAR(CameraPosition(*camera_).y, 52.5f, 1e-3) << "the near distance in front of the wall";
  EXPECT_NEAR(CameraPosition(*camera_).z, 20, 1e-3);
}

TEST_F(GameCameraTest, MouseLookTurnsCameraAndTarget) {
  camera_->StartFollow(0, 0, 10);
  camera_->Update(1);
  const float yaw0 = camera_->orbitYaw;
  const float heading0 = Heading(target_);
  camera_->cursorX = 410;
  camera_->OnMouseMove(510, 240);
  EXPECT_FLOAT_EQ(camera_->accumulatedYaw, 18);
  EXPECT_NEAR(std::fabs(Heading(target_) - heading0), 18 * kDegree, 1e-4);
  EXPECT_EQ(camera_->cursorX, 40) << "510 wraps";
  int x = 0, y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 40);
  EXPECT_EQ(y, 240);
  camera_->Update(1);
  EXPECT_NEAR(camera_->orbitYaw - yaw0, -18 * kDegree, 1e-4);

  camera_->OnMouseMove(40, 250);
  EXPECT_NEAR(camera_->pitch, 2.5f * kDegree, 1e-5) << "down turns the camera up";
  EXPECT_EQ(camera_->dirty, 1);
  camera_->cursorY = 395;
  camera_->OnMouseMove(40, 401);
  EXPECT_EQ(camera_->cursorY, 40) << "401 wraps";
  EXPECT_NEAR(camera_->pitch, 4 * kDegree, 1e-5);
  camera_->AddPitch(-10);
  EXPECT_FLOAT_EQ(camera_->pitch, CGameCamera::kPitchUpper) << "clamped";
  camera_->AddPitch(10);
  EXPECT_FLOAT_EQ(camera_->pitch, CGameCamera::kPitchLower);

  camera_->mouseLookLocked = 1;
  const float yaw = camera_->accumulatedYaw;
  camera_->OnMouseMove(300, 100);
  EXPECT_FLOAT_EQ(camera_->accumulatedYaw, yaw) << "ignored in close-up mode";
}

TEST_F(GameCameraTest, MouseLookWhereTheWindowSystemRefusesWarps) {
  g_looking = camera_.get();
  SetMouseMoveHook(LookHook);
  const struct {
    int refused;
    float yaw;
    int cursorX;
  } cases[] = {{1, 10 * 0.18f, 330}, {0, 280 * 0.18f, 40}};
  for (const auto& c : cases) {
    plat::SimulateRefusedWarps(c.refused);
    camera_->SetYawRange(180);
    camera_->cursorX = 320;
    camera_->cursorY = 240;
    SetMousePosition(320, 240);
    // The pointer was never moved: the system reports it at (600, 50), 10 to the right.
    plat::SimulateMouseMotion(GetMainWindow(), 600, 50, false, 10, 0);
    PumpMessages();
    EXPECT_NEAR(camera_->accumulatedYaw, c.yaw, 1e-4) << c.refused;
    EXPECT_EQ(camera_->cursorX, c.cursorX) << c.refused;
    EXPECT_EQ(camera_->cursorY, c.refused ? 240 : 50) << c.refused;
  }
  plat::SimulateRefusedWarps(-1);
  SetMouseMoveHook(nullptr);
}

// On a system that carries warps out, each warp comes back as a move of its
// own: queued apart, or a pixel off after scaling, they fed mouse look for ever.
TEST_F(GameCameraTest, TheWarpsOwnMovesDoNotTurnTheView) {
  g_looking = camera_.get();
  SetMouseMoveHook(LookHook);
  plat::SimulateRefusedWarps(0);
  camera_->SetYawRange(180);
  camera_->cursorX = 320;
  camera_->cursorY = 240;
  SetMousePosition(320, 240);
  // Two moves waiting together: the pointer is where the last one says.
  plat::SimulateMouseMotion(GetMainWindow(), 512, 384);
  plat::SimulateMouseMotion(GetMainWindow(), 320, 240);
  PumpMessages();
  EXPECT_FLOAT_EQ(camera_->accumulatedYaw, 0);
  // The warp's own move, rounded a pixel off on its way back.
  SetMousePosition(320, 240);
  plat::SimulateMouseMotion(GetMainWindow(), 321, 239);
  PumpMessages();
  EXPECT_FLOAT_EQ(camera_->accumulatedYaw, 0);
  EXPECT_EQ(camera_->cursorX, 320);
  // A real move afterwards still turns.
  plat::SimulateMouseMotion(GetMainWindow(), 330, 240);
  PumpMessages();
  EXPECT_NEAR(camera_->accumulatedYaw, 10 * 0.18f, 1e-4);
  plat::SimulateRefusedWarps(-1);
  SetMouseMoveHook(nullptr);
}

TEST_F(GameCameraTest, TheYawLimitStopsTheTurn) {
  camera_->SetYawRange(30);
  const float heading0 = Heading(target_);
  camera_->AddYaw(50);
  EXPECT_FLOAT_EQ(camera_->accumulatedYaw, 30);
  EXPECT_NEAR(camera_->pendingYaw, -30 * kDegree, 1e-6);
  EXPECT_NEAR(std::fabs(Heading(target_) - heading0), 30 * kDegree, 1e-4);
  camera_->AddYaw(-70);
  EXPECT_FLOAT_EQ(camera_->accumulatedYaw, -30);

  camera_->SetYawRange(180);
  camera_->turnsWalker = 0;
  const float heading1 = Heading(target_);
  camera_->AddYaw(90);
  EXPECT_FLOAT_EQ(Heading(target_), heading1) << "the target stays";
}

TEST_F(GameCameraTest, TheTalkCloseUpEndsOnItsLastFrame) {
  camera_->StartFollow(0, 0, 10);
  camera_->Update(1);
  const VECTOR3 start = CameraPosition(*camera_);
  const HOBJECT npc = MakeBlock({95, -5, 0}, {105, 5, 30});
  camera_->BeginTalkCloseUp(npc, 1);
  EXPECT_EQ(camera_->mouseLookLocked, 1);
  const VECTOR3 end{100 - 50 * std::cos(10 * kDegree), -50 * std::sin(10 * kDegree), 15};
  for (int i = 1; i < 30; ++i) {
    ASSERT_EQ(camera_->StepCloseUp(1), 0) << i;
    if (i == 15) {
      const float c = std::sqrt(std::sin(kPi / 4));
      EXPECT_NEAR(CameraPosition(*camera_).x, start.x + c * (end.x - start.x), 1e-3);
    }
  }
  EXPECT_EQ(camera_->StepCloseUp(1), 1);
  VECTOR3 position, direction;
  camera_->GetPositionAndDirection(&position, &direction);
  EXPECT_NEAR(position.x, end.x, 1e-4);
  EXPECT_NEAR(position.y, end.y, 1e-4);
  EXPECT_NEAR(position.z, end.z, 1e-4);
  EXPECT_NEAR(direction.x, std::cos(10 * kDegree), 1e-4) << "looking at the character";
  EXPECT_NEAR(direction.y, std::sin(10 * kDegree), 1e-4);
  EXPECT_NEAR(direction.z, 0, 1e-4);
  EXPECT_EQ(camera_->StepCloseUp(1), 1) << "stays arrived";

  camera_->ReverseCloseUp();
  camera_->SetCloseUpFrames(10);
  for (int i = 1; i < 10; ++i) ASSERT_EQ(camera_->StepCloseUp(1), 0);
  EXPECT_EQ(camera_->StepCloseUp(1), 1);
  camera_->GetPositionAndDirection(&position, &direction);
  EXPECT_NEAR(position.x, start.x, 1e-3) << "back where it began";
  EXPECT_NEAR(position.y, start.y, 1e-3);
  EXPECT_NEAR(direction.y, -1, 1e-4);

  camera_->CenterCursor();
  EXPECT_EQ(camera_->mouseLookLocked, 0);
}

TEST_F(GameCameraTest, AFarCloseUpLooksFromTheSide) {
  const HOBJECT npc = MakeBlock({-5, -5, 0}, {5, 5, 30});
  camera_->BeginTalkCloseUp(npc, 0);
  EXPECT_EQ(camera_->StepCloseUp(30), 1);
  const VECTOR3 p = CameraPosition(*camera_);
  EXPECT_NEAR(p.x, -50 * std::cos(100 * kDegree), 1e-3);
  EXPECT_NEAR(p.y, -50 * std::sin(100 * kDegree), 1e-3);
}

TEST_F(GameCameraTest, FollowingWithoutATargetIsRefused) {
  camera_->targetNode = 0;
  camera_->StartFollow(5, 0.3f, 9);
  EXPECT_TRUE(boxes_.Contains("", "Man Node ID Error!"));
  EXPECT_FLOAT_EQ(camera_->followRadius, 0) << "nothing changed";
  EXPECT_FLOAT_EQ(camera_->heightOffset, 0);
  camera_->Update(1);  // and an update without a target does nothing
}

TEST_F(GameCameraTest, TheWalkerFadesWhileTheCameraIsClose) {
  const struct { float distance, fade; } cases[] = {{25, 1}, {20, 1.5f}, {15, 1}, {18, 1.3f}, {10, 0.5f}, {5, 0.5f}};
  for (const auto& c : cases) {
    camera_->pulledInDistance = c.distance;
    EXPECT_NEAR(camera_->GetWalkerFade(), c.fade, 1e-5) << c.distance;
  }
}

TEST_F(GameCameraTest, ScreenPointsOnTheNearPlane) {
  camera_->StartFollow(0, 0, 10);
  camera_->Update(1);
  MATRIX34 m;
  GetNodeMatrix(camera_->node, &m, 0);
  const float halfWidth = std::tan(32.5f * kDegree) * 10;
  EXPECT_NEAR(camera_->halfWidth, halfWidth, 1e-4);
  EXPECT_NEAR(camera_->halfHeight, halfWidth * 0.75f, 1e-4);
  VECTOR3 out;
  camera_->UnprojectScreenPoint(&out, 320, 240);
  EXPECT_NEAR(Distance(out, CameraPosition(*camera_)), 10, 1e-4);
  EXPECT_NEAR(out.y, m.row[3].y - 10, 1e-3) << "straight ahead";
  camera_->UnprojectScreenPoint(&out, 640, 0);
  EXPECT_NEAR(out.x, m.row[3].x + 10 * m.row[2].x * -1 + halfWidth * m.row[0].x + halfWidth * 0.75f * m.row[1].x, 1e-3);
  EXPECT_NEAR(out.z, m.row[3].z + halfWidth * 0.75f * m.row[1].z + halfWidth * m.row[0].z, 1e-3);
}

TEST_F(GameCameraTest, LookAtRollAndDegenerateViews) {
  camera_->LookAt({0, 0, 0}, {0, 10, 0}, 0);
  MATRIX34 level;
  GetNodeMatrix(camera_->node, &level, 0);
  camera_->LookAt({0, 0, 0}, {0, 10, 0}, 90);
  MATRIX34 rolled;
  GetNodeMatrix(camera_->node, &rolled, 0);
  EXPECT_NEAR(rolled.row[0].z, -level.row[1].z, 1e-5) << "right turns to where down was";
  EXPECT_NEAR(rolled.row[1].x, level.row[0].x, 1e-5);
  camera_->LookAt({5, 5, 5}, {5, 5, 5}, 0);
  camera_->LookAt({5, 5, 5}, {5, 5, 50}, 0);
  MATRIX34 kept;
  GetNodeMatrix(camera_->node, &kept, 0);
  EXPECT_FLOAT_EQ(kept.row[3].x, 0) << "no view direction: the matrix stays";
}

TEST_F(GameCameraTest, ViewsAreRestoredAndTheAimerShown) {
  camera_->StartFollow(0, 0, 10);
  camera_->Update(1);
  SetNodePosition(camera_->node, 500, 500, 500, TRANSFORM_SET);
  SetViewportCamera(0, 0);
  camera_->RestoreView();
  EXPECT_NEAR(CameraPosition(*camera_).y, 85, 1e-3);
  MATRIX34 m;
  GetNodeMatrix(camera_->node, &m, 0);
  EXPECT_NEAR(m.row[3].y, 85, 1e-3);
  ASSERT_NE(LookupViewport(0), nullptr);
  EXPECT_EQ(LookupViewport(0)->camera, LookupNode(camera_->node)) << "active again";

  camera_->SetViewDistance(3000);
  const auto* lens = static_cast<const CAMERADESC*>(LookupNode(camera_->node)->kindData);
  ASSERT_NE(lens, nullptr);
  EXPECT_FLOAT_EQ(lens->farPlane, 3000) << "the view distance";
  EXPECT_FLOAT_EQ(lens->nearPlane, 10);

  camera_->ResetOrbit(60);
  EXPECT_FLOAT_EQ(camera_->orbitDistance, 60);
  EXPECT_FLOAT_EQ(camera_->pitch, 0);

  ASSERT_NE(camera_->aimer.sprite, 0u) << "image\\aimer";
  EXPECT_EQ(camera_->aimer.x, 306);
  EXPECT_EQ(camera_->aimer.y, 226);
  camera_->ShowAimer(1);
  EXPECT_EQ(camera_->aimerShown, 1);

  SetMousePosition(100, 200);
  camera_->mouseLookLocked = 1;
  camera_->CenterCursor();
  EXPECT_EQ(camera_->cursorX, 100);
  EXPECT_EQ(camera_->cursorY, 200);
}

}  // namespace
