#pragma once
// Reads the game database file into g_gameDataBase, then gives the party its
// starting money and items and builds each hero up to its starting level.
#include <cstdint>
#include <vector>

class CGameDataBase;

constexpr const char* kGameDatabasePath = ".\\resource\\DoRevu.res";

struct STARTITEMDESC {
  int32_t type = 0;
  int32_t id = 0;
  int32_t count = 0;
};

// What the party starts a story with.
struct STARTINVENTORYDESC {
  int32_t money = 0;
  std::vector<STARTITEMDESC> items;
};

class CGameDataLoader {
 public:
  // Story 0 is the first hero's game, 1 the second's.
  explicit CGameDataLoader(int storyIndex);
  CGameDataLoader(const CGameDataLoader&) = delete;
  CGameDataLoader& operator=(const CGameDataLoader&) = delete;
  // Resets every hero and the party, ready for a fresh load.
  ~CGameDataLoader();

  // 1 when the file was read whole; a missing or damaged file leaves the
  // database's records empty and reports it through DebugTrace (0).
  int Load(const char* path);
  void SetStartingInventory(int index);
  void SetupRoster();

  CGameDataBase* database;
  std::vector<STARTINVENTORYDESC> startingInventories;
};
