#include "battle/sys_state.h"

#include "battle/battle_camera.h"
#include "battle/battle_script.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/hero_states.h"
#include "battle/tarnwick.h"
#include "battle/ui_manager.h"
#include "engine/core/node_transforms.h"
#include "engine/media/cdaudio.h"
#include "platform/qel/vector_math.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kHero = CFightingMan::kFirstHero;
// Script keys of the hero that choose the opening.
constexpr int kOpenOnHero = 0x2000A;
constexpr int kOpenOnEnemy = 0x2000B;
constexpr int kEscapeKey = 27;
constexpr int kVictoryAction = 900;
constexpr int kDefeatSlowFactor = 6;

enum : int {
  TRACK_INTRO_HERO = 1,
  TRACK_INTRO_ENEMY = 2,
  TRACK_INTRO_ORBIT = 3,
  TRACK_VICTORY = 7,
  TRACK_DEFEAT = 8,
};

VECTOR3 BodyPosition(const CFightingMan* fighter) {
  VECTOR3 p{0, 0, 0};
  if (fighter && fighter->body) GetNodeWorldVectors(fighter->body->Node(), &p, nullptr, nullptr);
  return p;
}

void SelectTrackAt(CBattleCamera* camera, const VECTOR3& centre, int track) {
  const float c[3] = {centre.x, centre.y, centre.z};
  camera->track.SetCenterPos(c);
  camera->track.SelectTrack(track);
}

}  // namespace

CSysState* CSysState::Instance() {
  static CSysState instance;
  return &instance;
}

void CSysState::EnterHeroTurn(CBattleSys* sys) {
  const bool first = sys->hero && sys->hero->kind == kHero;
  sys->SetState(first ? static_cast<CKBSState*>(CMVekState::Instance()) : CMYsaState::Instance(), HERO_TURN_START);
}

int CSysState::Update(CBattleSys* sys, int frames) {
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->Update(sys, frames);
  switch (sys->phaseCode) {
    case PHASE_START: StartIntro(sys); break;
    case PHASE_INTRO: UpdateIntro(sys); break;
    case PHASE_VICTORY: UpdateVictory(sys); break;
    case PHASE_VICTORY_CAMERA:
      if (!camera->IsPlaying()) {
        REWARDDESC reward;
        ComputeRewards(sys, &reward);
        sys->hud.ShowRewards(reward);
        sys->phaseCode = PHASE_REWARDS;
      }
      break;
    case PHASE_DEFEAT: UpdateDefeat(sys); break;
    case PHASE_DEFEAT_CAMERA:
      if (!camera->IsPlaying()) {
        sys->SetCursorMode(CBattleSys::kCursorHidden);
        sys->phaseCode = PHASE_CLOSING;
      }
      break;
    case PHASE_CLOSING: sys->phaseCode = PHASE_END; break;
    case PHASE_END: sys->End(); break;
    default: break;
  }
  return 1;
}

int CSysState::Input(CBattleSys* sys, int type, int a, int b) {
  if (type == INPUT_LBUTTON_DOWN) {
    OnClick(sys);
  } else if (type == INPUT_MOUSE_MOVE) {
    sys->cursor.MoveTo(a & 0xFFFF, static_cast<int>(static_cast<unsigned>(a) >> 16));
  } else if (type == INPUT_KEY && b == 1 && a == kEscapeKey) {
    sys->End();
    CBattleScript::Instance()->result = -1;
  }
  return 1;
}

void CSysState::OnClick(CBattleSys* sys) {
  CBattleCamera* camera = CBattleCamera::Instance();
  switch (sys->phaseCode) {
    case PHASE_INTRO:
      if (camera->track.GetCurrentTrack() != TRACK_INTRO_ORBIT) PlayIntroTrack3(sys);
      break;
    case PHASE_VICTORY_CAMERA: camera->track.Stop(); break;
    case PHASE_REWARDS:
      if (sys->hud.RewardsDone()) {
        sys->SetCursorMode(CBattleSys::kCursorHidden);
        sys->phaseCode = PHASE_CLOSING;
      }
      break;
    default: break;
  }
}

void CSysState::StartIntro(CBattleSys* sys) {
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->UseEngineCamera();
  if (sys->GetScriptValue(kHero, kOpenOnHero) != 0) {
    camera->cameraMode = CBattleCamera::MODE_TRACK;
    VECTOR3 centre = BodyPosition(sys->hero);
    centre.z += 50;
    SelectTrackAt(camera, centre, TRACK_INTRO_HERO);
  } else if (sys->GetScriptValue(kHero, kOpenOnEnemy) != 0) {
    PlayIntroTrack2(sys);
  } else {
    PlayIntroTrack3(sys);
  }
  sys->phaseCode = PHASE_INTRO;
}

