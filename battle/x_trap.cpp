#include "battle/x_trap.h"

#include <algorithm>
#include <cmath>

#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/tarnwick.h"
#include "battle/x_shot.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/model_files.h"
#include "platform/crt.h"

namespace {

constexpr char kShotModel[] = "_E311W.MCB";
constexpr int kCooldown = 30;

}  // namespace

void CXPCellManager::Add(CXPCell* cell) {
  if (!cell) return;
  for (const auto& held : cells)
    if (held.get() == cell) return;
  cells.emplace_back(cell);
}

CXPCell* CXPCellManager::GetAt(int i) const {
  return i >= 1 && i <= Count() ? cells[static_cast<size_t>(i - 1)].get() : nullptr;
}

void CXPCellManager::TickAll(int frames) {
  for (const auto& cell : cells) cell->Tick(frames);
}

CXPDummyBox::CXPDummyBox() : node(LoadModel(0, ".\\model\\HOUN")), shown(1) {}

CXPDummyBox::~CXPDummyBox() {
  if (node) DestroyNode(node);
}

void CXPDummyBox::Show(int flag) {
  shown = flag;
  if (node) ShowNode(node, flag);
}

void CXPDummyBox::Place(const VECTOR3* where, const VECTOR3* forward) {
  if (node && where) SetNodeDirection(node, where, forward, nullptr);
}

CXPTrap::CXPTrap() : power(60 + 20 * (plat::Rand() % 3)) { cooldown.Stop(); }

void CXPTrap::Place(const VECTOR3* where, const VECTOR3* forward, const VECTOR3*) {
  if (where) position = *where;
  if (!box) box = std::make_unique<CXPDummyBox>();
  box->Place(&position, forward);
}

void CXPTrap::ShowBox(int flag) {
  if (box) box->Show(flag);
}

void CXPTrap::Fire() {
  // Without a hero there is nothing to shoot at, and no list would hold the shot.
  if (!owner || !owner->hero || !owner->hero->body) return;
  auto* shot = new CXShot(kShotModel);
  shot->Attach(owner);
  shot->SetPower(power);
  VECTOR3 points[6] = {};
  owner->hero->body->GetHitPoints(points, 0x3c);
  const VECTOR3 aim = points[2 + plat::Rand() % 4];
  VECTOR3 forward{aim.x - position.x, aim.y - position.y, aim.z - position.z};
  const float n = std::sqrt(forward.x * forward.x + forward.y * forward.y + forward.z * forward.z);
  if (n > 0) forward = {forward.x / n, forward.y / n, forward.z / n};
  const VECTOR3 up{0, 0, 1};
  shot->Place(&position, &forward, &up);
  const float speed = 2.0f * static_cast<float>(5 - plat::Rand() % 3);
  const float acceleration = 0.1f * static_cast<float>(5 - plat::Rand() % 3);
  shot->SetMotion(speed, acceleration);
  shot->SetSlowMotion(1);
  owner->AddShot(shot);
  cooldown.Set(kCooldown, 1);
  cooldown.Start();
}

void CXPTrapManager::Setup(int newPeriod, int newInterval, int newStep) {
  period = newPeriod;
  escalationTimer.Set(period, 1);
  escalationTimer.Start();
  interval = std::max(newInterval, kShortestInterval);
  fireTimer.Set(interval, 1);
  fireTimer.Start();
  step = newStep;
}

void CXPTrapManager::Tick(int frames) {
  TickAll(frames);
  escalationTimer.CountDown(frames);
  if (escalationTimer.IsZero()) {
    escalationTimer.Set(period, 1);
    escalationTimer.Start();
    ++escalations;
    interval = std::max(interval - step, kShortestInterval);
  }
  fireTimer.CountDown(frames);
  if (fireTimer.IsZero()) {
    if (Count() > 0) {
      if (CXPCell* trap = GetAt(1 + plat::Rand() % Count())) trap->Fire();
      ++shotsFired;
    }
    fireTimer.Set(interval, 1);
    fireTimer.Start();
  }
}
