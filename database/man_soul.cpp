#include "database/man_soul.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "database/game_database.h"
#include "platform/crt.h"

namespace {

HitRollRandom g_hitRollRandom = plat::Rand;

int64_t ValueOf(const ATTRIBUTEDESC& a) { return int64_t{a.base} + a.bonus; }

void Record(ChangeList* changes, int32_t key, int32_t change) {
  if (changes) changes->push_back({key, change, 0});
}

// Current keys whose value a refill sets to the maximum, with that maximum.
struct RefillPair {
  int32_t current;
  int32_t maximum;
  bool limited;  // also limited on every change
};
constexpr RefillPair kRefillPairs[] = {
    {6, 5, true},    {8, 7, true},    {17, 18, true},  {19, 20, false},
    {26, 27, false}, {28, 29, false}, {30, 31, false}, {32, 33, false},
};

const RefillPair* FindRefillPair(int32_t current) {
  for (const auto& p : kRefillPairs)
    if (p.current == current) return &p;
  return nullptr;
}

bool InStackRange(int32_t index) { return index >= 1 && index < CGDManSoul::kConditionStackCount; }

}  // namespace

void SetHitRollRandom(HitRollRandom random) { g_hitRollRandom = random ? random : plat::Rand; }

// ---- attributes ----

ATTRIBUTEDESC* CGDManSoul::FindAttribute(int32_t key) {
  for (auto& a : attributes)
    if (a.key == key) return &a;
  return nullptr;
}

const ATTRIBUTEDESC* CGDManSoul::FindAttribute(int32_t key) const {
  for (const auto& a : attributes)
    if (a.key == key) return &a;
  return nullptr;
}

int32_t CGDManSoul::LimitChange(int32_t key, int32_t change) const {
  const RefillPair* pair = FindRefillPair(key);
  if (!pair || !pair->limited) return change;
  const ATTRIBUTEDESC* current = FindAttribute(key);
  const ATTRIBUTEDESC* maximum = FindAttribute(pair->maximum);
  if (!current || !maximum) return change;
  if (ValueOf(*current) + change > ValueOf(*maximum)) return ClampToInt32(ValueOf(*maximum) - ValueOf(*current));
  return change;
}

int32_t CGDManSoul::GetAttribute(int32_t key, int32_t* base) const {
  const ATTRIBUTEDESC* a = FindAttribute(key);
  if (base) *base = a ? a->base : 0;
  if (!a) return 0;
  int64_t v = ValueOf(*a);
  return v > 0 ? ClampToInt32(v) : 0;
}

int CGDManSoul::AddAttribute(int32_t key, int32_t change, int32_t* applied) {
  ATTRIBUTEDESC* a = FindAttribute(key);
  if (!a) return -1;
  change = LimitChange(key, change);
  a->bonus = ClampToInt32(int64_t{a->bonus} + change);
  if (applied) *applied = change;
  return 0;
}

int CGDManSoul::ScaleAttribute(int32_t key, float factor, int32_t& appliedTotal, int32_t* newValue) {
  ATTRIBUTEDESC* a = FindAttribute(key);
  if (!a) return -1;
  int32_t change = TruncToInt32(static_cast<float>(ValueOf(*a)) * (factor - 1.0f));
  change = LimitChange(key, change);
  a->bonus = ClampToInt32(int64_t{a->bonus} + change);
  appliedTotal = ClampToInt32(-int64_t{change});
  if (newValue) *newValue = ClampToInt32(ValueOf(*a));
  return 0;
}

int CGDManSoul::SetAttributeValue(int32_t key, int32_t value, int32_t* change) {
  ATTRIBUTEDESC* a = FindAttribute(key);
  if (!a) return -1;
  int32_t c = LimitChange(key, ClampToInt32(value - ValueOf(*a)));
  a->bonus = ClampToInt32(int64_t{a->bonus} + c);
  if (change) *change = c;
  return 0;
}

int CGDManSoul::SetAttributeBase(int32_t key, int32_t value, int32_t* change) {
  ATTRIBUTEDESC* a = FindAttribute(key);
  if (!a) return -1;
  int32_t c = LimitChange(key, ClampToInt32(value - ValueOf(*a)));
  a->base = ClampToInt32(int64_t{a->base} + c);
  if (change) *change = c;
  return 0;
}

