#include "platform/debug_output.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ascii_case.h"

namespace plat {
namespace {

DebugSink g_sink;

// Read at every message, which are few, so the setting follows the
// environment without a moment at which it is fixed.
void Print(DebugLevel level, const std::string& text) {
  const char* value = std::getenv("TARNWICK_DEBUG");
  const std::optional<DebugLevel> lowest = LowestPrintedLevel(value);
  if (!lowest || level < *lowest) return;
  std::string line = std::string(DebugLevelName(level)) + ": " + text;
  if (line.back() != '\n') line += '\n';
  std::fputs(line.c_str(), stderr);
}

}  // namespace

const char* DebugLevelName(DebugLevel level) {
  switch (level) {
    case DebugLevel::Info: return "info";
    case DebugLevel::Warning: return "warning";
    case DebugLevel::Error: return "error";
  }
  return "?";
}

std::optional<DebugLevel> LowestPrintedLevel(const char* value) {
  if (!value || !*value || std::strcmp(value, "0") == 0) return std::nullopt;
  for (DebugLevel level : {DebugLevel::Info, DebugLevel::Warning, DebugLevel::Error})
    if (EqualsNoCase(value, DebugLevelName(level))) return level;
  return DebugLevel::Info;
}

void DebugOutput(const std::string& text) { DebugOutput(DebugLevel::Warning, text); }

void DebugOutput(DebugLevel level, const std::string& text) {
  if (g_sink) g_sink(level, text);
  Print(level, text);
}

DebugSink SetDebugOutputSink(DebugSink sink) {
  DebugSink previous = std::move(g_sink);
  g_sink = std::move(sink);
  return previous;
}

}  // namespace plat
