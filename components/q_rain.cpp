#include "components/q_rain.h"

void CQRain::SetEnabled(int on) {
  enabled_ = on ? 1 : 0;
  // MINIMAL: no drops exist yet, so switching off ends the rain at once.
  running_ = enabled_;
}

// MINIMAL: the drop box does not follow the camera yet.
void CQRain::Update(const VECTOR3&, const VECTOR3&) {}

// MINIMAL: no drops fall yet.
void CQRain::Step(float) {}
