#include "cutscene/camera_actor.h"

#include <cmath>

#include "engine/core/cameras.h"
#include "engine/core/engine_queries.h"

namespace {

float Length(const VECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

bool Usable(const VECTOR3& v) {
  const float length = Length(v);
  return std::isfinite(length) && length > 1e-6f;
}

}  // namespace

float SCamera::GetFieldOfView() { return GetCameraFieldOfView(cameraNode_); }

void SCamera::SetFieldOfView(float degrees) { SetCameraFieldOfView(cameraNode_, aspect_, degrees); }

void STCamera::Reset() {
  target_ = nullptr;
  locked_ = 0;
  const VECTOR3 origin{0, 0, 0};
  SVisual::SetTransform(&origin, nullptr, nullptr);
  targetOffset_ = defaultTargetOffset_;
}

int STCamera::Update(int) {
  if (locked_) TurnStep();
  return 0;
}

void STCamera::LockTarget(SVisual* target, int frames) {
  target_ = target;
  if (!target) {
    locked_ = 0;
    return;
  }
  locked_ = 1;
  turnFrames_ = frames;
  TurnStep();
}

void STCamera::SetTargetOffset(float x, float y, float z) { targetOffset_ = {x, y, z}; }

void STCamera::TurnStep() {
  VECTOR3 target{0, 0, 0}, position{0, 0, 0}, forward{0, 0, -1};
  target_->GetTransform(&target, nullptr, nullptr);
  GetTransform(&position, &forward, nullptr);
  const VECTOR3 toTarget{target.x + targetOffset_.x - position.x, target.y + targetOffset_.y - position.y,
                         target.z + targetOffset_.z - position.z};
  // A target on the camera gives no way to look: keep the present direction.
  // A target right behind can cancel the turn out (at two frames F + (W - F)
  // / 2 is zero): then look at it at once. The engine never gets a zero or a
  // NaN direction.
  VECTOR3 turned = forward;
  if (Usable(toTarget)) {
    const float length = Length(toTarget);
    const VECTOR3 wanted{toTarget.x / length, toTarget.y / length, toTarget.z / length};
    const float n = turnFrames_ > 0 ? static_cast<float>(turnFrames_) : 1.0f;
    turned = {forward.x + (wanted.x - forward.x) / n, forward.y + (wanted.y - forward.y) / n,
              forward.z + (wanted.z - forward.z) / n};
    if (!Usable(turned)) turned = wanted;
  }
  if (!Usable(turned)) turned = {0, 0, -1};
  SVisual::SetTransform(&position, &turned, nullptr);
  if (turnFrames_ > 1) --turnFrames_;
}
