// The hero's place and the enemy waves: who stands where, and how each wave
// ended.
#include <cfloat>
#include <cmath>
#include <vector>

#include "battle/battle_arena.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/tarnwick.h"
#include "engine/core/node_transforms.h"
#include "engine/core/walking.h"
#include "platform/crt.h"
#include "platform/message_box.h"
#include "world/battle_scene.h"
#include "world/scene_content.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kFirstPlaceKey = 0x20005;
constexpr int kNoPlace = -1;
// First wave: candidates every 5 degrees at 150 to 250 from the origin.
constexpr int kCandidateSteps = 90;
constexpr float kMinimumSpacing = 60;
// Later waves: spawn points of the arena, and the ring when it has too few.
constexpr float kSpawnDistance = 100;
constexpr float kSpawnSpacing = 50;
constexpr float kSpawnInset = 100;
constexpr float kRingRadius = 200;
constexpr float kFadeInRate = 0.02f;

void ShowInvalidScene() { plat::ShowMessageBox("", "Invalid scene data!!! Game will crash"); }

// In the ground plane, from `from` towards `to`; +Y when they meet.
VECTOR3 Toward(const VECTOR3& from, const VECTOR3& to) {
  const float dx = to.x - from.x;
  const float dy = to.y - from.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length < 1e-6f) return {0, 1, 0};
  return {dx / length, dy / length, 0};
}

float GroundDistance(const VECTOR3& a, const VECTOR3& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Fills places [found, count) from the arena's spawn points, then on a ring
// around the centre; a floor with too few places never leaves an enemy out.
// 0 when the ring was needed.
int FillRemainingPlaces(const CBattleArena& arena, const VECTOR3& centre, int found, int count, VECTOR3* points,
                        VECTOR3* directions) {
  if (found >= count) return 1;
  for (int i = found; i < count; ++i) points[i] = {FLT_MAX, FLT_MAX, FLT_MAX};
  if (arena.PickPoints(centre, kSpawnDistance, kSpawnSpacing, kSpawnInset, count - found, points + found,
                       directions + found)) {
    return 1;
  }
  while (found < count && points[found].x != FLT_MAX) ++found;
  const int left = count - found;
  for (int k = 0; k < left; ++k) {
    const float angle = 2 * kPi * static_cast<float>(k) / static_cast<float>(left);
    VECTOR3& p = points[found + k];
    p = {centre.x + kRingRadius * std::sin(angle), centre.y + kRingRadius * std::cos(angle), centre.z};
    directions[found + k] = Toward(p, centre);
  }
  return 0;
}

}  // namespace

int CBattleSys::PutOnGround(HOBJECT node, const VECTOR3& position, const VECTOR3& direction) {
  if (!node) return MOVE_NOTHING;
  SetNodeDirection(node, &position, &direction, nullptr);
  const CSceneContent* content = ArenaContent();
  return PlaceNodeOnTerrain(node, content ? content->terrain : 0, 0, 0);
}

void CBattleSys::PlaceHero(int heroId) {
  if (!hero) {
    hero = new CFMaster();
    hero->SetOwner(this, heroId);
  }
  if (PutOnGround(HeroBodyNode(), {0, 0, 0}, {0, -1, 0}) != MOVE_DONE) ShowInvalidScene();
  hero->Update(0);
}

CFEnemy* CBattleSys::CreateEnemy(int slot, int enemyId) {
  enemies[slot] = new CFEnemy();
  enemies[slot]->SetOwner(this, enemyId);
  return enemies[slot];
}

void CBattleSys::SpawnWave(int scriptPlacement) {
  enemyCount = 0;
  const size_t first = spawnCursor;
  while (spawnCursor < spawnList.size() && enemyCount < kEnemySlots) {
    CreateEnemy(enemyCount, spawnList[spawnCursor].enemyId);
    ++enemyCount;
    ++spawnCursor;
  }
  if (enemyCount == 0) return;
  if (scriptPlacement) {
    PlaceFirstWave(GetScriptValue(spawnList[first].enemyId, kFirstPlaceKey));
  } else {
    PlaceLaterWave();
  }
}

