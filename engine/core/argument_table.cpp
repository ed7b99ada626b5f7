#include "engine/core/argument_table.h"

std::vector<std::string> BuildArgumentTable(int argc, char** argv) {
  std::vector<std::string> table;
  if (argc < 1 || !argv) return table;
  table.emplace_back(argv[0] ? argv[0] : "");
  for (int i = 1; i < argc && argv[i]; ++i) {
    std::string token;
    for (const char* p = argv[i];; ++p) {
      if (*p == ' ' || *p == '\0') {
        if (!token.empty() && static_cast<int>(table.size()) < kMaxArguments) table.push_back(token);
        token.clear();
        if (*p == '\0') break;
      } else {
        token += *p;
      }
    }
  }
  return table;
}
