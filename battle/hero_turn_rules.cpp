// What both heroes' turns share.
#include <cmath>
#include <map>
#include <string>

#include "battle/after_image.h"
#include "battle/battle_camera.h"
#include "battle/battle_interface.h"
#include "battle/battle_script.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/hero_states.h"
#include "battle/phase_codes.h"
#include "battle/sys_state.h"
#include "battle/tarnwick.h"
#include "database/game_database.h"
#include "engine/core/input_hooks.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"
#include "engine/core/walking.h"
#include "engine/media/sound_table.h"
#include "engine/media/sound_waves.h"
#include "platform/qel/kbs_control.h"
#include "platform/qel/vector_math.h"

namespace {

constexpr int kScreenCentreX = 320;
constexpr int kScreenCentreY = 240;
constexpr int kCommandMenuCode = 121;
constexpr int kParalyseCode = 211;
constexpr int kSnatchCode = 221;
constexpr int kMarkingCode = 261;
constexpr int kTargetedAttackCode = 280;
constexpr int kAttackThreatened = 3;
constexpr float kPushStep = 5.0f;
constexpr float kPulseRate = 0.05f;
constexpr int kFadeOff = 0;
constexpr int kFadePulse = 3;
constexpr int kBlockedMove = -3;

// The drain of the special gauge, shared by both heroes.
int drainCounter = 0;
float drainStep = 0;

bool InCodes(int code, std::initializer_list<int> codes) {
  for (int c : codes)
    if (c == code) return true;
  return false;
}

}  // namespace

int CMasterState::Update(CBattleSys* sys, int frames) {
  CommonUpdate(sys, frames);
  return 1;
}

int CMasterState::Input(CBattleSys* sys, int type, int a, int b) {
  switch (type) {
    case INPUT_LBUTTON_DOWN: return OnLeftButton(sys, a, b);
    case INPUT_RBUTTON: return OnRightButton(sys, a, b);
    case INPUT_MOUSE_MOVE: return OnMouseMove(sys, a & 0xFFFF, static_cast<int>(static_cast<unsigned>(a) >> 16));
    case INPUT_KEY: return OnKey(sys, a, b);
    default: return 0;
  }
}

int CMasterState::OnHeroHit(CBattleSys*, int kind) {
  if (kind == kHurt) PlayNamedSound("MajorHurt");
  if (kind == kBlocked) PlayNamedSound("MajorDef");
  return 1;
}

int CMasterState::OnKey(CBattleSys* sys, int key, int down) { return OnEscape(sys, key, down); }

int CMasterState::OnMouseMove(CBattleSys* sys, int x, int y) {
  OnMouseMoveDefault(sys, x, y);
  return 1;
}

int CMasterState::OnRightButton(CBattleSys* sys, int, int) { return OnRightButtonDefault(sys); }

int CMasterState::OnCommand(CBattleSys* sys, int id, int b) {
  if (b == INPUT_FROM_HUD) LeaveCommandMenu(sys);
  return OnCommandDefault(sys, id);
}

void CMasterState::CommonUpdate(CBattleSys* sys, int frames) {
  CheckBattleEnd(sys, frames);
  ComboInput(sys, frames);
  TickFighters(sys, frames);
  UpdateMode(sys);
  UpdateEnemyGauges(sys);
  CBattleCamera::Instance()->Update(sys, frames);
}

void CMasterState::CheckBattleEnd(CBattleSys* sys, int frames) {
  if (!InCodes(sys->phaseCode, {HERO_FIRST_FIGHTING, kParalyseCode, kSnatchCode, HERO_SECOND_FIGHTING, kMarkingCode}))
    return;
  const int decision = CBattleScript::Instance()->Check(sys, frames);
  if (decision == 1) sys->SetState(CSysState::Instance(), PHASE_VICTORY);
  if (decision == -1) sys->SetState(CSysState::Instance(), PHASE_DEFEAT);
}

