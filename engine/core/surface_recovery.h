#pragma once

// Rebuilds the display surfaces after the display reported them lost.
void RestoreSurfaces();
