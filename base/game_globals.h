#pragma once

// Process-wide settings of the game side, fixed at start-up.

// 1 when the scene renders through the 3D device, 0 for the software path.
// After start-up it holds the free texture memory when the device is used.
extern int g_hardwareRendering;
// The same value under the name the world code reads it by.
extern int& g_textureMemory;
