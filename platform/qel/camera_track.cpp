#include "platform/qel/camera_track.h"

#include <algorithm>

#include "platform/debug_output.h"
#include "platform/qel/vector_math.h"
#include "platform/qel/view_matrix.h"

namespace qmz {

void CCameraTrack::AddTrack(const CAMERATRACKDESC& desc) {
  if (desc.length < 1) {
    plat::DebugOutput("qel: camera track " + std::to_string(desc.id) + " has no frames\n");
    return;
  }
  for (CAMERATRACKDESC& track : tracks_) {
    if (track.id == desc.id) {
      track = desc;
      return;
    }
  }
  tracks_.push_back(desc);
}

int CCameraTrack::SelectTrack(int id) {
  playing_ = false;
  currentId_ = 0;
  for (size_t i = 0; i < tracks_.size(); ++i) {
    if (tracks_[i].id == id) {
      current_ = i;
      currentId_ = id;
      frame_ = 0;
      playing_ = true;
      return 1;
    }
  }
  return 0;
}

void CCameraTrack::SetCenterPos(const float* point) { std::copy(point, point + 3, state_.center); }

int CCameraTrack::Update(int frames, float* camera16) {
  if (!playing_) return 0;
  const CAMERATRACKDESC& track = tracks_[current_];
  for (int step = std::max(frames, 1); step > 0 && frame_ < track.length; --step) {
    ++frame_;
    if (track.proc) track.proc(state_, frame_, camera16);
  }
  if (frame_ >= track.length) playing_ = false;

  float u[3], eye[3], m12[12];
  SphereDirection(state_.theta, state_.phi, u);
  for (int i = 0; i < 3; ++i) eye[i] = track.kind == 2 ? state_.center[i] : state_.center[i] - state_.radius * u[i];
  BuildViewMatrix12(eye, u, state_.roll, m12);
  M12ToM16(m12, camera16);
  return 1;
}

}  // namespace qmz
