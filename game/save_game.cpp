// Saved games and the super save.
#include "game/game.h"

// MINIMAL: no slot is read; the load fails.
int CGame::LoadGame(int) { return 0; }
// MINIMAL: no scene objects exist to join the society.
void CGame::ReattachSceneObjects() {}
// MINIMAL: no super save is read; none is valid.
int CGame::CheckSuperSave() { return 0; }
// MINIMAL: the super save is not written.
void CGame::WriteSuperSave() {}
// MINIMAL: nothing is imported.
void CGame::ImportSuperSave() {}
