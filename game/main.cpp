// The program's entry: the engine's entry splits the command line and calls the game's main.
#include "engine/core/entry.h"
#include "game/game_main.h"

int main(int argc, char** argv) { return WinMain(argc, argv, GameMain); }
