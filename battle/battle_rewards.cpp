// What a won battle gives: money, experience, levels and dropped items.
#include <algorithm>
#include <vector>

#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/sys_state.h"
#include "database/enemy_soul.h"
#include "database/game_database.h"
#include "database/level_rules.h"
#include "database/main_man_soul.h"
#include "database/records.h"
#include "platform/crt.h"

namespace {

constexpr size_t kMostWonItems = 3;

// Attribute keys of the hero record.
enum : int { kLevel = 1, kExperience = 2, kNextThreshold = 3, kHP = 6, kMP = 8, kFirstDefence = 10, kEnemiesDown = 26 };

double ExperienceShare(int outcome) {
  if (outcome == CBattleSys::kOutcomeEscaped) return 0.3;
  if (outcome == CBattleSys::kOutcomeDown) return 0.6;
  return 1.0;
}

// Each drop comes with a chance of 2 in 3; the list stops growing at three.
void DrawDrops(const CGDEnemySoul& enemy, std::vector<DROPDESC>& won) {
  for (const DROPDESC& drop : enemy.drops) {
    if (won.size() >= kMostWonItems) return;
    if (plat::Rand() % 3 == 0) continue;
    auto same =
        std::find_if(won.begin(), won.end(), [&](const DROPDESC& d) { return d.id == drop.id && d.type == drop.type; });
    if (same != won.end()) {
      same->count += drop.count;
    } else {
      won.push_back(drop);
    }
  }
}

}  // namespace

void CSysState::ComputeRewards(CBattleSys* sys, REWARDDESC* reward) {
  reward->experience = 0;
  reward->money = 0;
  std::vector<DROPDESC> won;
  for (const SPAWNDESC& entry : sys->spawnList) {
    const CGDEnemySoul* enemy = g_gameDataBase.FindEnemy(entry.enemyId);
    if (!enemy) continue;
    if (entry.outcome != CBattleSys::kOutcomeEscaped) {
      reward->money += enemy->GetMoneyValue();
      DrawDrops(*enemy, won);
    }
    reward->experience = static_cast<int>(static_cast<double>(reward->experience) +
                                          enemy->GetExperienceValue() * ExperienceShare(entry.outcome));
  }

  CFMaster* fighter = sys->hero;
  CGDManSoul* hero = fighter ? fighter->soul : nullptr;
  if (hero) {
    reward->level = hero->GetAttribute(kLevel);
    reward->toNextLevel = hero->GetAttribute(kNextThreshold) - hero->GetAttribute(kExperience);
    hero->AddAttribute(kExperience, reward->experience);
    auto* main = dynamic_cast<CGDMainManSoul*>(hero);
    reward->newLevel = 0;
    if (main && LevelUp(main)) {
      reward->newLevel = hero->GetAttribute(kLevel);
      reward->hp = hero->GetAttribute(kHP);
      reward->mp = hero->GetAttribute(kMP);
      reward->percent = 100;
      reward->attackPower = fighter->GetAttackPower();
      for (int i = 0; i < 6; ++i) reward->defence[i] = hero->GetAttribute(kFirstDefence + i);
    }
    for (const SPAWNDESC& entry : sys->spawnList) {
      if (entry.outcome == CBattleSys::kOutcomeDown) hero->AddAttribute(kEnemiesDown, 1);
    }
  }

  for (const DROPDESC& drop : won) {
    const ITEMDESC* item = g_gameDataBase.FindItem(drop.type, drop.id);
    reward->items[item ? item->name : std::string()] += drop.count;
    const int entry[3] = {drop.id, drop.count, drop.type};
    g_battleInterface.GiveItem(entry);
  }
  CParty& party = g_gameDataBase.party;
  party.SetMoney(static_cast<int64_t>(party.GetMoney()) + reward->money);
}
