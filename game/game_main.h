#pragma once

// The game's start and end around the engine's main loop.

// The game's main, which the engine's entry calls with the argument table:
// start-up, the main loop, the end. Answers 0.
int GameMain(int argc, char** argv);

// Start-up: single instance, renderer choice, the engine, the data folders,
// the game object, the opening movie and the title. 0 when another copy runs
// (nothing opened), else 1.
int StartGame(int argc, char** argv);
// After the loop: a game still alive (window closed, fatal message) is
// deleted, so its settings are written.
void EndGame();
// The engine's asset folders, relative to the working directory.
void SetDataFolders();
