// How an enemy perceives, chooses and moves: the candidate queue, distance
// bands, facing, turning, blocking and escape points.
#include <algorithm>
#include <cmath>

#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/tarnwick.h"
#include "battle/unit_states.h"
#include "database/man_soul.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "platform/crt.h"

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kClearWay = 8.0f;
constexpr float kBlockCone = 0.24f;

int HP(const CFightingMan* f) { return f && f->soul ? f->soul->GetAttribute(6) : 0; }
int MaxHP(const CFightingMan* f) { return f && f->soul ? f->soul->GetAttribute(5) : 0; }
int Gone(const CFightingMan* f) { return (f->flags & CFightingMan::kDown) != 0; }

float Length(const VECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
VECTOR3 Minus(const VECTOR3& a, const VECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
VECTOR3 Unit(const VECTOR3& v) {
  const float n = Length(v);
  return n > 0 ? VECTOR3{v.x / n, v.y / n, v.z / n} : VECTOR3{0, 0, 0};
}

VECTOR3 NodePosition(const CFightingMan* f) {
  VECTOR3 p = f->position;
  if (f->body && f->body->Node()) GetNodeWorldVectors(f->body->Node(), &p, nullptr, nullptr);
  return p;
}

// 1 nearer than the smaller bound, 2 below the larger, 3 beyond.
int Band(float d, float a, float b) {
  if (d < std::min(a, b)) return 1;
  return d < std::max(a, b) ? 2 : 3;
}

}  // namespace

float CFEnemy::SignedAngle(const VECTOR3& a, const VECTOR3& b) {
  const float dot = std::clamp(a.x * b.x + a.y * b.y + a.z * b.z, -1.0f, 1.0f);
  const float size = std::acos(dot) * kDegreesPerRadian;
  return a.x * b.y - a.y * b.x >= 0 ? size : -size;
}

float CFEnemy::Distance(const CFightingMan* fighter) const { return Length(Minus(fighter->position, position)); }

// Perception.

int CFEnemy::IsTargetAlive() const { return target && HP(target) > 0; }

int CFEnemy::IsWeak() const { return HP(this) * 100 < MaxHP(this) * 20; }

int CFEnemy::NeedsCure(const CFightingMan* f) { return HP(f) > 0 && HP(f) <= MaxHP(f) * 60 / 100; }

int CFEnemy::IsParalysedAlive(const CFightingMan* f) { return HP(f) > 0 && (f->flags & kParalysed); }

int CFEnemy::CountOthers() const {
  int n = 0;
  if (!owner) return 0;
  for (int i = 0; i < owner->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    const CFEnemy* other = owner->enemies[i];
    if (other && other != this && !Gone(other)) ++n;
  }
  return n;
}

std::vector<CFEnemy*> CFEnemy::FreeAllies() const {
  std::vector<CFEnemy*> allies;
  if (!owner) return allies;
  for (int i = 0; i < owner->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    CFEnemy* other = owner->enemies[i];
    if (other && other != this && !(other->flags & (kDown | kEscaped))) allies.push_back(other);
  }
  return allies;
}

int CFEnemy::AttackBand() const {
  if (!target) return 3;
  const float r = collisionRadius;
  const float R = owner && owner->hero ? owner->hero->collisionRadius : 0;
  float inner = r - 5, outer = inner + R + 10;
  if (style == 1) outer = inner + R + 30;
  if (style == 2) inner = R + 50, outer = inner + R + 300;
  return Band(Distance(target), inner, outer);
}

int CFEnemy::SupportBand() const {
  if (!target) return 3;
  return Band(Length(Minus(NodePosition(target), NodePosition(this))), collisionRadius / 2, 3.5f * collisionRadius);
}

int CFEnemy::IsFacing(const CFightingMan* fighter) const {
  if (!fighter) return 0;
  static constexpr float kLimits[] = {30, 20, 15};
  const float limit = kLimits[std::clamp(style, 0, 2)];
  return std::fabs(SignedAngle(facing, Unit(Minus(fighter->position, position)))) < limit;
}

int CFEnemy::HitQuadrant() const {
  if (!owner || !owner->hero) return 1;
  const float a = SignedAngle(facing, Unit(Minus(position, owner->hero->position)));
  if (a > 60 && a <= 120) return 3;
  if (a > -60 && a <= 60) return 2;
  if (a > -120 && a <= -60) return 4;
  return 1;
}

// The queue.

int CFEnemy::IsWayClear() const {
  std::vector<const CFightingMan*> others;
  if (owner && owner->hero && !Gone(owner->hero)) others.push_back(owner->hero);
  if (owner)
    for (int i = 0; i < owner->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
      const CFEnemy* other = owner->enemies[i];
      if (other && other != this && !Gone(other)) others.push_back(other);
    }
  for (const CFightingMan* other : others) {
    const float half = (collisionRadius + other->collisionRadius) / 2;
    const float d = std::max(half, Distance(other));
    if (std::sqrt(d * d - half * half) > kClearWay || d <= 0) continue;
    const float angle = SignedAngle(facing, Unit(Minus(other->position, position)));
    if (std::fabs(angle) <= std::asin(std::min(1.0f, half / d)) * kDegreesPerRadian) return 0;
  }
  return 1;
}

int CFEnemy::AddCandidate(int id) {
  if (!HasAction(id) || !IsWayClear()) return 0;
  candidates.push_back(id);
  return 1;
}

void CFEnemy::PickCandidate() {
  while (candidates.size() >= 2) {
    const size_t h = (candidates.size() + 1) / 2;
    if (plat::Rand() % 10 < 6) candidates.erase(candidates.begin(), candidates.begin() + static_cast<long>(h));
    else candidates.resize(h);
  }
  if (!candidates.empty()) queue.push_back(candidates.front());
  candidates.clear();
}

int CFEnemy::RunQueue() {
  if (body && body->current[ACTIONDESC::KIND] != 0 && body->currentFrame < body->current[ACTIONDESC::RELEASE]) return 0;
  PickCandidate();
  if (queue.empty()) {
    QueueIdle();
    return 0;
  }
  const int id = queue.front();
  queue.erase(queue.begin());
  StartAction(id);
  return 1;
}

void CFEnemy::QueueMovement(int band, int set) {
  if (band == 3) {
    if (set & 1) AddCandidate(104);
    if (set & 2) {
      AddCandidate(105);
      AddCandidate(106);
      if (plat::Rand() % 5 == 0) AddCandidate(102), AddCandidate(103);
    }
    if (set & 4) {
      AddCandidate(101);
      if (plat::Rand() % 25 == 0) AddCandidate(97);
    }
  } else if (band == 1) {
    if (set & 1) AddCandidate(107);
    if (set & 4) AddCandidate(110);
    if (set & 2) AddCandidate(108), AddCandidate(109);
  } else if (band == 2 && (set & 8)) {
    AddCandidate(115);
    AddCandidate(116);
  }
}

// Movement and facing.

void CFEnemy::AimAtTarget() {
  if (IsTargetAlive()) targetPoint = target->position;
}

int CFEnemy::FaceTargetPoint(int frames) {
  const VECTOR3 to = Minus(targetPoint, position);
  if (std::fabs(to.x) > 0.001f || std::fabs(to.y) > 0.001f || std::fabs(to.z) > 0.001f) desiredDirection = Unit(to);
  const float angle = SignedAngle(facing, desiredDirection);
  const float c = std::fabs(angle);
  float a = 3;
  if (c > 3)
    for (int i = 0; i < frames && c > a; ++i) a += 3;
  if (c < 10 || !body) return 0;
  const float turn = (angle >= 0 ? a : -a) / static_cast<float>(std::max(1, body->divider));
  RotateNode(body->Node(), 2, turn, 1);
  return 1;
}

void CFEnemy::CheckBlocked(int notify) {
  blocker = nullptr;
  if (!owner || !body) return;
  std::vector<CFightingMan*> others;
  if (owner->hero && !Gone(owner->hero)) others.push_back(owner->hero);
  for (int i = 0; i < owner->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    CFEnemy* other = owner->enemies[i];
    if (other && other != this && !Gone(other)) others.push_back(other);
  }
  const VECTOR3 move = TurnByFacing(facing, body->current[ACTIONDESC::FACING]);
  for (CFightingMan* other : others) {
    const VECTOR3 to = Minus(other->position, position);
    if (Length(to) >= collisionRadius + other->collisionRadius) continue;
    const VECTOR3 u = Unit(to);
    if (move.x * u.x + move.y * u.y + move.z * u.z <= kBlockCone) continue;
    blocker = other;
    break;
  }
  if (!blocker) return;
  if (notify && blocker != target && state) state->OnBlocked(this);
  body->StopMotion(1);
  if (body->current[ACTIONDESC::KIND] == 1) body->SetFrame(body->current[ACTIONDESC::RELEASE]);
}

int CFEnemy::TrySideStep() {
  const int proposed = AddCandidate(116) | AddCandidate(115);
  if (!proposed) QueueIdle();
  return proposed;
}

void CFEnemy::HoldOnTargetDown() {
  if (!IsTargetAlive()) {
    const CFightingMan* hero = owner ? owner->hero : nullptr;
    if (!hero || !target) return;
    const float away = std::fabs(SignedAngle(hero->facing, Unit(Minus(position, hero->position))));
    if (away < 90 || Distance(target) >= 100) return;
    StartAction(110);
  }
  if (!body) return;
  switch (body->fadeMode) {
    case 3: body->fadeMode = 0; break;
    case 2: body->SetOpacity(0), body->fadeMode = 0; break;
    case 1: body->SetOpacity(1.0f), body->fadeMode = 0; break;
    default: break;
  }
}

void CFEnemy::PickEscapePoint() {
  const HOBJECT terrain = owner ? owner->ArenaTerrainNode() : 0;
  int count = 0, frameCount = 0, floats = 0;
  const MESHVERTEX* vertices = terrain ? GetMeshVertices(terrain, &count, &frameCount, &floats) : nullptr;
  const VECTOR3 away = target ? target->position : position;
  float best = -1;
  for (int i = 0; vertices && i < count; ++i) {
    const VECTOR3 v{vertices[i].x, vertices[i].y, vertices[i].z};
    const float d = Length(Minus(v, position));
    if (d < collisionRadius || Length(Minus(v, away)) < d) continue;
    if (best < 0 || d < best) best = d, targetPoint = v;
  }
  if (best < 0 && target) desiredDirection = Unit(Minus(position, target->position));
}

int CFEnemy::EscapeReached() const { return Length(Minus(targetPoint, position)) < collisionRadius; }

// Choices.

int CFEnemy::DrawPresent(std::initializer_list<int> ids, int fromSwitches) {
  std::vector<int> present;
  for (int id : ids)
    if (fromSwitches ? switches->Has(id) : HasAction(id)) present.push_back(id);
  if (present.empty()) return 0;
  return present[static_cast<size_t>(plat::Rand()) % present.size()];
}

int CFEnemy::ChooseApproach() {
  target = owner ? owner->hero : nullptr;
  plat::Rand();
  if (!IsTargetAlive()) return 0;
  if (const int manner = DrawPresent({1, 2, 3}, 1)) behaviour = manner;
  return 1;
}

int CFEnemy::ChooseAttack() {
  const int chosen = DrawPresent({4, 5, 6, 7, 8}, 1);
  if (chosen) behaviour = chosen;
  return chosen;
}

int CFEnemy::ChooseDefence() {
  if (!IsWeak() && !switches->Has(kFleeingMark)) return 0;
  std::vector<int> choices;
  if (switches->Has(9) && FindStrongerAlly()) choices.push_back(9);
  if (switches->Has(10) && GetTimer(kCureTimer) <= 0 && IsWeak()) choices.push_back(10);
  if (switches->Has(11)) choices.push_back(11);
  if (choices.empty()) return 0;
  behaviour = choices[static_cast<size_t>(plat::Rand()) % choices.size()];
  return behaviour;
}

int CFEnemy::FindStrongerAlly() {
  CFEnemy* nearest = nullptr;
  for (CFEnemy* ally : FreeAllies())
    if (HP(ally) > HP(this) && (!nearest || Distance(ally) < Distance(nearest))) nearest = ally;
  if (nearest) target = nearest;
  return nearest != nullptr;
}

CFEnemy* CFEnemy::NearestNeedy(int (*test)(const CFightingMan*), CUnitState* approach) const {
  const std::vector<CFEnemy*> free = FreeAllies();
  CFEnemy* nearest = nullptr;
  for (int i = 0; i < owner->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    CFEnemy* other = owner->enemies[i];
    if (!other || other == this || !test(other)) continue;
    const bool taken = std::any_of(free.begin(), free.end(),
                                   [&](const CFEnemy* a) { return a->state == approach && a->target == other; });
    if (!taken && (!nearest || Distance(other) < Distance(nearest))) nearest = other;
  }
  return nearest;
}

int CFEnemy::ChooseCureAlly() {
  if (!owner || owner->enemyCount < 2 || !switches->Has(12) || GetTimer(kCureTimer) > 0) return 0;
  CFEnemy* ally = NearestNeedy(&CFEnemy::NeedsCure, CUnitApproachForCureAlly::Instance());
  if (!ally) return 0;
  target = ally;
  behaviour = 12;
  return 1;
}

int CFEnemy::ChooseReleaseAlly() {
  if (!owner || !switches->Has(13) || GetTimer(kReleaseTimer) > 0) return 0;
  CFEnemy* ally = NearestNeedy(&CFEnemy::IsParalysedAlive, CUnitApproachForReleaseAlly::Instance());
  if (!ally) return 0;
  target = ally;
  behaviour = 13;
  return 1;
}

int CFEnemy::SideStepsInsteadOfAttack() {
  if (!target) return 0;
  const float angle = SignedAngle(facing, target->facing);
  if (std::fabs(angle) <= 90) return 0;
  if (angle > 0.1f) AddCandidate(116);
  else if (angle < -0.1f) AddCandidate(115);
  return 1;
}
