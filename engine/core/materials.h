#pragma once
#include "engine/core/handles.h"

// Materials: the record lives in the material pool (engine/core/pools.h).
struct MATERIALDESC;

void DestroyMaterial(HOBJECT material);

// Every mesh that draws with a material holds one reference on it, so a
// material shared by two meshes outlives the destruction of one of them.
// The last release destroys the material.
void RetainMaterial(HOBJECT material);
void ReleaseMaterial(HOBJECT material);
