#include "battle/f_master.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "battle/battle_camera.h"
#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "battle/hero_states.h"
#include "battle/tarnwick.h"
#include "database/game_database.h"
#include "platform/crt.h"

namespace {

constexpr float kDegreesPerRadian = 57.29582574928754f;
constexpr float kTurnSpeed = 0.1f;
constexpr int kRegenFrames = 10;
constexpr int kWeaponItemType = 1;
constexpr int kThrownItemType = 8;
constexpr int kScriptKeys = 0x10000;

// Key-combination type -> {command with an enemy in reach, without}.
constexpr int kCommands[][3] = {{1, 115, 117}, {2, 116, 118}, {4, 107, 107},  {5, 108, 108},       {6, 109, 109},
                                {8, 104, 101}, {9, 105, 102}, {10, 106, 103}, {0x10000, 113, 113}, {0x20000, 114, 114}};

VECTOR3 BodyPosition(CTarnwick* body) {
  VECTOR3 p{0, 0, 0};
  if (body) body->GetTransform(&p, nullptr, nullptr);
  return p;
}

}  // namespace

int CFMaster::regenFrames = 0;

CFMaster::CFMaster() { Init(); }

CFMaster::~CFMaster() { ReleaseBody(); }

void CFMaster::Init() {
  CFightingMan::Init();
  lastValue = 0;
  kind = 1;
  FillCommandMap();
}

void CFMaster::FillCommandMap() {
  commandMap.clear();
  for (const auto& row : kCommands) commandMap[row[0]] = row[1] | (row[2] << 16);
}

void CFMaster::Reset() {
  ReleaseBody();
  secondMap.clear();
  lastValue = 0;
  useCount = 0;
  CFightingMan::Reset();
}

void CFMaster::Attach(CBattleSys* battle, CTarnwick* newBody, CGDManSoul* newSoul) {
  CFightingMan::Attach(battle, newBody, newSoul);
  BuildReachTable();
  SetupByKind();
}

void CFMaster::SetOwner(CBattleSys* battle, int heroId) {
  owner = battle;
  soul = g_gameDataBase.FindHero(heroId);
  if (!soul) return;
  const bool second = soul->kind == 2;
  const bool firstCostume = soul->subKind == (second ? 3 : 1);
  const char* model = second ? (firstCostume ? "m004.mcb" : "m005.mcb") : (firstCostume ? "m001.mcb" : "m002.mcb");
  CreateBody(model);
  collisionRadius = 40;
  BuildReachTable();
  SetupByKind();
}

void CFMaster::BuildReachTable() { reach = {{0, 0, 0}, {50, 100, 70}, {50, 100, 70}, {0, 100, 70}}; }

void CFMaster::SetupByKind() {
  if (!soul) return;
  if (soul->kind == 1) {
    kind = kFirstHero;
    mode = MODE_NORMAL;
    const auto& thrown = g_gameDataBase.party.itemLists[kListType8];
    if (!thrown.empty()) SetWeaponReach(thrown.front().id);
    useCount = 0;
  } else if (soul->kind == 2) {
    kind = kSecondHero;
    mode = MODE_SECOND_NORMAL;
    AttachWeaponModel();
  }
  RefreshGauges();
}

void CFMaster::SetWeaponReach(int itemId) {
  const ITEMDESC* item = g_gameDataBase.FindItem(kThrownItemType, itemId);
  if (!item || reach.empty()) return;
  reach[0][0] = static_cast<float>(item->values[kItemReachFirst]);
  reach[0][1] = static_cast<float>(item->values[kItemReachSecond]);
}

void CFMaster::AttachWeaponModel() {
  char base[64] = {};
  if (!body || !GetModelBaseName(base, sizeof base)) return;
  char name[96];
  std::snprintf(name, sizeof name, "_%sW.mcb", base);
  body->ShowWeapon(body->LoadWeapon(name));
}

int CFMaster::Update(int frames) {
  if (!CFightingMan::Update(frames)) return 0;
  if (!IsActing() && body) {
    if (flags & kDown) {
      if (body->divider > 1) {
        body->SetSlowMotion(1);
        if (owner) owner->EndControllerCamera();
      }
    } else {
      const float speed = CBattleCamera::Instance()->orbit.GetAngleSpeedTheta();
      if (speed > kTurnSpeed) StartAction(120);
      else if (speed < -kTurnSpeed) StartAction(119);
      else if (!body->IsIdle()) StartAction(11);
    }
  }
  if (mode != MODE_SPECIAL && mode != MODE_SPEED) {
    regenFrames += frames;
    if (regenFrames > kRegenFrames) {
      regenFrames = 0;
      ChangeMP(1, 0);
    }
  }
  return 1;
}

int CFMaster::Percent(int value, int maximum) { return maximum == 0 ? 0 : value * 100 / maximum; }

