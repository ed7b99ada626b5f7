#pragma once
#include "engine/core/math3d.h"

// Rain of up to 450 drops in a box in front of the camera.
class CQRain {
 public:
  CQRain() = default;
  virtual ~CQRain() = default;

  // Switching off lets the running drops finish.
  void SetEnabled(int on);
  // Moves the rain box with the camera.
  void Update(const VECTOR3& eye, const VECTOR3& viewDirection);
  // Moves and respawns the drops above the ground.
  void Step(float groundZ);
  int IsRunning() const { return running_; }

 private:
  int enabled_ = 0;
  int running_ = 0;
};
