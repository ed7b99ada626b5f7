// The character page's view of the hero's model and its idle animation.
#include <cmath>
#include <numbers>

#include "components/sword_man.h"
#include "engine/core/billboards.h"
#include "engine/core/cameras.h"
#include "engine/core/engine_queries.h"
#include "engine/core/lights.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "platform/crt.h"
#include "ui/role_page.h"

int CRolePage::idleCountdown = 0;

namespace {

constexpr float kAspect = 4.0f / 3.0f;
constexpr float kFieldOfView = 45.0f;
constexpr float kNearPlane = 100.0f;
constexpr float kFarPlane = 5000.0f;
// Far above any scene, so the preview shows the model alone.
constexpr float kCameraHeight = 9999999.0f;
constexpr float kModelDistance = 200.0f;
constexpr float kModelTurn = 25.0f;
// The model stands right of the screen's centre, in the page's frame over
// the use area, its feet near the frame's bottom.
constexpr float kModelRight = 15.0f;
constexpr float kModelDown = 15.0f;
constexpr float kFloorWidth = 60.0f;
constexpr float kFloorHeight = 30.0f;
constexpr const char* kFloorTexture = "ifi0100_t";
constexpr int kLightType = 2;
constexpr float kLightIntensity = 0.8f;
constexpr float kLightColour[3] = {0.6f, 0.6f, 0.6f};
constexpr float kLightPlace[3] = {0, -80, 60};
constexpr int kIdleAction = 12;
constexpr int kIdleStartKind = 16;
constexpr int kIdleSpread = 300;
constexpr int kIdleRest = 60;

int RandomTicks() { return plat::Rand() * kIdleSpread / plat::kRandMax; }

}  // namespace

void CRolePage::BuildPreview() {
  if (!hero) return;
  const HOBJECT model = hero->FindPartNode(nullptr);
  if (!model) return;
  const float lens = 10.922f / std::tan(kFieldOfView * 0.5f * std::numbers::pi_v<float> / 180.0f);
  previewCamera = CreateCameraNode(0, kAspect, lens, 0.86f, kNearPlane, kFarPlane);
  if (!previewCamera) return;
  SetCameraFieldOfView(previewCamera, kAspect, kFieldOfView);
  savedCamera = GetCurrentCamera();
  SetViewportCamera(0, previewCamera);
  // Turned about Y the camera looks up +Z with world +Y as the screen's up
  // and world -X as its right.
  RotateNode(previewCamera, AXIS_POS_Y, 180.0f, TRANSFORM_SET);
  SetNodePosition(previewCamera, 0, 0, kCameraHeight, TRANSFORM_PARENT);

  // The model faces the camera, its up along the screen's up, turned a little.
  const float turn = kModelTurn * std::numbers::pi_v<float> / 180.0f;
  const VECTOR3 at{-kModelRight, -kModelDown, kCameraHeight + kModelDistance};
  const VECTOR3 facing{std::sin(turn), 0, -std::cos(turn)};
  const VECTOR3 up{0, 1, 0};
  SetNodeDirection(model, &at, &facing, &up);
  hero->SetVisible(1);

  floorBoard = CreateBillboardNode(0, kFloorTexture, 1, kFloorWidth, kFloorHeight, 0, 0, 0, 0);
  if (floorBoard) SetNodePosition(floorBoard, at.x, at.y, at.z + 1.0f, TRANSFORM_SET);
  previewLight = CreateLightNode(model, kLightType, kLightIntensity, kLightColour);
  if (previewLight) SetNodePosition(previewLight, kLightPlace[0], kLightPlace[1], kLightPlace[2], TRANSFORM_SET);
}

void CRolePage::RemovePreview() {
  if (!previewCamera && !floorBoard && !previewLight) return;
  if (savedCamera) SetViewportCamera(0, savedCamera);
  savedCamera = 0;
  if (previewCamera) DestroyNode(previewCamera);
  if (floorBoard) DestroyNode(floorBoard);
  if (previewLight) DestroyNode(previewLight);
  previewCamera = floorBoard = previewLight = 0;
  if (hero) hero->SetVisible(0);
}

void CRolePage::TickPreview(int steps) {
  if (!hero || !previewCamera) return;
  hero->Update(steps);
  hero->PostUpdate(steps);
  if (idleCountdown > 0) --idleCountdown;
  if (idleCountdown == 0) {
    if (plat::Rand() > plat::kRandMax / 2) {
      hero->PlayPose(kIdleAction, 0, kIdleStartKind, 0);
      idleCountdown = -1;
    } else {
      idleCountdown = RandomTicks();
    }
  } else if (idleCountdown < 0 && hero->IsPlayDone()) {
    idleCountdown = kIdleRest + RandomTicks();
  }
}
