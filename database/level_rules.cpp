#include "database/level_rules.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <utility>

#include "database/main_man_soul.h"

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

// Adds to each base the difference between the row of level and the row
// before (the first entry of a key there counts). Rows may be long, so the
// row before is looked up, not scanned for every entry.
void ApplyLevelRow(CGDMainManSoul& hero, size_t level, const LevelStepRules& rules) {
  const auto& row = hero.levelTable[level];
  std::unordered_map<int32_t, int32_t> before;
  if (level > 0)
    for (const auto& p : hero.levelTable[level - 1]) before.emplace(p.key, p.value);
  for (const auto& entry : row) {
    if (std::find(rules.excludedKeys.begin(), rules.excludedKeys.end(), entry.key) != rules.excludedKeys.end())
      continue;
    ATTRIBUTEDESC* a = Find(hero, entry.key);
    if (!a) continue;
    auto previous = before.find(entry.key);
    int64_t was = previous == before.end() ? 0 : previous->second;
    a->base = ClampToInt32(a->base + (int64_t{entry.value} - was));
  }
}

// The learn table by level, table order kept within a level, so that rising
// through many levels does not scan the whole table at each.
class LearnIndex {
 public:
  explicit LearnIndex(const CGDMainManSoul& hero) {
    for (const auto& entry : hero.learnTable) byLevel_.emplace_back(entry.level, entry.actionId);
    std::stable_sort(byLevel_.begin(), byLevel_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  // The actions level teaches, in table order.
  template <class F>
  void ForLevel(int32_t level, F f) const {
    auto first =
        std::lower_bound(byLevel_.begin(), byLevel_.end(), level, [](const auto& e, int32_t l) { return e.first < l; });
    for (auto it = first; it != byLevel_.end() && it->first == level; ++it) f(it->second);
  }

 private:
  std::vector<std::pair<int32_t, int32_t>> byLevel_;
};

int Rise(CGDMainManSoul* hero, int force, const LevelStepRules& rules, std::vector<int32_t>* learned,
         const LearnIndex* index = nullptr) {
  if (!hero) return 0;
  std::optional<LearnIndex> own;
  if (rules.learnActions && !index) index = &own.emplace(*hero);
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
      index->ForLevel(hero->GetAttribute(kAttrLevel), [&](int32_t action) {
        hero->LearnAction(action);
        if (learned) learned->push_back(action);
      });
    }
    if (force) break;
  }
  return gained;
}

int RaiseTo(CGDMainManSoul* hero, int32_t level, const LevelStepRules& rules) {
  if (!hero || level < 0 || static_cast<size_t>(level) >= hero->levelTable.size()) return 0;
  std::optional<LearnIndex> index;
  if (rules.learnActions) index.emplace(*hero);
  // A step that gains nothing changes nothing, so neither would the next.
  for (int64_t missing = int64_t{level} - hero->GetAttribute(kAttrLevel); missing > 0; --missing)
    if (Rise(hero, 1, rules, nullptr, index ? &*index : nullptr) == 0) break;
  return 1;
}

}  // namespace

int LevelUp(CGDMainManSoul* hero, int force) { return Rise(hero, force, kPlainRules, nullptr); }

int RaiseToLevel(CGDMainManSoul* hero, int32_t level) { return RaiseTo(hero, level, kPlainRules); }

int LevelUpEx(CGDMainManSoul* hero, int force, std::vector<int32_t>* learned) {
  return Rise(hero, force, kExRules, learned);
}

int RaiseToLevelEx(CGDMainManSoul* hero, int32_t level) { return RaiseTo(hero, level, kExRules); }
