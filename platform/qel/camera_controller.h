#pragma once
#include <cstddef>
#include <vector>

namespace qmz {

// One key of a scripted camera shot, in the frame of the body the shot is
// played on (the caller multiplies the camera matrix by the body's matrix).
struct CAMERAKEYDESC {
  int frame;
  float eye[3];
  float lookAt[3];
  float roll;  // radians about the view axis, counter-clockwise seen from behind the camera
};

struct CAMERACONTROLDESC {
  int id;
  int length;  // frames
  std::vector<CAMERAKEYDESC> keys;
};

// Scripted camera shots read from a block file ("camcon.cc"):
//
//   // id length key-count, then per key: frame, eye x y z, look-at x y z, roll
//   #BEGIN_CAMERA
//   101 60 2
//     0  -80 -120 60   0 0 40  0
//     60  80 -120 60   0 0 40  0
//   #END_CAMERA
//
// A record may run over any number of lines. Between keys the eye, the
// look-at point and the roll move linearly; before the first key and after
// the last the camera holds still. A shot plays its length in frames.
class CCameraController {
 public:
  static constexpr const char* kBeginMark = "#BEGIN_CAMERA";
  static constexpr const char* kEndMark = "#END_CAMERA";
  static constexpr const char* kRemark = "//";
  static constexpr int kMaxKeys = 1024;

  // Replaces the shots with those of the file; 0 when it cannot be read.
  // A malformed shot is left out with a line on the debug output.
  int LoadController(const char* path);
  // The ids of the shots in file order; returns their number.
  int GetCameraControlID(std::vector<int>& ids) const;
  // Starts the shot at frame 0: 1 when it exists; otherwise 0 and nothing plays.
  int SelectController(int id);
  int IsPlaying() const { return playing_ ? 1 : 0; }
  // Plays `frames` frames (at least one) up to the shot's end; non-zero when
  // the camera matrix was recomputed.
  int Update(int frames);
  // The camera rows (M12): it looks along its local -Z with +Z up.
  const float* GetCameraMatrix() const { return matrix_; }

 private:
  void Pose();

  std::vector<CAMERACONTROLDESC> shots_;
  size_t current_ = 0;
  int frame_ = 0;
  bool playing_ = false;
  float matrix_[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
};

}  // namespace qmz
