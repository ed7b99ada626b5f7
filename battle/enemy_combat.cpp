// How an enemy acts on others and reacts to them: attacks and shots, cures
// and releases, blows, paralysis, snatches and threats, and the slow-motion
// final blow of the last enemy.
#include <algorithm>
#include <cmath>

#include "battle/after_image.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/tarnwick.h"
#include "battle/x_shot.h"
#include "battle/x_wave.h"
#include "database/man_soul.h"
#include "engine/core/node_transforms.h"
#include "platform/crt.h"

namespace {

constexpr char kShotModel[] = "_E311W.MCB";
constexpr int kFinalBlowDivider = 32;

VECTOR3 Unit(const VECTOR3& v) {
  const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return n > 0 ? VECTOR3{v.x / n, v.y / n, v.z / n} : VECTOR3{0, 0, 0};
}

}  // namespace

int CFEnemy::StartOneOf(std::initializer_list<int> ids) {
  const int id = DrawPresent(ids, 0);
  if (id) StartAction(id);
  return id;
}

// Attacks.

int CFEnemy::CanStartAttack() {
  if (!IsTargetAlive() || AttackBand() != 2 || !IsFacing(target)) return 0;
  if (style == 2) return 1;
  const float reach = Distance(target);
  for (const CFEnemy* ally : FreeAllies())
    if (IsFacing(ally) && Distance(ally) < reach) return 0;
  return 1;
}

void CFEnemy::BeginPrepare() {
  ChooseAttack();
  const int k = 2 + std::clamp(style, 0, 2);
  AddTimer(kPrepareTimer, (k - plat::Rand() % 2) * 5, 1);
  if (behaviour != 8) return;
  AddTimer(kPrepareTimer, 5 * (plat::Rand() % 3 + 3), 0);
  if (body) body->PlayEffect("power", 0, 0, 0, 1);
}

void CFEnemy::CancelPrepare() {
  RemoveTimers(kPrepareTimer);
  if (body) body->SetEffectLoop(0);
}

void CFEnemy::StartAttack() {
  queue.clear();
  const int first = style == 1 ? 141 : style == 2 ? 151 : 131;
  for (int id = first; id < first + 3; ++id) AddCandidate(id);
  flags |= kAttacking;
}

int CFEnemy::AttackHit() {
  if (style == 2) {
    Shoot();
    return 0;
  }
  if (!IsTargetAlive() || AttackBand() != 2 || !IsFacing(target)) return 0;
  BATTLEMSG message;
  BuildMessage(1, &message);
  return target->ReceiveMessage(&message);
}

void CFEnemy::Shoot() {
  if (!owner || !body || !soul) return;
  auto* shot = new CXShot(kShotModel);
  shot->Attach(owner);
  VECTOR3 up{0, 0, 1};
  GetNodeWorldVectors(body->Node(), &position, &facing, &up);
  VECTOR3 start{0, 0, 0};
  HOBJECT parts[2] = {};
  if (body->GetWeaponParts(parts, 2) == 2) {
    GetNodeWorldVectors(parts[1], &start, nullptr, nullptr);
  } else {
    // Without a second weapon part the shot leaves from the front of the body.
    GetFrontPoint(&start, nullptr, collisionRadius);
  }
  VECTOR3 aim = target ? target->position : start;
  const int limb = 2 + plat::Rand() % 4;
  if (target && target->body) {
    VECTOR3 points[6] = {};
    target->body->GetHitPoints(points, 0x3c);
    aim = points[limb];
  }
  const VECTOR3 direction = Unit({aim.x - start.x, aim.y - start.y, aim.z - start.z});
  shot->Place(&start, &direction, &up);
  if (body->divider == 1 && target) {
    facing = Unit({target->position.x - position.x, target->position.y - position.y, target->position.z - position.z});
    SetNodeDirection(body->Node(), &position, &facing, &up);
  }
  const float speed = 5.0f * static_cast<float>(5 - plat::Rand() % 3);
  const float acceleration = 0.25f * static_cast<float>(6 - plat::Rand() % 4);
  shot->SetMotion(speed, acceleration);
  shot->SetPower(soul->GetAttribute(9));
  shot->SetSlowMotion(body->divider);
  owner->AddShot(shot);
}