void CMasterState::ComboInput(CBattleSys* sys, int frames) {
  CFMaster* hero = sys->hero;
  if (!hero || sys->phaseCode < 200 || sys->phaseCode > 250 || (hero->flags & CFMaster::kHitReaction)) return;
  qmz::CKBSControl* keys = qmz::CKBSControl::Instance();
  keys->BindKeyProc(IsKeyDown);
  if (!keys->Flip(frames)) return;
  qmz::CLCTCamera& orbit = CBattleCamera::Instance()->orbit;
  const int type = keys->GetActionType();
  if (type == 0) {
    orbit.SetFollowMode(qmz::CLCTCamera::FOLLOW_CAMERA);
    hero->StartAction(11);
    return;
  }
  const int packed = hero->CommandFor(type);
  int command = packed & 0xFFFF;
  if ((type & 0xFFFF) && (hero->mode == CFMaster::MODE_SPEED || FindEnemyInReach(sys) < 0))
    command = (packed >> 16) & 0xFFFF;
  if (!command) return;
  orbit.SetFollowMode(command == 101 ? qmz::CLCTCamera::FOLLOW_MUTUAL : qmz::CLCTCamera::FOLLOW_CAMERA);
  hero->StartAction(command);
  if ((command == 113 || command == 114) && hero->body) keys->SetDelayTime(hero->body->divider * 35);
}

void CMasterState::TickFighters(CBattleSys* sys, int frames) {
  const int code = sys->phaseCode;
  if (code > 200 && code < 700) {
    if (CFMaster* hero = sys->hero) {
      hero->Update(frames);
      sys->TickTraps(frames);
      VECTOR3 facing{0, 0, 0};
      for (int i = 0; i < sys->enemyCount; ++i) {
        CFEnemy* enemy = sys->enemies[i];
        if (!enemy || !enemy->body || (enemy->flags & CFightingMan::kDown) || !hero->InAttackRange(enemy)) continue;
        if (!hero->GetActionFacing(&facing)) continue;
        VECTOR3 forward{0, 0, 0}, up{0, 0, 1}, side{0, 0, 0};
        GetNodeWorldVectors(enemy->body->Node(), nullptr, &forward, &up);
        CrossVector3(&side, &forward, &up);
        const int walked =
            WalkNodeOnTerrain(enemy->body->Node(), kPushStep * DotVector3(&facing, &forward), 1, 0, 0, 1);
        const int strafed =
            StrafeNodeOnTerrain(enemy->body->Node(), kPushStep * DotVector3(&facing, &side), 1, 0, 0, 1);
        if (walked != kBlockedMove || walked != strafed) enemy->body->actionMotion = 0;
      }
    }
    const int enemyTicks = code == kTargetedAttackCode ? 2 : 1;
    for (int pass = 0; pass < enemyTicks; ++pass) {
      for (int i = 0; i < sys->enemyCount; ++i)
        if (sys->enemies[i]) sys->enemies[i]->Update(frames);
      sys->UpdateShots();
    }
  }
  for (int i = 0; i < frames; ++i) g_gameDataBase.party.TickMemberEffects();
}

void CMasterState::UpdateEnemyGauges(CBattleSys* sys) {
  const bool fighting =
      InCodes(sys->phaseCode, {HERO_FIRST_FIGHTING, kParalyseCode, kSnatchCode, HERO_SECOND_FIGHTING});
  const HOBJECT camera = CBattleCamera::Instance()->cameraNode;
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy) continue;
    if (fighting && Standing(enemy) && UnderScreenCentre(enemy)) {
      enemy->hpBar.Show(1);
      enemy->hpBar.Place(camera);
    } else {
      enemy->hpBar.Show(0);
    }
  }
}

int CMasterState::FindEnemyInReach(CBattleSys* sys) {
  if (!sys->hero) return -1;
  const float reach = sys->hero->GetReach(1, 0);
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy || (enemy->flags & CFightingMan::kDown)) continue;
    if (BodyDistance(sys->hero->body, enemy->body) < reach) return i;
  }
  return -1;
}

void CMasterState::HighlightTargets(CBattleSys* sys, int type) {
  if (type < 1 || type > 3) return;
  const int code = type == 1 ? kParalyseCode : type == 2 ? kSnatchCode : HERO_SECOND_FIGHTING;
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy) continue;
    const bool on = Standing(enemy) && EnemyInFront(sys, type, EnemyPosition(enemy)) && UnderScreenCentre(enemy) &&
                    sys->phaseCode == code;
    SetHighlight(sys, i, on);
  }
}

