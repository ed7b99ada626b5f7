#pragma once
// Internal to the sprite layer: the sorted draw list and its change flags.
#include "engine/media/sprites.h"

// Set by moves and reparenting (positions) and by anything that may change
// the sort keys (order); DrawSprites settles both.
extern int g_spritePositionsChanged;
extern int g_spriteOrderChanged;

// (layer, y, x) of the sort points: negative, 0 or positive.
int CompareSpriteOrder(const SPRITEDESC& a, const SPRITEDESC& b);
// Files a sprite at the end without comparing.
void AppendToDrawList(SPRITEDESC* sprite);
void RemoveFromDrawList(SPRITEDESC* sprite);
// Sum of the positions along the parent chain.
void SumSpritePosition(const SPRITEDESC& sprite, int* x, int* y);
