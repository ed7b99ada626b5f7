#pragma once
#include <string>
#include <utility>
#include <vector>

// The boss table "resource/bi.dat": a text file, one line per boss battle:
// a label, the enemy ids ("id" or "id*count"), and after a ':' the flags
// "AUTO<event>" and "ENDGAME". Lines without a digit are comments.
namespace datagen {

struct BossLine {
  std::string label = "B";
  std::vector<std::pair<int, int>> enemies;  // id, count
  int autoEvent = -1;                        // -1: none
  bool endGame = false;
};

// One line of the table, without its end.
std::string BossTableLine(const BossLine& boss);
// The table: an optional heading, one line per boss, each ended by
// lineEnd ("\n" or "\r\n").
std::string BuildBossTable(const std::vector<BossLine>& bosses, const std::string& heading, const std::string& lineEnd);
// Writes text as given (tests write lines of their own).
bool WriteBossTableText(const std::string& path, const std::string& text, std::string& error);
bool WriteBossTable(const std::string& path, const std::vector<BossLine>& bosses, std::string& error);

}  // namespace datagen
