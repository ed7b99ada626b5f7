#pragma once
#include <algorithm>
#include <cstddef>
#include <list>

namespace qmz {

// The library's list of pointers: appended at the tail, removed by identity.
// It frees its nodes, never the items they point to.
template <typename P>
class CBaseList {
 public:
  virtual ~CBaseList() = default;

  void Append(P item) { items_.push_back(item); }
  // 1 when the item was in the list.
  int Remove(P item) {
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return 0;
    items_.erase(found);
    return 1;
  }
  int Contains(P item) const { return std::find(items_.begin(), items_.end(), item) != items_.end(); }
  void Clear() { items_.clear(); }
  std::size_t Count() const { return items_.size(); }
  int IsEmpty() const { return items_.empty(); }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::list<P> items_;
};

}  // namespace qmz
