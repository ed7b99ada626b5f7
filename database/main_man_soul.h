#pragma once
// A hero: a character record that learns actions by level, gathers skill
// points, switches passive skills on and rises through its level table.
#include <cstdint>
#include <list>
#include <vector>

#include "database/man_soul.h"

class CGDMainManSoul : public CGDManSoul {
 public:
  using VisitCallback = int (*)(CGDMainManSoul* hero, void* user);

  int AddEffect(MODIFIERDESC m) override;
  void Reset() override;

  // The points gathered for a skill, its need through needed; 0 for none.
  virtual int32_t GetSkillProgress(int32_t id, int32_t* needed) const;
  virtual int HasLearnedAction(int32_t id) const;
  // 0 still short, 1 completed now, 2 new entry, 3 already complete, -1 no such skill.
  virtual int AddSkillPoints(int32_t id, int32_t points);
  virtual int ToggleSkill(int32_t id, int offFlag);
  virtual int Visit(VisitCallback callback, void* user);
  virtual int LearnAction(int32_t id);

  std::vector<ACTIONLEARNDESC> learnTable;
  std::vector<int32_t> learnedActions;
  std::vector<SKILLPROGRESSDESC> skillProgress;
  std::list<ITEMDESC> switchedOnSkills;
  // Row L: the absolute attribute values of level L + 1.
  std::vector<std::vector<LEVELVALUEDESC>> levelTable;
};