void CMasterState::SetHighlight(CBattleSys* sys, int index, int on) {
  if (index < 0 || index >= sys->enemyCount || !sys->enemies[index] || !sys->enemies[index]->body) return;
  CTarnwick* body = sys->enemies[index]->body;
  if (on) body->SetFade(kFadePulse, kPulseRate);
  else body->SetFade(kFadeOff, 0);
}

int CMasterState::IsHighlighted(const CFEnemy* enemy) {
  return enemy && enemy->body && enemy->body->fadeMode == kFadePulse ? 1 : 0;
}

float CMasterState::BodyDistance(CTarnwick* a, CTarnwick* b) {
  if (!a || !b) return 0;
  VECTOR3 pa{0, 0, 0}, pb{0, 0, 0};
  a->GetTransform(&pa, nullptr, nullptr);
  b->GetTransform(&pb, nullptr, nullptr);
  return GetPointDistanceN(&pa, &pb, 3);
}

int CMasterState::EnemyInFront(CBattleSys* sys, int reachRow, const VECTOR3& point) {
  if (!sys->hero || sys->hero->ReachLevel(reachRow, point) != 2) return 0;
  const VECTOR3 here = HeroPosition(sys), forward = HeroForward(sys);
  const VECTOR3 away{here.x - point.x, here.y - point.y, here.z - point.z};
  return DotVector3(&away, &forward) <= 0 ? 1 : 0;
}

int CMasterState::FindBlockerInFan(CBattleSys* sys, int index, float angle, float distance) {
  if (index < 0 || index >= sys->enemyCount || !sys->enemies[index]) return -1;
  const VECTOR3 here = HeroPosition(sys), there = EnemyPosition(sys->enemies[index]);
  VECTOR3 direction{there.x - here.x, there.y - here.y, there.z - here.z};
  NormalizeVector3(&direction);
  const float origin[3] = {here.x, here.y, here.z};
  const float towards[3] = {direction.x, direction.y, direction.z};
  for (int i = 0; i < sys->enemyCount; ++i) {
    if (i == index || !sys->enemies[i]) continue;
    const VECTOR3 p = EnemyPosition(sys->enemies[i]);
    const float point[3] = {p.x, p.y, p.z};
    if (qmz::CheckFanRegion(origin, towards, point, angle, distance)) return i;
  }
  return -1;
}

int CMasterState::DrainSpecialGauge(CFMaster* hero, float step) {
  if (!hero || !hero->soul) return 0;
  const int gauge = hero->soul->GetAttribute(kAttrSpecial);
  if (gauge <= 0) return 0;
  if (step > 0) {
    drainStep = step;
    drainCounter = std::max(1, static_cast<int>(static_cast<float>(gauge) / step));
    return 1;
  }
  --drainCounter;
  // Rounded up, so that the last part of a step still shows and the drain
  // lasts its whole count of ticks.
  const float left = static_cast<float>(drainCounter) * drainStep;
  hero->soul->SetAttributeValue(kAttrSpecial, static_cast<int>(std::ceil(left - 1e-3f)));
  hero->ChangeSP(0, 0);
  return 1;
}

void CMasterState::ReturnToHeroControl(CBattleSys* sys) {
  sys->hud.EnableGauges(1);
  sys->SetCursorMode(CBattleSys::kCursorLocked);
  CBattleCamera* camera = CBattleCamera::Instance();
  camera->cameraMode = CBattleCamera::MODE_ORBIT;
  const VECTOR3 forward = HeroForward(sys);
  const float facing[3] = {forward.x, forward.y, forward.z};
  camera->InitOrbit(facing);
  camera->UpdateOrbit(sys, 1);
  OnTurnStart(sys);
}

void CMasterState::PlayNamedSound(const char* name) {
  // One handle per name, rewound for each play: loading again for every cry
  // would fill the sound table in a long battle.
  static std::map<std::string, HOBJECT> loaded;
  HOBJECT& sound = loaded[name];
  const SOUNDDESC* record = sound ? LookupSound(sound) : nullptr;
  if (!record || record->name != name) sound = LoadSound(name);
  if (sound) StartSound(sound, SOUNDPLAY_REWIND);
}

