#pragma once
#include "platform/display.h"

// Direct access to the back buffer.

// The result of the last lock, fill or present of the back buffer.
extern plat::SurfaceResult g_lastDisplayResult;

// The back buffer's first pixel, with the screen depth and the pitch in
// bytes; null (and 0, 0) when it cannot be locked.
void* LockBackBuffer(int* bitsPerPixel, int* pitch);
void UnlockBackBuffer();
// Fills a rectangle of the back buffer with colour 0.
void ClearScreenRect(int x, int y, int width, int height);
