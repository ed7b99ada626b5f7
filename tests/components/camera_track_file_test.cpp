#include <gtest/gtest.h>

#include <string>

#include "components/camera_track_file.h"
#include "platform/files.h"
#include "tests/support/captures.h"
#include "tools/datagen/camera_track_writer.h"
#include "tools/datagen/output_file.h"

namespace {

using datagen::CameraTrackData;

class CameraTrackFileTest : public ::testing::Test {
 protected:
  void WriteText(const std::string& text) {
    std::string error;
    ASSERT_TRUE(datagen::WriteOutputFile("camera/test.sc", std::vector<uint8_t>(text.begin(), text.end()), error))
        << error;
  }
  void Write(const std::vector<CameraTrackData>& cameras, int count = -1) {
    WriteText(datagen::BuildCameraTrackFile(cameras, count));
  }

  testsupport::ScopedWorkDir dir_;
  testsupport::DebugTraceCapture trace_;
};

TEST_F(CameraTrackFileTest, EveryFieldIsRead) {
  CameraTrackData c;
  c.name = "Camera01";
  c.position = {1, 2, 3};
  c.target = {4, 5, 6};
  c.fieldOfView = 0.75f;
  c.roll = 12.5f;
  c.extra = {-1, 2.25f};
  c.endValues = {7, 99};
  c.positionRange = {0, 30};
  c.positionKeys = {{0, 1, 2, 3}, {30, -4, 5.5f, 6}};
  c.fieldOfViewRange = {5, 20};
  c.fieldOfViewKeys = {{5, 0.5f}, {20, 0.25f}};
  c.rollRange = {0, 10};
  c.rollKeys = {{10, -3}};
  c.targetRange = {2, 8};
  c.targetKeys = {{2, 9, 8, 7}, {8, 6, 5, 4}};
  Write({c});

  CCameraTrackFile file("camera\\test.sc");
  ASSERT_EQ(file.cameraCount, 1);
  ASSERT_EQ(file.cameras.size(), 1u);
  const CAMERARECORDDESC& r = file.cameras[0];
  EXPECT_STREQ(r.name, "Camera01");
  EXPECT_FLOAT_EQ(r.position[2], 3);
  EXPECT_FLOAT_EQ(r.target[0], 4);
  EXPECT_FLOAT_EQ(r.fieldOfView, 0.75f);
  EXPECT_FLOAT_EQ(r.roll, 12.5f);
  EXPECT_FLOAT_EQ(r.extra[1], 2.25f);
  EXPECT_EQ(r.endValues[1], 99);
  EXPECT_EQ(r.positionTrack.last, 30);
  ASSERT_EQ(r.positionTrack.count, 2);
  EXPECT_EQ(r.positionKeys[1].frame, 30);
  EXPECT_FLOAT_EQ(r.positionKeys[1].y, 5.5f);
  EXPECT_EQ(r.fieldOfViewTrack.first, 5);
  EXPECT_FLOAT_EQ(r.fieldOfViewKeys[1].value, 0.25f);
  ASSERT_EQ(r.rollKeys.size(), 1u);
  EXPECT_FLOAT_EQ(r.rollKeys[0].value, -3);
  EXPECT_EQ(r.targetTrack.count, 2);
  EXPECT_FLOAT_EQ(r.targetKeys[1].z, 4);
  EXPECT_EQ(r.cameraParent, 0);
  EXPECT_EQ(r.targetParent, 0);
}

TEST_F(CameraTrackFileTest, NumbersPlaceCamerasAndParentsTheirRecords) {
  CameraTrackData second;
  second.name = "Shot02";
  second.targetParent.present = true;
  second.targetParent.offset = {1, 2, 3};
  second.targetParent.rotationRange = {0, 10};
  second.targetParent.rotationKeys = {{0, 0, 0, 1, 0}, {10, 0, 0, 1, 1.5f}};
  CameraTrackData third;
  third.name = "Shot03";
  third.cameraParent.present = true;
  third.cameraParent.offset = {10, 20, 30};
  third.cameraParent.positionRange = {0, 5};
  third.cameraParent.positionKeys = {{0, 1, 1, 1}, {5, 2, 2, 2}};
  third.targetParent = second.targetParent;
  third.targetParent.offset = {-1, -2, -3};
  Write({second, third}, 3);

  CCameraTrackFile file("camera/test.sc");
  ASSERT_EQ(file.cameraCount, 3);
  EXPECT_STREQ(file.cameras[0].name, "") << "record 0 stays zero";
  const CAMERARECORDDESC& two = file.cameras[1];
  EXPECT_STREQ(two.name, "Shot02") << "a name ending in 02 fills record 1";
  EXPECT_EQ(two.cameraParent, 0);
  EXPECT_EQ(two.targetParent, 1) << "only a target parent: record 0, one record";
  EXPECT_FLOAT_EQ(two.parents[0].offset[1], 2);
  ASSERT_EQ(two.parents[0].rotationTrack.count, 2);
  EXPECT_FLOAT_EQ(two.parents[0].rotationKeys[1].angle, 1.5f);
  const CAMERARECORDDESC& three = file.cameras[2];
  EXPECT_EQ(three.cameraParent, 1);
  EXPECT_EQ(three.targetParent, 2) << "both parents: the target's is record 1";
  EXPECT_FLOAT_EQ(three.parents[0].offset[0], 10);
  EXPECT_FLOAT_EQ(three.parents[0].positionKeys[1].z, 2);
  EXPECT_FLOAT_EQ(three.parents[1].offset[2], -3);
  EXPECT_EQ(three.parents[1].rotationKeys.size(), 2u);
}

TEST_F(CameraTrackFileTest, BadNumbersAndEmptyBlocks) {
  WriteText(
      "BeginCamera Early01\n0 0 0 0 0 0 0 0 0 0\nEndCamera 0 0\n"
      "; the count comes late\n"
      "totalcamera 2\n"
      "Someword to skip KeyPos 1 2 3\n"
      "BeginCamera Cam00\n1 1 1 1 1 1 1 1 1 1\nKeyPos 0 10 5\n0 1 1 1\n1 1 1 1\n2 1 1 1\n3 1 1 1\n4 1 1 1\nEndCamera 1 "
      "1\n"
      "BeginCamera Cam05\n0 0 0 0 0 0 0 0 0 0\nEndCamera 0 0\n"
      "BeginCamera CamXY\n0 0 0 0 0 0 0 0 0 0\nEndCamera 0 0\n"
      "BeginCamera Cam01\n5 6 7 # where it starts\n 8 9 10 0.5 0 0 0\n"
      "KEYPOS 0 0 0\nKeyFov 0 0 0\nEndCamera 3 4\n");
  CCameraTrackFile file("camera/test.sc");
  ASSERT_EQ(file.cameraCount, 2);
  const CAMERARECORDDESC& one = file.cameras[0];
  EXPECT_STREQ(one.name, "Cam01");
  EXPECT_FLOAT_EQ(one.position[2], 7);
  EXPECT_FLOAT_EQ(one.target[0], 8) << "a comment between values";
  EXPECT_EQ(one.positionTrack.count, 0);
  EXPECT_TRUE(one.positionKeys.empty()) << "a block of no keys allocates nothing";
  EXPECT_EQ(one.fieldOfViewKeys.capacity(), 0u);
  EXPECT_EQ(one.endValues[0], 3);
  EXPECT_STREQ(file.cameras[1].name, "") << "no camera 02";
  int skipped = 0;
  for (const std::string& line : trace_.Lines()) skipped += line.find("has no place") != std::string::npos;
  EXPECT_EQ(skipped, 4) << "before the count, 00, 05 and XY";
}

// Playing steps frames up to the last and divides by the frames between
// keys, in ints: hostile frame numbers are held where neither overflows.
TEST_F(CameraTrackFileTest, HostileFrameNumbersAreHeld) {
  WriteText(
      "TotalCamera 1\nBeginCamera C01\n0 0 0 0 0 0 0 0 0 0\n"
      "KeyPos -2147483648 2147483647 2\n-2147483648 1 2 3\n2147483647 4 5 6\n"
      "KeyFov 0 99999999 1\n7 0.5\nEndCamera 0 0\n");
  CCameraTrackFile file("camera/test.sc");
  ASSERT_EQ(file.cameraCount, 1);
  const CAMERARECORDDESC& c = file.cameras[0];
  EXPECT_EQ(c.positionTrack.first, -(1 << 20));
  EXPECT_EQ(c.positionTrack.last, 1 << 20);
  ASSERT_EQ(c.positionKeys.size(), 2u);
  EXPECT_EQ(c.positionKeys[0].frame, -(1 << 20));
  EXPECT_EQ(c.positionKeys[1].frame, 1 << 20);
  EXPECT_FLOAT_EQ(c.positionKeys[1].z, 6);
  EXPECT_EQ(c.fieldOfViewTrack.last, 1 << 20);
  EXPECT_EQ(c.fieldOfViewKeys[0].frame, 7) << "a plain number is read as it stands";
}

TEST_F(CameraTrackFileTest, MissingShortAndOversizedFiles) {
  CCameraTrackFile missing("camera/none.sc");
  EXPECT_EQ(missing.cameraCount, 0);
  EXPECT_TRUE(missing.cameras.empty());

  WriteText("TotalCamera 1\nBeginCamera C01\n1 2 3 4 5 6 7 8 9 10\nKeyPos 0 100 2000000000\n0 1 2 3\n5 4 5 6\n");
  CCameraTrackFile cut("camera/test.sc");
  ASSERT_EQ(cut.cameraCount, 1);
  EXPECT_EQ(cut.cameras[0].positionTrack.count, 2) << "only the keys that are there";
  EXPECT_EQ(cut.cameras[0].positionKeys.size(), 2u);
  EXPECT_FLOAT_EQ(cut.cameras[0].positionKeys[1].z, 6);

  WriteText("TotalCamera 2000000000\nTotalCamera -5\n");
  CCameraTrackFile negative("camera/test.sc");
  EXPECT_EQ(negative.cameraCount, 0);
  WriteText("TotalCamera 2000000000\n");
  CCameraTrackFile huge("camera/test.sc");
  EXPECT_EQ(huge.cameraCount, CCameraTrackFile::kMaxCameras) << "two digits number at most 99";
}

}  // namespace
