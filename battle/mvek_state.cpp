// The first hero's turn.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "battle/after_image.h"
#include "battle/battle_camera.h"
#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/hero_states.h"
#include "battle/phase_codes.h"
#include "battle/tarnwick.h"
#include "battle/x_wave.h"
#include "database/game_database.h"
#include "engine/core/node_transforms.h"
#include "engine/core/picking.h"
#include "engine/core/walking.h"
#include "engine/media/cdaudio.h"
#include "platform/crt.h"
#include "platform/qel/vector_math.h"

namespace {

enum : int {
  kParalyseCode = 211,
  kSnatchCode = 221,
  kSpeedCode = 235,
  kMarkingCode = 261,
  kTargetedAttackCode = 280,
  kBackToModeCode = 622,
  kFinishingCode = 650,
  kStrafeInCode = 801,
  kChooseCode = 802,
  kAttackAfterChoiceCode = 803,
  kAttackCancelledCode = 804,
  kAfterParalyseCode = 841,
  kAfterSnatchCode = 851,
  kSpeedStartCode = 880,
  kSpeedEndCode = 881,
  kSpeedCameraBackCode = 882,
  kSpecialStartCode = 885,
  kFinishEndedCode = 888,
  kFinishStartCode = 890,
};

constexpr int kStrafeFrames = 5;
constexpr float kStrafeStep = 2.0f;
constexpr int kMarkLimitAttribute = 34;
constexpr int kMissAction = 422;
constexpr int kAllMask = 0xFFFF;
constexpr int kEnemiesAndScene = CBattleSys::kFreezeEnemies | CBattleSys::kFreezeScene;
constexpr float kNearCosine = 0.8f;
constexpr int kLargeCircle = 6;
constexpr float kPi = 3.14159265f;

bool Among(int id, std::initializer_list<int> ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

int CurrentAction(const CFMaster* hero) { return hero->body ? hero->body->current[ACTIONDESC::ID] : 0; }

VECTOR3 Direction(const VECTOR3& from, const VECTOR3& to) {
  VECTOR3 d{to.x - from.x, to.y - from.y, to.z - from.z};
  NormalizeVector3(&d);
  return d;
}

}  // namespace

CMVekState* CMVekState::Instance() {
  static CMVekState instance;
  return &instance;
}

int CMVekState::Input(CBattleSys* sys, int type, int a, int b) {
  if (type == INPUT_MOUSE_DRAG) {
    sys->cursor.SetPosition(a & 0xFFFF, static_cast<int>(static_cast<unsigned>(a) >> 16));
    return 1;
  }
  return CMasterState::Input(sys, type, a, b);
}

int CMVekState::OnTurnStart(CBattleSys* sys) {
  sys->hud.HideModeIcon(0);
  if (sys->hero) sys->hero->mode = CFMaster::MODE_NORMAL;
  return 1;
}

int CMVekState::OnHeroHit(CBattleSys* sys, int kind) {
  CMasterState::OnHeroHit(sys, kind);
  CFMaster* hero = sys->hero;
  if (kind != kHurt || !hero) return 1;
  if (hero->mode == CFMaster::MODE_PARALYSE || hero->mode == CFMaster::MODE_SNATCH) {
    hero->mode = CFMaster::MODE_NORMAL;
    sys->hud.HideModeIcon(0);
    sys->HoldState(HERO_FIRST_FIGHTING);
  } else if (hero->mode == CFMaster::MODE_SPEED) {
    sys->phaseCode = kSpeedEndCode;
  }
  return 1;
}

int CMVekState::Update(CBattleSys* sys, int frames) {
  CommonUpdate(sys, frames);
  CFMaster* hero = sys->hero;
  if (!hero || !hero->body) return 1;
  CBattleCamera* camera = CBattleCamera::Instance();
  CAfterImage* trail = CAfterImage::Instance();
  switch (sys->phaseCode) {
    case HERO_TURN_START:
      ReturnToHeroControl(sys);
      sys->phaseCode = HERO_FIRST_FIGHTING;
      break;
    case kSpeedCode:
      if (hero->mode == CFMaster::MODE_SPEED) {
        const bool running = Among(CurrentAction(hero), {101, 102, 103, 113, 114, 117, 118});
        trail->SetBody(running ? hero->body : nullptr);
        trail->Update(frames);
      }
      break;
    case HERO_HOLD:
      if (!hero->IsActing()) sys->phaseCode = sys->savedPhaseCode;
      break;
    case kMarkingCode:
      if (!DrainSpecialGauge(hero, 0)) {
        if (!targets.empty()) {
          EndMarking(sys);
        } else {
          sys->SetFrozen(0, kEnemiesAndScene);
          sys->phaseCode = kFinishingCode;
        }
      }
      break;
    case kTargetedAttackCode: TickTargetedAttack(sys, frames); break;
    case kBackToModeCode:
      if (!hero->IsActing()) {
        if (hero->mode == CFMaster::MODE_NORMAL) sys->phaseCode = HERO_FIRST_FIGHTING;
        else if (hero->mode == CFMaster::MODE_PARALYSE) sys->phaseCode = kParalyseCode;
        else if (hero->mode == CFMaster::MODE_SNATCH) sys->phaseCode = kSnatchCode;
      }
      break;
    case kFinishingCode: TickFinishingMove(sys, frames); break;
    case kStrafeInCode:
      Strafe(sys, frames, -kStrafeStep);
      if (camera->IsPlaying()) break;
      if (targets.empty()) {
        AfterAttack(sys);
        break;
      }
      hero->style = hero->ReachLevel(0, EnemyPosition(targets.front())) == 2 ? 1 : 2;
      ShowCircles(sys);
      sys->SetCursorMode(CBattleSys::kCursorFree);
      sys->phaseCode = kChooseCode;
      break;
    case kAttackAfterChoiceCode: {
      Strafe(sys, frames, kStrafeStep);
      if (camera->IsPlaying()) break;
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      sys->SetFrozen(0, kAllMask);
      const int previous = CurrentAction(hero);
      // After 117 and 118 the one draw is the slow-motion chance; only the
      // other throws draw their follow-up.
      int next = 0;
      if (previous == 117 || previous == 118) {
        if (plat::Rand() % 6 == 0) {
          sys->SetEnemySlowFactor(-1, 8);
          sys->SetHeroSlowFactor(2);
          sys->updateDivider = 2;
        }
        trail->SetBody(hero->body);
        trail->SetPeriod(6);
        trail->SetLife(12);
        next = previous == 117 ? 202 : 203;
      } else {
        next = (plat::Rand() & 1) ? 201 : 204;
      }
      hero->StartAction(next);
      hero->PlayActionEffect();
      sys->phaseCode = kTargetedAttackCode;
      break;
    }
    case kAttackCancelledCode:
      Strafe(sys, frames, kStrafeStep);
      if (!camera->IsPlaying()) AfterAttack(sys);
      break;
    case kAfterParalyseCode: AfterHold(sys, false); break;
    case kAfterSnatchCode: AfterHold(sys, true); break;
    case kSpeedStartCode:
      if (camera->IsPlaying()) break;
      hero->mode = CFMaster::MODE_SPEED;
      hero->ChangeMP(-60, 0);
      sys->SetEnemySlowFactor(-1, 8);
      sys->SetHeroSlowFactor(2);
      sys->updateDivider = 8;
      SetOrbitDistance(180);
      PlayNamedSound("Run01");
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      trail->SetPeriod(4);
      trail->SetLife(6);
      sys->SetFrozen(0, kAllMask);
      sys->hud.ShowModeIcon(CFMaster::MODE_SPEED, 0);
      sys->hud.StartSpeedTimeline();
      sys->phaseCode = kSpeedCode;
      break;
    case kSpeedEndCode:
      if (hero->IsActing()) break;
      hero->mode = CFMaster::MODE_NORMAL;
      sys->hud.HideModeIcon(0);
      ClearAfterImage();
      camera->track.SelectTrack(10);
      SetCameraMode(CBattleCamera::MODE_TRACK);
      sys->phaseCode = kSpeedCameraBackCode;
      break;
    case kSpeedCameraBackCode:
      if (camera->IsPlaying()) break;
      RestoreSpeed(sys);
      SetOrbitDistance(120);
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      ResumeCDAudio();
      sys->phaseCode = HERO_FIRST_FIGHTING;
      break;
    case kSpecialStartCode:
      if (camera->IsPlaying()) break;
      hero->mode = CFMaster::MODE_SPECIAL;
      SetOrbitDistance(180);
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      sys->hud.ShowModeIcon(CFMaster::MODE_SPECIAL, 0);
      DrainSpecialGauge(hero, 0.4f);
      sys->phaseCode = kMarkingCode;
      break;
    case kFinishEndedCode:
      hero->mode = CFMaster::MODE_NORMAL;
      hero->flags &= ~CFMaster::kFinishing;
      sys->hud.HideModeIcon(0);
      if (sys->heroSound) sys->heroSound->Stop();
      sys->heroSound.reset();
      if (sys->music) sys->music->Play(1);
      sys->phaseCode = HERO_FINISHING;
      break;
    case HERO_FINISHING: {
      if (camera->IsPlaying()) break;
      RestoreSpeed(sys);
      SetCameraMode(CBattleCamera::MODE_ORBIT);
      SetOrbitDistance(120);
      const VECTOR3 forward = HeroForward(sys);
      const float facing[3] = {forward.x, forward.y, forward.z};
      camera->InitOrbit(facing);
      camera->orbit.GetMouseMessage(320, 241, 1);
      camera->UpdateOrbit(sys, 1);
      sys->phaseCode = HERO_FIRST_FIGHTING;
      break;
    }
    case kFinishStartCode:
      if (DrainSpecialGauge(hero, 0)) break;
      if (sys->music) sys->music->Pause();
      StartFinishingMove(sys);
      sys->phaseCode = kFinishingCode;
      break;
    default: ThreatenTick(sys); break;
  }
  return 1;
}

int CMVekState::UpdateMode(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  if (!hero) return 0;
  switch (hero->mode) {
    case CFMaster::MODE_NORMAL:
    case CFMaster::MODE_SPECIAL: {
      const bool armed = g_battleInterface.GetItemCount() != 0 && hero->CanUse(CFMaster::CHECK_TARGETED);
      const bool aiming = sys->phaseCode == HERO_FIRST_FIGHTING || sys->phaseCode == kMarkingCode;
      const VECTOR3 here = HeroPosition(sys), forward = HeroForward(sys);
      for (int i = 0; i < sys->enemyCount; ++i) {
        CFEnemy* enemy = sys->enemies[i];
        if (!enemy) continue;
        bool on = false;
        if (armed && aiming && Standing(enemy)) {
          const VECTOR3 there = EnemyPosition(enemy);
          const VECTOR3 away{here.x - there.x, here.y - there.y, here.z - there.z};
          on = hero->ReachLevel(0, there) != 1 && DotVector3(&away, &forward) <= 0 && UnderScreenCentre(enemy);
        }
        if (on != (IsHighlighted(enemy) != 0)) SetHighlight(sys, i, on);
      }
      break;
    }
    case CFMaster::MODE_PARALYSE: HighlightTargets(sys, 1); break;
    case CFMaster::MODE_SNATCH: HighlightTargets(sys, 2); break;
    default: break;
  }
  return 1;
}

int CMVekState::OnLeftButton(CBattleSys* sys, int a, int b) {
  CFMaster* hero = sys->hero;
  if (!hero || !hero->timers.empty()) return 0;
  switch (sys->phaseCode) {
    case HERO_COMMAND_MENU: return OnCommand(sys, a, b);
    case HERO_FIRST_FIGHTING:
      if (hero->CanUse(CFMaster::CHECK_TARGETED)) StartTargetedAttack(sys);
      return 1;
    case kParalyseCode:
      if (hero->CanUse(CFMaster::CHECK_PARALYSE)) AttemptHold(sys, false);
      return 1;
    case kSnatchCode:
      if (hero->CanUse(CFMaster::CHECK_SNATCH)) AttemptHold(sys, true);
      return 1;
    case kMarkingCode: Mark(sys); return 1;
    case kChooseCode:
      if (b != INPUT_FROM_HUD) return 0;
      hero->hitDirection = a == kLargeCircle ? plat::Rand() % 6 : a;
      HideCircles(sys);
      CBattleCamera::Instance()->track.SelectTrack(5);
      strafe = 0;
      sys->SetCursorMode(CBattleSys::kCursorLocked);
      sys->phaseCode = kAttackAfterChoiceCode;
      return 1;
    default: return 0;
  }
}

int CMVekState::OnRightButton(CBattleSys* sys, int, int) {
  CFMaster* hero = sys->hero;
  if (!hero || !hero->timers.empty()) return 0;
  switch (sys->phaseCode) {
    case kParalyseCode:
    case kSnatchCode:
      hero->mode = CFMaster::MODE_NORMAL;
      hero->StartAction(210);
      sys->phaseCode = kBackToModeCode;
      sys->hud.HideModeIcon(0);
      return 1;
    case kSpeedCode:
      // The action's own flags go; the hero's status (down and the rest) stays.
      CBattleSys::CutAction(hero->body);
      sys->hud.StopSpeedTimeline();
      sys->phaseCode = kSpeedEndCode;
      return 1;
    case kMarkingCode:
      if (!targets.empty()) EndMarking(sys);
      return 1;
    case kChooseCode:
      CBattleCamera::Instance()->track.SelectTrack(5);
      strafe = 0;
      HideCircles(sys);
      sys->SetCursorMode(CBattleSys::kCursorLocked);
      sys->phaseCode = kAttackCancelledCode;
      return 1;
    default: return OnRightButtonDefault(sys);
  }
}

int CMVekState::OnCommand(CBattleSys* sys, int id, int b) {
  if (b == INPUT_FROM_HUD) LeaveCommandMenu(sys);
  CFMaster* hero = sys->hero;
  if (!hero) return 0;
  switch (id) {
    case CUIManager::kSnatchId:
      hero->mode = CFMaster::MODE_SNATCH;
      sys->phaseCode = kSnatchCode;
      sys->hud.ShowModeIcon(CFMaster::MODE_SNATCH, 0);
      return 1;
    case CUIManager::kParalyseId:
      hero->mode = CFMaster::MODE_PARALYSE;
      sys->phaseCode = kParalyseCode;
      sys->hud.ShowModeIcon(CFMaster::MODE_PARALYSE, 0);
      return 1;
    case CUIManager::kSpeedId:
      PullBackCamera(sys);
      SetCameraMode(CBattleCamera::MODE_TRACK);
      sys->SetFrozen(1, kAllMask);
      PauseCDAudio();
      sys->phaseCode = kSpeedStartCode;
      return 1;
    case CUIManager::kSpecialId:
      PullBackCamera(sys);
      targets.clear();
      sys->SetFrozen(1, kEnemiesAndScene);
      CBattleSys::CutAction(hero->body);
      SetCameraMode(CBattleCamera::MODE_TRACK);
      sys->phaseCode = kSpecialStartCode;
      return 1;
    default: return OnCommandDefault(sys, id);
  }
}

void CMVekState::Strafe(CBattleSys* sys, int frames, float step) {
  if (strafe < 0) return;
  if (strafe < kStrafeFrames) {
    if (const HOBJECT node = sys->HeroBodyNode())
      StrafeNodeOnTerrain(node, step * static_cast<float>(frames), 1, 0, 0, 1);
    strafe += frames;
  }
  if (strafe >= kStrafeFrames) strafe = -1;
}

void CMVekState::StartTargetedAttack(CBattleSys* sys) {
  if (g_gameDataBase.party.itemLists[kListType8].empty()) return;
  CFEnemy* target = nullptr;
  float nearest = 0;
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!IsHighlighted(enemy)) continue;
    const float d = BodyDistance(sys->hero->body, enemy->body);
    if (!target || d < nearest) {
      target = enemy;
      nearest = d;
    }
  }
  for (int i = 0; i < sys->enemyCount; ++i)
    if (IsHighlighted(sys->enemies[i])) SetHighlight(sys, i, 0);
  if (!target) return;
  targets.assign(1, target);
  strafe = 0;
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->track.SelectTrack(4);
  SetCameraMode(CBattleCamera::MODE_TRACK);
  sys->hero->body->actionMotion = 0;
  sys->SetFrozen(1, kAllMask);
  sys->phaseCode = kStrafeInCode;
}

