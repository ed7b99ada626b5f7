#include "game/util/debug_trace.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
DebugTraceSink g_sink;
}

void DebugTrace(const char* format, ...) {
  if (!g_sink || !format) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (needed > 0) {
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    text.assign(buffer.data(), static_cast<size_t>(needed));
  }
  va_end(args);
  g_sink(text);
}

void SetDebugTraceSink(DebugTraceSink sink) { g_sink = std::move(sink); }
