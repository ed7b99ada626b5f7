#pragma once
#include <functional>
#include <string>

// The debugger output channel: produces nothing in a normal run; tests capture it.
namespace plat {

using DebugSink = std::function<void(const std::string&)>;

void DebugOutput(const std::string& text);
// Installs a capture; an empty function removes it.
void SetDebugOutputSink(DebugSink sink);

}  // namespace plat
