// The program's entry: the engine's entry splits the command line and calls GameMain.
#include "engine/core/entry.h"

int main(int argc, char** argv) { return WinMain(argc, argv); }
