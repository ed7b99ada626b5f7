#include "engine/core/entry.h"

#include <string>
#include <vector>

namespace {
constexpr int kMaxArguments = 32;
}

int WinMain(int argc, char** argv) {
  // The table keeps the program path and the first 31 arguments; the rest are dropped.
  std::vector<std::string> copies;
  for (int i = 0; i < argc && i < kMaxArguments; ++i) copies.emplace_back(argv[i] ? argv[i] : "");
  std::vector<char*> table;
  for (auto& s : copies) table.push_back(s.data());
  table.push_back(nullptr);
  GameMain(static_cast<int>(copies.size()), table.data());
  return 0;
}
