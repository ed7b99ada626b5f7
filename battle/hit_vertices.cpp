#include "battle/hit_vertices.h"

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/debug_trace.h"
#include "platform/files.h"

namespace {

// Entries beyond this are not believed: the count comes from the file.
constexpr int kMaxEntries = 4096;

std::string Trimmed(const std::string& line) {
  size_t a = 0, b = line.size();
  while (a < b && (line[a] == ' ' || line[a] == '\t')) ++a;
  while (b > a && (line[b - 1] == ' ' || line[b - 1] == '\t')) --b;
  return line.substr(a, b - a);
}

bool Is(const std::string& line, const char* word) { return strcasecmp(Trimmed(line).c_str(), word) == 0; }

}  // namespace

std::vector<HITVERTEXDESC> LoadHitVertices(const std::string& path) {
  std::vector<HITVERTEXDESC> table;
  std::vector<std::string> lines;
  if (!plat::ReadTextLines(path, lines)) {
    DebugTrace("Hit vertices %s cannot be read\n", path.c_str());
    return table;
  }
  size_t i = 0;
  while (i < lines.size() && !Is(lines[i], "#EndDescrible")) {
    if (!Is(lines[i++], "#Describle")) continue;
    if (i >= lines.size()) break;
    char word[256] = {};
    int n = 0;
    if (std::sscanf(lines[i++].substr(0, 255).c_str(), "%255s %d", word, &n) != 2 || n < 1) continue;
    if (n > kMaxEntries) n = kMaxEntries;
    while (i < lines.size() && !Is(lines[i], "#Begin")) ++i;
    if (i >= lines.size()) break;
    ++i;
    for (int k = 0; k < n && i < lines.size(); ++k, ++i) {
      HITVERTEXDESC entry;
      float* p = entry.points;
      const std::string line = lines[i].substr(0, 255);
      if (std::sscanf(line.c_str(), "%63s %f %f %f %f %f %f %f %f %f %f %f %f", entry.id, &p[0], &p[1], &p[2], &p[3],
                      &p[4], &p[5], &p[6], &p[7], &p[8], &p[9], &p[10], &p[11]) == 13)
        table.push_back(entry);
    }
  }
  return table;
}

const HITVERTEXDESC* FindHitVertices(const std::vector<HITVERTEXDESC>& table, int id) {
  for (const HITVERTEXDESC& entry : table) {
    char* end = nullptr;
    const long value = std::strtol(entry.id, &end, 10);
    if (end != entry.id && value == id) return &entry;
  }
  return nullptr;
}
