#pragma once
#include "engine/core/handles.h"

// A hidden flat square of half size half with the named texture (none for a
// null name), drawn at a quarter alpha.
HOBJECT CreateMarkerModel(const char* textureName, float half);
