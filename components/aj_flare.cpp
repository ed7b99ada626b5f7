#include "components/aj_flare.h"

CAJFlare::CAJFlare() { NormalizeVector3(&lightDirection_); }

void CAJFlare::SetLightDirection(const VECTOR3& direction) {
  lightDirection_ = direction;
  NormalizeVector3(&lightDirection_);
}

// MINIMAL: the flare's sprites are not built or drawn yet.
void CAJFlare::Update(const VECTOR3&, const VECTOR3&) {}
