#pragma once

// The per-map special events, run on every scene entry (leaving 0) and exit
// (leaving 1) with the 1-based map index.
void UpdateMapSpecialEvents(int map, int leaving);
