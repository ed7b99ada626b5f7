#pragma once
#include "engine/core/handles.h"

// The loading screen's animation.
// MINIMAL: nothing is shown while loading.
class CLoadingAnimation {};

// The hidden sprite the loading screen shows; 0 when none.
extern HOBJECT g_loadingSprite;
// MINIMAL: no loading picture is made; the sprite stays 0.
inline void CreateLoadingSprite() {}
