#include "ui/bought_items.h"

#include <algorithm>

#include "base/debug_trace.h"
#include "platform/files.h"

namespace {

constexpr size_t kEntryInts = 3;
std::vector<int>* g_boughtItems = nullptr;

}  // namespace

void SetBoughtItemList(std::vector<int>* list) { g_boughtItems = list; }

std::vector<int>* GetBoughtItemList() { return g_boughtItems; }

void AddBoughtItem(std::vector<int>& list, int shopId, int type, int id) {
  if (IsItemBought(list, shopId, type, id)) return;
  if (list.size() / kEntryInts >= kMaxBoughtItems) {
    DebugTrace("Bought items: the list holds %d entries; shop %d item %d,%d is not kept\n", kMaxBoughtItems, shopId,
               type, id);
    return;
  }
  list.insert(list.end(), {shopId, type, id});
}

bool IsItemBought(const std::vector<int>& list, int shopId, int type, int id) {
  for (size_t i = 0; i + kEntryInts <= list.size(); i += kEntryInts)
    if (list[i] == shopId && list[i + 1] == type && list[i + 2] == id) return true;
  return false;
}

int WriteBoughtItemList(const std::vector<int>& list, plat::ByteWriter& out) {
  // Never more than the reader takes back.
  const size_t n = std::min(list.size() / kEntryInts, static_cast<size_t>(kMaxBoughtItems));
  out.I32(static_cast<int32_t>(n));
  for (size_t i = 0; i < n * kEntryInts; ++i) out.I32(list[i]);
  return static_cast<int>(n * kEntryInts * 4 + 4);
}

int ReadBoughtItemList(std::vector<int>& list, plat::ByteReader& in) {
  if (in.Failed()) return 0;
  const int32_t n = in.I32();
  if (in.Failed() || n < 0 || n > kMaxBoughtItems) return 0;
  std::vector<int> entries(static_cast<size_t>(n) * kEntryInts);
  for (int& v : entries) v = in.I32();
  if (in.Failed()) {
    list.clear();
    return 0;
  }
  list = std::move(entries);
  return 1;
}

int WriteBoughtItems(plat::ByteWriter& out) {
  static const std::vector<int> kNone;
  return WriteBoughtItemList(g_boughtItems ? *g_boughtItems : kNone, out);
}

int ReadBoughtItems(plat::ByteReader& in) { return g_boughtItems ? ReadBoughtItemList(*g_boughtItems, in) : 0; }