void CMVekState::ShowCircles(CBattleSys* sys) {
  CFEnemy* target = targets.front();
  if (!target->body) return;
  VECTOR3 points[CUIManager::kSmallCircles];
  target->body->GetHitPoints(points, 0xFFFF);
  VECTOR3 screen[CUIManager::kSmallCircles] = {};
  int mask = 0;
  for (int i = 0; i < CUIManager::kSmallCircles; ++i)
    if (ProjectToScreen(0, &points[i], &screen[i], 2, 0)) mask |= 1 << i;

  const VECTOR3 here = HeroPosition(sys);
  const VECTOR3 towardsTarget = Direction(here, EnemyPosition(target));
  const float targetDistance = BodyDistance(sys->hero->body, target->body);
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* other = sys->enemies[i];
    if (!other || other == target || !other->body) continue;
    if (BodyDistance(sys->hero->body, other->body) >= targetDistance) continue;
    const VECTOR3 towardsOther = Direction(here, EnemyPosition(other));
    if (DotVector3(&towardsOther, &towardsTarget) <= kNearCosine) continue;
    for (int c = 0; c < CUIManager::kSmallCircles; ++c) {
      if (!(mask & (1 << c))) continue;
      if (BoxUnderPoint(other, static_cast<int>(screen[c].x), static_cast<int>(screen[c].y))) mask &= ~(1 << c);
    }
  }
  // Style 2 aims at the whole body: the large circle alone, on the first point.
  if (sys->hero->style != 1) mask = 0;
  sys->hud.PlaceCircles(screen, mask);
  sys->hud.ShowCircles(1, mask);
}

