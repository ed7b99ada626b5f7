#include "platform/qel/lct_camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/qel/camera_track.h"

namespace {

constexpr float kPi = 3.14159265f;

// A hero at (100, 200, 0) facing +y, with the orbit set up as the battle does.
class OrbitFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const float facing[3] = {0, 1, 0}, offset[3] = {-10, -10, 50};
    orbit.InitCamera(facing, offset, {14, 120.0f, kPi, kPi / 2});
    orbit.SetRestrictAngle(1.0f, 0.6f);
    orbit.SetFollowMode(1);
    orbit.Enable(1);
    orbit.SetAngleSpeed(0, 0);
    orbit.GetMouseMessage(320, 240, 0);
  }
  int Run(int frames) {
    int changed = 0;
    for (int i = 0; i < frames; ++i) changed |= orbit.Update(1, hero, camera);
    return changed;
  }
  float Eye(int i) const { return camera[12 + i]; }

  qmz::CLCTCamera orbit;
  float hero[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 100, 200, 0, 1};
  float camera[16] = {};
};

TEST_F(OrbitFixture, StartsBehindTheHeroLookingAlongItsFacing) {
  ASSERT_EQ(orbit.Update(1, hero, camera), 1);
  float centre[3];
  orbit.GetLCTCenter(centre, hero);
  EXPECT_FLOAT_EQ(centre[0], 90);
  EXPECT_FLOAT_EQ(centre[1], 190);
  EXPECT_FLOAT_EQ(centre[2], 50);
  EXPECT_NEAR(Eye(0), 90, 1e-3f);
  EXPECT_NEAR(Eye(1), 70, 1e-3f);  // 120 behind the centre
  EXPECT_NEAR(Eye(2), 50, 1e-3f);
  EXPECT_NEAR(camera[9], -1, 1e-5f);  // -Z row: it looks along +y
  EXPECT_FLOAT_EQ(orbit.GetLCTRadius(), 120);
  EXPECT_NEAR(orbit.GetLCTAngleTheta(), kPi / 2, 1e-5f);
  EXPECT_NEAR(orbit.GetLCTAnglePhi(), kPi / 2, 1e-5f);
  EXPECT_EQ(orbit.Update(1, hero, camera), 0) << "nothing moved";
  hero[12] += 5;
  EXPECT_EQ(orbit.Update(1, hero, camera), 1) << "it follows the hero";
  EXPECT_NEAR(Eye(0), 95, 1e-3f);
}

TEST_F(OrbitFixture, MouseTurnsCameraAndHeroTogether) {
  Run(1);
  orbit.GetMouseMessage(370, 240, 1);  // 50 pixels to the right
  EXPECT_LT(orbit.GetAngleSpeedTheta(), -0.1f) << "a fast turn shows in the angle speed";
  EXPECT_EQ(Run(30), 1);
  EXPECT_EQ(orbit.GetAngleSpeedTheta(), 0.0f);
  EXPECT_NEAR(orbit.GetLCTAngleTheta(), kPi / 2 - 0.5f, 1e-3f);  // turned right
  // The hero turned in place by the same angle.
  EXPECT_NEAR(hero[0], std::cos(-0.5f), 1e-3f);
  EXPECT_NEAR(hero[1], std::sin(-0.5f), 1e-3f);
  EXPECT_NEAR(hero[4], -std::sin(-0.5f), 1e-3f);
  EXPECT_FLOAT_EQ(hero[12], 100);
  EXPECT_FLOAT_EQ(hero[13], 200);
  // Still behind the hero at the radius.
  float centre[3];
  orbit.GetLCTCenter(centre, hero);
  float dx = centre[0] - Eye(0), dy = centre[1] - Eye(1);
  EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 120, 1e-2f);
  EXPECT_NEAR(std::atan2(dy, dx), kPi / 2 - 0.5f, 1e-3f);

  // Flag 0 only moves the reference point.
  orbit.GetMouseMessage(100, 400, 0);
  EXPECT_EQ(Run(5), 0);
  // A lower precision turns less; moving the mouse up raises the view.
  orbit.SetMousePrecision(0.2f);
  orbit.GetMouseMessage(100, 300, 1);
  Run(30);
  EXPECT_NEAR(orbit.GetLCTAnglePhi(), kPi / 2 - 0.2f, 1e-3f);
}

