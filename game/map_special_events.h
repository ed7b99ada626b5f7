#pragma once

class CAutoEventTimers;

// The per-map special events, run on every scene entry (leaving 0) and exit
// (leaving 1) with the 1-based map index: the chase on map 14 and the timed
// events on maps 24, 46 and 125.
void UpdateMapSpecialEvents(int map, int leaving);

// Frames the current map's timed event has been running (saved with the game).
extern int g_mapTimerFrames;
// The timed-event slots of maps 24, 46 and 125 while one of them is entered.
extern CAutoEventTimers* g_mapTimers;