int CGDManSoul::RefillAttribute(int32_t key) {
  const RefillPair* pair = FindRefillPair(key);
  if (!pair) return 0;
  ATTRIBUTEDESC* current = FindAttribute(key);
  const ATTRIBUTEDESC* maximum = FindAttribute(pair->maximum);
  if (!current || !maximum) return 0;
  current->bonus = ClampToInt32(ValueOf(*maximum) - current->base);
  return 1;
}

int CGDManSoul::ApplyModifier(MODIFIERDESC& m, int32_t* amount) {
  if (m.kind != kModKindAttribute) return -1;
  ATTRIBUTEDESC* a = FindAttribute(m.key);
  if (!a) return -1;
  // Cures and immunities change no value.
  int32_t value = 0;
  if (m.mode == kModeAdd) value = m.value;
  if (m.mode == kModeScale) value = TruncToInt32((m.value * 0.01 - 1.0) * a->base);
  if (amount) *amount = value;
  int32_t applied = LimitChange(m.key, value);
  a->bonus = ClampToInt32(int64_t{a->bonus} + applied);
  m.appliedTotal = ClampToInt32(int64_t{m.appliedTotal} - applied);
  return 0;
}

// ---- equipment ----

bool CGDManSoul::IsEquipmentModifier(const MODIFIERDESC& m) {
  return m.turns == kPermanentTurns && (m.flags & kModOnUser) && m.kind == kModKindAttribute;
}

void CGDManSoul::PutOn(ITEMDESC& item) {
  for (auto& m : item.modifiers)
    if (IsEquipmentModifier(m)) ApplyModifier(m, nullptr);
}

void CGDManSoul::TakeOff(ITEMDESC& item) {
  for (auto& m : item.modifiers) {
    if (!IsEquipmentModifier(m)) continue;
    if (m.revertFlag == 1) AddAttribute(m.key, m.appliedTotal);
    m.appliedTotal = 0;
  }
}

int64_t CGDManSoul::EquipmentAmount(const ITEMDESC& item, int32_t key) const {
  int64_t sum = 0;
  for (const auto& m : item.modifiers) {
    if (!IsEquipmentModifier(m) || m.key != key) continue;
    // A percentage counts by what putting the item on would add.
    if (m.mode == kModeAdd) sum += m.value;
    if (m.mode == kModeScale) {
      const ATTRIBUTEDESC* a = FindAttribute(key);
      sum += TruncToInt32((m.value * 0.01 - 1.0) * (a ? a->base : 0));
    }
  }
  return sum;
}

int CGDManSoul::Equip(int32_t type, int32_t id, std::optional<ITEMDESC>* oldItem) {
  const ITEMDESC* record = g_gameDataBase.FindItem(type, id);
  if (!record) return 0;
  int slot = EquipSlotOfType(type);
  if (slot < 0) return 0;
  std::optional<ITEMDESC> previous = std::move(equipment[slot]);
  equipment[slot] = *record;
  equipmentIds[slot] = id;
  if (previous) TakeOff(*previous);
  if (oldItem) *oldItem = std::move(previous);
  PutOn(*equipment[slot]);
  return 1;
}

int CGDManSoul::Unequip(int32_t type, std::optional<ITEMDESC>* oldItem) {
  int slot = EquipSlotOfType(type);
  if (slot < 0) return 0;
  std::optional<ITEMDESC> previous = std::move(equipment[slot]);
  equipment[slot].reset();
  equipmentIds[slot] = 0;
  if (previous) TakeOff(*previous);
  if (oldItem) *oldItem = std::move(previous);
  return 1;
}

void CGDManSoul::ClearEquipment() {
  for (auto& item : equipment) item.reset();
  equipmentIds.fill(0);
}

const ITEMDESC* CGDManSoul::GetEquippedItem(int32_t type) const {
  int slot = EquipSlotOfType(type);
  return (slot >= 0 && equipment[slot]) ? &*equipment[slot] : nullptr;
}

int32_t CGDManSoul::GetEquippedId(int32_t type) const {
  int slot = EquipSlotOfType(type);
  return slot >= 0 ? equipmentIds[slot] : 0;
}

