#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One boss battle of the boss table.
struct BOSSINFODESC {
  std::vector<int32_t> enemyIds;  // an id repeated once per enemy of that kind
  int32_t autoEvent = -1;         // run when the battle is lost; -1 none
  int32_t endGame = 0;            // 1: losing ends the game
};

// The boss table "./resource/bi.dat": one text line per boss battle, read when
// the game object is built. Battle id b uses entry b - baseId.
class TwAppearBossInfo {
 public:
  static constexpr const char* kPath = "./resource/bi.dat";
  // One token adds at most this many copies of an id.
  static constexpr int kMaxRepeat = 99;

  TwAppearBossInfo();
  virtual ~TwAppearBossInfo() = default;

  // Appends one entry per line that holds a digit; a missing file adds none.
  void Load();
  // Parses one line; false (nothing added) for a line without a digit.
  bool AddLine(const std::string& line);
  // The entry of a boss battle id; null, with a DebugTrace line, when the
  // table has none.
  const BOSSINFODESC* Find(int bossId) const;

  int32_t baseId;
  std::vector<BOSSINFODESC> entries;
};
