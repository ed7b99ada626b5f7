#pragma once
#include <cstdint>
#include <vector>

// The screen: colours as screen pixels, reading the back buffer back,
// presenting frames, and the interface buffer the engine widgets draw into.
//
// Presenting holds the display lock (platform/threads.h), so a worker thread
// may present while the main thread draws.

// The screen pixel of a colour; 0 while the engine is closed.
uint32_t MapRGB(int red, int green, int blue);

// Copies a rectangle of the back buffer into buffer, rows one after another
// without padding; the buffer grows to what the rectangle needs. A negative
// x or y starts at 0 without shortening the rectangle; a rectangle running
// past the right or bottom edge is cut there. Answers the copied pixels, or
// null while closed, for a rectangle starting beyond the back buffer, for a
// width or height below 1, or when the back buffer cannot be locked.
uint8_t* ReadScreenRect(std::vector<uint8_t>& buffer, int x, int y, int width, int height);

// Copies byteCount bytes and answers the count.
int CopyPixelRow(void* destination, const void* source, int byteCount);
// Copies 16-bit pixels except those equal to key (the destination keeps its own there).
void CopyPixelRowKeyed(uint16_t* destination, const uint16_t* source, int pixelCount, uint16_t key);

// Shows the back buffer; 0 while the engine is closed. A present that finds
// its surfaces lost restores them and drops the frame.
int FlipScreen();

// Locks the interface buffer (made on first use, keyed with the world's
// interface key colour) and makes it the 2D drawing target; 1 on success,
// 0 after an error message.
int LockInterfaceBuffer();
// Unlocks it and clears the 2D drawing target.
void UnlockInterfaceBuffer();
// Fills a rectangle of the interface buffer with a colour.
void FillInterfaceRect(int x, int y, int width, int height, int red, int green, int blue);