void CSysState::PlayIntroTrack2(CBattleSys* sys) {
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->cameraMode = CBattleCamera::MODE_TRACK;
  // Nobody to show (a battle the script alone decides): on to the orbit.
  if (sys->enemyCount == 0 || !sys->enemies[0]) {
    camera->track.Stop();
    PlayIntroTrack3(sys);
    return;
  }
  VECTOR3 centre = BodyPosition(sys->enemies[0]);
  centre.z += 20;
  SelectTrackAt(camera, centre, TRACK_INTRO_ENEMY);
}

void CSysState::PlayIntroTrack3(CBattleSys* sys) {
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->cameraMode = CBattleCamera::MODE_TRACK;
  MATRIX34 kept{};
  GetNodeMatrix(camera->cameraNode, &kept, 1);
  VECTOR3 forward{0, -1, 0};
  if (const HOBJECT node = sys->HeroBodyNode()) GetNodeWorldVectors(node, nullptr, &forward, nullptr);
  const float facing[3] = {forward.x, forward.y, forward.z};
  camera->InitOrbit(facing);
  camera->UpdateOrbit(sys, -1);
  SetNodeMatrix(camera->cameraNode, &kept, TRANSFORM_SET);
  SelectTrackAt(camera, {-10, -190, 50}, TRACK_INTRO_ORBIT);
}

void CSysState::UpdateIntro(CBattleSys* sys) {
  CBattleCamera* camera = CBattleCamera::Instance();
  if (camera->IsPlaying()) return;
  if (camera->cameraMode != CBattleCamera::MODE_TRACK) {
    PlayIntroTrack3(sys);
    return;
  }
  switch (camera->track.GetCurrentTrack()) {
    case TRACK_INTRO_HERO:
      if (sys->GetScriptValue(kHero, kOpenOnEnemy) != 0) {
        PlayIntroTrack2(sys);
      } else {
        PlayIntroTrack3(sys);
      }
      break;
    case TRACK_INTRO_ENEMY: PlayIntroTrack3(sys); break;
    case TRACK_INTRO_ORBIT: EnterHeroTurn(sys); break;
    default: break;
  }
}

void CSysState::UpdateVictory(CBattleSys* sys) {
  for (int i = 0; i < sys->enemyCount; ++i) {
    if (sys->enemies[i] && sys->enemies[i]->IsActing()) return;
  }
  if (sys->NextWave()) return;
  StopCDAudio();
  sys->PlayMusic(2);
  if (CFMaster* hero = sys->hero) {
    CBattleSys::CutAction(hero->body);
    hero->StartAction(kVictoryAction);
  }
  StartEndingCamera(sys, kPi / 2 - 0.2f, TRACK_VICTORY);
  sys->SetCursorMode(CBattleSys::kCursorFree);
  sys->phaseCode = PHASE_VICTORY_CAMERA;
}

void CSysState::UpdateDefeat(CBattleSys* sys) {
  if (sys->hero && sys->hero->IsActing()) return;
  PauseCDAudio();
  sys->PlayMusic(3);
  sys->SetCursorMode(CBattleSys::kCursorHidden);
  StartEndingCamera(sys, kPi / 2 - 0.3f, TRACK_DEFEAT);
  sys->SetHeroSlowFactor(kDefeatSlowFactor);
  sys->SetEnemySlowFactor(-1, kDefeatSlowFactor);
  sys->updateDivider = kDefeatSlowFactor;
  sys->phaseCode = PHASE_DEFEAT_CAMERA;
}

void CSysState::StartEndingCamera(CBattleSys* sys, float phi, int track) {
  CBattleCamera* camera = CBattleCamera::Instance();
  float hero16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  if (const HOBJECT node = sys->HeroBodyNode()) NodeAsM16(node, 0, hero16);
  float centre[3];
  camera->orbit.GetLCTCenter(centre, hero16);
  camera->orbit.Enable(0);
  camera->orbit.SetAngleSpeed(0, 0);
  VECTOR3 eye{0, 0, 0};
  GetNodeWorldVectors(camera->cameraNode, &eye, nullptr, nullptr);
  const float eyeFloats[3] = {eye.x, eye.y, eye.z};
  camera->track.SetCenterPos(centre);
  camera->track.SetAngleTheta(qmz::GetVectorAngle(centre, eyeFloats, 2));
  camera->track.SetAnglePhi(phi);
  camera->track.SetRadius(camera->orbit.GetLCTRadius());
  camera->track.SelectTrack(track);
  camera->cameraMode = CBattleCamera::MODE_TRACK;
}
