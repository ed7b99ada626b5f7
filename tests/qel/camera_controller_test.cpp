#include "platform/qel/camera_controller.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "platform/qel/vector_math.h"
#include "tests/support/captures.h"
#include "tools/datagen/battle_text_writer.h"

namespace {

std::vector<qmz::CAMERACONTROLDESC> SampleShots() {
  return {
      {101,
       60,
       {
           // Out of order on purpose: the reader sorts keys by frame.
           {30, {0, -100, 60}, {0, 0, 40}, 0.0f},
           {0, {-80, -120, 60}, {0, 0, 40}, 0.0f},
           {60, {80, -120, 20}, {10, 0, 40}, 0.4f},
       }},
      {102, 5, {{0, {0, 10, 0}, {0, 0, 0}, 0.0f}}},
  };
}

void ExpectLooking(const float* m, const float* eye, const float* at, const char* what) {
  float forward[3];
  qmz::NormalizeVector(eye, at, forward);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(m[9 + i], eye[i], 1e-3f) << what;
    EXPECT_NEAR(-m[6 + i], forward[i], 1e-4f) << what;
  }
}

TEST(CameraController, PlaysShot101FromAWrittenFileAndStops) {
  testsupport::ScopedWorkDir dir;
  std::string error;
  ASSERT_TRUE(datagen::WriteCameraControllers("camcon.cc", SampleShots(), error)) << error;
  qmz::CCameraController controller;
  ASSERT_EQ(controller.LoadController("CamCon.cc"), 1);
  std::vector<int> ids;
  EXPECT_EQ(controller.GetCameraControlID(ids), 2);
  EXPECT_EQ(ids, (std::vector<int>{101, 102}));

  ASSERT_EQ(controller.SelectController(101), 1);
  EXPECT_EQ(controller.IsPlaying(), 1);
  const float eye0[3] = {-80, -120, 60}, at0[3] = {0, 0, 40};
  ExpectLooking(controller.GetCameraMatrix(), eye0, at0, "frame 0");

  int updates = 0;
  while (controller.IsPlaying()) {
    ASSERT_EQ(controller.Update(1), 1);
    ++updates;
    const float* m = controller.GetCameraMatrix();
    if (updates == 15) {
      const float eye[3] = {-40, -110, 60}, at[3] = {0, 0, 40};  // half way to the second key
      ExpectLooking(m, eye, at, "frame 15");
    }
    if (updates == 30) {
      const float eye[3] = {0, -100, 60}, at[3] = {0, 0, 40};
      ExpectLooking(m, eye, at, "frame 30");
    }
    ASSERT_LE(updates, 60);
  }
  EXPECT_EQ(updates, 60);
  const float eye60[3] = {80, -120, 20}, at60[3] = {10, 0, 40};
  const float* m = controller.GetCameraMatrix();
  ExpectLooking(m, eye60, at60, "last key");
  // The last key's roll of 0.4 lifts the right axis.
  EXPECT_GT(m[2], 0.3f);
  EXPECT_EQ(controller.Update(1), 0);

  EXPECT_EQ(controller.SelectController(999), 0);
  EXPECT_EQ(controller.IsPlaying(), 0);
  ASSERT_EQ(controller.SelectController(102), 1);
  EXPECT_EQ(controller.Update(9), 1);  // one long step ends a 5-frame shot
  EXPECT_EQ(controller.IsPlaying(), 0);
}

TEST(CameraController, MalformedShotsAreLeftOut) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugOutputCapture output;
  std::ofstream("camcon.cc") << "#BEGIN_CAMERA\n"
                                "201 10 1  0  0 0 0  1 0 0  0\n"  // good
                                "202 10 2  0  0 0 0  1 0 0  0\n"  // second key missing
                                "#END_CAMERA\n"
                                "#BEGIN_CAMERA\n"
                                "203 10 99999\n"                  // absurd key count
                                "204 0 1  0  0 0 0  1 0 0  0\n"   // no frames
                                "205 10 1  0  5 5 5  5 5 5  0\n"  // eye on its target
                                "201 10 1  0  0 0 9  1 0 0  0\n"  // id given twice
                                "206 x\n"
                                "207 10 1\n  5\n  0 0 0\n  0 1 0\n  0.5\n"  // good, over lines
                                "208 10 2  -2147483648 0 0 0  1 0 0  0  5 0 0 0  1 0 0  0\n"
                                "209 10 1  1000001 0 0 0  1 0 0  0\n"  // beyond any play
                                "210 2147483647 2  -1000000 0 0 0  1 0 0  0  1000000 0 0 0  0 1 0  0\n"
                                "#END_CAMERA\n";
  qmz::CCameraController controller;
  ASSERT_EQ(controller.LoadController("camcon.cc"), 1);
  std::vector<int> ids;
  controller.GetCameraControlID(ids);
  EXPECT_EQ(ids, (std::vector<int>{201, 207, 210}));
  for (const char* fragment : {"202", "203", "204", "205", "given twice", "208", "209"})
    EXPECT_TRUE(output.Contains(fragment)) << fragment;
  // The longest shot and the longest step meet without overflow.
  ASSERT_EQ(controller.SelectController(210), 1);
  EXPECT_EQ(controller.Update(1000000), 1);
  EXPECT_EQ(controller.Update(INT_MAX), 1);
  EXPECT_EQ(controller.IsPlaying(), 0);
  EXPECT_EQ(controller.SelectController(202), 0);
  ASSERT_EQ(controller.SelectController(201), 1);
  EXPECT_NEAR(controller.GetCameraMatrix()[11], 0.0f, 1e-6f) << "the first 201 stays";

  EXPECT_EQ(controller.LoadController("missing.cc"), 0);
  EXPECT_EQ(controller.GetCameraControlID(ids), 0);
  EXPECT_EQ(controller.IsPlaying(), 0);
}

}  // namespace
