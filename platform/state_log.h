#pragma once
#include <string>

// TARNWICK_STATE_LOG=FILE makes the program append one line to FILE each
// time the game's state changes, so that a test driving the real program
// from outside can wait on the game instead of on the clock. Unset (the
// normal run), nothing is written.
namespace plat {

bool StateLogWanted();
// Appends line and a newline and flushes at once; nothing when not wanted.
void WriteStateLine(const std::string& line);

}  // namespace plat
