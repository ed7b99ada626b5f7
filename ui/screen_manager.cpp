#include "ui/screen_manager.h"

// MINIMAL: no screen manager yet: there is no message table, so every message is null.
const char* GetMessageString(int) { return nullptr; }
