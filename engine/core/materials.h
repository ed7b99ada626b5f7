#pragma once
#include "engine/core/handles.h"

// Materials: the record lives in the material pool (engine/core/pools.h).
struct MATERIALDESC;

void DestroyMaterial(HOBJECT material);
