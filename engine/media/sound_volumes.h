#pragma once

// The master volumes of sound effects (wave) and CD music, 0 to 1. They are
// the engine's own gains: the system mixer is never touched. Setting clamps
// (below 0 gives 0, above 1 gives 1) and answers 1; while the engine is
// closed nothing is set and reading answers 0.

int SetWaveVolume(float volume);
float GetWaveVolume();
int SetCDVolume(float volume);
float GetCDVolume();
