// Field input: key bindings and close-ups.
#include "game/field_input.h"

#include "game/game.h"

int g_walkKeyMask = 0;

// MINIMAL: no keys are bound; installing bindings only notes the camera follow.
void CGame::BindFieldKeys(int) { cameraFollow = 1; }
// MINIMAL: no talk keys are bound.
void CGame::BindTalkKeys() {}
// MINIMAL: no script keys are bound (Esc does not set skipScript yet).
void CGame::BindScriptKeys() {}
// MINIMAL: no bindings exist to clear.
void CGame::ClearBindings() {}
// MINIMAL: close-ups are not built; the camera arrives at once.
void CGame::StepCloseUpIn(int) { state = GS_CLOSEUP; }
// MINIMAL: close-ups are not built; the camera is back at once.
void CGame::StepCloseUpOut(int) { state = GS_FIELD; }
// MINIMAL: close-ups are not built; nothing to update.
void CGame::UpdateCloseUp() {}
