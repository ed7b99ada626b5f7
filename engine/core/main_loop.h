#pragma once

// The main loop: window messages, then the frame timers, until quit.

// Only while the engine is open; returns once IsQuitRequested answers nonzero.
// With dispatchTimers 0 messages are pumped but no timer is called. After a
// pass that put no frame on the screen paced by the display, the loop waits
// until the next frame timer is due (at most 1/60 s), so it never spins.
void RunMainLoop(int dispatchTimers);
// How the loop waits; the default sleeps on the platform clock. Tests record.
using MainLoopWait = void (*)(double seconds);
// Null restores the default.
void SetMainLoopWaitHook(MainLoopWait wait);
// One pass of the loop: pump the messages, then dispatch the timers (or, while
// they are paused or not wanted, mark them all for resynchronisation).
void RunMainLoopPass(int dispatchTimers);
// Removes and dispatches every waiting message; a quit message requests quit.
void PumpMessages();
// 1 while the engine is closed, else the quit flag.
int IsQuitRequested();
void SetQuitFlag(int value);
