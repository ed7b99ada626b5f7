#pragma once
#include "engine/core/math3d.h"

// A lens flare of 16 sprites towards a fixed light direction.
class CAJFlare {
 public:
  CAJFlare();
  virtual ~CAJFlare() = default;

  void SetEnabled(int on) { enabled_ = on ? 1 : 0; }
  int IsEnabled() const { return enabled_; }
  // Stored normalised.
  void SetLightDirection(const VECTOR3& direction);
  const VECTOR3& GetLightDirection() const { return lightDirection_; }
  void Update(const VECTOR3& eye, const VECTOR3& viewDirection);

 private:
  int enabled_ = 0;
  VECTOR3 lightDirection_{1, 1, 0};
};
