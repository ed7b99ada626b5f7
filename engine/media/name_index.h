#pragma once
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

// The slots of a table by name, kept beside the table so that a look-up by
// name needs no walk over it. Each name lists its slots lowest first, so the
// first slot still holding the name is the one a walk in slot order finds.
class NameIndex {
 public:
  void Add(const std::string& key, int slot) {
    std::vector<int>& slots = slots_[key];
    slots.insert(std::lower_bound(slots.begin(), slots.end(), slot), slot);
  }
  void Remove(const std::string& key, int slot) {
    auto it = slots_.find(key);
    if (it == slots_.end()) return;
    auto at = std::lower_bound(it->second.begin(), it->second.end(), slot);
    if (at != it->second.end() && *at == slot) it->second.erase(at);
    if (it->second.empty()) slots_.erase(it);
  }
  // Lowest first; empty for a name no slot holds.
  const std::vector<int>& Slots(const std::string& key) const {
    static const std::vector<int> kNone;
    auto it = slots_.find(key);
    return it == slots_.end() ? kNone : it->second;
  }
  void Clear() { slots_.clear(); }

 private:
  std::unordered_map<std::string, std::vector<int>> slots_;
};
