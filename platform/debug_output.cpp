#include "platform/debug_output.h"

namespace plat {
namespace {
DebugSink g_sink;
}

void DebugOutput(const std::string& text) {
  if (g_sink) g_sink(text);
}

void SetDebugOutputSink(DebugSink sink) { g_sink = std::move(sink); }

}  // namespace plat
