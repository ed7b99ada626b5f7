#pragma once
// Writer of camera-track text files ("camera\fcamera.sc" and the camera
// shots): keyframed cameras for the camera-script component.
//
// The file is whitespace-separated text. Any run of bytes at or below the
// space character separates values, so line ends are free; a '#' or ';'
// where a value could start comments out the rest of its line. Keywords are
// compared without regard to case. A word the reader does not know at the
// top level skips the rest of its line (the writer's header comment uses
// that too). Layout:
//   TotalCamera <count>                     before every camera
//   BeginCamera <name>                      the name's last two characters are
//                                           its number, 01 .. count
//   <position x y z> <target x y z> <field of view (radians)> <roll> <two floats>
//   KeyPos <first> <last> <count>           then count lines: frame x y z
//   KeyFov <first> <last> <count>           then count lines: frame value
//   KeyRoll <first> <last> <count>          then count lines: frame value
//   KeyTarget <first> <last> <count>        then count lines: frame x y z
//   CameraParent <offset x y z>             then its KeyPos (frame x y z) and
//   TargetParent <offset x y z>             KeyRoll (frame axis x y z angle) blocks
//   EndCamera <int> <int>
// Empty tracks and absent parents are not written.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

struct CameraTrackRange {
  int32_t first = 0;
  int32_t last = 0;
};
struct CameraPointKey {
  int32_t frame = 0;
  float x = 0, y = 0, z = 0;
};
struct CameraValueKey {
  int32_t frame = 0;
  float value = 0;
};
struct CameraRotationKey {
  int32_t frame = 0;
  float x = 0, y = 0, z = 0, angle = 0;
};

struct CameraParentData {
  bool present = false;
  std::array<float, 3> offset{};
  CameraTrackRange positionRange;
  std::vector<CameraPointKey> positionKeys;
  CameraTrackRange rotationRange;
  std::vector<CameraRotationKey> rotationKeys;
};

struct CameraTrackData {
  std::string name;  // ends in its two-digit number
  std::array<float, 3> position{};
  std::array<float, 3> target{};
  float fieldOfView = 0;
  float roll = 0;
  std::array<float, 2> extra{};
  std::array<int32_t, 2> endValues{};
  CameraTrackRange positionRange;
  std::vector<CameraPointKey> positionKeys;
  CameraTrackRange fieldOfViewRange;
  std::vector<CameraValueKey> fieldOfViewKeys;
  CameraTrackRange rollRange;
  std::vector<CameraValueKey> rollKeys;
  CameraTrackRange targetRange;
  std::vector<CameraPointKey> targetKeys;
  CameraParentData cameraParent;
  CameraParentData targetParent;
};

// count: the "TotalCamera" value (-1: the number of cameras).
std::string BuildCameraTrackFile(const std::vector<CameraTrackData>& cameras, int count = -1);
bool WriteCameraTrackFile(const std::string& path, const std::vector<CameraTrackData>& cameras, std::string& error);

}  // namespace datagen
