#include "battle/battle_camera.h"

#include "battle/battle_camera_tracks.h"
#include "battle/battle_sys.h"
#include "engine/core/cameras.h"
#include "engine/core/input_hooks.h"
#include "engine/core/math3d.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "platform/qel/vector_math.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kMouseHomeX = 320;
constexpr int kMouseHomeY = 240;

// The engine's MATRIX34 is the library's M12 row for row.
void ToFloats(const MATRIX34& m, float* m12) {
  for (int r = 0; r < 4; ++r) {
    m12[r * 3] = m.row[r].x;
    m12[r * 3 + 1] = m.row[r].y;
    m12[r * 3 + 2] = m.row[r].z;
  }
}

MATRIX34 FromFloats(const float* m12) {
  MATRIX34 m;
  for (int r = 0; r < 4; ++r) m.row[r] = {m12[r * 3], m12[r * 3 + 1], m12[r * 3 + 2]};
  return m;
}

void SetNodeFromM16(HOBJECT node, const float* m16) {
  float m12[12];
  qmz::M16ToM12(m16, m12);
  MATRIX34 m = FromFloats(m12);
  SetNodeMatrix(node, &m, TRANSFORM_SET);
}

}  // namespace

void NodeAsM16(HOBJECT node, int which, float* m16) {
  MATRIX34 m{};
  GetNodeMatrix(node, &m, which);
  float m12[12];
  ToFloats(m, m12);
  qmz::M12ToM16(m12, m16);
}

CBattleCamera* CBattleCamera::instance_ = nullptr;

CBattleCamera* CBattleCamera::Instance() {
  if (!instance_) instance_ = new CBattleCamera();
  return instance_;
}

void CBattleCamera::Destroy() {
  delete instance_;
  instance_ = nullptr;
}

CBattleCamera::CBattleCamera() {
  cameraNode = CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 10000);
  UseEngineCamera();
}

CBattleCamera::~CBattleCamera() { DestroyNode(cameraNode); }

void CBattleCamera::LoadTracksAndController() {
  AddBattleCameraTracks(track);
  controller.LoadController(kControllerFile);
  controller.GetCameraControlID(controllerIds);
}

void CBattleCamera::UseEngineCamera() { SetViewportCamera(0, cameraNode); }

void CBattleCamera::InitOrbit(const float* direction) {
  const float offset[3] = {-10, -10, 50};
  const qmz::SPHEREDESC sphere{14, 120.0f, kPi, kPi / 2};
  orbit.InitCamera(direction, offset, sphere);
  orbit.SetRestrictAngle(1.0f, 0.6f);
  orbit.SetFollowMode(qmz::CLCTCamera::FOLLOW_CAMERA);
  orbit.Enable(1);
  orbit.SetAngleSpeed(0, 0);
  SetMousePosition(kMouseHomeX, kMouseHomeY);
  orbit.GetMouseMessage(kMouseHomeX, kMouseHomeY, 0);
}

int CBattleCamera::UpdateOrbit(CBattleSys* sys, int frames) {
  const HOBJECT hero = sys ? sys->HeroBodyNode() : 0;
  // Handle 0 would name the node under construction, not a hero.
  if (hero) {
    float hero16[16];
    float camera16[16];
    NodeAsM16(hero, 0, hero16);
    NodeAsM16(cameraNode, 1, camera16);
    if (orbit.Update(frames, hero16, camera16)) {
      SetNodeFromM16(hero, hero16);
      SetNodeFromM16(cameraNode, camera16);
    }
  }

  int x = kMouseHomeX;
  int y = kMouseHomeY;
  GetMousePosition(&x, &y);
  if (x < 220 || x > 420 || y < 140 || y > 440) {
    SetMousePosition(kMouseHomeX, kMouseHomeY);
    orbit.GetMouseMessage(kMouseHomeX, kMouseHomeY, 0);
    return 0;
  }
  return y;
}

void CBattleCamera::UpdateTrack(CBattleSys*, int frames) {
  float camera16[16];
  NodeAsM16(cameraNode, 1, camera16);
  if (track.Update(frames, camera16)) SetNodeFromM16(cameraNode, camera16);
}

void CBattleCamera::UpdateController(CBattleSys*, int frames) {
  if (!controller.Update(frames)) return;
  float m12[12];
  qmz::MultiplyMatrix12(controller.GetCameraMatrix(), controllerMatrix, m12);
  MATRIX34 m = FromFloats(m12);
  SetNodeMatrix(cameraNode, &m, TRANSFORM_SET);
}

void CBattleCamera::Update(CBattleSys* sys, int frames) {
  switch (cameraMode) {
    case MODE_ORBIT: UpdateOrbit(sys, frames); break;
    case MODE_TRACK: UpdateTrack(sys, frames); break;
    case MODE_CONTROLLER: UpdateController(sys, frames); break;
    default: break;
  }
}

int CBattleCamera::IsPlaying() const {
  if (cameraMode == MODE_TRACK) return track.IsPlaying();
  if (cameraMode == MODE_CONTROLLER) return controller.IsPlaying();
  return 0;
}