void CMVekState::HideCircles(CBattleSys* sys) { sys->hud.ShowCircles(0, (1 << CUIManager::kCircles) - 1); }

void CMVekState::AttemptHold(CBattleSys* sys, bool snatch) {
  CFMaster* hero = sys->hero;
  const int index = PickedHighlighted(sys);
  if (index < 0) return;
  CFEnemy* enemy = sys->enemies[index];
  SetHighlight(sys, index, 0);
  hero->mode = snatch ? CFMaster::MODE_SNATCH : CFMaster::MODE_PARALYSE;
  const float d = BodyDistance(hero->body, enemy->body);
  if (hero->GetReach(snatch ? 2 : 1, 0) > d) return;
  const float fan = snatch ? kPi / 2 + 0.2f : kPi - 0.2f;
  if (FindBlockerInFan(sys, index, fan, d) >= 0) return;
  int action = kMissAction;
  if (d <= hero->GetReach(2, 1)) {
    BATTLEMSG message;
    hero->BuildMessage(snatch ? 5 : 4, &message);
    if (enemy->ReceiveMessage(&message) == 1) {
      action = snatch ? 421 : 410;
      if (snatch) {
        AttachCameraToHero(sys, 1);
        sys->SetHeroSlowFactor(2);
        sys->updateDivider = 2;
        sys->SetEnemySlowFactor(index, 2);
        // The front point stands at the hero's height, facing back at the hero.
        VECTOR3 front{0, 0, 0}, facingHero{0, 0, 0};
        hero->GetFrontPoint(&front, &facingHero, hero->GetReach(2, 2));
        front.z = HeroPosition(sys).z;
        if (enemy->body) SetNodeDirection(enemy->body->Node(), &front, &facingHero, nullptr);
      }
    }
  }
  hero->StartAction(action);
  hero->PlayActionEffect();
  SetCameraMode(CBattleCamera::MODE_NONE);
  sys->phaseCode = snatch ? kAfterSnatchCode : kAfterParalyseCode;
}

