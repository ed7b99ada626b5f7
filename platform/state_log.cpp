#include "platform/state_log.h"

#include <cstdio>
#include <cstdlib>

#include "platform/files.h"

namespace plat {
namespace {

// Opened at the first line and kept for the program's life.
std::FILE* LogFile() {
  static std::FILE* file = [] {
    const char* path = std::getenv("TARNWICK_STATE_LOG");
    return path && *path ? OpenAppendStream(path) : nullptr;
  }();
  return file;
}

}  // namespace

bool StateLogWanted() { return LogFile() != nullptr; }

void WriteStateLine(const std::string& line) {
  std::FILE* file = LogFile();
  if (!file) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fflush(file);
}

}  // namespace plat
