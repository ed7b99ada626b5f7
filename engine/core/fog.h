#pragma once

// The world's ambient light and fog.

// Stores the colour and applies it at once to the active render path.
void SetAmbientLight(float red, float green, float blue);
// These store the value and, with a world, apply fog to the default viewport
// with the current enabled flag. The density scales the fog colour.
void SetFogRange(float start, float end);
void SetFogColor(float red, float green, float blue);
void SetFogDensity(float density);
// Stores the flag only: it takes effect when fog is next applied.
void EnableFog(int on);
