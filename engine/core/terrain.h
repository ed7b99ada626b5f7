#pragma once
#include "engine/core/handles.h"

// Terrains: the record lives in the terrain pool (engine/core/pools.h).
struct TERRAINDESC;

void DestroyTerrain(HOBJECT terrain);
