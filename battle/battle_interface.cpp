#include "battle/battle_interface.h"

CBattleInterface g_battleInterface;
