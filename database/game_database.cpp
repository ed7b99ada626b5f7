#include "database/game_database.h"

CGameDataBase g_gameDataBase;

CGDMainManSoul* CGameDataBase::FindHero(int32_t id) {
  for (auto& hero : heroes)
    if (hero.id == id) return &hero;
  return nullptr;
}

CGDEnemySoul* CGameDataBase::FindEnemy(int32_t id) {
  for (auto& enemy : enemies)
    if (enemy.id == id) return &enemy;
  return nullptr;
}

ITEMDESC* CGameDataBase::FindItem(int32_t type, int32_t id) {
  for (auto& item : items)
    if (item.Type() == type && item.Id() == id) return &item;
  return nullptr;
}

ITEMDESC* CGameDataBase::FindSkill(int32_t id) {
  for (auto& skill : skills)
    if (skill.Id() == id) return &skill;
  return nullptr;
}

CONDITIONDESC* CGameDataBase::FindCondition(int32_t id) {
  for (auto& condition : conditions)
    if (condition.id == id) return &condition;
  return nullptr;
}

SHOPDESC* CGameDataBase::FindShop(int32_t id) {
  for (auto& shop : shops)
    if (shop.id == id) return &shop;
  return nullptr;
}