int CGDManSoul::CanAffordItem(const ITEMDESC* record) const {
  if (!record) return 0;
  for (const auto& m : record->modifiers) {
    if (!(m.flags & kModOnUser) || m.kind != kModKindAttribute || m.mode != kModeAdd || m.turns == kPermanentTurns)
      continue;
    if (int64_t{GetAttribute(m.key)} + m.value < 0) return 0;
  }
  return 1;
}

int32_t CGDManSoul::GetAttributeWithItem(int32_t type, int32_t id, int32_t key) const {
  int32_t value = GetAttribute(key);
  const ITEMDESC* record = g_gameDataBase.FindItem(type, id);
  if (!record) return value;
  return ClampToInt32(value + EquipmentAmount(*record, key));
}

// ---- effects ----

int CGDManSoul::AddEffect(MODIFIERDESC m) {
  if (m.mode == kModeCure) return 1;
  for (int32_t type : {6, 2, 3, 4, 5, 1}) {
    const ITEMDESC* item = GetEquippedItem(type);
    if (item && IsImmuneByItem(item, &m) == 1) return 2;
  }
  if (HasImmunity(&m) == 1 || IsProtected(&m) == 1) return 2;

  if (m.kind == kModKindCondition) {
    for (auto it = activeEffects.begin(); it != activeEffects.end(); ++it) {
      if (it->kind != kModKindCondition || it->key != m.key || it->mode == kModeImmunity) continue;
      if (it->mode == kModeAdd) {
        if (std::llabs(m.value) < std::llabs(it->value)) return 1;
      } else if (it->mode == kModeScale) {
        if (std::abs(m.value * 0.01 - 1.0) < std::abs(it->value * 0.01 - 1.0)) return 1;
      } else {
        return -1;
      }
      PushModifier(it->key, nullptr);
      activeEffects.erase(it);
      break;
    }
  }

  if (m.kind == kModKindAttribute) {
    if (m.mode == kModeAdd) {
      int32_t applied = 0;
      AddAttribute(m.key, m.value, &applied);
      m.appliedTotal = ClampToInt32(int64_t{m.appliedTotal} - applied);
    } else if (m.mode == kModeScale) {
      ScaleAttribute(m.key, static_cast<float>(m.value * 0.01), m.appliedTotal, nullptr);
    }
  } else if (m.kind == kModKindCondition) {
    if (const CONDITIONDESC* condition = g_gameDataBase.FindCondition(m.key)) {
      for (const auto& row : condition->rows) {
        MODIFIERDESC part = m;
        part.kind = kModKindAttribute;
        part.key = row.key;
        part.revertFlag = row.revertFlag;
        PushModifier(m.key, &part);
      }
    }
  }

  if (m.kind == kModKindAttribute && m.revertFlag == 0 && m.mode != kModeImmunity && m.period == 0) return 0;
  activeEffects.push_back(m);
  return 0;
}

int CGDManSoul::PushModifier(int32_t index, const MODIFIERDESC* m) {
  if (!InStackRange(index)) return -1;
  auto& stack = conditionStacks[index];
  if (!m) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
      if (it->revertFlag == 1) AddAttribute(it->key, it->appliedTotal);
    stack.clear();
    return 0;
  }
  MODIFIERDESC part = *m;
  if (part.mode == kModeAdd) {
    // What the limit let through is what a revert takes back.
    int32_t applied = 0;
    AddAttribute(part.key, part.value, &applied);
    part.appliedTotal = ClampToInt32(int64_t{part.appliedTotal} - applied);
  } else if (part.mode == kModeScale) {
    ScaleAttribute(part.key, static_cast<float>(part.value * 0.01), part.appliedTotal, nullptr);
  }
  stack.push_back(part);
  return 0;
}

int CGDManSoul::RemoveEffect(int32_t kind, int32_t key) {
  if (kind == kModKindCondition) {
    for (auto it = activeEffects.begin(); it != activeEffects.end(); ++it) {
      if (it->kind == kModKindCondition && it->key == key && it->mode != kModeImmunity) {
        PushModifier(key, nullptr);
        activeEffects.erase(it);
        return 0;
      }
    }
    return -1;
  }
  if (kind == kModKindAttribute) {
    for (auto it = activeEffects.begin(); it != activeEffects.end();) {
      if (it->kind == kModKindAttribute && it->key == key && it->mode != kModeImmunity) {
        if (it->revertFlag == 1) AddAttribute(it->key, it->appliedTotal);
        it = activeEffects.erase(it);
      } else {
        ++it;
      }
    }
    return 0;
  }
  return -1;
}