void CFEnemy::EndAttack(int landed) {
  if (!landed) {
    RemoveTimers(kPauseTimer);
    if (body) body->SetEffectLoop(0);
    flags &= ~kAttacking;
    AddTimer(kHoldTimer, 5 * (plat::Rand() % 2), 1);
    return;
  }
  int pause = 0;
  switch (behaviour) {
    case 4: pause = 10 * (plat::Rand() % 4 + 2); break;
    case 5: pause = 10 * (plat::Rand() % 3 + 1); break;
    case 6: pause = 10 * (plat::Rand() % 3 + 2); break;
    case 7:
      pause = 10 * (plat::Rand() % 3 + 2);
      AddCandidate(115);
      AddCandidate(116);
      break;
    case 8: pause = 10 * (plat::Rand() % 4 + 4); break;
    default: break;  // another behaviour pauses not at all
  }
  AddTimer(kPauseTimer, pause, 1);
}

// Cures and releases.

void CFEnemy::StartCureAction() {
  if (HasAction(156)) StartAction(156);
  else if (HasAction(157)) StartAction(157);
  if (body) body->PlayEffect("useMP", 0, 0, 0, 0);
}

void CFEnemy::StartReleaseAction() {
  if (HasAction(158)) StartAction(158);
}

void CFEnemy::CureTarget() {
  if (!target) return;
  BATTLEMSG message;
  BuildMessage(2, &message);
  target->ReceiveMessage(&message);
  if (target->body) target->body->PlayEffect("addHP", 0, 0, 0, 0);
  AddTimer(kCureTimer, 90 - 10 * (plat::Rand() % 5), 1);
}

void CFEnemy::CureSelf() {
  target = this;
  CureTarget();
}

void CFEnemy::ReleaseTarget() {
  if (!target) return;
  BATTLEMSG message;
  BuildMessage(6, &message);
  target->ReceiveMessage(&message);
  AddTimer(kReleaseTimer, 30 + plat::Rand() % 30, 1);
}

// Reactions.

void CFEnemy::TakeDamage(int power, int part) {
  const int defence = soul ? soul->GetAttribute(10 + part) : 0;
  const int loss = power + static_cast<int>(static_cast<float>(defence) / -10.0f);
  ChangeHP(loss < 1 ? -1 : -loss, 0);
}

void CFEnemy::ReactToBlow(const BATTLEMSG* message) {
  hitDirection = message->Get(2);
  TakeDamage(message->Get(1), hitDirection);
  const int quadrant = HitQuadrant();
  if (quadrant == 2) StartAction(plat::Rand() % 2 == 0 ? 516 : 515);
  else StartAction(511 + hitDirection);
  if (quadrant != 1 && body) body->StopMotion(1);
}

void CFEnemy::ReactToSureBlow(const BATTLEMSG* message) {
  hitDirection = message->Get(2);
  TakeDamage(message->Get(1), hitDirection);
  StartAction(511 + hitDirection);
}

void CFEnemy::ReactToHeavyBlow(const BATTLEMSG* message) {
  static constexpr int kReaction[6] = {511, 514, 513, 515, 516, 513};
  static constexpr int kDirection[6] = {0, 3, 2, 4, 5, 2};
  const int key = message->Get(4);
  const int row = key >= 0 && key < 6 ? key : 0;
  TakeDamage(message->Get(1), key);
  hitDirection = kDirection[row];
  StartAction(kReaction[row]);
}

void CFEnemy::Evade() { StartOneOf({121, 123, 122, 124}); }

int CFEnemy::RollParalysis(const BATTLEMSG* message) {
  const int level = soul ? soul->GetAttribute(1) : 0;
  const int power = message->Get(1);
  if (!owner || !soul || owner->GetScriptValue(soul->id, 0x20001) == 0) return 0;
  // Both at 0 leave nothing to draw from: the paralysis fails.
  if (level + power <= 0) return 0;
  return level < plat::Rand() % (power + level) + 1;
}

