#pragma once
#include <cstddef>
#include <functional>
#include <vector>

namespace qmz {

// The pose a camera track steers, in the spherical convention of
// view_matrix.h. Kind 1 orbits: the eye is center - radius u(theta, phi).
// Kind 2 stands: the eye is center itself; radius is not used.
struct CAMERATRACKSTATE {
  float center[3];
  float theta;
  float phi;
  float radius;
  float roll;  // about the view axis, counter-clockwise seen from behind the camera
};

// Called once per frame of a playing track with the frame number (1 on the
// first frame) and the 16-float camera matrix handed to Update; it changes the state.
using CameraTrackProc = std::function<void(CAMERATRACKSTATE& state, int frame, const float* camera16)>;

struct CAMERATRACKDESC {
  int id;
  int kind;    // 1 orbit, 2 stand
  int length;  // frames
  CameraTrackProc proc;
};

// Procedural camera moves. A selected track plays its length in frames, one
// procedure call per frame, and writes the camera matrix after each Update.
// The state carries over from track to track and from the setters, so a
// caller may place the camera before selecting a track.
class CCameraTrack {
 public:
  // A track of an id already added replaces it; a length below 1 is refused.
  void AddTrack(const CAMERATRACKDESC& desc);
  // Starts the track at frame 0; 0 (and nothing plays) when no track has the id.
  int SelectTrack(int id);
  void Stop() { playing_ = false; }
  int IsPlaying() const { return playing_ ? 1 : 0; }
  // The id of the track selected last, 0 when none.
  int GetCurrentTrack() const { return currentId_; }

  void SetCenterPos(const float* point);
  void SetAngleTheta(float a) { state_.theta = a; }
  void SetAnglePhi(float a) { state_.phi = a; }
  void SetRadius(float r) { state_.radius = r; }
  const CAMERATRACKSTATE& GetState() const { return state_; }

  // Plays `frames` frames (at least one) up to the track's end and writes the
  // camera matrix (M16) into camera16; 0 and nothing written when no track plays.
  int Update(int frames, float* camera16);

 private:
  std::vector<CAMERATRACKDESC> tracks_;
  CAMERATRACKSTATE state_{};
  size_t current_ = 0;  // index into tracks_ while playing
  int currentId_ = 0;
  int frame_ = 0;
  bool playing_ = false;
};

}  // namespace qmz
