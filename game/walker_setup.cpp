// The walker's set-up and hero forms.
#include "game/field_walker.h"
#include "game/game.h"

// MINIMAL: hero forms are not built; the change does nothing.
void CGame::ChangeHeroForm(int) {}
// MINIMAL: the walker's creature and ranges are not set up yet.
void CGame::SetupWalker() {}
// MINIMAL: the stand-in creature is not built; nothing to show.
void CGame::ShowLeaderCreature(int) {}
