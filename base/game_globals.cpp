#include "base/game_globals.h"

int g_hardwareRendering = 1;
int& g_textureMemory = g_hardwareRendering;