void CFEnemy::BeParalysed() {
  StartOneOf({171, 173, 175});
  flags |= kParalysed;
  if (body) body->PlayEffect("stop", 0, 0, 0, 0);
}

int CFEnemy::RollSnatch(const BATTLEMSG* message) {
  const int level = soul ? soul->GetAttribute(1) : 0;
  const int power = message->Get(1);
  if (style != 1 || !owner || !soul || owner->GetScriptValue(soul->id, 0x20002) == 0) return 0;
  if (level + power + 1 <= 0) return 0;
  return level < plat::Rand() % (level + power + 1);
}

void CFEnemy::PlaySnatched() { StartOneOf({181, 183, 185}); }

void CFEnemy::BeSnatched() {
  PlaySnatched();
  flags |= kDisarmed;
  switches->Add(kDisarmedMark);
}

int CFEnemy::RollThreat() {
  if (!owner || !soul || owner->GetScriptValue(soul->id, 0x20001) == 0) return 0;
  return plat::Rand() % 100 <= 30;
}

void CFEnemy::BeThreatened() {
  if (plat::Rand() % 100 > 30) {
    StartAction(110);
    return;
  }
  switches->Add(kFleeingMark);
  PickEscapePoint();
}

void CFEnemy::SetLyingTime() {
  const int maxHP = soul ? soul->GetAttribute(5) : 0;
  const int hp = soul ? soul->GetAttribute(6) : 0;
  AddTimer(kLyingTimer, 90 - (maxHP > 0 ? 50 * hp / maxHP : 0), 1);
}

void CFEnemy::GetUp() {
  queue.assign(1, 521 + hitDirection);
  hitDirection = 0;
}

void CFEnemy::GainMP(int frames) {
  if (soul) soul->AddAttribute(8, frames);
}

// Final blow and removal.

void CFEnemy::SetSlowMotion(int n) {
  if (body) body->SetSlowMotion(n);
  if (!owner) return;
  owner->SetHeroSlowFactor(n);
  owner->updateDivider = n;
}

void CFEnemy::StartFinalBlow() {
  SetSlowMotion(kFinalBlowDivider);
  if (!body) return;
  body->StopMotion(1);
  VECTOR3 point{0, 0, 0}, direction{0, 0, 0};
  GetFrontPoint(&point, &direction, 80);
  MATRIX34 matrix{};
  GetNodeMatrix(body->Node(), &matrix, 0);
  float rows[12];
  for (int r = 0; r < 4; ++r)
    rows[3 * r] = matrix.row[r].x, rows[3 * r + 1] = matrix.row[r].y, rows[3 * r + 2] = matrix.row[r].z;
  if (owner) owner->PlayControllerCamera(point, direction, rows);
  CAfterImage* trail = CAfterImage::Instance();
  trail->SetBody(body);
  trail->SetPeriod(16);
  trail->SetLife(12);
  finalBlow = 1;
  if (owner && owner->music) {
    owner->music->Stop();
    if (owner->music->Open("enemydie")) owner->music->Play(0);
  }
}

void CFEnemy::StepFinalBlow() {
  if (!body || body->divider <= 1) return;
  const int s = body->current[ACTIONDESC::START];
  const int e = body->current[ACTIONDESC::END];
  const int f = body->currentFrame;
  int n = 0;
  if (f == s + 2 * (e - s) / 3) n = 1;
  else if (f == s + (e - s) / 3) n = 4;
  else if (f == s + 1) n = 16;
  // Each step is taken once: taking it again would put the body back to the
  // start of its frame, and at 16 it would never leave that frame.
  if (n && n != body->divider) SetSlowMotion(n);
}

void CFEnemy::EndFinalBlow() {
  if (body) body->SetSlowMotion(1);
  if (owner) owner->EndControllerCamera();
  finalBlow = 0;
}

void CFEnemy::Remove() {
  if (finalBlow) EndFinalBlow();
  if (body && body->fadeMode != 2) body->SetFade(2, 0.02f);
  flags |= kDown;
}

void CFEnemy::CompleteEscape() {
  flags |= kEscaped;
  Remove();
}
