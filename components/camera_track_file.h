#pragma once
#include <array>
#include <cstdint>
#include <vector>

// A camera-track text file: keyframed cameras with optional parent offsets,
// played by the camera-script component. Each key array holds its track's
// key count of keys.

struct TRACKRANGEDESC {
  int32_t first = 0;  // frame of the first key
  int32_t last = 0;   // frame of the last key
  int32_t count = 0;  // keys
};

struct CAMERAPOINTKEYDESC {
  int32_t frame = 0;
  float x = 0, y = 0, z = 0;
};

struct CAMERAVALUEKEYDESC {
  int32_t frame = 0;
  float value = 0;  // radians
};

struct CAMERAROTATIONKEYDESC {
  int32_t frame = 0;
  float x = 0, y = 0, z = 0;  // axis
  float angle = 0;            // radians
};

struct CAMERAPARENTDESC {
  float offset[3] = {0, 0, 0};  // start position
  TRACKRANGEDESC positionTrack;
  TRACKRANGEDESC rotationTrack;
  std::vector<CAMERAPOINTKEYDESC> positionKeys;
  std::vector<CAMERAROTATIONKEYDESC> rotationKeys;
};

struct CAMERARECORDDESC {
  char name[16] = {};
  float position[3] = {0, 0, 0};
  float target[3] = {0, 0, 0};
  float fieldOfView = 0;  // radians
  float roll = 0;         // degrees
  float extra[2] = {0, 0};
  int32_t endValues[2] = {0, 0};
  TRACKRANGEDESC positionTrack;
  TRACKRANGEDESC fieldOfViewTrack;
  TRACKRANGEDESC rollTrack;
  std::vector<CAMERAPOINTKEYDESC> positionKeys;
  std::vector<CAMERAVALUEKEYDESC> fieldOfViewKeys;
  std::vector<CAMERAVALUEKEYDESC> rollKeys;
  TRACKRANGEDESC targetTrack;
  std::vector<CAMERAPOINTKEYDESC> targetKeys;
  int32_t cameraParent = 0;  // 1 when parent record 0 carries the camera
  int32_t targetParent = 0;  // index + 1 of the parent record carrying the target, 0 none:
                             // also the number of parent records in use
  std::array<CAMERAPARENTDESC, 2> parents;
};

// The file is a list of keywords, each followed by its values, read through
// CTextTokenizer (blanks, line ends and '#' or ';' comment lines separate
// them):
//   TotalCamera n              the camera count; comes before every camera
//   BeginCamera <name>         the name ends in its two-digit number 01..n,
//     position x y z, target x y z, field of view, roll, two further floats
//     KeyPos first last count  then count keys: frame x y z
//     KeyFov first last count  then count keys: frame value
//     KeyRoll first last count then count keys: frame value
//     KeyTarget first last count  then count keys: frame x y z
//     CameraParent x y z       then its KeyPos (frame x y z) and KeyRoll
//     TargetParent x y z       (frame axis x y z, angle) blocks, if any
//   EndCamera a b              ends the camera; two integers
// Any other word at the top level skips its line. A camera numbered outside
// 1..n, or before the count, is read and dropped. A truncated file keeps
// the keys that were there, with the key counts cut to match. Frame numbers
// (first, last and each key's) are held to -2^20..2^20.
class CCameraTrackFile {
 public:
  // Reads the whole file; a missing file gives no cameras.
  explicit CCameraTrackFile(const char* path);

  static constexpr int kMaxCameras = 99;  // the number is two digits

  int32_t cameraCount = 0;
  std::vector<CAMERARECORDDESC> cameras;  // cameraCount records
};
