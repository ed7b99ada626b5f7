// The field camera's aimer and the default camera script.
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/camera_track_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

// A ring with a cross gap, on black (the key).
bool WriteAimer(const std::string& path, std::string& error) {
  BitmapDesc bitmap;
  bitmap.width = 24;
  bitmap.height = 24;
  bitmap.palette = {{0, 0, 0}, {240, 240, 200}, {200, 40, 40}};
  bitmap.forSprites = true;
  for (int y = 23; y >= 0; --y) {
    for (int x = 0; x < 24; ++x) {
      const float dx = static_cast<float>(x) - 11.5f;
      const float dy = static_cast<float>(y) - 11.5f;
      const float r2 = dx * dx + dy * dy;
      const bool ring = r2 >= 7.5f * 7.5f && r2 <= 9.5f * 9.5f && (dx * dx > 4 && dy * dy > 4);
      const bool dot = r2 <= 2.0f;
      bitmap.pixels.push_back(dot ? 2 : (ring ? 1 : 0));
    }
  }
  plat::ByteWriter out;
  return WriteBitmap(bitmap, out, error) && WriteOutputFile(path, out.Bytes(), error);
}

// Camera 1 circles the village square; camera 2 rides behind a moving parent
// and watches a target that is carried by another.
std::vector<CameraTrackData> FieldCameras() {
  CameraTrackData circle;
  circle.name = "Camera01";
  circle.position = {0, -300, 120};
  circle.target = {0, 0, 20};
  circle.fieldOfView = 0.9f;
  circle.positionRange = {0, 90};
  circle.positionKeys = {{0, 0, -300, 120}, {30, 300, 0, 120}, {60, 0, 300, 120}, {90, -300, 0, 120}};
  circle.targetRange = {0, 90};
  circle.targetKeys = {{0, 0, 0, 20}, {90, 0, 0, 20}};
  circle.fieldOfViewRange = {0, 90};
  circle.fieldOfViewKeys = {{0, 0.9f}, {90, 0.7f}};
  circle.endValues = {0, 90};

  CameraTrackData ride;
  ride.name = "Camera02";
  ride.position = {0, -80, 40};
  ride.target = {0, 0, 15};
  ride.fieldOfView = 0.8f;
  ride.rollRange = {0, 60};
  ride.rollKeys = {{0, 0}, {60, 5}};
  ride.cameraParent.present = true;
  ride.cameraParent.offset = {0, 0, 0};
  ride.cameraParent.positionRange = {0, 60};
  ride.cameraParent.positionKeys = {{0, -100, 0, 0}, {60, 100, 0, 0}};
  ride.targetParent.present = true;
  ride.targetParent.offset = {0, 0, 0};
  ride.targetParent.rotationRange = {0, 60};
  ride.targetParent.rotationKeys = {{0, 0, 0, 1, 0}, {60, 0, 0, 1, 1.5707964f}};
  ride.endValues = {0, 60};
  return {circle, ride};
}

}  // namespace

bool WriteSampleCamera(const std::string& root, std::string& error) {
  return WriteAimer(root + "image/aimer.bmp", error) &&
         WriteCameraTrackFile(root + "camera/fcamera.sc", FieldCameras(), error);
}

}  // namespace datagen
