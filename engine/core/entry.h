#pragma once

// The program's entry: starts the window system, prepares the cursors and
// the engine window class, builds the argument table (program path first, at
// most 32 entries) and hands it to the game's GameMain. Answers 0; 1 with a
// line on standard error when no display can be opened.
int WinMain(int argc, char** argv);

// Defined by the game side.
int GameMain(int argc, char** argv);
