#pragma once
#include <array>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// A lens flare of 16 additive billboards strung along the line from the
// light's point at the view-centre depth through the view centre.
class CAJFlare {
 public:
  static constexpr int kElementCount = 16;
  // Never 0 or 1, so the first visibility test always applies.
  static constexpr int kVisibilityUnknown = 12345;

  CAJFlare();
  virtual ~CAJFlare();
  CAJFlare(const CAJFlare&) = delete;
  CAJFlare& operator=(const CAJFlare&) = delete;

  // The first enabling makes the billboards; then they follow the flag.
  void SetEnabled(int on);
  int IsEnabled() const { return enabled_; }
  // A null eye only makes the billboards.
  void CreateSprites(const VECTOR3* eye, const VECTOR3* viewDirection);
  // Stored normalised.
  void SetLightDirection(const VECTOR3& direction);
  const VECTOR3& GetLightDirection() const { return lightDirection_; }
  void Update(const VECTOR3& eye, const VECTOR3& viewDirection);

  HOBJECT Sprite(int i) const { return sprites_[i]; }
  int Visibility() const { return visible_; }

 private:
  int enabled_ = 0;
  int visible_ = kVisibilityUnknown;
  std::array<HOBJECT, kElementCount> sprites_{};
  VECTOR3 lightDirection_{1, 1, 0};
};
