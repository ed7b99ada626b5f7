#include "battle/f_enemy.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/debug_trace.h"
#include "battle/ai_monitor.h"
#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/hit_vertices.h"
#include "battle/tarnwick.h"
#include "battle/unit_states.h"
#include "database/enemy_soul.h"
#include "database/game_database.h"
#include "platform/crt.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/qel/file_load_man.h"

namespace {

constexpr int kAiBlock = 210;
constexpr int kBehaviours = 13;
constexpr float kDegreesPerRadian = 57.29582574928754f;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void CBehaviourSet::Add(int n) {
  if (!Has(n)) entries.push_back(n);
}

int CBehaviourSet::Has(int n) const { return std::find(entries.begin(), entries.end(), n) != entries.end(); }

int CBehaviourSet::GetAt(int i) const {
  return i >= 1 && i <= static_cast<int>(entries.size()) ? entries[static_cast<size_t>(i - 1)] : 0;
}

CFEnemy::CFEnemy() : switches(std::make_unique<CBehaviourSet>()), state(CUnitWait::Instance()) {}

CFEnemy::~CFEnemy() {
  DetachMonitor();
  ReleaseBody();
}

float CFEnemy::LevelFactor(int heroLevel) { return 1.0f + 0.13f * static_cast<float>(std::min(heroLevel / 7, 8)); }

void CFEnemy::SetOwner(CBattleSys* battle, int id) {
  CFightingMan::SetOwner(battle, id);
  ownSoul = std::make_unique<CGDEnemySoul>();
  if (const CGDEnemySoul* record = g_gameDataBase.FindEnemy(id)) *ownSoul = *record;
  ownSoul->ClearPairs();
  soul = ownSoul.get();
  const int heroLevel = battle && battle->hero && battle->hero->soul ? battle->hero->soul->GetAttribute(1) : 0;
  const float x = LevelFactor(heroLevel);
  auto scale = [&](int key) { return static_cast<int32_t>(static_cast<float>(soul->GetAttribute(key)) * x); };
  const int32_t maxHP = scale(5), maxMP = scale(7);
  soul->SetAttributeBase(5, maxHP);
  soul->SetAttributeBase(6, maxHP);
  soul->SetAttributeBase(7, maxMP);
  soul->SetAttributeBase(8, maxMP);
  for (int key = 9; key <= 15; ++key) soul->SetAttributeBase(key, scale(key));

  CreateBody((soul->modelName + ".mcb").c_str());
  const HITVERTEXDESC* row = battle ? FindHitVertices(battle->hitVertices, id) : nullptr;
  if (row && body) {
    body->SetHitVertices(&row->points[0], &row->points[3], &row->points[6], &row->points[9]);
  } else {
    plat::ShowMessageBox("Warning", "Canot find vertices data from src file");
  }
  hpBar.Create(nullptr, 16, 3);
  hpBar.Follow(boxNode);
  ShowHpPercent();
  SetRanges(20, 100, 500, 1000);
  kind = 1;
  ResetAi();
  if (style == 1 && body) {
    char base[32] = {};
    GetModelBaseName(base, sizeof base);
    char weapon[64];
    std::snprintf(weapon, sizeof weapon, "_%sW.mcB", base);
    body->ShowWeapon(body->LoadWeapon(weapon));
  }
}

void CFEnemy::DecideStyle() {
  auto any = [&](int a) { return HasAction(a) || HasAction(a + 1) || HasAction(a + 2); };
  style = any(141) ? 1 : any(151) ? 2 : 0;
}

void CFEnemy::ResetAi() {
  behaviour = 0;
  hitDirection = 0;
  aiEnabled = 1;
  target = owner ? owner->hero : nullptr;
  blocker = nullptr;
  targetPoint = {0, 0, 0};
  desiredDirection = {0, 1, 0};
  queue.assign(1, 11);
  DecideStyle();
  LoadAiSwitches("creature/battle/Ai.txt");
}

void CFEnemy::LoadAiSwitches(const char* path) {
  qmz::CFileLoadMan loader(1024, 128);
  if (!loader.Open(path)) {
    DebugTrace("Enemy switches %s cannot be read\n", path);
    return;
  }
  loader.AddFileBlockItem(kAiBlock, "#BEGIN_STY", "#END_STY", 0);
  loader.AddRemarksSymbol("//");
  char base[32] = {};
  GetModelBaseName(base, sizeof base);
  const std::string key = Upper(base);
  while (loader.Flip()) {
    if (loader.GetFlipValue() != kAiBlock) continue;
    std::string name;
    loader >> name;
    int values[kBehaviours] = {};
    for (int& v : values) loader >> v;
    if (loader.Failed() || Upper(name) != key) continue;
    for (int i = 0; i < kBehaviours; ++i)
      if (values[i] == 1) switches->Add(i + 1);
    return;
  }
  if (loader.EndedInsideBlock()) DebugTrace("Enemy switches %s end inside a block\n", path);
}

// A monitor that has moved on to another enemy is left as it is.
void CFEnemy::DetachMonitor() {
  if (monitor && monitor->enemy == this) monitor->Reset();
  monitor = nullptr;
}

void CFEnemy::Reset() {
  target = blocker = nullptr;
  hitDirection = 0;
  switches->Clear();
  if (body) body->ClearWeapons();
  state = nullptr;
  hpBar.Show(0);
  DetachMonitor();
  soul = nullptr;
  ownSoul.reset();
  ReleaseBody();
  CFightingMan::Reset();
}

int CFEnemy::Update(int frames) {
  if (!CFightingMan::Update(frames)) return 0;
  if (owner && owner->hero) owner->hero->SetRanges(20, 55, 0, 0);
  SetRanges(20, 35, 100, 500);
  if (aiEnabled && state) state->Update(this, frames);
  if (switches->Has(kDisarmedMark) && style == 1) {
    style = 0;
    if (body) body->RemoveWeapon();
  }
  return 1;
}

int CFEnemy::StartAction(int id) {
  const int result = CFightingMan::StartAction(id);
  if (!body) return result;
  const int current = body->current[ACTIONDESC::ID];
  if (current >= 521 && current <= 526) return result;
  char name[96];
  if (!ActionEffectName(name, sizeof name)) return result;
  if (plat::FileSize(std::string(".\\Data\\Efficacy\\") + name + ".efc") >= 0) body->PlayEffect(name, 0, 0, 0, 0);
  return result;
}

void CFEnemy::GetTarget(int* id, int* valid) {
  if (id) *id = stopped ? -1 : targetId;
  if (valid) *valid = stopped ? 0 : 1;
}

void CFEnemy::PlayIdle() {
  if (stopped || !body) return;
  auto found = actions.find(11);
  if (found != actions.end()) body->PlayAction(found->second);
}

void CFEnemy::ChangeHP(int delta, int) {
  if (!soul) return;
  soul->AddAttribute(6, delta);
  ShowHpPercent();
}

void CFEnemy::ShowHpPercent() {
  const float maximum = soul ? static_cast<float>(soul->GetAttribute(5)) : 0.0f;
  hpBar.SetPercent(maximum == 0 ? 0.0f : static_cast<float>(soul->GetAttribute(6)) / maximum * 100.0f);
}

int CFEnemy::BuildMessage(int type, BATTLEMSG* message) {
  if (!message || !soul) return 0;
  message->type = type;
  switch (type) {
    case 1: {
      message->code = 7;
      message->Set(1, GetAttackPower());
      int side = 2;
      if (target) {
        const float cross = facing.x * target->facing.y - facing.y * target->facing.x;
        const float dot = facing.x * target->facing.x + facing.y * target->facing.y;
        if (std::fabs(std::atan2(cross, dot) * kDegreesPerRadian) > 90.0f) side = 1;
      }
      message->Set(2, side);
      message->Set(4, plat::Rand() % 6);
      return 1;
    }
    case 2:
      message->code = 1;
      message->Set(1, soul->GetAttribute(5) * (20 + plat::Rand() % 20) / 100 + 1);
      return 1;
    case 6:
      message->code = 1;
      message->Set(1, 10 + plat::Rand() % 30);
      return 1;
    default: return 0;
  }
}

int CFEnemy::ReceiveMessage(BATTLEMSG* message) {
  if (!message || !state) return 0;
  int result = 0;
  switch (message->type) {
    case 1: result = state->OnBlow(this, message); break;
    case 2: result = state->OnCure(this, message); break;
    case 3: result = state->OnThreat(this, message); break;
    case 4: result = state->OnParalyse(this, message); break;
    case 5: result = state->OnSnatch(this, message); break;
    case 6: result = state->OnRelease(this, message); break;
    case 7: result = state->OnHeavyBlow(this, message); break;
    case 8: result = state->OnSureBlow(this, message); break;
    default: return 0;
  }
  if (message->type == 4 || message->type == 5) NotifyAllies();
  return result;
}

void CFEnemy::NotifyAllies() {
  if (!owner) return;
  const int frames = owner->hero ? owner->hero->GetFramesLeft() : 0;
  for (int i = 0; i < owner->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    CFEnemy* ally = owner->enemies[i];
    if (!ally || ally == this || (ally->flags & (kDown | kEscaped)) || !ally->state) continue;
    ally->state->OnAllyAlarm(ally, frames);
  }
}

int CFEnemy::GetAttackPower() {
  if (!soul) return 0;
  int power = soul->GetAttribute(9);
  if (switches->Has(kDisarmedMark)) power = static_cast<int>(static_cast<float>(power) * 0.7f);
  if (behaviour == 8)
    power = static_cast<int>((1.3f + 0.1f * static_cast<float>(plat::Rand() % 3)) * static_cast<float>(power));
  return power;
}
