#include "game/boss_info.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "base/debug_trace.h"
#include "platform/files.h"

namespace {

// Even a long table is a few kilobytes; a larger file is not a boss table.
constexpr size_t kMaxFileBytes = 1u << 20;

bool IsSeparator(char c) { return c == '\t' || c == ',' || c == ' '; }

// Tokens split at tab, comma and blank, each with the offset it starts at.
std::vector<std::pair<size_t, std::string>> Tokens(const std::string& text) {
  std::vector<std::pair<size_t, std::string>> tokens;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsSeparator(text[i])) ++i;
    if (i > start) tokens.emplace_back(start, text.substr(start, i - start));
  }
  return tokens;
}

// The leading decimal number as atoi reads it, clamped to int.
int ToInt(const std::string& text) {
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

TwAppearBossInfo::TwAppearBossInfo() : baseId(1) { Load(); }

void TwAppearBossInfo::Load() {
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(kPath, bytes, kMaxFileBytes)) return;
  std::string line;
  for (size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\n') {
      AddLine(line);
      line.clear();
    } else if (bytes[i] != '\r') {
      line += static_cast<char>(bytes[i]);
    }
  }
}

bool TwAppearBossInfo::AddLine(const std::string& line) {
  bool hasDigit = false;
  for (char c : line) hasDigit = hasDigit || std::isdigit(static_cast<unsigned char>(c));
  if (!hasDigit) return false;

  BOSSINFODESC entry;
  size_t colon = line.find(':');
  for (const auto& [offset, token] : Tokens(line.substr(0, colon))) {
    if (offset == 0) continue;  // the label
    int id = ToInt(token);
    int count = 1;
    size_t mark = token.find_first_of("*x");
    if (mark != std::string::npos) count = ToInt(token.substr(mark + 1));
    if (id == 0 || count < 1) continue;
    if (count > kMaxRepeat) count = kMaxRepeat;
    entry.enemyIds.insert(entry.enemyIds.end(), count, id);
  }
  if (colon != std::string::npos) {
    std::string flags = line.substr(colon + 1);
    for (char& c : flags) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (auto& [offset, token] : Tokens(flags)) {
      if (token == "ENDGAME") {
        entry.endGame = 1;
      } else if (size_t at = token.find("AUTO"); at != std::string::npos) {
        token.erase(at, 4);
        entry.autoEvent = ToInt(token);
      }
    }
  }
  entries.push_back(std::move(entry));
  return true;
}

const BOSSINFODESC* TwAppearBossInfo::Find(int bossId) const {
  long long index = static_cast<long long>(bossId) - baseId;
  if (index < 0 || index >= static_cast<long long>(entries.size())) {
    DebugTrace("Boss %d has no entry in %s", bossId, kPath);
    return nullptr;
  }
  return &entries[static_cast<size_t>(index)];
}
