#include "battle/battle_camera_tracks.h"

#include <cmath>

namespace {

using State = qmz::CAMERATRACKSTATE;

constexpr float kPi = 3.14159265f;

// A standing track takes over the camera as it is: its eye, and the view
// along the camera's -Z (the third row d).
void TakeOverCamera(State& s, const float* camera16) {
  for (int i = 0; i < 3; ++i) s.center[i] = camera16[12 + i];
  s.theta = std::atan2(-camera16[9], -camera16[8]);
  s.phi = std::acos(-camera16[10]);
}

// Moves the eye by -step along d each frame after the first (forward for a
// positive step).
qmz::CameraTrackProc Dolly(float step) {
  return [step](State& s, int f, const float* camera16) {
    if (f == 1) {
      TakeOverCamera(s, camera16);
      return;
    }
    for (int i = 0; i < 3; ++i) s.center[i] -= step * camera16[8 + i];
  };
}

void Introduction1(State& s, int f, const float*) {
  if (f == 1) {
    s.radius = 400;
    s.theta = 3 * kPi / 2 + 0.5f;
    s.phi = kPi / 2 + 0.1f;
  } else if (f < 50 && s.radius > 80) {
    s.radius -= 8 - 0.02f * f;
  }
}

void Introduction2(State& s, int f, const float*) {
  if (f == 1) {
    s.radius = 600;
    s.theta = 0.5f;
    s.phi = kPi / 2 + 0.01f;
    s.roll = -0.2f;
  } else if (f < 50) {
    s.radius -= 10 - 0.02f * f;
    s.phi = kPi / 2 + 0.002f * f;
  } else if (f > 55 && f <= 75) {
    if (s.radius > 60) s.radius -= 1.6f;
    s.theta -= 0.02f;
    s.roll = 0.01f * (f - 55) - 0.2f;
  }
}

void Introduction3(State& s, int f, const float*) {
  if (f == 1) {
    s.radius = 300;
    s.theta = kPi / 2 + 2.45f;
    s.phi = kPi / 2 - 0.98f;
  } else if (f <= 50) {
    s.theta = kPi / 2 + 0.05f * (50 - f);
    s.phi = kPi / 2 - 0.02f * (50 - f);
  }
}

void Victory(State& s, int f, const float*) {
  if (f == 1) return;
  s.radius += 1;
  s.theta += 0.047123886f;
}

void Defeat(State& s, int f, const float*) {
  if (f > 1) s.theta += 0.01f;
}

void PullBack(State& s, int f, const float*) {
  if (f > 1) s.radius += 6;
}

}  // namespace

void AddBattleCameraTracks(qmz::CCameraTrack& track) {
  track.AddTrack({1, 1, 60, Introduction1});
  track.AddTrack({2, 1, 80, Introduction2});
  track.AddTrack({3, 1, 60, Introduction3});
  track.AddTrack({4, 2, 10, Dolly(8)});
  track.AddTrack({5, 2, 10, Dolly(-8)});
  track.AddTrack({7, 1, 200, Victory});
  track.AddTrack({8, 1, 600, Defeat});
  track.AddTrack({9, 1, 10, PullBack});
  track.AddTrack({10, 2, 10, Dolly(6)});
}
