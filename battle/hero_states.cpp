#include "battle/hero_states.h"

#include "battle/battle_camera.h"
#include "battle/battle_script.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/phase_codes.h"
#include "battle/sys_state.h"
#include "engine/core/node_transforms.h"

CMVekState* CMVekState::Instance() {
  static CMVekState instance;
  return &instance;
}

CMYsaState* CMYsaState::Instance() {
  static CMYsaState instance;
  return &instance;
}

// MINIMAL: the turn's commands and modes are not built; see the class.
int CMasterState::Update(CBattleSys* sys, int frames) {
  CBattleCamera* camera = CBattleCamera::Instance();
  if (sys->phaseCode == HERO_TURN_START) {
    VECTOR3 forward{0, -1, 0};
    if (const HOBJECT node = sys->HeroBodyNode()) GetNodeWorldVectors(node, nullptr, &forward, nullptr);
    const float facing[3] = {forward.x, forward.y, forward.z};
    camera->InitOrbit(facing);
    camera->cameraMode = CBattleCamera::MODE_ORBIT;
    sys->SetCursorMode(CBattleSys::kCursorLocked);
    const bool first = sys->hero && sys->hero->kind == CFightingMan::kFirstHero;
    sys->phaseCode = first ? HERO_FIRST_FIGHTING : HERO_SECOND_FIGHTING;
  }
  camera->Update(sys, frames);
  if (sys->hero) sys->hero->Update(frames);
  for (int i = 0; i < sys->enemyCount; ++i) {
    if (sys->enemies[i]) sys->enemies[i]->Update(frames);
  }
  const int decision = CBattleScript::Instance()->Check(sys, frames);
  if (decision == 1) sys->SetState(CSysState::Instance(), PHASE_VICTORY);
  if (decision == -1) sys->SetState(CSysState::Instance(), PHASE_DEFEAT);
  return 1;
}

// MINIMAL: only Escape is taken; see the class.
int CMasterState::Input(CBattleSys* sys, int type, int a, int b) {
  if (type == INPUT_KEY && b == 1 && a == 27) {
    sys->End();
    CBattleScript::Instance()->result = -1;
  }
  return 1;
}
