#include "database/party.h"

#include <algorithm>

#include "database/game_database.h"

int PartyListOfType(int32_t type) {
  switch (type) {
    case 8: return kListType8;
    case 7: return kListType7;
    case 6: return kListType6;
    case 1: return kListType1;
    case 2:
    case 3:
    case 4:
    case 5: return kListGear;
    default: return -1;
  }
}

CGDMainManSoul* CParty::FindMember(int32_t id) const {
  if (std::find(members.begin(), members.end(), id) == members.end()) return nullptr;
  return g_gameDataBase.FindHero(id);
}

int32_t CParty::GetItemCount(int32_t type, int32_t id) const {
  int list = PartyListOfType(type);
  if (list < 0) return 0;
  for (const auto& entry : itemLists[list])
    if (entry.id == id && entry.type == type) return entry.count;
  return 0;
}

int CParty::ChangeItemCount(int32_t id, int32_t amount, int32_t type, int setFlag) {
  int list = PartyListOfType(type);
  if (list < 0) return -1;
  auto& entries = itemLists[list];
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->id != id || it->type != type) continue;
    it->count = setFlag ? amount : ClampToInt32(int64_t{it->count} + amount);
    if (it->count <= 0) entries.erase(it);
    return 0;
  }
  if (amount <= 0) return -1;
  entries.push_back({id, amount, type});
  return 0;
}

void CParty::TickMemberEffects() {
  for (int32_t id : members)
    if (CGDMainManSoul* hero = g_gameDataBase.FindHero(id)) hero->TickEffects(nullptr);
}

void CParty::ClearMemberEffects() {
  for (int32_t id : members) {
    CGDMainManSoul* hero = g_gameDataBase.FindHero(id);
    if (!hero) continue;
    // The last step with no turns left takes the revertible changes back.
    for (auto& effect : hero->activeEffects) {
      effect.turns = 0;
      hero->ApplyEffectStep(effect, nullptr);
    }
    for (auto& stack : hero->conditionStacks) {
      for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        it->turns = 0;
        hero->ApplyEffectStep(*it, nullptr);
      }
      stack.clear();
    }
    hero->activeEffects.clear();
  }
}

void CParty::Clear() { header.fill(0); }

void CParty::Reset() {
  members.clear();
  for (auto& list : itemLists) list.clear();
  Clear();
}

void CParty::SetMoney(int64_t money) {
  header[kMoney] = static_cast<int32_t>(std::clamp<int64_t>(money, 0, kMaxMoney));
}
