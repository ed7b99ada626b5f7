#include "game/scene_area.h"

// MINIMAL: no scene keeps its area number yet; every scene is in none.
int GetCurrentSceneArea() { return 0; }
