#include "database/item_pool.h"

#include <algorithm>
#include <cstring>

#include "base/debug_trace.h"
#include "database/game_database.h"
#include "database/record_io.h"
#include "platform/files.h"

CGDItemPool::CGDItemPool(CGameDataBase* database)
    : party(&database->party), database(database), freeFlags(kSlotCount, 1) {}

int CGDItemPool::FreeAllSlots() {
  std::fill(freeFlags.begin(), freeFlags.end(), 1);
  return static_cast<int>(freeFlags.size());
}

int CGDItemPool::IsSlotFree(int32_t slot) const { return (slot >= 0 && slot < kSlotCount) ? freeFlags[slot] : 0; }

void CGDItemPool::MarkSlot(int32_t slot, int32_t free) {
  if (slot >= 0 && slot < kSlotCount) freeFlags[slot] = free;
}

int32_t CGDItemPool::TakeLowestFreeSlot() {
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    if (freeFlags[slot]) {
      freeFlags[slot] = 0;
      return slot;
    }
  }
  return -1;
}

void CGDItemPool::SyncSlots(int list) {
  auto& slots = slotVectors[list];
  size_t size = ListOf(list).size();
  while (slots.size() > size) {
    MarkSlot(slots.back(), 1);
    slots.pop_back();
  }
  while (slots.size() < size) slots.push_back(TakeLowestFreeSlot());
}

int CGDItemPool::FindEntry(int list, int32_t type, int32_t id) const {
  const auto& entries = party->itemLists[list];
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].id == id && entries[i].type == type) return static_cast<int>(i);
  return -1;
}

void CGDItemPool::RemoveEntry(int list, int index) {
  auto& slots = slotVectors[list];
  MarkSlot(slots[index], 1);
  slots.erase(slots.begin() + index);
  ListOf(list).erase(ListOf(list).begin() + index);
}

void CGDItemPool::RebuildSlots() {
  FreeAllSlots();
  int32_t next = 0;
  for (int list = 0; list < kPartyListCount; ++list) {
    auto& slots = slotVectors[list];
    slots.clear();
    for (size_t i = 0; i < ListOf(list).size(); ++i) {
      int32_t slot = next < kSlotCount ? next++ : -1;
      MarkSlot(slot, 0);
      slots.push_back(slot);
    }
  }
}

int CGDItemPool::AddItem(int32_t type, int32_t id, int32_t count, int32_t slot) {
  int list = PartyListOfType(type);
  if (list < 0 || count <= 0) return -1;
  SyncSlots(list);
  int index = FindEntry(list, type, id);
  if (index >= 0) {
    auto& entry = ListOf(list)[index];
    entry.count = static_cast<int32_t>(std::min<int64_t>(int64_t{entry.count} + count, kMaxStack));
    return 0;
  }
  ListOf(list).push_back({id, std::min(count, kMaxStack), type});
  if (slot >= 0 && slot < kSlotCount) MarkSlot(slot, 0);
  else slot = TakeLowestFreeSlot();
  slotVectors[list].push_back(slot);
  return 0;
}

int CGDItemPool::SetItemCount(int32_t type, int32_t id, int32_t count) {
  int list = PartyListOfType(type);
  if (list < 0) return -1;
  SyncSlots(list);
  int index = FindEntry(list, type, id);
  if (index >= 0) {
    if (count >= 1) ListOf(list)[index].count = std::min(count, kMaxStack);
    else RemoveEntry(list, index);
    return 0;
  }
  if (count <= 0) return 0;
  ListOf(list).push_back({id, std::min(count, kMaxStack), type});
  slotVectors[list].push_back(TakeLowestFreeSlot());
  return 0;
}

int CGDItemPool::RemoveItem(int32_t type, int32_t id, int32_t count) {
  int list = PartyListOfType(type);
  if (list < 0) return 0;
  if (count < 0) return -1;
  SyncSlots(list);
  int index = FindEntry(list, type, id);
  if (index < 0) return 0;
  auto& entry = ListOf(list)[index];
  if (count < entry.count) {
    entry.count -= count;
    return 0;
  }
  RemoveEntry(list, index);
  return 1;
}

PARTYITEMDESC* CGDItemPool::GetFirstItem(int32_t* slot) {
  currentList = 0;
  currentEntry = 0;
  return GetNextItem(slot);
}

PARTYITEMDESC* CGDItemPool::GetNextItem(int32_t* slot) {
  while (currentList < kPartyListCount) {
    SyncSlots(currentList);
    auto& entries = ListOf(currentList);
    if (currentEntry < entries.size()) {
      if (slot) *slot = slotVectors[currentList][currentEntry];
      return &entries[currentEntry++];
    }
    ++currentList;
    currentEntry = 0;
  }
  return nullptr;
}

