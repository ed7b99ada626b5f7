#pragma once

// The game-side procedures the battle calls for its item menu.

// Opens the battle item menu (the battle pauses until it closes).
void OpenBattleItemMenu();
// Gives the party count items of an id and type.
void GiveBattleItem(int id, int count, int type);