void CBattleSys::PlaceFirstWave(int fixedPlace) {
  struct Candidate {
    VECTOR3 point;
    VECTOR3 direction;
  };
  const HOBJECT heroNode = HeroBodyNode();
  VECTOR3 heroPosition{0, 0, 0};
  VECTOR3 heroFacing{0, -1, 0};
  if (heroNode) GetNodeWorldVectors(heroNode, &heroPosition, &heroFacing, nullptr);

  // The hero's node tries each place on the floor, then goes back.
  std::vector<Candidate> candidates;
  for (int i = 0; i < kCandidateSteps; ++i) {
    const float angle = static_cast<float>(i) * 5 * kPi / 180;
    const float r = 150 + 10 * static_cast<float>(plat::Rand() % 11);
    const VECTOR3 point{r * std::sin(angle), r * std::cos(angle), 0};
    const VECTOR3 direction = Toward(point, heroPosition);
    if (PutOnGround(heroNode, point, direction) == MOVE_DONE) candidates.push_back({point, direction});
  }
  PutOnGround(heroNode, heroPosition, heroFacing);
  if (static_cast<int>(candidates.size()) < enemyCount) ShowInvalidScene();

  VECTOR3 points[kEnemySlots];
  VECTOR3 directions[kEnemySlots];
  int placed = 0;
  for (int i = 0; i < enemyCount; ++i) {
    if (i == 0 && fixedPlace != kNoPlace) {
      points[0] = {static_cast<float>(fixedPlace >> 16), static_cast<float>(fixedPlace & 0xFFFF), 0};
      directions[0] = Toward(points[0], heroPosition);
      placed = 1;
      continue;
    }
    if (i > 0) {
      std::erase_if(candidates,
                    [&](const Candidate& c) { return GroundDistance(c.point, points[i - 1]) < kMinimumSpacing; });
    }
    if (candidates.empty()) break;
    const size_t pick = static_cast<size_t>(plat::Rand()) % candidates.size();
    points[i] = candidates[pick].point;
    directions[i] = candidates[pick].direction;
    candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(pick));
    placed = i + 1;
  }
  FillRemainingPlaces(*arena, heroPosition, placed, enemyCount, points, directions);
  for (int i = 0; i < enemyCount; ++i) {
    if (enemies[i] && enemies[i]->body) PutOnGround(enemies[i]->body->Node(), points[i], directions[i]);
  }
}

void CBattleSys::PlaceLaterWave() {
  VECTOR3 heroPosition{0, 0, 0};
  if (const HOBJECT heroNode = HeroBodyNode()) GetNodeWorldVectors(heroNode, &heroPosition, nullptr, nullptr);
  VECTOR3 points[kEnemySlots];
  VECTOR3 directions[kEnemySlots];
  if (!FillRemainingPlaces(*arena, heroPosition, 0, enemyCount, points, directions)) ShowInvalidScene();
  for (int i = 0; i < enemyCount; ++i) {
    CTarnwick* body = enemies[i] ? enemies[i]->body : nullptr;
    if (!body) continue;
    PutOnGround(body->Node(), points[i], directions[i]);
    body->SetFade(0, 0);
    body->SetFade(1, kFadeInRate);
  }
}

int CBattleSys::NextWave() {
  const size_t first = spawnCursor - static_cast<size_t>(enemyCount);
  for (int i = 0; i < enemyCount; ++i) {
    const CFEnemy* enemy = enemies[i];
    if (!enemy) continue;
    int& outcome = spawnList[first + static_cast<size_t>(i)].outcome;
    if (enemy->flags & kEscapeFlags) {
      outcome = kOutcomeEscaped;
    } else if (enemy->flags & CFightingMan::kDown) {
      outcome = kOutcomeDown;
    } else if (enemy->flags & CFightingMan::kParalysed) {
      outcome = kOutcomeParalysed;
    }
  }
  ReleaseEnemies();
  ClearShots();
  if (spawnCursor >= spawnList.size()) return 0;
  SpawnWave(0);
  EnterPhase(0);
  return 1;
}

void CBattleSys::ReleaseEnemies() {
  for (CFEnemy*& enemy : enemies) {
    delete enemy;
    enemy = nullptr;
  }
  enemyCount = 0;
}

int CBattleSys::CountEnemies(int kind) const {
  int down = 0;
  for (int i = 0; i < enemyCount; ++i) {
    if (enemies[i] && (enemies[i]->flags & CFightingMan::kDown)) ++down;
  }
  if (kind == 2) return down;
  if (kind == 1) return enemyCount - down;
  return 0;
}
