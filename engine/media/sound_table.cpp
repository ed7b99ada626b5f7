#include "engine/media/sound_table.h"

#include "engine/core/engine_state.h"
#include "engine/media/name_index.h"
#include "engine/media/sound.h"
#include "engine/media/sound_waves.h"

SOUNDTABLE g_soundTable;

namespace {

NameIndex g_soundNames;

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = kSoundTableSize - 1;

bool SoundOpen() { return g_engineOpen && g_soundDevice.open; }

int FirstFreeSlot() {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot)
    if (!g_soundTable.slots[slot]) return slot;
  return 0;
}

HOBJECT Store(int slot, SOUNDDESC* record) {
  record->index = slot;
  g_soundTable.slots[slot] = record;
  g_soundNames.Add(record->name, slot);
  if (slot > g_soundTable.mark) g_soundTable.mark = slot;
  return MakeHandle(OBJTYPE_SOUND, static_cast<uint32_t>(slot));
}

SOUNDDESC* FindByName(const char* name) {
  for (int slot : g_soundNames.Slots(name)) {
    SOUNDDESC* record = g_soundTable.slots[slot];
    if (record && record->name == name) return record;
  }
  return nullptr;
}

}  // namespace

SOUNDDESC* LookupSound(HOBJECT handle) {
  if (GetHandleType(handle) != (uint32_t{OBJTYPE_SOUND} << 24)) return nullptr;
  uint32_t slot = GetHandleIndex(handle);
  if (slot < kFirstSlot || slot > static_cast<uint32_t>(g_soundTable.mark)) return nullptr;
  return g_soundTable.slots[slot];
}

HOBJECT LoadSound(const char* name) {
  if (!SoundOpen() || !name) return 0;
  if (SOUNDDESC* loaded = FindByName(name))
    return CloneSound(MakeHandle(OBJTYPE_SOUND, static_cast<uint32_t>(loaded->index)));
  int slot = FirstFreeSlot();
  if (!slot) return 0;
  SOUNDDESC* record = LoadWave(name, 0);
  return record ? Store(slot, record) : 0;
}

HOBJECT CloneSound(HOBJECT sound) {
  if (!SoundOpen()) return 0;
  SOUNDDESC* source = LookupSound(sound);
  if (!source) return 0;
  int slot = FirstFreeSlot();
  if (!slot) return 0;
  SOUNDDESC* copy = DuplicateWave(source);
  return copy ? Store(slot, copy) : 0;
}

int FreeSound(HOBJECT sound) {
  if (!SoundOpen()) return 0;
  SOUNDDESC* record = LookupSound(sound);
  if (!record) return 0;
  g_soundTable.slots[record->index] = nullptr;
  g_soundNames.Remove(record->name, record->index);
  FreeWave(record);
  while (g_soundTable.mark > 0 && !g_soundTable.slots[g_soundTable.mark]) --g_soundTable.mark;
  return 1;
}

int StartSound(HOBJECT sound, int flags) { return SoundOpen() ? StartWave(LookupSound(sound), flags) : 0; }

int PauseSound(HOBJECT sound) { return SoundOpen() ? PauseWave(LookupSound(sound)) : 0; }

int StopSound(HOBJECT sound) { return SoundOpen() ? StopWave(LookupSound(sound)) : 0; }

int IsSoundPlaying(HOBJECT sound) {
  if (!SoundOpen()) return 0;
  SOUNDDESC* record = LookupSound(sound);
  return record && record->buffer->IsPlaying() ? 1 : 0;
}

void FreeAllSounds() {
  for (SOUNDDESC*& record : g_soundTable.slots) {
    FreeWave(record);
    record = nullptr;
  }
  g_soundTable.mark = 0;
  g_soundNames.Clear();
}