TEST_F(OrbitFixture, KeepsItsTiltLimits) {
  Run(1);
  orbit.GetMouseMessage(320, 1240, 1);  // far down
  Run(30);
  EXPECT_NEAR(orbit.GetLCTAnglePhi(), kPi / 2 + 1.0f, 1e-5f);
  EXPECT_GT(Eye(2), 50.0f + 100.0f) << "looking down, the eye stands high above the centre";
  orbit.GetMouseMessage(320, -2000, 1);  // far up
  Run(30);
  EXPECT_NEAR(orbit.GetLCTAnglePhi(), kPi / 2 - 0.6f, 1e-5f);
}

TEST_F(OrbitFixture, SpeedsDisablingFollowModeAndDistance) {
  Run(1);
  // Clearing the speeds drops the rest of a turn.
  orbit.GetMouseMessage(420, 240, 1);
  Run(1);
  float afterOne = orbit.GetLCTAngleTheta();
  orbit.SetAngleSpeed(0, 0);
  Run(10);
  EXPECT_FLOAT_EQ(orbit.GetLCTAngleTheta(), afterOne);

  // A disabled camera writes nothing and ignores the mouse.
  orbit.Enable(0);
  orbit.GetMouseMessage(520, 240, 1);
  hero[12] += 30;
  float before[16];
  std::copy(camera, camera + 16, before);
  EXPECT_EQ(Run(5), 0);
  EXPECT_TRUE(std::equal(camera, camera + 16, before));
  orbit.Enable(1);
  EXPECT_EQ(Run(5), 1);
  EXPECT_FLOAT_EQ(orbit.GetLCTAngleTheta(), afterOne);

  // Follow mode 1: the hero's own turn leaves the camera; mode 2: the camera swings with it.
  auto turnHero = [this](float a) {
    for (int row = 0; row < 2; ++row) {
      float x = hero[row * 4], y = hero[row * 4 + 1];
      hero[row * 4] = x * std::cos(a) - y * std::sin(a);
      hero[row * 4 + 1] = x * std::sin(a) + y * std::cos(a);
    }
  };
  turnHero(0.3f);
  Run(1);
  EXPECT_FLOAT_EQ(orbit.GetLCTAngleTheta(), afterOne);
  orbit.SetFollowMode(qmz::CLCTCamera::FOLLOW_MUTUAL);
  turnHero(0.3f);
  Run(1);
  EXPECT_NEAR(orbit.GetLCTAngleTheta(), afterOne + 0.3f, 1e-4f);

  orbit.SetDistance(180);
  Run(1);
  float centre[3];
  orbit.GetLCTCenter(centre, hero);
  float d = std::sqrt(std::pow(centre[0] - Eye(0), 2.0f) + std::pow(centre[1] - Eye(1), 2.0f) +
                      std::pow(centre[2] - Eye(2), 2.0f));
  EXPECT_NEAR(d, 180, 1e-2f);
}

TEST_F(OrbitFixture, HandsItsViewToATrackWithoutAJump) {
  orbit.GetMouseMessage(300, 280, 1);
  Run(20);
  float centre[3];
  orbit.GetLCTCenter(centre, hero);
  qmz::CCameraTrack track;
  track.AddTrack({9, 1, 10, [](qmz::CAMERATRACKSTATE& s, int f, const float*) {
                    if (f > 1) s.radius += 6;
                  }});
  track.SetCenterPos(centre);
  track.SetAngleTheta(orbit.GetLCTAngleTheta());
  track.SetAnglePhi(orbit.GetLCTAnglePhi());
  track.SetRadius(orbit.GetLCTRadius());
  track.SelectTrack(9);
  float trackCamera[16];
  track.Update(1, trackCamera);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(trackCamera[i], camera[i], 1e-3f) << i;
}

TEST_F(OrbitFixture, InitialisingAgainForcesAWrite) {
  Run(1);
  EXPECT_EQ(orbit.Update(-1, hero, camera), 0);
  const float facing[3] = {1, 0, 0}, offset[3] = {0, 0, 0};
  orbit.InitCamera(facing, offset, {qmz::SPHERE_PHI, 999.0f, 0.0f, kPi / 2 - 0.3f});
  EXPECT_EQ(orbit.Update(-1, hero, camera), 1);
  EXPECT_FLOAT_EQ(orbit.GetLCTRadius(), 120) << "radius not in the mask";
  EXPECT_NEAR(orbit.GetLCTAnglePhi(), kPi / 2 + 0.3f, 1e-5f) << "the eye above looks down";
}

}  // namespace
