#include "tools/datagen/boss_table_writer.h"

#include "tools/datagen/output_file.h"

namespace datagen {

std::string BossTableLine(const BossLine& boss) {
  std::string line = boss.label;
  for (const auto& [id, count] : boss.enemies) {
    line += " " + std::to_string(id);
    if (count != 1) line += "*" + std::to_string(count);
  }
  if (boss.autoEvent >= 0 || boss.endGame) {
    line += " :";
    if (boss.autoEvent >= 0) line += " AUTO" + std::to_string(boss.autoEvent);
    if (boss.endGame) line += " ENDGAME";
  }
  return line;
}

std::string BuildBossTable(const std::vector<BossLine>& bosses, const std::string& heading,
                           const std::string& lineEnd) {
  std::string text;
  if (!heading.empty()) text += heading + lineEnd;
  for (const BossLine& boss : bosses) text += BossTableLine(boss) + lineEnd;
  return text;
}

bool WriteBossTableText(const std::string& path, const std::string& text, std::string& error) {
  return WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

bool WriteBossTable(const std::string& path, const std::vector<BossLine>& bosses, std::string& error) {
  return WriteBossTableText(path, BuildBossTable(bosses, "Boss list", "\n"), error);
}

}  // namespace datagen
