#pragma once
#include <cstdint>

// Engine-wide state. Every engine call first checks g_engineOpen and answers
// its failure value (0, -1, null or nothing) while it is clear.
extern int g_engineOpen;
// Ends the main loop; set by a quit message and by CloseEngine(1).
extern int g_quitRequested;

// The values given to OpenEngine; the device set-up may change them.
extern int g_screenWidth;
extern int g_screenHeight;
extern int g_screenDepth;
extern int g_fullscreen;

// The low 32 bits of the counter frequency, read when the engine opens: the
// base of every period and elapsed-time conversion.
extern uint32_t g_timerFrequency;

extern int g_soundOpened;
extern int g_joysticksPresent;

// Floats per mesh vertex.
extern int g_meshVertexStride;

// The side axis (forward x up) of a node for each up and forward axis code,
// at up * 6 + forward; 0 (+X) where both lie on one axis.
extern int g_sideAxisTable[36];
void FillSideAxisTable();
