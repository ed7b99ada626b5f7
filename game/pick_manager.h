#pragma once
#include "engine/core/handles.h"

class CGame;

// Picks what lies under the cursor and scans for characters in talk range.
// MINIMAL: nothing is ever picked or approached.
class CPickManager {
 public:
  explicit CPickManager(CGame* game) : game(game) {}

  // 1 when the scan started an approach.
  int Scan() { return 0; }
  void PickAt(int, int) {}
  // MINIMAL: markers are only counted (at most 12), never highlighted.
  void AddMarker(int, HOBJECT) {
    if (markerCount < kMaxMarkers) ++markerCount;
  }
  void ClearMarkers() { markerCount = 0; }

  static constexpr int kMaxMarkers = 12;
  int markerCount = 0;

  CGame* game;
  int closeUp = 0;
};
