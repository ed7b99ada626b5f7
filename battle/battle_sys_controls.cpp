// Pause and resume, the cursor, the controller camera, slow motion, freezing
// and the battle music.
#include "battle/battle_camera.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/phase_codes.h"
#include "battle/tarnwick.h"
#include "battle/ui_manager.h"
#include "battle/x_wave.h"
#include "engine/core/input_hooks.h"
#include "engine/core/node_transforms.h"
#include "engine/media/cdaudio.h"

namespace {

constexpr int kScreenCentreX = 320;
constexpr int kScreenCentreY = 240;
constexpr int kFinalBlowShot = 101;
constexpr int kControllerDivider = 10;
constexpr float kPrecisionStep = 0.2f;
constexpr const char* kMusic[] = {"music1", "victory", "majorDie"};

void FreezeFighter(CFightingMan* fighter, int frozenFlag) {
  if (!fighter) return;
  fighter->frozen = frozenFlag;
  if (fighter->body) fighter->body->frozen = frozenFlag;
}

}  // namespace

int CBattleSys::Pause() {
  SetCursorMode(kCursorHidden);
  SetFrozen(1, 0xFFFF);
  paused = 1;
  hud.Pause();
  return 1;
}

int CBattleSys::Resume() {
  paused = 0;
  SetCursorMode(kCursorLocked);
  SetFrozen(0, 0xFFFF);
  if (hero) hero->RefreshGauges();
  hud.Resume();
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->UseEngineCamera();
  camera->cameraMode = CBattleCamera::MODE_ORBIT;
  phaseCode = savedPhaseCode;
  return 1;
}

void CBattleSys::SetMousePrecision(int level) {
  CBattleCamera::Instance()->orbit.SetMousePrecision(static_cast<float>(level) * kPrecisionStep);
}

void CBattleSys::SetCursorMode(int mode) {
  if (mode == kCursorHidden) {
    cursor.SetVisible(0);
    return;
  }
  cursor.SetVisible(1);
  cursor.SetFrame(mode);
  if (mode == kCursorFree) {
    cursor.LockPosition(0);
    cursor.SetCentring(0);
    cursor.SetPosition(kScreenCentreX, kScreenCentreY);
  } else if (mode == kCursorLocked) {
    cursor.LockPosition(0);
    cursor.SetCentring(1);
    cursor.SetPosition(kScreenCentreX, kScreenCentreY);
    cursor.LockPosition(1);
  } else {
    return;
  }
  SetMousePosition(kScreenCentreX, kScreenCentreY);
  CBattleCamera::Instance()->orbit.GetMouseMessage(kScreenCentreX, kScreenCentreY, 0);
}

int CBattleSys::PlayControllerCamera(const VECTOR3& position, const VECTOR3& direction, const float* matrix) {
  SetCursorMode(kCursorHidden);
  PauseCDAudio();
  CBattleCamera* camera = CBattleCamera::Instance();
  SetNodeDirection(camera->cameraNode, &position, &direction, nullptr);
  if (matrix) {
    for (int i = 0; i < 12; ++i) camera->controllerMatrix[i] = matrix[i];
  }
  camera->cameraMode = CBattleCamera::MODE_CONTROLLER;
  const int answer = camera->controller.SelectController(kFinalBlowShot);
  updateDivider = kControllerDivider;
  savedPhaseCode = phaseCode;
  phaseCode = HERO_CONTROLLER_CAMERA;
  return answer;
}

void CBattleSys::EndControllerCamera() {
  cursor.SetVisible(1);
  ResumeCDAudio();
  CBattleCamera* camera = CBattleCamera::Instance();
  VECTOR3 forward{0, -1, 0};
  if (const HOBJECT node = HeroBodyNode()) GetNodeWorldVectors(node, nullptr, &forward, nullptr);
  const float facing[3] = {forward.x, forward.y, forward.z};
  camera->InitOrbit(facing);
  camera->orbit.GetMouseMessage(kScreenCentreX, kScreenCentreY + 1, 1);
  camera->UpdateOrbit(this, -1);
  camera->cameraMode = CBattleCamera::MODE_ORBIT;
  updateDivider = 1;
  phaseCode = savedPhaseCode;
}

void CBattleSys::HoldState(int code) {
  if (phaseCode == HERO_HOLD) return;
  savedPhaseCode = code ? code : phaseCode;
  phaseCode = HERO_HOLD;
}

void CBattleSys::SetEnemySlowFactor(int index, int factor) {
  if (index == -1) {
    for (int i = 0; i < enemyCount; ++i) {
      if (enemies[i] && enemies[i]->body) enemies[i]->body->SetSlowMotion(factor);
    }
    SlowShots(factor);
    return;
  }
  if (index >= 0 && index < enemyCount && enemies[index] && enemies[index]->body) {
    enemies[index]->body->SetSlowMotion(factor);
  }
}

void CBattleSys::SetHeroSlowFactor(int factor) {
  if (hero && hero->body) hero->body->SetSlowMotion(factor);
}

void CBattleSys::SetFrozen(int frozenFlag, int mask) {
  if (mask & kFreezeEnemies) {
    for (int i = 0; i < enemyCount; ++i) FreezeFighter(enemies[i], frozenFlag);
    FreezeShots(frozenFlag);
  }
  if (mask & kFreezeHero) FreezeFighter(hero, frozenFlag);
  if (mask & kFreezeScene) sceneFrozen = frozenFlag;
}

void CBattleSys::PlayMusic(int kind) {
  if (kind < 1 || kind > 3) return;
  if (!music) music = std::make_unique<CXWave>();
  music->Open(kMusic[kind - 1]);
  music->Play(1);
}

void CBattleSys::StopMusic() {
  if (heroSound) heroSound->Stop();
  if (music) music->Stop();
  heroSound.reset();
  music.reset();
}
