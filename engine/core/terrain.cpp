#include "engine/core/terrain.h"

// MINIMAL: terrains are not built yet; nothing creates one, so there is nothing to destroy.
void DestroyTerrain(HOBJECT) {}
