#pragma once
#include <functional>
#include <string>

// The game side's diagnostic sink. A normal run prints nothing; tests install a
// capture to see what the game would have reported.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

using DebugTraceSink = std::function<void(const std::string&)>;
// Installs a capture; an empty function removes it.
void SetDebugTraceSink(DebugTraceSink sink);
