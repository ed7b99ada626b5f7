#include "engine/core/entry.h"

// MINIMAL: the game core's start-up (single instance, renderer choice, data folders, the game object) is not built yet.
int GameMain(int, char**) { return 0; }
