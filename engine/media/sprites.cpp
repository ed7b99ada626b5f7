#include "engine/media/sprites.h"

int g_spriteLockPitch = 0;

// MINIMAL: sprites are not built yet; there are no tables to open.
void InitSprites() {}

// MINIMAL: sprites are not built yet; nothing creates a sprite.
void FreeAllSprites() {}
