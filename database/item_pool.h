#pragma once
// The inventory as the screens see it: the party's five item lists, each entry
// with a display slot on the item page (512 places), stacks of at most 99, the
// leader's equipment calls and the "IPOS" block that save slots carry.
#include <array>
#include <cstdint>
#include <vector>

#include "database/party.h"
#include "database/records.h"

namespace plat {
class File;
}
class CGameDataBase;
class CGDMainManSoul;

class CGDItemPool {
 public:
  static constexpr int32_t kSlotCount = 512;
  static constexpr int32_t kMaxStack = 99;
  static constexpr int32_t kBlockVersion = 100;

  explicit CGDItemPool(CGameDataBase* database);
  CGDItemPool(const CGDItemPool&) = delete;
  CGDItemPool& operator=(const CGDItemPool&) = delete;
  virtual ~CGDItemPool() = default;

  // Marks every place free; returns the number of places.
  int FreeAllSlots();
  // Gives the entries consecutive places in list order (a new game).
  void RebuildSlots();
  // Adds to a stack (at most 99) or makes a new entry at slot (-1: the lowest
  // free place). 0 done, -1 for a type outside 1 to 8 or a count below 1.
  int AddItem(int32_t type, int32_t id, int32_t count, int32_t slot);
  // Sets a stack's count (at most 99); 0 or less removes the entry.
  int SetItemCount(int32_t type, int32_t id, int32_t count);
  // 1 when the entry is gone, 0 when some remain or there was none, -1 for a negative count.
  int RemoveItem(int32_t type, int32_t id, int32_t count);
  // Every entry of the five lists in list order, with its place; null after the last.
  PARTYITEMDESC* GetFirstItem(int32_t* slot);
  PARTYITEMDESC* GetNextItem(int32_t* slot);
  // Moves an entry to another place; returns it (-1 when there is no entry).
  int32_t SetItemSlot(int32_t type, int32_t id, int32_t slot, int freeOld);
  int32_t GetItemSlot(int32_t type, int32_t id);
  int32_t GetItemCount(int32_t type, int32_t id);
  // Turns an entry into another item with the same count and place.
  int ReplaceItem(int32_t type, int32_t id, int32_t newType, int32_t newId);
  // The party leader's equipment; the item taken off is discarded.
  int EquipItem(int32_t type, int32_t id);
  int UnequipItem(int32_t type);
  // The leader applies the item to itself, then one is removed.
  int UseItem(int32_t type, int32_t id);
  int32_t GetItemPrice(int32_t type, int32_t id);
  ITEMDESC* GetItemRecord(int32_t type, int32_t id);

  // Writes the int32 length and the "IPOS" block; returns length + 4.
  int WriteBlock(plat::File& file);
  // Restores the places: 100 done; 0 for a block that is not "IPOS" and
  // another version number for a block of that version (both leave every
  // place empty); 0 for a damaged block, which leaves the places untouched.
  int ReadBlock(plat::File& file);

  const std::vector<int32_t>& GetSlots(int list) const { return slotVectors[list]; }
  int IsSlotFree(int32_t slot) const;

 private:
  std::vector<PARTYITEMDESC>& ListOf(int list) { return party->itemLists[list]; }
  // The index of (type, id) in its list, -1 when absent.
  int FindEntry(int list, int32_t type, int32_t id) const;
  // Keeps a slot vector as long as its list, should the list have changed behind the pool.
  void SyncSlots(int list);
  int32_t TakeLowestFreeSlot();
  void MarkSlot(int32_t slot, int32_t free);
  void RemoveEntry(int list, int index);
  CGDMainManSoul* Leader() const;

  CParty* party;
  CGameDataBase* database;
  std::array<std::vector<int32_t>, kPartyListCount> slotVectors;
  std::vector<int32_t> freeFlags;
  int currentList = 0;
  size_t currentEntry = 0;
};
