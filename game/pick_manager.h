#pragma once

class CGame;

// Picks what lies under the cursor and scans for characters in talk range.
// MINIMAL: nothing is ever picked or approached.
class CPickManager {
 public:
  explicit CPickManager(CGame* game) : game(game) {}

  // 1 when the scan started an approach.
  int Scan() { return 0; }
  void PickAt(int, int) {}

  CGame* game;
  int closeUp = 0;
};
