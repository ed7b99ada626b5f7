#pragma once
#include "platform/debug_output.h"

// The game side's messages on the debugging channel, formatted as printf
// does. Without a level a message is a warning.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugTrace(plat::DebugLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
