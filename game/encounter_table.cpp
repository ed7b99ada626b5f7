#include "game/encounter_table.h"

#include "base/debug_trace.h"
#include "database/game_resource.h"
#include "platform/crt.h"

void CEncounterTable::Reset(const CGameResource& resource, int mapIndex) {
  enabled = 0;
  candidateCount = 0;
  groupSize = 0;
  mapRecord = nullptr;
  candidates.fill(0);
  group.fill(0);
  if (mapIndex < 1 || mapIndex > static_cast<int>(resource.Maps().size())) {
    DebugTrace("Encounters: map %d is not in the map table\n", mapIndex);
    return;
  }
  mapRecord = &resource.Maps()[static_cast<size_t>(mapIndex - 1)];
  enabled = mapRecord->Enemy(0) != 0;
  while (candidateCount < kCandidates && mapRecord->Enemy(candidateCount) != 0) {
    candidates[static_cast<size_t>(candidateCount)] = mapRecord->Enemy(candidateCount);
    ++candidateCount;
  }
}

int CEncounterTable::Roll(int* steps, int walkerFactor) {
  if (!enabled || !mapRecord || *steps <= mapRecord->StepThreshold()) return 0;
  *steps = 0;
  const int x = plat::Rand() * 100 / 32767;
  if (mapRecord->EncounterRate() * walkerFactor <= x) return 0;
  // The size is the factor in percent of 15, scaled by a random fraction.
  int size = static_cast<int16_t>(plat::Rand() * (mapRecord->GroupSizeFactor() * kMaxGroup) * 3.0518509e-7);
  if (size > kMaxGroup) size = kMaxGroup;
  if (size < 1) size = 1;
  groupSize = static_cast<int16_t>(size);
  for (int i = 0; i < groupSize; ++i) {
    // A draw of 0 leaves the slot as it is: the first candidate never joins.
    const int e = plat::Rand() * candidateCount / 32768;
    if (e != 0) group[static_cast<size_t>(i)] = candidates[static_cast<size_t>(e)];
  }
  return 1;
}
