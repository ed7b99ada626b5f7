#pragma once

class CGame;

// With the state log on (platform/state_log.h), writes a line whenever what a
// player could tell about the game changes: its state, scene, open screen and windows,
// talk, cut-scene frame, battle and money. Called on every user-interface frame.
void ReportGameState(const CGame& game);
