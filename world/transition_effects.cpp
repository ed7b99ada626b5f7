#include "world/transition_effects.h"

#include <cmath>
#include <numbers>
#include <set>

#include "engine/core/cameras.h"
#include "engine/core/materials.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/crt.h"

namespace {

constexpr float kStart = 10000;
constexpr float kGrey = 0.7f;
constexpr float kWhite = 1.0f;
constexpr float kPower = 0.01f;
constexpr int kImageSide = 256;
constexpr int kAxisY = 1;

// 75 / tan 22.5 degrees beyond the camera a 200 x 150 plane fills the view.
float PlaneDistance() { return 75.0f / std::tan(22.5f * std::numbers::pi_v<float> / 180.0f); }

float SignedComponent() {
  const float sign = plat::Rand() % 2 == 0 ? 0.1f : -0.1f;
  return sign * static_cast<float>(plat::Rand() % 11);
}

}  // namespace

STransCommon::STransCommon(const uint16_t* image, Planes planes, AxisZ axisZ, bool withCamera)
    : scene(planes == Planes::kPieces ? "3deffect.sb" : "2_sided.sb") {
  scene.ShowAll(0);
  if (withCamera) {
    camera = CreateCameraNode(0, 4.0f / 3.0f, 10.922f / std::tan(22.5f * std::numbers::pi_v<float> / 180.0f), 0.86f, 2,
                              5000);
    SetNodePosition(camera, kStart, kStart, -kStart, TRANSFORM_SET);
    SetCameraFieldOfView(camera, 4.0f / 3.0f, 45);
  }
  const float level = planes == Planes::kPieces ? kGrey : kWhite;
  const float colour[3] = {level, level, level};
  imageMaterial = CreateMaterialFromPixels(colour, colour, colour, colour, kPower, 16, image, nullptr, kImageSide,
                                           kImageSide, 0, 0, 0, 0, 0);
  const int textured = planes == Planes::kPieces ? ModelCount() : std::min(ModelCount(), 1);
  std::set<HOBJECT> replaced;
  for (int n = 0; n < textured; ++n) {
    const HOBJECT old = GetPrimitiveMaterial(Model(n), 0);
    if (!old) continue;
    ReplaceNodeMaterial(Model(n), old, imageMaterial);
    replaced.insert(old);
  }
  for (HOBJECT old : replaced) DestroyMaterial(old);
  for (int n = 0; n < ModelCount(); ++n) motions.push_back(DrawMotion(axisZ));
}

STransCommon::~STransCommon() {
  if (camera) DestroyNode(camera);
}

PIECEMOTIONDESC STransCommon::DrawMotion(AxisZ axisZ) {
  PIECEMOTIONDESC m;
  m.velocity.x = SignedComponent();
  m.velocity.y = SignedComponent();
  m.velocity.z = -0.1f * static_cast<float>(plat::Rand() % 11);
  m.speed = static_cast<float>(4 + plat::Rand() % 3);
  m.axis.x = SignedComponent();
  m.axis.y = SignedComponent();
  m.axis.z = axisZ == AxisZ::kFlat ? 0 : SignedComponent();
  if (m.axis.x == 0 && m.axis.y == 0 && m.axis.z == 0) m.axis.z = 1;
  NormalizeVector3(&m.axis);
  m.spin = static_cast<float>(1 + plat::Rand() % 10);
  return m;
}

int STransCommon::Reset() {
  for (int n = 0; n < ModelCount(); ++n) {
    const HOBJECT model = Model(n);
    MATRIX34 start;
    SetIdentityMatrix34(&start);
    SetNodeMatrix(model, &start, 0);
    SetNodePosition(model, kStart, kStart, -kStart - PlaneDistance(), TRANSFORM_SET);
  }
  if (camera) {
    MATRIX34 start;
    SetIdentityMatrix34(&start);
    SetNodeMatrix(camera, &start, 0);
    SetNodePosition(camera, kStart, kStart, -kStart, TRANSFORM_SET);
  }
  framesLeft = kFrames;
  Show(1);
  return 0;
}

void STransCommon::Show(int flag) { scene.ShowAll(flag); }

bool STransCommon::NextFrame() {
  if (framesLeft <= 0) {
    framesLeft = -1;
    Show(0);
    return false;
  }
  --framesLeft;
  return true;
}

void STransCommon::Fly(HOBJECT node, const PIECEMOTIONDESC& m, bool flat) {
  SetNodePosition(node, m.speed * m.velocity.x, m.speed * m.velocity.y, flat ? 0 : m.speed * m.velocity.z,
                  TRANSFORM_PARENT);
  Spin(node, m);
}

void STransCommon::Spin(HOBJECT node, const PIECEMOTIONDESC& m) {
  QUATERNION turn;
  MakeQuaternionFromAxisAngle(m.spin, &m.axis, &turn);
  RotateNodeByQuaternion(node, &turn, TRANSFORM_LOCAL);
}

int STrans1::Step() {
  if (!NextFrame()) return -2;
  for (int n = 0; n < ModelCount(); ++n) Fly(Model(n), motions[n]);
  RotateNode(camera, kAxisY, 2, TRANSFORM_LOCAL);
  return 0;
}

int STrans2::Step() {
  if (!NextFrame()) return -2;
  for (int n = 0; n < ModelCount(); ++n) Fly(Model(n), motions[n]);
  RotateNode(camera, kAxisY, 1.5f, TRANSFORM_LOCAL);
  SetNodePosition(camera, 0, 0, static_cast<float>(framesLeft + 90), TRANSFORM_LOCAL);
  return 0;
}

int STransMoveExplode::Reset() {
  STransCommon::Reset();
  for (int n = 0; n < ModelCount(); ++n) SetNodeAlpha(Model(n), 1);
  return 0;
}

int STransMoveExplode::Step() {
  if (!NextFrame()) return -2;
  const int f = framesLeft;
  if (f > 20) {
    const float recede = motions.empty() ? 0 : motions[0].speed * motions[0].velocity.z;
    for (int n = 0; n < ModelCount(); ++n) SetNodePosition(Model(n), 0, 0, recede, TRANSFORM_PARENT);
    return 0;
  }
  for (int n = 0; n < ModelCount(); ++n) {
    Fly(Model(n), motions[n], true);
    if (f < 5) SetNodeAlpha(Model(n), 0.2f * static_cast<float>(f));
  }
  SetNodePosition(camera, 0, 0, 15, TRANSFORM_LOCAL);
  return 0;
}
