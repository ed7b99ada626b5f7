#pragma once
// The random encounters of the current map: its candidate enemies, the step
// threshold and rate of its record, and the group rolled last.
#include <array>
#include <cstdint>

class CGameResource;
struct MAPDESC;

class CEncounterTable {
 public:
  static constexpr int kCandidates = 9;
  static constexpr int kGroupSlots = 20;
  static constexpr int kMaxGroup = 15;

  // Takes map row mapIndex - 1 (1-based); a map off the table has no
  // encounters. Clears the group.
  void Reset(const CGameResource& resource, int mapIndex);
  // 1 when a battle should start: the steps are past the threshold (they
  // restart at 0) and the rate, scaled by the walker's factor, beats a roll.
  int Roll(int* steps, int walkerFactor);

  int enabled = 0;
  int16_t candidateCount = 0;
  int16_t groupSize = 0;
  const MAPDESC* mapRecord = nullptr;
  std::array<int16_t, kCandidates> candidates{};
  std::array<int16_t, kGroupSlots> group{};
  int16_t currentBattleId = 0;
};
