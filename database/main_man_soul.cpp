#include "database/main_man_soul.h"

#include <algorithm>

#include "database/game_database.h"

int CGDMainManSoul::AddEffect(MODIFIERDESC m) {
  for (const auto& skill : switchedOnSkills)
    if (IsImmuneByItem(&skill, &m) == 1) return 2;
  return CGDManSoul::AddEffect(m);
}

void CGDMainManSoul::Reset() {
  CGDManSoul::Reset();
  learnTable.clear();
  learnedActions.clear();
  skillProgress.clear();
  switchedOnSkills.clear();
  levelTable.clear();
}

int32_t CGDMainManSoul::GetSkillProgress(int32_t id, int32_t* needed) const {
  for (const auto& p : skillProgress) {
    if (p.id != id) continue;
    if (needed) *needed = p.needed;
    return p.points;
  }
  return 0;
}

int CGDMainManSoul::HasLearnedAction(int32_t id) const {
  return std::find(learnedActions.begin(), learnedActions.end(), id) != learnedActions.end() ? 1 : 0;
}

int CGDMainManSoul::AddSkillPoints(int32_t id, int32_t points) {
  for (auto& p : skillProgress) {
    if (p.id != id) continue;
    if (p.points >= p.needed) return 3;
    p.points = ClampToInt32(int64_t{p.points} + points);
    if (p.points < p.needed) return 0;
    p.points = p.needed;
    return 1;
  }
  const ITEMDESC* skill = g_gameDataBase.FindSkill(id);
  if (!skill) return -1;
  int32_t needed = skill->values[kItemPointsNeeded];
  if (points >= needed) {
    skillProgress.push_back({id, needed, needed});
    return 1;
  }
  skillProgress.push_back({id, points, needed});
  return 2;
}

int CGDMainManSoul::ToggleSkill(int32_t id, int offFlag) {
  for (auto it = switchedOnSkills.begin(); it != switchedOnSkills.end(); ++it) {
    if (it->Id() != id) continue;
    if (!offFlag) return 0;
    TakeOff(*it);
    switchedOnSkills.erase(it);
    return 1;
  }
  const ITEMDESC* skill = g_gameDataBase.FindSkill(id);
  if (!skill) return 0;
  int64_t cost = EquipmentAmount(*skill, kAttrSkillCapacity);
  if (GetAttribute(kAttrSkillCapacity) + cost < 0) return 0;
  switchedOnSkills.push_back(*skill);
  PutOn(switchedOnSkills.back());
  return 1;
}

int CGDMainManSoul::Visit(VisitCallback callback, void* user) { return callback ? callback(this, user) : 0; }

int CGDMainManSoul::LearnAction(int32_t id) {
  if (HasLearnedAction(id)) return 0;
  learnedActions.push_back(id);
  return 1;
}
