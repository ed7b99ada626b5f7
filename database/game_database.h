#pragma once
// The game database: heroes, enemies, shops, items, conditions, skills and the
// party. One static instance, g_gameDataBase, filled by CGameDataLoader.
#include <cstdint>
#include <vector>

#include "database/enemy_soul.h"
#include "database/main_man_soul.h"
#include "database/party.h"
#include "database/records.h"

class CGameDataBase {
 public:
  CGameDataBase() = default;
  CGameDataBase(const CGameDataBase&) = delete;
  CGameDataBase& operator=(const CGameDataBase&) = delete;
  virtual ~CGameDataBase() = default;

  // Linear searches; the first match wins; null when nothing matches.
  CGDMainManSoul* FindHero(int32_t id);
  CGDEnemySoul* FindEnemy(int32_t id);
  ITEMDESC* FindItem(int32_t type, int32_t id);
  ITEMDESC* FindSkill(int32_t id);
  CONDITIONDESC* FindCondition(int32_t id);
  SHOPDESC* FindShop(int32_t id);

  std::vector<CGDMainManSoul> heroes;
  std::vector<CGDEnemySoul> enemies;
  std::vector<SHOPDESC> shops;
  std::vector<ITEMDESC> items;
  std::vector<CONDITIONDESC> conditions;
  std::vector<ITEMDESC> skills;  // skills use the item layout
  CParty party;
};

extern CGameDataBase g_gameDataBase;
