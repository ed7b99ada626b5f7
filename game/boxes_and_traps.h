#pragma once
#include <string>

// The sound of a box of this kind byte and object name; null when the box
// opens silently (the name's next-to-last character is '1').
const char* BoxSoundName(int kind, const std::string& objectName);