int CGDManSoul::TickEffects(ChangeList* changes) {
  for (auto it = activeEffects.begin(); it != activeEffects.end();) {
    if (it->turns <= 0) {
      if (it->kind == kModKindCondition && InStackRange(it->key)) conditionStacks[it->key].clear();
      it = activeEffects.erase(it);
      continue;
    }
    --it->turns;
    ApplyEffectStep(*it, changes);
    if (it->kind == kModKindCondition && InStackRange(it->key)) {
      for (auto& part : conditionStacks[it->key]) {
        if (part.turns < 0) continue;
        --part.turns;
        ApplyEffectStep(part, changes);
      }
    }
    ++it;
  }
  return (changes && !changes->empty()) ? 1 : 0;
}

int CGDManSoul::ApplyEffectStep(MODIFIERDESC& m, ChangeList* changes) {
  if (m.turns > 0) {
    if (m.kind == kModKindAttribute && m.period != 0 && m.turns % m.period == 0) {
      int32_t amount = 0;
      ApplyModifier(m, &amount);
      if (amount != 0) Record(changes, m.key, amount);
    }
    return 1;
  }
  if (m.kind == kModKindAttribute && m.revertFlag == 1) {
    // The change list shows what the revert did, with its sign.
    AddAttribute(m.key, m.appliedTotal);
    Record(changes, m.key, m.appliedTotal);
  }
  m.appliedTotal = 0;
  return 1;
}

int CGDManSoul::RemoveFinishedEffects() {
  for (auto it = activeEffects.begin(); it != activeEffects.end();) {
    if (it->turns != 0) {
      ++it;
      continue;
    }
    ApplyEffectStep(*it, nullptr);
    if (it->kind == kModKindCondition && InStackRange(it->key)) conditionStacks[it->key].clear();
    it = activeEffects.erase(it);
  }
  return 1;
}

int CGDManSoul::ApplyModifiers(ITEMDESC* record, ChangeList* changes) {
  if (!record) return 0;
  for (auto& m : record->modifiers) {
    if (m.turns != kPermanentTurns || m.period == 0 || !(m.flags & kModOnUser)) continue;
    int32_t amount = 0;
    ApplyModifier(m, &amount);
    if (amount != 0) Record(changes, m.key, amount);
  }
  return 1;
}

// ---- blocking and queries ----

int CGDManSoul::IsImmuneByItem(const ITEMDESC* item, const MODIFIERDESC* m) const {
  if (!item || !m || m->mode == kModeCure) return -1;
  // An incoming immunity with a duration is never blocked.
  if (m->mode == kModeImmunity && m->turns > kPermanentTurns) return 0;
  for (const auto& own : item->modifiers)
    if (own.turns == kPermanentTurns && own.mode == kModeImmunity && own.kind == m->kind && own.key == m->key) return 1;
  return 0;
}

int CGDManSoul::HasImmunity(const MODIFIERDESC* m) const {
  if (!m || m->mode == kModeCure) return -1;
  for (const auto& e : activeEffects)
    if (e.kind == m->kind && e.key == m->key && e.mode == kModeImmunity &&
        (m->mode != kModeImmunity || e.turns >= m->turns))
      return 1;
  return 0;
}

int CGDManSoul::IsProtected(const MODIFIERDESC* m) const {
  if (!m) return -1;
  for (const auto& [key, rows] : protections)
    for (const auto& row : rows)
      if (row.key == m->key && row.kind == m->kind) return 1;
  return 0;
}

int CGDManSoul::HasEffect(int32_t kind) const {
  for (const auto& e : activeEffects)
    if (e.kind == kind && (e.mode == kModeAdd || e.mode == kModeScale)) return 1;
  return 0;
}

int32_t CGDManSoul::GetEffectTurns(int32_t kind, int32_t key) const {
  for (const auto& e : activeEffects)
    if (e.kind == kind && e.key == key && (e.mode == kModeAdd || e.mode == kModeScale)) return e.turns;
  return 0;
}