void CMVekState::AfterHold(CBattleSys* sys, bool snatch) {
  CFMaster* hero = sys->hero;
  if (hero->IsActing()) return;
  if (hero->body->divider > 1) {
    AttachCameraToHero(sys, 0);
    sys->SetHeroSlowFactor(1);
    sys->updateDivider = 1;
    sys->SetEnemySlowFactor(-1, 1);
  }
  SetCameraMode(CBattleCamera::MODE_ORBIT);
  sys->phaseCode = snatch ? kSnatchCode : kParalyseCode;
}

void CMVekState::Mark(CBattleSys* sys) {
  const int index = PickedHighlighted(sys);
  if (index < 0) return;
  CFEnemy* enemy = sys->enemies[index];
  SetHighlight(sys, index, 0);
  auto marked = std::find(targets.begin(), targets.end(), enemy);
  if (enemy->body && enemy->body->IsEffectPlaying()) {
    enemy->body->StopEffect();
    if (marked != targets.end()) targets.erase(marked);
  } else {
    if (enemy->body) enemy->body->PlayEffect("BatCh00", 0, 0, 0, 1);
    if (marked == targets.end()) targets.push_back(enemy);
    PlayNamedSound("SpecialS");
  }
  const int count = static_cast<int>(targets.size());
  if (count == 0) return;
  const int limit = sys->hero->soul ? sys->hero->soul->GetAttribute(kMarkLimitAttribute) : -1;
  if (count == sys->CountEnemies(1) || count == limit || count == g_battleInterface.GetItemCount()) EndMarking(sys);
}

