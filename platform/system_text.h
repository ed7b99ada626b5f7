#pragma once
#include <cstdint>
#include <string>

#include "platform/display.h"

// Text in the system's own font drawn straight onto a surface, with a
// transparent background: the debugging text of the engine.
namespace plat {

void DrawSystemText(Surface& target, int x, int y, const std::string& text, uint32_t colorRef);

}  // namespace plat