void CFMaster::ShowGauge(int key, int maxKey) {
  if (soul && owner) owner->hud.SetGauge(key, Percent(soul->GetAttribute(key), soul->GetAttribute(maxKey)));
}

void CFMaster::ChangeHP(int delta, int) {
  if (!soul) return;
  soul->AddAttribute(kAttrHp, delta);
  ShowGauge(kAttrHp, kAttrMaxHp);
}

void CFMaster::ChangeMP(int delta, int) {
  if (!soul) return;
  soul->AddAttribute(kAttrMp, delta);
  ShowGauge(kAttrMp, kAttrMaxMp);
}

void CFMaster::ChangeSP(int delta, int) {
  if (!soul) return;
  soul->AddAttribute(kAttrSpecial, delta);
  ShowGauge(kAttrSpecial, kAttrSpecialMax);
}

void CFMaster::RefreshGauges() {
  ChangeHP(0, 0);
  ChangeMP(0, 0);
  ChangeSP(0, 0);
}

int CFMaster::ReachLevel(int row, const VECTOR3& point) const {
  const VECTOR3 here = BodyPosition(body);
  const float d = GetPointDistanceN(&here, &point, 3);
  if (d < GetReach(row, 0)) return 1;
  if (d < GetReach(row, 1)) return 2;
  return 3;
}

float CFMaster::GetReach(int row, int which) const {
  if (row < 0 || row >= static_cast<int>(reach.size()) || which < 0 || which > 2) return 0;
  return reach[static_cast<size_t>(row)][static_cast<size_t>(which)];
}

int CFMaster::CommandFor(int actionType) const {
  auto found = commandMap.find(actionType);
  return found == commandMap.end() ? 0 : found->second;
}

const ITEMDESC* CFMaster::EquippedWeapon() const {
  if (!soul) return nullptr;
  const int id = soul->GetEquippedId(kWeaponItemType);
  return id ? g_gameDataBase.FindItem(kWeaponItemType, id) : nullptr;
}

int CFMaster::WeaponSkillKey() const {
  if (kind == kSecondHero) return 21;
  const ITEMDESC* weapon = EquippedWeapon();
  return weapon ? weapon->Id() + 20 : 0;
}

int CFMaster::CanUse(int check) {
  if (!soul) return 0;
  auto on = [&](int key) { return owner && owner->GetScriptValue(kScriptKeys, key) != 0; };
  const int mp = soul->GetAttribute(kAttrMp);
  switch (check) {
    case CHECK_TARGETED: {
      if (!on(0x20008)) return 0;
      const int limit = owner->GetScriptValue(kScriptKeys, 0x20009);
      if (limit > 0 && useCount >= limit) return 0;
      const ITEMDESC* weapon = EquippedWeapon();
      return weapon && mp >= weapon->values[kItemMpCost] ? 1 : 0;
    }
    case CHECK_PARALYSE: return on(0x20001) && mp > 70 ? 1 : 0;
    case CHECK_SNATCH: return on(0x20002) && mp > 60 ? 1 : 0;
    case CHECK_THREATEN: return on(0x20003) && mp > 50 ? 1 : 0;
    case CHECK_SPECIAL:
      if (soul->GetAttribute(kAttrSpecial) != soul->GetAttribute(kAttrSpecialMax) || !on(0x20006)) return 0;
      if (kind == kFirstHero && g_battleInterface.GetItemCount() <= 0) return 0;
      return mp > 150 ? 1 : 0;
    case CHECK_SPEED: return on(0x20007) && mp > 60 ? 1 : 0;
    default: return 1;
  }
}

int CFMaster::GetAttackPower() {
  if (!soul) return 1;
  const int attack = soul->GetAttribute(9);
  const ITEMDESC* weapon = EquippedWeapon();
  int power = attack / 10;
  if (weapon) {
    const int skill = soul->GetAttribute(WeaponSkillKey());
    const int base = weapon->values[kItemBasePower];
    // A weapon stronger than the hero's own attack does not lower the power.
    const int rest = std::max(0, attack - base) / 10;
    power = static_cast<int>(static_cast<double>(skill) * 0.0001 * base + rest);
  }
  return std::max(1, power);
}

void CFMaster::SpendWeapon(int spendMp, int gainSkill, int useItem, int extraFrames) {
  const ITEMDESC* weapon = EquippedWeapon();
  if (spendMp && weapon) ChangeMP(-weapon->values[kItemMpCost], 0);
  if (gainSkill && weapon && WeaponSkillKey()) soul->AddAttribute(WeaponSkillKey(), weapon->values[kItemSkillGain]);
  if (useItem) g_battleInterface.UseItem(1);
  flags |= kAttacking;
  AddTimer(kAttacking, GetFramesLeft() + extraFrames, 0);
  ++useCount;
}

