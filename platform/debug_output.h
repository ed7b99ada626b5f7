#pragma once
#include <functional>
#include <optional>
#include <string>

// The one channel for what whoever writes the data or reports a fault needs
// to see: records dropped, files cut, scripts refused. A normal run prints
// nothing; TARNWICK_DEBUG names the lowest level printed to standard error,
// and a capture installed by a test sees every message whatever the level.
namespace plat {

enum class DebugLevel {
  Info,     // what happened, for following a run
  Warning,  // bad data the program goes on without
  Error,    // a save, a load or data the game needs failed
};

const char* DebugLevelName(DebugLevel level);

// The lowest level a TARNWICK_DEBUG value asks for: nothing when unset, empty
// or "0"; "1" is every level; otherwise a level's name in any letter case. A
// value it does not know prints every level too: whoever set it wants to see.
std::optional<DebugLevel> LowestPrintedLevel(const char* value);

// A message without a level is a warning, as nearly every report is.
void DebugOutput(const std::string& text);
void DebugOutput(DebugLevel level, const std::string& text);

using DebugSink = std::function<void(DebugLevel, const std::string&)>;
// Installs a capture (an empty function removes it) and returns the one it
// replaces, so that a capture can hand messages on and put it back.
DebugSink SetDebugOutputSink(DebugSink sink);

}  // namespace plat
