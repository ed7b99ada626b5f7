#include "base/debug_trace.h"

#include <cstdarg>

#include "base/format.h"

namespace {

void Trace(plat::DebugLevel level, const char* format, va_list args) {
  if (format) plat::DebugOutput(level, FormatStringV(format, args));
}

}  // namespace

void DebugTrace(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Trace(plat::DebugLevel::Warning, format, args);
  va_end(args);
}

void DebugTrace(plat::DebugLevel level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Trace(level, format, args);
  va_end(args);
}
