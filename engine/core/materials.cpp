#include "engine/core/materials.h"

// MINIMAL: materials are not built yet; nothing creates one, so there is nothing to destroy.
void DestroyMaterial(HOBJECT) {}

// MINIMAL: materials are not built yet; they carry no reference count.
void RetainMaterial(HOBJECT) {}

// MINIMAL: materials are not built yet; nothing creates one, so there is nothing to release.
void ReleaseMaterial(HOBJECT) {}