void CMasterState::ThreatenTick(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  if (sys->phaseCode != HERO_THREATENING || !hero || hero->IsActing()) return;
  BATTLEMSG message;
  hero->BuildMessage(kAttackThreatened, &message);
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy || (enemy->flags & CFightingMan::kDown)) continue;
    BATTLEMSG copy = message;
    enemy->ReceiveMessage(&copy);
  }
  const bool first = hero->kind == CFightingMan::kFirstHero;
  hero->mode = first ? CFMaster::MODE_NORMAL : CFMaster::MODE_SECOND_NORMAL;
  sys->phaseCode = first ? HERO_FIRST_FIGHTING : HERO_SECOND_FIGHTING;
  sys->hud.HideModeIcon(0);
  SetCameraMode(CBattleCamera::MODE_ORBIT);
}

void CMasterState::AttachCameraToHero(CBattleSys* sys, int on) {
  CBattleCamera* camera = CBattleCamera::Instance();
  const HOBJECT body = sys->HeroBodyNode();
  if (on) {
    camera->orbit.SetAngleSpeed(0, 0);
    if (!body) return;
    MATRIX34 cameraWorld, bodyWorld;
    GetNodeMatrix(camera->cameraNode, &cameraWorld, 0);
    GetNodeMatrix(body, &bodyWorld, 0);
    MATRIX44 body44, inverse, local44;
    ConvertMatrix34To44(&bodyWorld, &body44);
    InvertMatrix44(&body44, &inverse);
    MultiplyMatrix34By44(&local44, &cameraWorld, &inverse);
    MATRIX34 local;
    for (int r = 0; r < 4; ++r) local.row[r] = {local44.m[4 * r], local44.m[4 * r + 1], local44.m[4 * r + 2]};
    SetNodeParent(camera->cameraNode, body);
    SetNodeMatrix(camera->cameraNode, &local, TRANSFORM_SET);
    return;
  }
  camera->orbit.Enable(1);
  MATRIX34 world;
  GetNodeMatrix(camera->cameraNode, &world, 0);
  SetNodeParent(camera->cameraNode, 0);
  SetNodeMatrix(camera->cameraNode, &world, TRANSFORM_SET);
  camera->UpdateOrbit(sys, 1);
}

int CMasterState::OnEscape(CBattleSys* sys, int key, int down) {
  if (!down || key != 27) return 0;
  sys->End();
  CBattleScript::Instance()->result = -1;
  return 1;
}

void CMasterState::OnMouseMoveDefault(CBattleSys* sys, int x, int y) {
  sys->cursor.SetPosition(x, y);
  qmz::CLCTCamera& orbit = CBattleCamera::Instance()->orbit;
  if (sys->phaseCode >= 201 && sys->phaseCode < 269) orbit.GetMouseMessage(x, y, 1);
  orbit.GetMouseMessage(x, y, 0);
}

int CMasterState::OnRightButtonDefault(CBattleSys* sys) {
  const int code = sys->phaseCode;
  if (code == HERO_FIRST_FIGHTING || code == HERO_SECOND_FIGHTING) {
    sys->SetFrozen(1, 0xFFFF);
    sys->SetCursorMode(CBattleSys::kCursorFree);
    sys->hud.ShowCommandPanel(sys->hero ? sys->hero->kind : 0, 1);
    sys->savedPhaseCode = code;
    SetCameraMode(CBattleCamera::MODE_NONE);
    sys->phaseCode = kCommandMenuCode;
    return 1;
  }
  if (code == kCommandMenuCode) {
    LeaveCommandMenu(sys);
    sys->phaseCode = sys->savedPhaseCode;
    return 1;
  }
  return 0;
}

int CMasterState::OnCommandDefault(CBattleSys* sys, int id) {
  if (id == CUIManager::kItemMenuId) {
    g_battleInterface.OpenItemMenu();
    return 1;
  }
  if (id == CUIManager::kThreatenId) {
    StartThreatening(sys);
    return 1;
  }
  return 0;
}