int CFMaster::BuildMessage(int type, BATTLEMSG* message) {
  if (!message || !soul) return 0;
  const int hpPercent = Percent(soul->GetAttribute(kAttrHp), soul->GetAttribute(kAttrMaxHp));
  auto boosted = [&](int least, int spread) {
    const double factor = 1.0 + (least + plat::Rand() % spread) * 0.01;
    return static_cast<int>(GetAttackPower() * factor);
  };
  switch (type) {
    case 1:
      message->type = 1;
      message->code = 7;
      message->Set(1, GetAttackPower());
      message->Set(2, hitDirection);
      message->Set(4, style);
      SpendWeapon(1, 1, 1, 60);
      break;
    case 3:
    case 4:
    case 5:
      message->type = type;
      message->code = type == 3 ? 1 : 3;
      message->Set(1, soul->GetAttribute(kAttrLevel));
      message->Set(2, hpPercent);
      ChangeMP(type == 3 ? -50 : type == 4 ? -70 : -60, 0);
      break;
    case 7:
      message->type = 7;
      message->code = 7;
      message->Set(1, GetAttackPower());
      message->Set(2, style);
      message->Set(4, plat::Rand() % 6);
      SpendWeapon(1, 0, 0, 30);
      break;
    case 8:
      message->type = 8;
      message->code = 7;
      message->Set(1, boosted(15, 31));
      message->Set(2, plat::Rand() % 6);
      message->Set(4, 6);
      SpendWeapon(0, 1, 1, 20);
      return 1;
    case 9:
      message->type = 8;
      message->code = 7;
      message->Set(1, boosted(30, 21));
      message->Set(2, plat::Rand() % 6);
      message->Set(4, style);
      SpendWeapon(0, 0, 0, 60);
      return 1;
    default: return 0;
  }
  ChangeSP(soul->GetAttribute(16), 0);
  return 1;
}

int CFMaster::ReceiveMessage(BATTLEMSG* message) {
  if (!message || !soul || message->type != 1 || (flags & kFinishing)) return 0;
  const int part = std::clamp(message->Get(4), 0, 5);
  int damage = std::max(1, message->Get(1) - soul->GetAttribute(10 + part) / 2);
  const int direction = message->Get(2);
  int reaction = 300 + direction;
  int outcome = 1;
  if (direction != 2 && plat::Rand() % 5 == 0) {
    reaction = 320;
    damage /= 5;
    outcome = 2;
  }
  ChangeHP(-damage, 0);
  ChangeSP(2 * soul->GetAttribute(16), 0);
  if (soul->GetAttribute(kAttrHp) > 0) {
    StartAction(reaction);
    AddTimer(kHitReaction, GetActionLength(), 1);
    flags |= kHitReaction;
    NotifyHeroHit(outcome);
  } else {
    StartAction(601);
    flags |= kDown;
    NotifyHeroHit(-1);
  }
  return 1;
}

void CFMaster::NotifyHeroHit(int outcome) {
  if (auto* turn = owner ? dynamic_cast<CMasterState*>(owner->state) : nullptr) turn->OnHeroHit(owner, outcome);
}

void CFMaster::GetHP(int* hp, int* maximum) const {
  if (hp) *hp = soul ? soul->GetAttribute(kAttrHp) : 0;
  if (maximum) *maximum = soul ? soul->GetAttribute(kAttrMaxHp) : 0;
}

int CFMaster::IsHPLow() const {
  int hp = 0, maximum = 0;
  GetHP(&hp, &maximum);
  return hp > 0 && hp <= maximum * 60 / 100 ? 1 : 0;
}

int CFMaster::IsParalysed() const {
  int hp = 0;
  GetHP(&hp, nullptr);
  return hp > 0 && (flags & kParalysed) ? 1 : 0;
}

float CFMaster::DistanceTo(const CFightingMan* fighter) const {
  if (!fighter || !body || !fighter->body) return 0;
  const VECTOR3 here = BodyPosition(body), there = BodyPosition(fighter->body);
  return GetPointDistanceN(&here, &there, 3);
}

float CFMaster::AngleTo(const CFightingMan* fighter) const {
  if (!fighter || !body || !fighter->body) return 0;
  VECTOR3 here{0, 0, 0}, forward{0, 0, 0};
  body->GetTransform(&here, &forward, nullptr);
  const VECTOR3 there = BodyPosition(fighter->body);
  const float dx = there.x - here.x, dy = there.y - here.y;
  const float cross = forward.x * dy - forward.y * dx;
  const float dot = forward.x * dx + forward.y * dy;
  return std::atan2(cross, dot) * kDegreesPerRadian;
}

int CFMaster::InRangeAndAngle(const CFightingMan* fighter, const float* distance, const float* angle) const {
  if (distance && DistanceTo(fighter) > *distance) return 0;
  if (angle && AngleTo(fighter) > *angle) return 0;
  return 1;
}

int CFMaster::GetActionFacingCode(int id) const {
  auto found = actions.find(id);
  return found == actions.end() ? 0 : found->second[ACTIONDESC::FACING];
}
