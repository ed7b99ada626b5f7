#pragma once

// The random encounters of the current map.
// MINIMAL: no encounter rolls; it keeps the current battle id only.
class CEncounterTable {
 public:
  int currentBattleId = 0;
  int enabled = 1;
};
