#pragma once
#include "engine/core/handles.h"
#include "platform/gdi2d.h"

// Drawing with paths on a sprite frame: the frame's pixels stay locked from
// GetSpriteDC until ReleaseSpriteDC. Both answer 0, or -1 for an unknown
// sprite, -2 for a sprite or frame without a picture, -3 for a frame out of
// range.
int GetSpriteDC(HOBJECT sprite, int frame, plat::PixelTarget* dc);
int ReleaseSpriteDC(HOBJECT sprite, int frame, plat::PixelTarget* dc);