void CMVekState::EndMarking(CBattleSys* sys) {
  DrainSpecialGauge(sys->hero, 4.0f);
  sys->phaseCode = kFinishStartCode;
}

void CMVekState::StartFinishingMove(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  const int extra = std::max(0, static_cast<int>(targets.size()) - 2);
  hero->StartAction(451 + extra);
  hero->flags |= CFMaster::kFinishing;
  hero->ChangeMP(-150, 0);
  hero->PlayActionEffect();
  char voice[16];
  std::snprintf(voice, sizeof voice, "VekS%02d", extra + 1);
  PlayNamedSound(voice);
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (enemy && enemy->body && enemy->body->IsEffectPlaying()) enemy->body->StopEffect();
  }
  sys->SetCursorMode(CBattleSys::kCursorHidden);
  sys->SetFrozen(0, kEnemiesAndScene);
  if (sys->heroStateValue == 0) {
    sys->heroSound = std::make_unique<CXWave>();
    sys->heroStateValue = 1;
    sys->heroSound->Open("HolySong");
    sys->heroSound->Play(0);
    sys->SetEnemySlowFactor(-1, 8);
    sys->SetHeroSlowFactor(2);
    sys->updateDivider = 2;
  }
  CAfterImage* trail = CAfterImage::Instance();
  trail->SetBody(hero->body);
  trail->SetPeriod(8);
  trail->SetLife(16);
  CBattleCamera* camera = CBattleCamera::Instance();
  float hero16[16];
  NodeAsM16(hero->body->Node(), 0, hero16);
  qmz::M16ToM12(hero16, camera->controllerMatrix);
  camera->controller.SelectController(101);
  SetCameraMode(CBattleCamera::MODE_CONTROLLER);
}

