#pragma once
#include "engine/core/math3d.h"

// A camera-relative box of drifting glowing particles.
class CParticleField {
 public:
  CParticleField() = default;
  virtual ~CParticleField() = default;

  void SetVisible(int on) { visible_ = on ? 1 : 0; }
  int IsVisible() const { return visible_; }
  // A budget of n quads, 5 x n particles.
  void SetCount(int n);
  int GetCount() const { return count_; }
  void SetDrift(const VECTOR3& direction, float speed);
  const VECTOR3& GetDriftDirection() const { return driftDirection_; }
  float GetDriftSpeed() const { return driftSpeed_; }
  void SetGroundLevel(float z);
  void Update();
  // Frees the particles' mesh and material.
  void Release();

 private:
  int visible_ = 0;
  int count_ = 0;
  VECTOR3 driftDirection_{1, 0, 0};
  float driftSpeed_ = 0;
  float groundLevel_ = 0;
};
