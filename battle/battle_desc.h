#pragma once
#include <vector>

// What the game hands the battle system when a battle starts (by value).
struct BATTLEDESC {
  int mapIndex = 0;  // 1-based map row of the arena scene
  int battleId = 0;  // boss-table id of a scripted battle, 0 for a random one
  int reserved1 = 0;
  int reserved2 = 0;
  std::vector<int> enemies;  // enemy ids in order; boss battle 8 may have none
  std::vector<int> extra;
  char sceneName[256] = {};
  char sceneName2[256] = {};
};
