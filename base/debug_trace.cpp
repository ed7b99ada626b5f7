#include "base/debug_trace.h"

#include <cstdarg>

#include "base/format.h"

namespace {
DebugTraceSink g_sink;
}

void DebugTrace(const char* format, ...) {
  if (!g_sink || !format) return;
  va_list args;
  va_start(args, format);
  std::string text = FormatStringV(format, args);
  va_end(args);
  g_sink(text);
}

void SetDebugTraceSink(DebugTraceSink sink) { g_sink = std::move(sink); }