int CGDManSoul::GetEffectKeys(int32_t kind, std::vector<int32_t>& keys) const {
  keys.clear();
  for (const auto& e : activeEffects)
    if (e.kind == kind && (e.mode == kModeAdd || e.mode == kModeScale)) keys.push_back(e.key);
  return 0;
}

int CGDManSoul::HasRaisingEffect() const {
  for (const auto& e : activeEffects)
    if ((e.mode == kModeAdd && e.value > 0) || (e.mode == kModeScale && e.value > 100)) return 1;
  return 0;
}

ITEMDESC* CGDManSoul::FindSkill(int32_t id) {
  for (auto& action : actions)
    if (action.Id() == id) return &action;
  return nullptr;
}

// ---- actions ----

int CGDManSoul::Act(const MODIFIERDESC& m) {
  if (m.mode == kModeCure) return RemoveEffect(m.kind, m.key);
  return AddEffect(m);
}

int CGDManSoul::ApplyAction(const ITEMDESC* record, CGDManSoul* target, SoulList group, SoulList targetGroup) {
  if (!record) return -1;
  for (const auto& m : record->modifiers) {
    if (m.turns < 0) continue;  // permanent ones belong to equipment
    if (m.flags & kModOnUser) {
      if (m.flags & kModOnGroup) {
        for (CGDManSoul* member : group)
          if (member) member->Act(m);
      } else {
        Act(m);
      }
    }
    if (m.flags & kModOnTarget) {
      if (m.flags & kModOnGroup) {
        for (CGDManSoul* member : targetGroup)
          if (member) member->Act(m);
      } else if (target) {
        target->Act(m);
      }
    }
  }
  return 0;
}

int CGDManSoul::ApplyActionTo(const ITEMDESC* record, CGDManSoul* target) {
  return ApplyAction(record, target, {}, {});
}

int CGDManSoul::ApplyActionToSelf(const ITEMDESC* record, SoulList group) {
  if (!record) return -1;
  for (const auto& m : record->modifiers) {
    if (!(m.flags & kModOnUser)) continue;
    if (m.flags & kModOnGroup) {
      for (CGDManSoul* member : group)
        if (member) member->Act(m);
    } else {
      Act(m);
    }
  }
  return 0;
}

int CGDManSoul::ApplyActionToTargets(const ITEMDESC* record, SoulList targets, int noRoll,
                                     std::vector<int32_t>* outcomes) {
  if (!record) return -1;
  for (const auto& m : record->modifiers) {
    if (!(m.flags & kModOnTarget)) continue;
    size_t count = (m.flags & kModOnGroup) ? targets.size() : std::min<size_t>(1, targets.size());
    for (size_t i = 0; i < count; ++i) {
      CGDManSoul* target = targets[i];
      if (!target) continue;
      if (!noRoll && !RollHit(target)) {
        if (outcomes) outcomes->push_back(1);
        continue;
      }
      if (m.mode == kModeCure) {
        target->RemoveEffect(m.kind, m.key);
      } else {
        int result = target->AddEffect(m);
        if (outcomes) outcomes->push_back(result == 0 ? 0 : 1);
      }
    }
  }
  return 0;
}

int CGDManSoul::ApplyActionToAll(const ITEMDESC* record, SoulList targets, SoulList group, int noRoll) {
  if (!record) return -1;
  ApplyActionToSelf(record, group);
  ApplyActionToTargets(record, targets, noRoll, nullptr);
  return 0;
}

int CGDManSoul::RollHit(const CGDManSoul* target) const {
  if (!target) return 0;
  int64_t d = int64_t{GetAttribute(kAttrAccuracy)} - target->GetAttribute(kAttrEvasion);
  double p = 0.0;
  if (d > 50) p = 1.0;
  else if (d >= 0) p = 0.3 + 0.014 * static_cast<double>(d);
  else if (d >= -50) p = static_cast<double>(d + 50) * 0.006;
  return (g_hitRollRandom() / static_cast<double>(plat::kRandMax) <= p) ? 1 : 0;
}

// ---- reset ----

void CGDManSoul::Reset() {
  attributes.clear();
  actions.clear();
  activeEffects.clear();
  for (auto& stack : conditionStacks) stack.clear();
  protections.clear();
  ClearEquipment();
}
