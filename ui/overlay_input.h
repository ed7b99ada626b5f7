#pragma once

class CMenuAgency;

// Makes an overlay root the target of the engine's mouse hooks and of the
// keys Left, Right, Up, Down, Insert and Delete; null takes the left button,
// the moves and the keys away again (the right button then reaches nobody).
// 1.
int InstallOverlayInput(CMenuAgency* root);
// Hooks Escape to the root's key input; null removes the hook. 1.
int InstallOverlayEscapeKey(CMenuAgency* root);
