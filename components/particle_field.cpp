#include "components/particle_field.h"

#include <algorithm>

// MINIMAL: only the budget is kept; no particles are made.
void CParticleField::SetCount(int n) { count_ = std::max(n, 0); }

void CParticleField::SetDrift(const VECTOR3& direction, float speed) {
  driftDirection_ = direction;
  NormalizeVector3(&driftDirection_);
  driftSpeed_ = speed;
}

void CParticleField::SetGroundLevel(float z) { groundLevel_ = z; }

// MINIMAL: nothing drifts or draws yet.
void CParticleField::Update() {}

// MINIMAL: no mesh or material exists yet to free.
void CParticleField::Release() {}
