#include "database/save_records.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/debug_trace.h"
#include "database/game_database.h"
#include "database/record_io.h"

namespace {

constexpr size_t kMaxCount16 = 32767;

// Writes an int16 count and returns how many elements it announces.
size_t WriteCount(plat::ByteWriter& w, size_t size) {
  size_t n = std::min(size, kMaxCount16);
  w.I16(static_cast<int16_t>(n));
  return n;
}

void WriteModifiers(plat::ByteWriter& w, const std::vector<MODIFIERDESC>& list) {
  size_t n = WriteCount(w, list.size());
  for (size_t i = 0; i < n; ++i) WriteModifier(w, list[i]);
}

bool ReadModifiers(plat::ByteReader& r, std::vector<MODIFIERDESC>& list) {
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k16, kModifierBytes, n)) return false;
  list.resize(n);
  for (auto& m : list) ReadModifier(r, m);
  return !r.Failed();
}

void WriteItemRecord(plat::ByteWriter& w, const ITEMDESC& item) {
  WriteItemHead(w, item);
  WriteModifiers(w, item.modifiers);
}

bool ReadItemRecord(plat::ByteReader& r, ITEMDESC& item) {
  ReadItemHead(r, item);
  return ReadModifiers(r, item.modifiers);
}

void WritePartyItems(plat::ByteWriter& w, const std::vector<PARTYITEMDESC>& list) {
  size_t n = WriteCount(w, list.size());
  for (size_t i = 0; i < n; ++i) {
    w.I32(list[i].id);
    w.I32(list[i].count);
    w.I32(list[i].type);
  }
}

// A hero's saved state, gathered before the hero is touched.
struct SavedHero {
  int32_t id = 0;
  int32_t stateWord = 0;
  std::vector<ATTRIBUTEDESC> attributes;
  std::vector<MODIFIERDESC> effects;
  std::array<std::vector<MODIFIERDESC>, CGDManSoul::kConditionStackCount> stacks;
  std::map<int32_t, std::vector<PROTECTIONDESC>> protections;
  std::array<std::optional<ITEMDESC>, kEquipSlotCount> equipment;
  std::array<int32_t, kEquipSlotCount> equipmentIds{};
  std::vector<int32_t> learned;
  std::vector<SKILLPROGRESSDESC> progress;
  std::vector<ITEMDESC> switchedOn;
};

bool ReadSavedHero(plat::ByteReader& r, SavedHero& s) {
  s.id = r.I32();
  s.stateWord = r.I32();
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k16, 12, n)) return false;
  s.attributes.resize(n);
  for (auto& a : s.attributes) {
    a.key = r.I32();
    a.base = r.I32();
    a.bonus = r.I32();
  }
  if (!ReadModifiers(r, s.effects)) return false;
  for (auto& stack : s.stacks)
    if (!ReadModifiers(r, stack)) return false;
  if (!ReadCount(r, CountWidth::k16, 6, n)) return false;
  for (size_t i = 0; i < n; ++i) {
    int32_t key = r.I32();
    size_t rows = 0;
    if (!ReadCount(r, CountWidth::k16, 12, rows)) return false;
    auto& list = s.protections[key];
    list.resize(rows);
    for (auto& row : list) {
      row.key = r.I32();
      row.reserved = r.I32();
      row.kind = r.I32();
    }
  }
  for (int slot = 0; slot < kEquipSlotCount; ++slot) {
    s.equipmentIds[slot] = r.I32();
    if (s.equipmentIds[slot] == 0) continue;
    s.equipment[slot].emplace();
    if (!ReadItemRecord(r, *s.equipment[slot])) return false;
  }
  if (!ReadCount(r, CountWidth::k16, 4, n)) return false;
  s.learned.resize(n);
  for (auto& id : s.learned) id = r.I32();
  if (!ReadCount(r, CountWidth::k16, 12, n)) return false;
  s.progress.resize(n);
  for (auto& p : s.progress) {
    p.id = r.I32();
    p.points = r.I32();
    p.needed = r.I32();
  }
  if (!ReadCount(r, CountWidth::k16, kItemHeadBytes + 2, n)) return false;
  s.switchedOn.resize(n);
  for (auto& skill : s.switchedOn)
    if (!ReadItemRecord(r, skill)) return false;
  return !r.Failed();
}

}  // namespace

