#include <algorithm>

#include "engine/core/lights.h"
#include "engine/core/materials.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/screen.h"
#include "platform/crt.h"
#include "platform/time.h"
#include "world/transition_effects.h"

namespace {

constexpr int kFront = 0;
constexpr int kBack = 1;
constexpr int kAxisZ = 2;
constexpr int kGreyLevel = 170;

void PlaceLike(HOBJECT copy, HOBJECT original) {
  MATRIX34 m;
  GetNodeMatrix(original, &m, 1);
  SetNodeMatrix(copy, &m, 0);
}

}  // namespace

STransRotate::STransRotate(const uint16_t* image, int withLight)
    : STransCommon(image, Planes::kTwoSided, AxisZ::kSigned) {
  if (!motions.empty()) motions[0].spin = static_cast<float>(20 + plat::Rand() % 10);
  const uint16_t grey = static_cast<uint16_t>(MapRGB(kGreyLevel, kGreyLevel, kGreyLevel));
  const uint16_t pixels[4] = {grey, grey, grey, grey};
  const float white[3] = {1, 1, 1};
  if (const HOBJECT old = GetPrimitiveMaterial(Model(kBack), 0)) {
    backMaterial_ =
        CreateMaterialFromPixels(white, white, white, white, 0.01f, 16, pixels, nullptr, 2, 2, 0, 0, 0, 0, 0);
    ReplaceNodeMaterial(Model(kBack), old, backMaterial_);
    DestroyMaterial(old);
  }
  for (int k = 0; k < kCopies; ++k) {
    frontCopies[k] = Model(kFront) ? CloneNodeDeep(Model(kFront)) : 0;
    backCopies[k] = Model(kBack) ? CloneNodeDeep(Model(kBack)) : 0;
  }
  if (withLight) {
    const float colour[3] = {1, 1, 1};
    light = CreateLightNode(0, 1, 1, colour);
    VECTOR3 at{0, 0, 0};
    GetNodeWorldVectors(camera, &at, nullptr, nullptr);
    SetNodePosition(light, at.x, at.y, at.z, TRANSFORM_SET);
  }
}

STransRotate::~STransRotate() {
  for (int k = 0; k < kCopies; ++k) {
    if (frontCopies[k]) DestroyNode(frontCopies[k]);
    if (backCopies[k]) DestroyNode(backCopies[k]);
  }
  if (light) DestroyNode(light);
}

int STransRotate::Reset() {
  STransCommon::Reset();
  for (int k = 0; k < kCopies; ++k) {
    PlaceLike(frontCopies[k], Model(kFront));
    PlaceLike(backCopies[k], Model(kBack));
    copyDelay[k] = 1;
    copyCountdown[k] = kFrames;
  }
  trailLength = -1;
  Show(1);
  return 0;
}

void STransRotate::Show(int flag) {
  STransCommon::Show(flag);
  // A copy appears only once its delay has run out.
  for (int k = 0; k < kCopies; ++k) {
    const int visible = flag && copyDelay[k] <= 0 ? 1 : 0;
    ShowNode(frontCopies[k], visible);
    ShowNode(backCopies[k], visible);
  }
}

void STransRotate::Move(HOBJECT node, int frames) const {
  // With no frames left the step divides by 1.
  const float divisor = static_cast<float>(std::max(frames, 1));
  SetNodePosition(node, -10 - 700 / divisor, 0, -static_cast<float>(frames + 90), TRANSFORM_PARENT);
  if (!motions.empty()) Spin(node, motions[0]);
}

int STransRotate::Step() {
  if (!NextFrame()) return -2;
  Move(Model(kFront), framesLeft);
  Move(Model(kBack), framesLeft);
  trailLength = std::min(trailLength + 1, kMaxTrail);
  for (int k = 0; k <= trailLength; ++k) {
    --copyDelay[k];
    --copyCountdown[k];
    if (copyDelay[k] > 0) continue;
    ShowNode(frontCopies[k], 1);
    ShowNode(backCopies[k], 1);
    Move(frontCopies[k], copyCountdown[k]);
    Move(backCopies[k], copyCountdown[k]);
  }
  return 0;
}

STransFBR::STransFBR(const uint16_t* image) : STransCommon(image, Planes::kTwoSided, AxisZ::kSigned, false) {
  plat::Srand(static_cast<unsigned>(plat::QueryCounter()));
  side = plat::Rand() % 2;
}

int STransFBR::Reset() {
  STransCommon::Reset();
  return 0;
}

void STransFBR::Show(int flag) {
  ShowNode(Model(kFront), flag);
  ShowNode(Model(kBack), 0);
}

int STransFBR::Step() {
  if (!NextFrame()) return -2;
  const HOBJECT front = Model(kFront);
  if (framesLeft > 15) {
    SetNodePosition(front, 0, 0, -10, TRANSFORM_PARENT);
    RotateNode(front, kAxisZ, side == 0 ? 2.0f : -2.0f, TRANSFORM_LOCAL);
  } else {
    SetNodePosition(front, 10, 0, 10, TRANSFORM_PARENT);
    RotateNode(front, kAxisZ, side == 0 ? -15.0f : 15.0f, TRANSFORM_LOCAL);
  }
  return 0;
}
