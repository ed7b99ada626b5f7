#include "game/battle_start.h"

// MINIMAL: the battle item menu is not built; nothing opens.
void OpenBattleItemMenu() {}
// MINIMAL: battle prizes are not handed to the party yet.
void GiveBattleItem(int, int, int) {}
