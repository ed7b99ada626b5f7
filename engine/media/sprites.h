#pragma once

// The sprite layer drawn over the 3D image.

// Opens the sprite tables when the engine opens.
void InitSprites();
// Deletes every sprite (engine close).
void FreeAllSprites();

// The pitch in bytes of the sprite frame locked last (0 when none is locked).
extern int g_spriteLockPitch;