void WritePartyChunk(const CParty& party, plat::ByteWriter& w) {
  for (int32_t v : party.header) w.I32(v);
  size_t n = WriteCount(w, party.members.size());
  for (size_t i = 0; i < n; ++i) w.I32(party.members[i]);
  for (const auto& list : party.itemLists) WritePartyItems(w, list);
}

bool ReadPartyChunk(plat::ByteReader& r, CParty& party) {
  CParty read;
  for (auto& v : read.header) v = r.I32();
  size_t n = 0;
  bool ok = ReadCount(r, CountWidth::k16, 4, n);
  if (ok) {
    read.members.resize(n);
    for (auto& id : read.members) id = r.I32();
  }
  for (auto& list : read.itemLists) {
    if (!ok || !(ok = ReadCount(r, CountWidth::k16, 12, n))) break;
    list.resize(n);
    for (auto& entry : list) {
      entry.id = r.I32();
      entry.count = r.I32();
      entry.type = r.I32();
    }
  }
  if (!ok || r.Failed()) {
    DebugTrace("Party chunk is damaged");
    return false;
  }
  party = std::move(read);
  return true;
}

void WriteCharacterRecord(const CGDMainManSoul& hero, plat::ByteWriter& w) {
  w.I32(hero.id);
  w.I32(hero.stateWord);
  size_t n = WriteCount(w, hero.attributes.size());
  for (size_t i = 0; i < n; ++i) {
    w.I32(hero.attributes[i].key);
    w.I32(hero.attributes[i].base);
    w.I32(hero.attributes[i].bonus);
  }
  WriteModifiers(w, std::vector<MODIFIERDESC>(hero.activeEffects.begin(), hero.activeEffects.end()));
  for (const auto& stack : hero.conditionStacks) WriteModifiers(w, stack);
  n = WriteCount(w, hero.protections.size());
  for (auto it = hero.protections.begin(); n > 0; ++it, --n) {
    w.I32(it->first);
    size_t rows = WriteCount(w, it->second.size());
    for (size_t i = 0; i < rows; ++i) {
      w.I32(it->second[i].key);
      w.I32(it->second[i].reserved);
      w.I32(it->second[i].kind);
    }
  }
  for (int slot = 0; slot < kEquipSlotCount; ++slot) {
    // A slot is saved with its record or not at all, so the reader never loses step.
    int32_t id = hero.equipment[slot] ? hero.equipmentIds[slot] : 0;
    w.I32(id);
    if (id != 0) WriteItemRecord(w, *hero.equipment[slot]);
  }
  n = WriteCount(w, hero.learnedActions.size());
  for (size_t i = 0; i < n; ++i) w.I32(hero.learnedActions[i]);
  n = WriteCount(w, hero.skillProgress.size());
  for (size_t i = 0; i < n; ++i) {
    w.I32(hero.skillProgress[i].id);
    w.I32(hero.skillProgress[i].points);
    w.I32(hero.skillProgress[i].needed);
  }
  n = WriteCount(w, hero.switchedOnSkills.size());
  for (auto it = hero.switchedOnSkills.begin(); n > 0; ++it, --n) WriteItemRecord(w, *it);
}

bool ReadCharacterRecords(plat::ByteReader& r, size_t count, CGameDataBase& database) {
  for (size_t i = 0; i < count; ++i) {
    SavedHero saved;
    if (!ReadSavedHero(r, saved)) {
      DebugTrace("Character record %zu is damaged", i);
      return false;
    }
    CGDMainManSoul* hero = database.FindHero(saved.id);
    if (!hero) continue;
    hero->stateWord = saved.stateWord;
    hero->attributes = std::move(saved.attributes);
    hero->activeEffects.assign(saved.effects.begin(), saved.effects.end());
    hero->conditionStacks = std::move(saved.stacks);
    hero->protections = std::move(saved.protections);
    hero->equipment = std::move(saved.equipment);
    hero->equipmentIds = saved.equipmentIds;
    hero->learnedActions = std::move(saved.learned);
    hero->skillProgress = std::move(saved.progress);
    hero->switchedOnSkills.assign(saved.switchedOn.begin(), saved.switchedOn.end());
  }
  return true;
}
