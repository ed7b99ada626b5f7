#include "platform/qel/camera_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "battle/battle_camera_tracks.h"
#include "platform/qel/vector_math.h"

namespace {

constexpr float kPi = 3.14159265f;

struct Pose {
  float eye[3];
  float view[3];  // the camera's -Z row
};

Pose PoseOf(const float* m) { return {{m[12], m[13], m[14]}, {-m[8], -m[9], -m[10]}}; }

void ExpectCameraMatrix(const float* m, const char* what) {
  // Orthonormal rows, world up kept on the camera's up side, affine last column.
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      float dot = m[r * 4] * m[c * 4] + m[r * 4 + 1] * m[c * 4 + 1] + m[r * 4 + 2] * m[c * 4 + 2];
      EXPECT_NEAR(dot, r == c ? 1.0f : 0.0f, 1e-4f) << what;
    }
    EXPECT_EQ(m[r * 4 + 3], 0.0f) << what;
  }
  EXPECT_EQ(m[15], 1.0f) << what;
  float cross[3];
  qmz::VectorCross(m, m + 4, cross);  // X x Y = Z: right-handed
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(cross[i], m[8 + i], 1e-4f) << what;
}

TEST(CameraTrack, EveryBattleTrackPlaysItsLengthAndStops) {
  struct Case {
    int id;
    int length;
  } cases[] = {{1, 60}, {2, 80}, {3, 60}, {4, 10}, {5, 10}, {7, 200}, {8, 600}, {9, 10}, {10, 10}};
  qmz::CCameraTrack track;
  AddBattleCameraTracks(track);
  for (const auto& c : cases) {
    const float centre[3] = {10, -20, 50};
    track.SetCenterPos(centre);
    track.SetRadius(120);
    track.SetAngleTheta(1);
    track.SetAnglePhi(kPi / 2);
    float camera[16];
    qmz::M12ToM16(std::vector<float>{1, 0, 0, 0, 0, 1, 0, -1, 0, 0, -300, 40}.data(), camera);
    ASSERT_EQ(track.SelectTrack(c.id), 1) << c.id;
    EXPECT_EQ(track.GetCurrentTrack(), c.id);
    int frames = 0;
    while (track.IsPlaying()) {
      ASSERT_EQ(track.Update(1, camera), 1) << c.id;
      ExpectCameraMatrix(camera, "battle track");
      ASSERT_LE(++frames, c.length) << c.id;
    }
    EXPECT_EQ(frames, c.length) << c.id;
    float before[16];
    std::copy(camera, camera + 16, before);
    EXPECT_EQ(track.Update(1, camera), 0) << c.id;
    EXPECT_TRUE(std::equal(camera, camera + 16, before)) << "nothing written after the end";
  }
}

TEST(CameraTrack, IntroductionShrinksToEightyAndStops) {
  qmz::CCameraTrack track;
  AddBattleCameraTracks(track);
  const float centre[3] = {0, 0, 50};
  track.SetCenterPos(centre);
  track.SelectTrack(1);
  float camera[16] = {};
  std::vector<float> radii;
  while (track.IsPlaying()) {
    track.Update(1, camera);
    radii.push_back(track.GetState().radius);
    // The orbit keeps the centre straight ahead at the radius.
    Pose p = PoseOf(camera);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p.eye[i] + radii.back() * p.view[i], centre[i], 1e-2f);
  }
  ASSERT_EQ(radii.size(), 60u);
  EXPECT_FLOAT_EQ(radii[0], 400);
  size_t stop = 1;
  while (stop < radii.size() && radii[stop] < radii[stop - 1]) ++stop;
  EXPECT_LE(radii[stop - 1], 80.0f);  // it stopped because it reached 80
  EXPECT_GT(radii[stop - 2], 80.0f);
  EXPECT_LT(stop, 50u);
  for (size_t i = stop; i < radii.size(); ++i) EXPECT_EQ(radii[i], radii[stop - 1]);
  // The camera stands 0.1 rad above the level of the centre, looking down at it.
  EXPECT_LT(PoseOf(camera).view[2], 0.0f);
}

