// The second hero's turn.
#include <cmath>
#include <cstdio>
#include <vector>

#include "battle/after_image.h"
#include "battle/battle_camera.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/hero_states.h"
#include "battle/phase_codes.h"
#include "battle/tarnwick.h"
#include "database/man_soul.h"
#include "platform/crt.h"

namespace {

enum : int {
  kSpecialCode = 242,
  kAttackStartCode = 410,
  kAttackCode = 420,
  kAttackEndCode = 430,
  kSpecialAttackCode = 650,
  kSpecialStartCode = 885,
};

constexpr float kFacingDegrees = 22.5f;
constexpr float kHitDegrees = 45.0f;
constexpr float kHighlightReach = 35.0f;
constexpr float kAttackReach = 35.0f;
constexpr float kSpecialReach = 45.0f;
constexpr int kLeastMp = 20;
constexpr int kOutOfReach = CFightingMan::kDown | 0x8 | 0x10;

// The hero's actions among ids.
std::vector<int> Held(const CFMaster* hero, std::initializer_list<int> ids) {
  std::vector<int> held;
  for (int id : ids)
    if (hero->HasAction(id)) held.push_back(id);
  return held;
}

// Only bodies whose divisor differs are set: setting one puts the body back
// on its whole frame.
void SetAllDividers(CBattleSys* sys, int divider) {
  if (sys->hero && sys->hero->body && sys->hero->body->divider != divider) sys->SetHeroSlowFactor(divider);
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (enemy && enemy->body && enemy->body->divider != divider) sys->SetEnemySlowFactor(i, divider);
  }
}

}  // namespace

CMYsaState* CMYsaState::Instance() {
  static CMYsaState instance;
  return &instance;
}

int CMYsaState::OnTurnStart(CBattleSys* sys) {
  if (sys->hero) sys->hero->mode = CFMaster::MODE_SECOND_NORMAL;
  return 1;
}

int CMYsaState::OnHeroHit(CBattleSys* sys, int kind) {
  CMasterState::OnHeroHit(sys, kind);
  if (!sys->hero || sys->hero->mode != CFMaster::MODE_SPECIAL) return 1;
  if (kind == kDowned) {
    sys->phaseCode = HERO_FINISHING;
  } else {
    EndSlowMotion(sys);
    sys->phaseCode = kSpecialCode;
  }
  return 1;
}

int CMYsaState::Update(CBattleSys* sys, int frames) {
  CommonUpdate(sys, frames);
  CFMaster* hero = sys->hero;
  if (!hero || !hero->body) return 1;
  const int code = sys->phaseCode;
  if (code == HERO_FIRST_FIGHTING || code == 211 || code == 221 || code == HERO_SECOND_FIGHTING) Target(sys);
  if (hero->mode == CFMaster::MODE_SPECIAL) DrainSpecialGauge(hero, 0);
  switch (sys->phaseCode) {
    case HERO_TURN_START:
      ReturnToHeroControl(sys);
      sys->phaseCode = HERO_SECOND_FIGHTING;
      break;
    case HERO_SECOND_FIGHTING: break;
    case kSpecialCode:
      if (sys->CountEnemies(1) == 0 || !hero->soul || hero->soul->GetAttribute(kAttrSpecial) == 0)
        sys->phaseCode = HERO_FINISHING;
      break;
    case kAttackStartCode: sys->phaseCode = kAttackCode; break;
    case kAttackCode:
      if (hero->body->divider > 1) CAfterImage::Instance()->Update(frames);
      if (hero->body->AtHitFrame()) AttackHit(sys, 7, kAttackReach);
      if (!hero->IsActing()) sys->phaseCode = kAttackEndCode;
      break;
    case kAttackEndCode:
      if (hero->body->divider > 1) {
        RestoreSpeed(sys);
        ClearAfterImage();
      }
      sys->phaseCode = HERO_SECOND_FIGHTING;
      break;
    case kSpecialAttackCode: TickSpecialAttack(sys, frames); break;
    case kSpecialStartCode:
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      DrainSpecialGauge(hero, 0.666f);
      sys->hud.ShowModeIcon(CFMaster::MODE_SPECIAL, 0);
      hero->ChangeMP(-150, 0);
      hero->mode = CFMaster::MODE_SPECIAL;
      sys->phaseCode = kSpecialCode;
      break;
    case HERO_FINISHING:
      EndSlowMotion(sys);
      hero->mode = CFMaster::MODE_SECOND_NORMAL;
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      sys->hud.HideModeIcon(0);
      sys->phaseCode = HERO_SECOND_FIGHTING;
      break;
    default: ThreatenTick(sys); break;
  }
  return 1;
}

