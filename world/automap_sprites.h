#pragma once
#include "engine/core/handles.h"

// The automap's sprites: a blank one-frame picture, hidden, filled with
// a colour; or one loaded from a loose image with a colour key and layer.
HOBJECT CreateAutomapBlankSprite(int width, int height, int red, int green, int blue);
HOBJECT CreateAutomapImageSprite(const char* image, int cellWidth, int cellHeight, int layer, int visible);
void DeleteAutomapSprite(HOBJECT& sprite);
