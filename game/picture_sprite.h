#pragma once
#include "engine/core/handles.h"

// A sprite of one picture (one frame, a cell of w x h) at (x, y); its handle,
// 0 when the sprite table is full.
HOBJECT CreatePictureSprite(int x, int y, int width, int height, const char* imageName);
