// The battle system's shots, traps and debug commands.
#include <algorithm>

#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/kbs_console.h"
#include "battle/tarnwick.h"
#include "battle/x_shot.h"
#include "battle/x_trap.h"
#include "world/scene_content.h"

namespace {

constexpr int kIntervalStep = 3;
constexpr int kLevels = 10;

}  // namespace

void CBattleSys::AddShot(CXShot* shot) {
  if (!shot) return;
  shots.push_back(shot);
  shot->SetTarget(hero && hero->body ? hero->body->Node() : 0);
}

void CBattleSys::UpdateShots() {
  for (auto it = shots.begin(); it != shots.end();) {
    CXShot* shot = *it;
    if (!shot->IsHit()) {
      ++it;
      continue;
    }
    BATTLEMSG message;
    shot->BuildMessage(&message);
    shot->Finish();
    delete shot;
    it = shots.erase(it);
    if (hero) hero->ReceiveMessage(&message);
  }
  auto finished = std::find_if(shots.begin(), shots.end(), [](const CXShot* s) { return s->IsFinished(); });
  if (finished != shots.end()) {
    delete *finished;
    shots.erase(finished);
  }
  if (hero && (hero->flags & CFightingMan::kDown)) ClearShots();
}

void CBattleSys::ClearShots() {
  for (CXShot* shot : shots) delete shot;
  shots.clear();
}

void CBattleSys::CreateTraps(int level, int value, const std::vector<VECTOR3>& positions, int count) {
  count = std::min(count, static_cast<int>(positions.size()));
  for (int i = 0; i < count; ++i) {
    auto* trap = new CXPTrap();
    const VECTOR3 at = positions[static_cast<size_t>(i)];
    VECTOR3 toOrigin{-at.x, -at.y, 0};
    NormalizeVector3(&toOrigin);
    trap->Place(&at, &toOrigin, nullptr);
    trap->SetOwner(this);
    trap->ShowBox(0);
    if (!traps) traps = std::make_unique<CXPTrapManager>();
    traps->Add(trap);
  }
  if (!traps) return;
  // Levels outside 1..10 are taken as the nearest of them.
  const int clamped = std::clamp(level, 1, kLevels);
  traps->Setup(value / 10, 30 * (clamped + 1), kIntervalStep);
}

void CBattleSys::FreezeShots(int frozenFlag) {
  for (CXShot* shot : shots) shot->SetSuspended(frozenFlag);
}

void CBattleSys::SlowShots(int factor) {
  for (CXShot* shot : shots) shot->SetSlowMotion(factor);
}

void CBattleSys::TickTraps(int n) {
  if (traps) traps->Tick(n);
}

void CBattleSys::DeleteTraps() { traps.reset(); }

int CBattleSys::DebugCommand(const char* line) { return console ? console->Command(this, line) : 0; }

void CBattleSys::DrawDebug(int) {
  if (console) console->Draw(this, 1);
}

HOBJECT CBattleSys::ArenaTerrainNode() const {
  const CSceneContent* content = ArenaContent();
  return content ? content->terrainNode : 0;
}