int32_t CGDItemPool::SetItemSlot(int32_t type, int32_t id, int32_t slot, int freeOld) {
  int list = PartyListOfType(type);
  if (list < 0) return -1;
  SyncSlots(list);
  int index = FindEntry(list, type, id);
  if (index < 0) return -1;
  if (freeOld) MarkSlot(slotVectors[list][index], 1);
  slotVectors[list][index] = slot;
  MarkSlot(slot, 0);
  return slot;
}

int32_t CGDItemPool::GetItemSlot(int32_t type, int32_t id) {
  int list = PartyListOfType(type);
  if (list < 0) return -1;
  SyncSlots(list);
  int index = FindEntry(list, type, id);
  return index < 0 ? -1 : slotVectors[list][index];
}

int32_t CGDItemPool::GetItemCount(int32_t type, int32_t id) {
  int list = PartyListOfType(type);
  if (list < 0) return 0;
  int index = FindEntry(list, type, id);
  return index < 0 ? 0 : ListOf(list)[index].count;
}

int CGDItemPool::ReplaceItem(int32_t type, int32_t id, int32_t newType, int32_t newId) {
  int list = PartyListOfType(type);
  if (list < 0 || PartyListOfType(newType) < 0) return -1;
  SyncSlots(list);
  int index = FindEntry(list, type, id);
  if (index < 0) return -1;
  int32_t slot = slotVectors[list][index];
  int32_t count = ListOf(list)[index].count;
  RemoveEntry(list, index);
  return AddItem(newType, newId, count, slot);
}

CGDMainManSoul* CGDItemPool::Leader() const {
  return party->members.empty() ? nullptr : database->FindHero(party->members.front());
}

int CGDItemPool::EquipItem(int32_t type, int32_t id) {
  CGDMainManSoul* leader = Leader();
  return leader ? leader->Equip(type, id, nullptr) : -1;
}

int CGDItemPool::UnequipItem(int32_t type) {
  CGDMainManSoul* leader = Leader();
  return leader ? leader->Unequip(type, nullptr) : -1;
}

int CGDItemPool::UseItem(int32_t type, int32_t id) {
  CGDMainManSoul* leader = Leader();
  if (!leader) return -1;
  leader->ApplyActionTo(database->FindItem(type, id), leader);
  return RemoveItem(type, id, 1);
}

int32_t CGDItemPool::GetItemPrice(int32_t type, int32_t id) {
  const ITEMDESC* record = database->FindItem(type, id);
  return record ? record->Price() : 0;
}

ITEMDESC* CGDItemPool::GetItemRecord(int32_t type, int32_t id) { return database->FindItem(type, id); }

int CGDItemPool::WriteBlock(plat::File& file) {
  plat::ByteWriter block;
  block.Bytes("IPOS", 4);
  block.I32(kBlockVersion);
  for (int list = 0; list < kPartyListCount; ++list) {
    SyncSlots(list);
    block.I32(static_cast<int32_t>(slotVectors[list].size()));
    for (int32_t slot : slotVectors[list]) block.I32(slot);
  }
  plat::ByteWriter length;
  length.I32(static_cast<int32_t>(block.Size()));
  file.Write(length.Bytes().data(), length.Size());
  file.Write(block.Bytes().data(), block.Size());
  return static_cast<int>(block.Size() + 4);
}

int CGDItemPool::ReadBlock(plat::File& file) {
  // The whole block is read and checked before the pool changes: a damaged
  // block leaves the places of the game in memory as they are.
  auto damaged = [] {
    DebugTrace("Item position block is damaged");
    return 0;
  };
  uint8_t lengthBytes[4];
  if (file.Read(lengthBytes, 4) != 4) return damaged();
  int32_t length = plat::ByteReader(lengthBytes, 4).I32();
  if (length < 0 || length > file.Size() - file.Tell()) return damaged();
  std::vector<uint8_t> block(static_cast<size_t>(length));
  if (file.Read(block.data(), block.size()) != block.size()) return damaged();
  auto clear = [this] {
    FreeAllSlots();
    for (auto& slots : slotVectors) slots.clear();
  };
  if (block.size() < 4 || std::memcmp(block.data(), "IPOS", 4) != 0) {
    clear();
    return 0;
  }
  plat::ByteReader r(block);
  r.Skip(4);
  int32_t version = r.I32();
  if (r.Failed()) return damaged();
  if (version != kBlockVersion) {
    clear();
    return version;
  }
  std::array<std::vector<int32_t>, kPartyListCount> read;
  for (auto& slots : read) {
    size_t n = 0;
    if (!ReadCount(r, CountWidth::k32, 4, n)) return damaged();
    slots.resize(n);
    for (int32_t& slot : slots) {
      slot = r.I32();
      if (slot < 0 || slot >= kSlotCount) slot = -1;
    }
  }
  clear();
  slotVectors = std::move(read);
  for (const auto& slots : slotVectors)
    for (int32_t slot : slots) MarkSlot(slot, 0);
  return kBlockVersion;
}
