#pragma once

// The main loop: window messages, then the frame timers, until quit.

// Only while the engine is open; returns once IsQuitRequested answers nonzero.
// With dispatchTimers 0 messages are pumped but no timer is called.
void RunMainLoop(int dispatchTimers);
// One pass of the loop: pump the messages, then dispatch the timers (or, while
// they are paused or not wanted, mark them all for resynchronisation).
void RunMainLoopPass(int dispatchTimers);
// Removes and dispatches every waiting message; a quit message requests quit.
void PumpMessages();
// 1 while the engine is closed, else the quit flag.
int IsQuitRequested();
void SetQuitFlag(int value);
