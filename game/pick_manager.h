#pragma once
#include <vector>

class CGame;
class ObjBoundVolume;

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
  std::vector<ObjBoundVolume*> allVolumes;     // NPC volumes in range: the walker collides with these
  std::vector<ObjBoundVolume*> objectVolumes;  // object volumes in range: and with these
};
