#pragma once
// Shared set-up for the database suites: the static database is emptied
// before and after every test, so the suites never see each other's records.
#include <gtest/gtest.h>

#include <initializer_list>

#include "database/game_database.h"
#include "database/man_soul.h"

namespace dbtest {

inline void ClearDatabase() {
  CGameDataBase& db = g_gameDataBase;
  db.heroes.clear();
  db.enemies.clear();
  db.shops.clear();
  db.items.clear();
  db.conditions.clear();
  db.skills.clear();
  db.party.Reset();
}

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearDatabase(); }
  void TearDown() override {
    ClearDatabase();
    SetHitRollRandom(nullptr);
  }
};

// Attributes {key, base} with no bonus.
inline std::vector<ATTRIBUTEDESC> Attributes(std::initializer_list<std::pair<int32_t, int32_t>> list) {
  std::vector<ATTRIBUTEDESC> out;
  for (auto [key, base] : list) out.push_back({key, base, 0});
  return out;
}

inline MODIFIERDESC Modifier(int32_t flags, int32_t kind, int32_t key, int32_t mode, int32_t value, int32_t turns,
                             int32_t period = 0, int32_t revert = 0) {
  MODIFIERDESC m;
  m.flags = flags;
  m.kind = kind;
  m.key = key;
  m.mode = mode;
  m.value = value;
  m.turns = turns;
  m.period = period;
  m.revertFlag = revert;
  return m;
}

// A permanent modifier on the wearer: what equipment and passive skills carry.
inline MODIFIERDESC Gear(int32_t key, int32_t value, int32_t revert = 1, int32_t mode = kModeAdd) {
  return Modifier(kModOnUser, kModKindAttribute, key, mode, value, kPermanentTurns, 0, revert);
}

inline ITEMDESC Item(int32_t type, int32_t id, std::vector<MODIFIERDESC> modifiers = {}, int32_t price = 0) {
  ITEMDESC item;
  item.name = "item";
  item.values[kItemType] = type;
  item.values[kItemId] = id;
  item.values[kItemPrice] = price;
  item.modifiers = std::move(modifiers);
  return item;
}

}  // namespace dbtest
