#pragma once

// The game's main, given the argument table.
using GameMainProc = int (*)(int argc, char** argv);

// The program's entry: starts the window system, prepares the cursors and
// the engine window class, builds the argument table (program path first, at
// most 32 entries) and hands it to the game's main. Answers 0; 1 with a line
// on standard error when no display can be opened.
int WinMain(int argc, char** argv, GameMainProc gameMain);
