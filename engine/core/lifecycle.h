#pragma once

// Opening and closing the engine.

// 1 when the engine is open (or was already), 0 on failure. Refuses once a
// quit was requested.
int OpenEngine(int fullscreen, const char* title, int width, int height, int bitsPerPixel);
// Tears everything down while the engine is open with a world. With 1 it
// also requests quit and destroys the window (closing the window, quitting);
// with 0 (a fatal message) the window stays for a later OpenEngine.
void CloseEngine(int requestQuit);