int CMYsaState::OnLeftButton(CBattleSys* sys, int a, int b) {
  if (!sys->hero || !sys->hero->timers.empty()) return 0;
  switch (sys->phaseCode) {
    case HERO_COMMAND_MENU: return OnCommand(sys, a, b);
    case HERO_SECOND_FIGHTING: Attack(sys); return 1;
    case kSpecialCode: SpecialAttack(sys); return 1;
    default: return 0;
  }
}

int CMYsaState::OnRightButton(CBattleSys* sys, int, int) {
  if (!sys->hero || !sys->hero->timers.empty()) return 0;
  if (sys->phaseCode == kSpecialCode) {
    sys->phaseCode = HERO_FINISHING;
    return 1;
  }
  return OnRightButtonDefault(sys);
}

int CMYsaState::OnCommand(CBattleSys* sys, int id, int b) {
  if (b == INPUT_FROM_HUD) LeaveCommandMenu(sys);
  if (id == CUIManager::kSpecialId) {
    sys->phaseCode = kSpecialStartCode;
    return 1;
  }
  return OnCommandDefault(sys, id);
}

void CMYsaState::Target(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  const HOBJECT camera = CBattleCamera::Instance()->cameraNode;
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy) continue;
    enemy->hpBar.Show(0);
    const bool ahead = Standing(enemy) && std::fabs(hero->AngleTo(enemy)) <= kFacingDegrees;
    if (ahead) {
      enemy->hpBar.Show(1);
      enemy->hpBar.Place(camera);
    }
    const bool on = ahead && hero->DistanceTo(enemy) < hero->collisionRadius + kHighlightReach;
    if (on != (IsHighlighted(enemy) != 0)) SetHighlight(sys, i, on);
  }
}

void CMYsaState::Attack(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  if (!hero->soul || hero->soul->GetAttribute(kAttrMp) <= kLeastMp) return;
  const std::vector<int> held = Held(hero, {221, 222, 223});
  if (held.empty()) return;
  hero->StartAction(held[static_cast<size_t>(plat::Rand()) % held.size()]);
  sys->phaseCode = kAttackStartCode;
}

void CMYsaState::SpecialAttack(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  const std::vector<int> held = Held(hero, {451, 452, 453});
  if (held.empty()) return;
  const size_t chosen = static_cast<size_t>(plat::Rand()) % held.size();
  hero->StartAction(held[chosen]);
  char voice[16];
  std::snprintf(voice, sizeof voice, "YsaS%02d", static_cast<int>(chosen) + 1);
  PlayNamedSound(voice);
  sys->heroStateValue = 1;
  sys->SetEnemySlowFactor(-1, 2);
  sys->SetHeroSlowFactor(1);
  sys->updateDivider = 2;
  CAfterImage* trail = CAfterImage::Instance();
  trail->SetBody(hero->body);
  trail->SetPeriod(4);
  trail->SetLife(16);
  sys->phaseCode = kSpecialAttackCode;
}

void CMYsaState::AttackHit(CBattleSys* sys, int type, float extra) {
  CFMaster* hero = sys->hero;
  CFEnemy* nearest = nullptr;
  float nearestDistance = hero->collisionRadius + extra;
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy || (enemy->flags & kOutOfReach) || std::fabs(hero->AngleTo(enemy)) > kHitDegrees) continue;
    const float d = hero->DistanceTo(enemy);
    if (d < nearestDistance) {
      nearest = enemy;
      nearestDistance = d;
    }
  }
  if (!nearest) return;
  BATTLEMSG message;
  hero->BuildMessage(type, &message);
  nearest->ReceiveMessage(&message);
}

void CMYsaState::EndSlowMotion(CBattleSys* sys) {
  if (!sys->heroStateValue) return;
  sys->heroStateValue = 0;
  RestoreSpeed(sys);
  ClearAfterImage();
}

void CMYsaState::TickSpecialAttack(CBattleSys* sys, int frames) {
  CFMaster* hero = sys->hero;
  CAfterImage::Instance()->Update(frames);
  int toHit = 0;
  if (sys->heroStateValue && hero->body->NearHitFrame(&toHit)) {
    const int d = -toHit;
    if (d == 0) SetAllDividers(sys, 32);
    else if (d == 1 || d == -1) SetAllDividers(sys, 2);
    else if (d == 2) SetAllDividers(sys, 1);
  }
  if (hero->IsActing()) {
    if (hero->body->AtHitFrame()) AttackHit(sys, 9, kSpecialReach);
    return;
  }
  EndSlowMotion(sys);
  sys->phaseCode = kSpecialCode;
}