bool CMasterState::Standing(const CFEnemy* enemy) { return enemy && !(enemy->flags & kOutOfFight); }

bool CMasterState::BoxUnderPoint(const CFEnemy* enemy, int x, int y) {
  // The wire box is drawn with lines, which no triangle pick hits: its box is picked.
  HOBJECT picked = 0;
  return enemy && enemy->boxNode && PickNode(0, &enemy->boxNode, 1, 1, x, y, &picked) != 0 && picked == enemy->boxNode;
}

bool CMasterState::UnderScreenCentre(const CFEnemy* enemy) {
  if (!enemy || !enemy->boxNode) return false;
  return BoxUnderPoint(enemy, kScreenCentreX, kScreenCentreY);
}

void CMasterState::LeaveCommandMenu(CBattleSys* sys) {
  sys->SetFrozen(0, 0xFFFF);
  sys->SetCursorMode(CBattleSys::kCursorLocked);
  sys->hud.ShowCommandPanel(sys->hero ? sys->hero->kind : 0, 0);
  SetCameraMode(CBattleCamera::MODE_ORBIT);
}

void CMasterState::StartThreatening(CBattleSys* sys) {
  CFMaster* hero = sys->hero;
  if (!hero) return;
  hero->StartAction(400);
  hero->mode = CFMaster::MODE_THREATEN;
  if (hero->body) hero->body->PlayEffect("m001s110", 0, 0, 0, 0);
  SetCameraMode(CBattleCamera::MODE_NONE);
  sys->hud.ShowModeIcon(CFMaster::MODE_THREATEN, 0);
  sys->phaseCode = HERO_THREATENING;
}

void CMasterState::SetHeroDivider(CBattleSys* sys, int divider) {
  if (sys->hero && sys->hero->body && sys->hero->body->divider != divider) sys->SetHeroSlowFactor(divider);
}

void CMasterState::RestoreSpeed(CBattleSys* sys) {
  sys->SetHeroSlowFactor(1);
  sys->SetEnemySlowFactor(-1, 1);
  sys->updateDivider = 1;
}

void CMasterState::ClearAfterImage() {
  CAfterImage* trail = CAfterImage::Instance();
  trail->Clear();
  trail->SetBody(nullptr);
}

void CMasterState::SetCameraMode(int mode) { CBattleCamera::Instance()->cameraMode = mode; }

void CMasterState::SetOrbitDistance(float distance) { CBattleCamera::Instance()->orbit.SetDistance(distance); }

void CMasterState::PullBackCamera(CBattleSys* sys) {
  CBattleCamera* camera = CBattleCamera::Instance();
  float hero16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  if (const HOBJECT node = sys->HeroBodyNode()) NodeAsM16(node, 0, hero16);
  float centre[3];
  camera->orbit.GetLCTCenter(centre, hero16);
  camera->track.SetCenterPos(centre);
  camera->track.SetAnglePhi(camera->orbit.GetLCTAnglePhi());
  camera->track.SetAngleTheta(camera->orbit.GetLCTAngleTheta());
  camera->track.SetRadius(camera->orbit.GetLCTRadius());
  camera->track.SelectTrack(9);
}

VECTOR3 CMasterState::HeroPosition(CBattleSys* sys) {
  VECTOR3 p{0, 0, 0};
  if (sys->hero && sys->hero->body) sys->hero->body->GetTransform(&p, nullptr, nullptr);
  return p;
}

VECTOR3 CMasterState::HeroForward(CBattleSys* sys) {
  VECTOR3 forward{0, -1, 0};
  if (const HOBJECT node = sys->HeroBodyNode()) GetNodeWorldVectors(node, nullptr, &forward, nullptr);
  return forward;
}

VECTOR3 CMasterState::EnemyPosition(const CFEnemy* enemy) {
  VECTOR3 p{0, 0, 0};
  if (enemy && enemy->body) enemy->body->GetTransform(&p, nullptr, nullptr);
  return p;
}

int CMasterState::PickedHighlighted(CBattleSys* sys) {
  for (int i = 0; i < sys->enemyCount; ++i)
    if (IsHighlighted(sys->enemies[i]) && UnderScreenCentre(sys->enemies[i])) return i;
  return -1;
}
