#include "engine/core/materials.h"

// MINIMAL: materials are not built yet; nothing creates one, so there is nothing to destroy.
void DestroyMaterial(HOBJECT) {}