void CMVekState::TickTargetedAttack(CBattleSys* sys, int frames) {
  CFMaster* hero = sys->hero;
  CTarnwick* body = hero->body;
  CAfterImage::Instance()->Update(frames);
  const int action = CurrentAction(hero);
  const int firstHit = hero->GetActionParam(action, 0);
  if (body->divider > 1) {
    const int d = static_cast<int>(static_cast<float>(firstHit) - body->CurrentFrameValue());
    if (d == 0 || d == -2) SetHeroDivider(sys, 4);
    else if (d == 3 || d == -3) SetHeroDivider(sys, 2);
    else if (d == -1) SetHeroDivider(sys, 32);
  }
  if (hero->IsActing() && !targets.empty() && body->AtHitFrame() && body->hitFrame == firstHit) {
    BATTLEMSG message;
    hero->BuildMessage(1, &message);
    targets.front()->ReceiveMessage(&message);
    targets.erase(targets.begin());
    sys->hud.ShowQuickItem(1);
  }
  if (!hero->IsActing()) {
    targets.clear();
    ClearAfterImage();
    if (body->divider >= 2) RestoreSpeed(sys);
    sys->phaseCode = HERO_FIRST_FIGHTING;
  }
}

void CMVekState::TickFinishingMove(CBattleSys* sys, int frames) {
  CFMaster* hero = sys->hero;
  CTarnwick* body = hero->body;
  CAfterImage::Instance()->Update(frames);
  int toHit = 0;
  if (sys->heroStateValue && body->NearHitFrame(&toHit)) {
    const int d = -toHit;
    if (d == 2) SetHeroDivider(sys, 2);
    else if (d == 1) SetHeroDivider(sys, 4);
    else if (d == 0) SetHeroDivider(sys, 32);
    else if (d == -1) SetHeroDivider(sys, 1);
  }
  if (body->AtHitFrame() && !targets.empty()) {
    // The marked enemy the hero faces best takes the blow.
    size_t best = 0;
    float bestAngle = 180;
    for (size_t i = 0; i < targets.size(); ++i) {
      const float angle = std::fabs(hero->AngleTo(targets[i]));
      if (angle < bestAngle) {
        bestAngle = angle;
        best = i;
      }
    }
    CFEnemy* target = targets[best];
    targets.erase(targets.begin() + static_cast<long>(best));
    BATTLEMSG message;
    hero->BuildMessage(8, &message);
    target->ReceiveMessage(&message);
  }
  if (!hero->IsActing()) {
    sys->heroStateValue = 0;
    RestoreSpeed(sys);
    sys->SetCursorMode(CBattleSys::kCursorLocked);
    ClearAfterImage();
    sys->phaseCode = kFinishEndedCode;
  }
}

void CMVekState::AfterAttack(CBattleSys* sys) {
  SetCameraMode(CBattleCamera::MODE_ORBIT);
  sys->SetFrozen(0, kAllMask);
  targets.clear();
  sys->phaseCode = HERO_FIRST_FIGHTING;
}
