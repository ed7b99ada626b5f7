#pragma once

// The program's entry: prepares the cursors and the engine window class,
// builds the argument table (program path first, at most 32 entries) and
// hands it to the game's GameMain. Answers 0.
int WinMain(int argc, char** argv);

// Defined by the game side.
int GameMain(int argc, char** argv);
