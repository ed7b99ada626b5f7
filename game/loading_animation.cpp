#include "game/loading_animation.h"

HOBJECT g_loadingSprite = 0;
