#include "platform/qel/lct_camera.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qel/vector_math.h"
#include "platform/qel/view_matrix.h"

namespace qmz {
namespace {

constexpr float kPi = 3.14159265f;
// Below this an angle speed has died out.
constexpr float kSpeedFloor = 1e-5f;

float WrapAngle(float a) { return std::remainder(a, 2.0f * kPi); }

float Heading(const float* v) { return std::atan2(v[1], v[0]); }

}  // namespace

void CLCTCamera::InitCamera(const float* direction, const float* offset, const SPHEREDESC& sphere) {
  std::memcpy(offset_, offset, sizeof offset_);
  if (sphere.mask & SPHERE_RADIUS) radius_ = sphere.radius;
  if (sphere.mask & SPHERE_THETA) theta_ = WrapAngle(Heading(direction) + sphere.theta + kPi);
  if (sphere.mask & SPHERE_PHI) phi_ = kPi - sphere.phi;
  heroHeadingKnown_ = false;
  dirty_ = true;
}

void CLCTCamera::SetRestrictAngle(float down, float up) {
  downLimit_ = std::max(down, 0.0f);
  upLimit_ = std::max(up, 0.0f);
}

void CLCTCamera::GetMouseMessage(int x, int y, int flag) {
  if (flag != 0 && mouseKnown_ && enabled_) {
    // Half now: the halving speed spends the other half over the next frames.
    float k = kRadiansPerPixel * precision_ * 0.5f;
    speedTheta_ -= static_cast<float>(x - mouseX_) * k;
    speedPhi_ += static_cast<float>(y - mouseY_) * k;
  }
  mouseX_ = x;
  mouseY_ = y;
  mouseKnown_ = true;
}

void CLCTCamera::SetAngleSpeed(float theta, float phi) {
  speedTheta_ = theta;
  speedPhi_ = phi;
}

void CLCTCamera::SetDistance(float distance) {
  if (distance > 0.0f) radius_ = distance;
}

void CLCTCamera::GetLCTCenter(float* out, const float* hero16) const {
  float c[3] = {hero16[12], hero16[13], hero16[14]};
  for (int axis = 0; axis < 3; ++axis) {
    float row[3] = {hero16[axis * 4], hero16[axis * 4 + 1], hero16[axis * 4 + 2]};
    NormalizeVector(row);  // a scaled body does not stretch the offset
    for (int i = 0; i < 3; ++i) c[i] += offset_[axis] * row[i];
  }
  std::memcpy(out, c, sizeof c);
}

int CLCTCamera::Update(int frames, float* hero16, float* camera16) {
  if (!enabled_) return 0;
  float turned = 0.0f;
  for (int step = std::max(frames, 1); step > 0; --step) {
    turned += speedTheta_;
    phi_ += speedPhi_;
    speedTheta_ *= 0.5f;
    speedPhi_ *= 0.5f;
    if (std::fabs(speedTheta_) < kSpeedFloor) speedTheta_ = 0.0f;
    if (std::fabs(speedPhi_) < kSpeedFloor) speedPhi_ = 0.0f;
  }
  float lowest = kPi * 0.5f - upLimit_, highest = kPi * 0.5f + downLimit_;
  if (phi_ < lowest || phi_ > highest) {
    phi_ = std::clamp(phi_, lowest, highest);
    speedPhi_ = 0.0f;
  }

  float heading = Heading(hero16);
  if (followMode_ == FOLLOW_MUTUAL && heroHeadingKnown_) theta_ += WrapAngle(heading - heroHeading_);
  theta_ = WrapAngle(theta_ + turned);
  if (turned != 0.0f)
    for (int axis = 0; axis < 3; ++axis) Turn2DVectorAngle(hero16 + axis * 4, turned, hero16 + axis * 4);
  heroHeading_ = Heading(hero16);
  heroHeadingKnown_ = true;

  float centre[3], u[3], eye[3], m12[12], m16[16];
  GetLCTCenter(centre, hero16);
  SphereDirection(theta_, phi_, u);
  for (int i = 0; i < 3; ++i) eye[i] = centre[i] - radius_ * u[i];
  BuildViewMatrix12(eye, u, 0.0f, m12);
  M12ToM16(m12, m16);

  bool changed = dirty_ || turned != 0.0f;
  for (int i = 0; i < 16 && !changed; ++i) changed = std::fabs(m16[i] - lastCamera_[i]) > 1e-5f;
  if (!changed) return 0;
  std::memcpy(camera16, m16, sizeof m16);
  std::memcpy(lastCamera_, m16, sizeof m16);
  dirty_ = false;
  return 1;
}

}  // namespace qmz