TEST(CameraTrack, DollyTracksMoveTheEyeAlongTheViewAxis) {
  struct Case {
    int id;
    float step;  // along the view per frame after the first
  } cases[] = {{4, 8}, {5, -8}, {10, 6}};
  for (const auto& c : cases) {
    qmz::CCameraTrack track;
    AddBattleCameraTracks(track);
    // A camera at (100, 50, 80) looking down towards -x, -y.
    float view[3] = {-0.6f, -0.48f, -0.64f};
    qmz::NormalizeVector(view);
    float camera[16];
    {
      float right[3], up[3], worldUp[3] = {0, 0, 1};
      qmz::VectorCross(view, worldUp, right);
      qmz::NormalizeVector(right);
      qmz::VectorCross(right, view, up);
      float m12[12] = {right[0], right[1], right[2], up[0], up[1], up[2], -view[0], -view[1], -view[2], 100, 50, 80};
      qmz::M12ToM16(m12, camera);
    }
    float start[16];
    std::copy(camera, camera + 16, start);
    track.SelectTrack(c.id);
    ASSERT_EQ(track.Update(1, camera), 1);
    // Frame 1 takes the camera over unchanged: the angles read from it give it back.
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(camera[i], start[i], 1e-4f) << c.id << " [" << i << "]";
    Pose last = PoseOf(camera);
    for (int f = 2; f <= 10; ++f) {
      ASSERT_EQ(track.IsPlaying(), 1);
      track.Update(1, camera);
      Pose p = PoseOf(camera);
      for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(p.eye[i] - last.eye[i], c.step * view[i], 1e-3f) << c.id << " frame " << f;
        EXPECT_NEAR(p.view[i], view[i], 1e-4f) << c.id;
      }
      last = p;
    }
    EXPECT_EQ(track.IsPlaying(), 0) << c.id;
  }
}

TEST(CameraTrack, StepsOfSeveralFramesCallEachFrameOnce) {
  qmz::CCameraTrack track;
  std::vector<int> seen;
  track.AddTrack({6, 1, 8, [&seen](qmz::CAMERATRACKSTATE&, int f, const float*) { seen.push_back(f); }});
  float camera[16];
  track.SelectTrack(6);
  track.Update(3, camera);
  track.Update(0, camera);  // counts as one frame
  track.Update(3, camera);
  EXPECT_EQ(track.IsPlaying(), 1);
  track.Update(3, camera);  // only frame 8 is left
  EXPECT_EQ(track.IsPlaying(), 0);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(CameraTrack, RollTurnsTheCameraAboutItsViewAxis) {
  qmz::CCameraTrack track;
  AddBattleCameraTracks(track);
  const float centre[3] = {0, 0, 0};
  track.SetCenterPos(centre);
  track.SelectTrack(2);
  float camera[16];
  track.Update(1, camera);  // roll -0.2
  // Rolled clockwise as seen from behind: the right axis dips.
  EXPECT_NEAR(camera[2], std::tan(-0.2f) * camera[6], 1e-4f);
  EXPECT_LT(camera[2], 0.0f);
  for (int f = 2; f <= 75; ++f) track.Update(1, camera);
  EXPECT_NEAR(track.GetState().roll, 0.0f, 1e-5f);
  EXPECT_NEAR(camera[2], 0.0f, 1e-5f);  // level again
}

TEST(CameraTrack, UnknownTracksAndReplacedTracks) {
  qmz::CCameraTrack track;
  float camera[16] = {};
  EXPECT_EQ(track.SelectTrack(3), 0);
  EXPECT_EQ(track.IsPlaying(), 0);
  EXPECT_EQ(track.GetCurrentTrack(), 0);
  EXPECT_EQ(track.Update(1, camera), 0);

  int calls = 0;
  track.AddTrack({3, 1, 0, [&calls](qmz::CAMERATRACKSTATE&, int, const float*) { ++calls; }});
  EXPECT_EQ(track.SelectTrack(3), 0) << "a track without frames is refused";
  track.AddTrack({3, 1, 5, nullptr});
  track.AddTrack({3, 1, 2, [&calls](qmz::CAMERATRACKSTATE&, int, const float*) { ++calls; }});
  ASSERT_EQ(track.SelectTrack(3), 1);
  while (track.IsPlaying()) track.Update(1, camera);
  EXPECT_EQ(calls, 2);
  track.SelectTrack(3);
  track.Stop();
  EXPECT_EQ(track.Update(1, camera), 0);
}

}  // namespace
