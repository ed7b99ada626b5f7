#include "game/database/level_rules.h"

#include <algorithm>
#include <initializer_list>

#include "game/database/main_man_soul.h"

namespace {

struct LevelStepRules {
  std::initializer_list<int32_t> excludedKeys;
  std::initializer_list<int32_t> refills;
  bool learnActions;
};

const LevelStepRules kPlainRules{{17, 19, 20, 21, 22, 23, 24, 25, 26, 34, 35}, {6, 8}, false};
const LevelStepRules kExRules{{19}, {6, 8, 26, 28, 30, 32}, true};

int64_t ValueOf(const ATTRIBUTEDESC& a) { return int64_t{a.base} + a.bonus; }

ATTRIBUTEDESC* Find(CGDMainManSoul& hero, int32_t key) {
  for (auto& a : hero.attributes)
    if (a.key == key) return &a;
  return nullptr;
}

// Adds to each base the difference between the row of level and the row before.
void ApplyLevelRow(CGDMainManSoul& hero, size_t level, const LevelStepRules& rules) {
  const auto& row = hero.levelTable[level];
  const std::vector<LEVELVALUEDESC>* previous = level > 0 ? &hero.levelTable[level - 1] : nullptr;
  for (const auto& entry : row) {
    if (std::find(rules.excludedKeys.begin(), rules.excludedKeys.end(), entry.key) !=
        rules.excludedKeys.end())
      continue;
    ATTRIBUTEDESC* a = Find(hero, entry.key);
    if (!a) continue;
    int64_t before = 0;
    if (previous) {
      for (const auto& p : *previous) {
        if (p.key == entry.key) {
          before = p.value;
          break;
        }
      }
    }
    a->base = ClampToInt32(a->base + (int64_t{entry.value} - before));
  }
}

int Rise(CGDMainManSoul* hero, int force, const LevelStepRules& rules, std::vector<int32_t>* learned) {
  if (!hero) return 0;
  int gained = 0;
  for (;;) {
    ATTRIBUTEDESC* level = Find(*hero, kAttrLevel);
    ATTRIBUTEDESC* experience = Find(*hero, kAttrExperience);
    ATTRIBUTEDESC* needed = Find(*hero, kAttrNextExperience);
    if (!level || !experience || !needed) break;
    if (!force && ValueOf(*experience) < ValueOf(*needed)) break;
    int64_t current = ValueOf(*level);
    if (current < 0 || current >= static_cast<int64_t>(hero->levelTable.size())) break;
    if (ValueOf(*experience) < ValueOf(*needed)) {
      experience->base = ClampToInt32(ValueOf(*needed));
      experience->bonus = 0;
    }
    ApplyLevelRow(*hero, static_cast<size_t>(current), rules);
    level->base = ClampToInt32(int64_t{level->base} + 1);
    for (int32_t key : rules.refills) hero->RefillAttribute(key);
    ++gained;
    if (rules.learnActions) {
      int32_t reached = hero->GetAttribute(kAttrLevel);
      for (const auto& entry : hero->learnTable) {
        if (entry.level != reached) continue;
        hero->LearnAction(entry.actionId);
        if (learned) learned->push_back(entry.actionId);
      }
    }
    if (force) break;
  }
  return gained;
}

int RaiseTo(CGDMainManSoul* hero, int32_t level, const LevelStepRules& rules) {
  if (!hero || level < 0 || static_cast<size_t>(level) >= hero->levelTable.size()) return 0;
  for (int32_t missing = level - hero->GetAttribute(kAttrLevel); missing > 0; --missing)
    Rise(hero, 1, rules, nullptr);
  return 1;
}

}  // namespace

int LevelUp(CGDMainManSoul* hero, int force) { return Rise(hero, force, kPlainRules, nullptr); }

int RaiseToLevel(CGDMainManSoul* hero, int32_t level) { return RaiseTo(hero, level, kPlainRules); }

int LevelUpEx(CGDMainManSoul* hero, int force, std::vector<int32_t>* learned) {
  return Rise(hero, force, kExRules, learned);
}

int RaiseToLevelEx(CGDMainManSoul* hero, int32_t level) { return RaiseTo(hero, level, kExRules); }
