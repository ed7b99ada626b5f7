#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Engine object handles and the one allocation rule every handle pool follows.
//
// A handle names a kind (top byte) and a slot of that kind's pool (low 24
// bits); the value 0 never names a created object. Lookups are a type check,
// a range check and an index: no generation counter, so a handle of a
// destroyed object silently names whatever later takes its slot.

using HOBJECT = uint32_t;

enum OBJECTTYPE : uint32_t {
  OBJTYPE_IMAGE = 0x01,
  OBJTYPE_NODE = 0x02,
  OBJTYPE_MATERIAL = 0x03,
  OBJTYPE_VIEWPORT = 0x04,
  OBJTYPE_COMPOSITE = 0x05,
  OBJTYPE_TERRAIN = 0x06,
  OBJTYPE_WIDGET = 0x09,
  OBJTYPE_WINDOW = 0x0A,
  OBJTYPE_PANEL = 0x0B,
  OBJTYPE_SOUND = 0x0E,
  OBJTYPE_MOVIE = 0x0F,
  OBJTYPE_SPRITE = 0x10,
  OBJTYPE_COMPOSITE2 = 0x11,
};

inline HOBJECT MakeHandle(OBJECTTYPE type, uint32_t index) { return index | (uint32_t{type} << 24); }
// The handle with its index cleared: compare with (code << 24).
inline uint32_t GetHandleType(HOBJECT handle) { return handle & 0xFF000000u; }
inline uint32_t GetHandleIndex(HOBJECT handle) { return handle & 0x00FFFFFFu; }

// A pool of records of one kind: slots holding pointers (null = free), a
// high-water mark, one past the highest slot used since the engine opened,
// and the freed slots below it.
// The pool does not own its records; each kind's destroy call frees them.
template <typename T, uint32_t Size>
struct ObjectPool {
  static constexpr uint32_t kSize = Size;

  std::array<T*, Size> slots{};
  uint32_t mark = 0;

  // The record of a handle of this pool's kind, or null.
  T* Resolve(HOBJECT handle, OBJECTTYPE type) const {
    if (GetHandleType(handle) != (uint32_t{type} << 24)) return nullptr;
    uint32_t index = GetHandleIndex(handle);
    return index < Size ? slots[index] : nullptr;
  }

  // The lowest free slot below the mark, else the slot at the mark (raising
  // it), so freed slots are reused lowest first. Stores the record, writes the
  // slot into its index field and answers the slot; -1 when the pool is full.
  int Allocate(T* record) {
    uint32_t slot = mark;
    if (!freeSlots.empty()) {
      std::pop_heap(freeSlots.begin(), freeSlots.end(), std::greater<>{});
      slot = freeSlots.back();
      freeSlots.pop_back();
    } else {
      if (mark >= Size) return -1;
      ++mark;
    }
    slots[slot] = record;
    record->index = static_cast<int>(slot);
    return static_cast<int>(slot);
  }

  void Free(uint32_t slot) {
    if (slot >= Size || slots[slot] == nullptr) return;
    slots[slot] = nullptr;
    freeSlots.push_back(slot);
    std::push_heap(freeSlots.begin(), freeSlots.end(), std::greater<>{});
  }

  // Forgets every record and resets the mark (the records must be gone already).
  void Reset() {
    slots.fill(nullptr);
    mark = 0;
    freeSlots.clear();
  }

 private:
  std::vector<uint32_t> freeSlots;  // a min-heap of the empty slots below the mark
};
